// The simulation page over a project whose executables are the test double:
// buttons by run status, the consoles, progress and time, the result boxes,
// the profile selector and the stop button.

#include "modalanswers.h"
#include "simulator.h"
#include "projectfixture.h"

#include <QtTest>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTimer>

#include <cstdio>
#include <cstring>

namespace {

const char* const kFatalChild = "--fatal-child";
const QString kInp = QStringLiteral("fake inp.x");
const QString kRun = QStringLiteral("fakerun.x");
const QString kSuccess = QStringLiteral("CONGRATULATION  -  SIMULATION WAS SUCCESSFUL");

void childMessages(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "FATAL:%s\n", qPrintable(text));
        std::fflush(stderr);
    }
}

QString dataLine(const QString& time, const QString& temperature)
{
    return QStringLiteral("data ") + ProjectFixture::row({time, temperature});
}

QString headings()
{
    return QStringLiteral("data ") + ProjectFixture::row({QStringLiteral("t(s)"), QStringLiteral("T(K)")});
}

bool samePicture(const QPixmap& a, const QPixmap& b)
{
    return !a.isNull() && a.toImage().convertToFormat(QImage::Format_ARGB32)
                              == b.toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class TestSimulator : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void withoutProject();
    void pageContents();
    void successfulRun();
    void failedRun();
    void runWithoutEndTime();
    void stopEndsARun();
    void profileSelector();
    void consoleAppendsAndKeepsTheUsersPlace();
    void refusedGoSaysWhyAndKeepsResults();
};

void TestSimulator::initTestCase()
{
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
}

void TestSimulator::withoutProject()
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kFatalChild)});
    QVERIFY(child.waitForFinished(30000));
    const QString errors = QString::fromLocal8Bit(child.readAllStandardError());
    QVERIFY2(errors.contains(QStringLiteral("FATAL:Simulator::Simulator. Pointer to project is not provided. \n")),
             qPrintable(errors));
    QVERIFY(!errors.contains(QStringLiteral("NOT FATAL")));
}

void TestSimulator::pageContents()
{
    ProjectFixture fixture;
    Simulator page(&fixture.project());
    QCOMPARE(page.startButton()->text(), QStringLiteral("Go"));
    QCOMPARE(page.stopButton()->text(), QStringLiteral("Stop"));
    QCOMPARE(page.startButton()->focusPolicy(), Qt::StrongFocus);
    QCOMPARE(page.stopButton()->focusPolicy(), Qt::StrongFocus);
    QVERIFY(page.startButton()->isEnabled());
    QVERIFY(!page.stopButton()->isEnabled());
    QCOMPARE(page.timeLabel()->text(), QStringLiteral("Simulation Time: [not started]"));
    QCOMPARE(page.progressBar()->minimum(), 0);
    QCOMPARE(page.progressBar()->maximum(), 1000);
    QVERIFY(!page.refreshTimer()->isActive());

    QCOMPARE(page.consoles().size(), 2);
    QCOMPARE(page.tabs()->count(), 2);
    QCOMPARE(page.tabs()->tabText(0), QStringLiteral("FakeInp"));
    QCOMPARE(page.tabs()->tabText(1), QStringLiteral("FakeRun"));
    for (const QPlainTextEdit* console : page.consoles()) {
        QCOMPARE(console->font().family(), QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
        QCOMPARE(console->font().pointSize(), 10);
        QCOMPARE(console->lineWrapMode(), QPlainTextEdit::NoWrap);
        QVERIFY(console->isReadOnly());
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            QCOMPARE(console->palette().color(group, QPalette::Base), QColor(0, 0, 0, 255));
            QCOMPARE(console->palette().color(group, QPalette::Text), QColor(255, 255, 255, 255));
        }
    }
    page.resize(500, 400);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    const QImage picture = page.consoles().first()->viewport()->grab().toImage();
    QCOMPARE(picture.pixelColor(picture.width() / 2, picture.height() / 2), QColor(0, 0, 0));
    // A catalogue without executables: the page says so where the consoles
    // would be, and Go says it too.
    ProjectFixture none(QList<FakeExecutor>{});
    none.buildScheme();
    Simulator empty(&none.project());
    QVERIFY(empty.consoles().isEmpty());
    QCOMPARE(empty.placeholder()->text(), QStringLiteral("Project Execution File hasn't been yet specified"));
    QVERIFY(!empty.placeholder()->isHidden());
    QVERIFY(empty.tabs()->isHidden());
    ModalAnswers answers;
    answers.add(ModalAnswers::press(QMessageBox::Ok));
    QVERIFY(!empty.go());
    QTRY_COMPARE(answers.seen().size(), 1);
    QCOMPARE(answers.seen().at(0).informativeText, QStringLiteral("Project Execution File hasn't been yet specified"));
}

void TestSimulator::successfulRun()
{
    ProjectFixture fixture;
    fixture.buildScheme(QStringLiteral("2.0E-03"));
    fixture.control(kInp, {QStringLiteral("print reading the input"), QStringLiteral("print input done")});
    fixture.control(kRun, {headings(), dataLine(QStringLiteral("0.0"), QStringLiteral("1000.0")),
                           dataLine(QStringLiteral("1.2E-03"), QStringLiteral("1500.0")),
                           QStringLiteral("print step 1200 done"), QStringLiteral("sleep 1500"),
                           QStringLiteral("print ") + kSuccess});
    Project& project = fixture.project();
    Simulator page(&project);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QSignalSpy finished(&project, &Project::simulationFinished);
    QSignalSpy failure(&project, &Project::simulationFailure);
    ModalAnswers answers;
    answers.add(ModalAnswers::press(QMessageBox::Ok));

    QTest::mouseClick(page.startButton(), Qt::LeftButton);
    QTRY_COMPARE(project.status(), RunStatus::Running);
    QVERIFY(!page.startButton()->isEnabled());
    QVERIFY(page.stopButton()->isEnabled());
    QVERIFY(page.refreshTimer()->isActive());
    QCOMPARE(page.refreshTimer()->interval(), 200);

    // While the second executable sleeps: its console, the time and the
    // progress follow within the refresh.
    QTRY_VERIFY_WITH_TIMEOUT(page.consoles().at(1)->toPlainText().contains(QStringLiteral("step 1200 done")), 1200);
    QCOMPARE(page.tabs()->currentIndex(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(page.progressBar()->value(), 600, 1000);
    // Six significant digits: microseconds as well as seconds.
    QCOMPARE(page.timeLabel()->text(), QStringLiteral("Results available till: 0.0012 s"));
    QCOMPARE(page.consoles().at(0)->toPlainText(), project.runs().at(0).log);
    QVERIFY(page.consoles().at(0)->toPlainText().contains(QStringLiteral("input done")));

    QVERIFY(finished.wait(10000));
    QCOMPARE(failure.count(), 0);
    QTRY_COMPARE(answers.seen().size(), 1);
    const ModalAnswers::Seen box = answers.seen().first();
    QCOMPARE(box.text, QStringLiteral("Simulation Successful!"));
    QCOMPARE(box.informativeText, QStringLiteral("You may want to go to the Graphs and check the results."));
    QVERIFY(samePicture(box.iconPixmap, QPixmap(QStringLiteral(":/images/ok.png"))));
    QVERIFY(box.modality != Qt::NonModal);
    QCOMPARE(page.progressBar()->maximum(), 1000);
    QCOMPARE(page.progressBar()->value(), 1000);
    // Six significant digits: microseconds as well as seconds.
    QCOMPARE(page.timeLabel()->text(), QStringLiteral("Results available till: 0.0012 s"));
    QCOMPARE(page.consoles().at(1)->toPlainText(), project.runs().at(1).log);
    QVERIFY(page.consoles().at(1)->toPlainText().contains(kSuccess));
    QCOMPARE(page.tabs()->currentIndex(), 1);
    QCOMPARE(project.status(), RunStatus::ResultsAvailable);
    QVERIFY(page.startButton()->isEnabled());
    QVERIFY(!page.stopButton()->isEnabled());
    QVERIFY(!page.refreshTimer()->isActive());
}

void TestSimulator::failedRun()
{
    ProjectFixture fixture;
    fixture.buildScheme();
    fixture.control(kInp, {QStringLiteral("print fine")});
    fixture.control(kRun, {headings(), dataLine(QStringLiteral("5.0E-04"), QStringLiteral("1200.0")),
                           QStringLiteral("print ABNORMAL END")});
    Project& project = fixture.project();
    Simulator page(&project);
    page.show();
    QSignalSpy finished(&project, &Project::simulationFinished);
    ModalAnswers answers;
    answers.add(ModalAnswers::press(QMessageBox::Ok));
    answers.add(ModalAnswers::press(QMessageBox::Ok));
    QTest::mouseClick(page.startButton(), Qt::LeftButton);
    QVERIFY(finished.wait(10000));
    QTRY_COMPARE(answers.seen().size(), 1);
    answers.settle();
    // The failure box alone, the bar back at nothing.
    QCOMPARE(answers.seen().size(), 1);
    QCOMPARE(answers.pending(), 1);
    answers.dropPending();
    const ModalAnswers::Seen box = answers.seen().first();
    QCOMPARE(box.text, QStringLiteral("Simulation Failed!"));
    QCOMPARE(box.informativeText,
             QStringLiteral("FakeRun reported a failure in its console output. Please check the Options page and "
                            "refer to the FakeInp and FakeRun console output on the Terminal page."));
    QVERIFY(samePicture(box.iconPixmap, QPixmap(QStringLiteral(":/images/cancel.png"))));
    QCOMPARE(page.progressBar()->maximum(), 1000);
    QCOMPARE(page.progressBar()->value(), 0);
    QVERIFY(page.consoles().at(1)->toPlainText().contains(QStringLiteral("ABNORMAL END")));
    // Over before the first refresh, the failing console still comes up.
    QCOMPARE(page.tabs()->currentIndex(), 1);

    // The user's choice of tab stands until the next run.
    page.tabs()->setCurrentIndex(0);
    page.updateLogs(1);
    QCOMPARE(page.tabs()->currentIndex(), 0);
}

void TestSimulator::runWithoutEndTime()
{
    ProjectFixture fixture;
    fixture.buildScheme(QString());
    fixture.control(kInp, {QStringLiteral("print fine")});
    fixture.control(kRun, {headings(), dataLine(QStringLiteral("5.0E-04"), QStringLiteral("1200.0")),
                           QStringLiteral("sleep 800"), QStringLiteral("print ") + kSuccess});
    Project& project = fixture.project();
    Simulator page(&project);
    page.show();
    // Before any run there is nothing to show.
    QCOMPARE(page.progressBar()->value(), 0);
    QSignalSpy finished(&project, &Project::simulationFinished);
    ModalAnswers answers;
    answers.add(ModalAnswers::press(QMessageBox::Ok));
    QTest::mouseClick(page.startButton(), Qt::LeftButton);
    QTRY_COMPARE(project.status(), RunStatus::Running);
    QTRY_VERIFY(page.progressBar()->maximum() == 0);
    QCOMPARE(page.progressBar()->minimum(), 0);
    QVERIFY(finished.wait(10000));
    QCOMPARE(page.progressBar()->maximum(), 1000);
    QCOMPARE(page.progressBar()->value(), 1000);
    QTRY_COMPARE(answers.seen().size(), 1);
}

void TestSimulator::stopEndsARun()
{
    ProjectFixture fixture;
    fixture.buildScheme();
    fixture.control(kInp, {QStringLiteral("print waiting"), QStringLiteral("hang")});
    fixture.control(kRun, {QStringLiteral("print ") + kSuccess});
    Project& project = fixture.project();
    Simulator page(&project);
    page.show();
    QSignalSpy finished(&project, &Project::simulationFinished);
    ModalAnswers answers;
    answers.add(ModalAnswers::press(QMessageBox::Ok));
    QTest::mouseClick(page.startButton(), Qt::LeftButton);
    QTRY_VERIFY(page.stopButton()->isEnabled());
    QTRY_VERIFY(page.consoles().at(0)->toPlainText().contains(QStringLiteral("waiting")));
    QTest::mouseClick(page.stopButton(), Qt::LeftButton);
    QVERIFY(finished.count() == 1 || finished.wait(10000));
    QCOMPARE(project.status(), RunStatus::ResultsAvailable);
    QVERIFY(page.startButton()->isEnabled());
    QVERIFY(!page.stopButton()->isEnabled());
    // The second executable never ran.
    QVERIFY(project.runs().at(1).log.isEmpty());
}

void TestSimulator::profileSelector()
{
    ProjectFixture fixture;
    fixture.buildScheme();
    Project& project = fixture.project();
    Simulator page(&project);
    QComboBox* selector = page.profileSelector();
    QCOMPARE(selector->count(), 1);
    QCOMPARE(selector->itemText(0), QStringLiteral("none"));
    QCOMPARE(selector->itemData(0).toInt(), -1);
    QVERIFY(!selector->isEnabled());

    const QByteArray output = ProjectFixture::line({QStringLiteral("t(s)"), QStringLiteral("T(K)")})
                              + ProjectFixture::line({QStringLiteral("0.0"), QStringLiteral("1000.0")})
                              + ProjectFixture::line({QStringLiteral("1.0E-04"), QStringLiteral("1100.0")});
    fixture.setResults(output, QStringLiteral(">DATA\n TIME (S)  0.0\n A\n<\n>DATA\n TIME (S)  1.0E-04\n B\n<\n"));
    QCOMPARE(project.saveProfile(QStringLiteral("hot"), 1), ProfileResult::Created);
    QVERIFY(selector->isEnabled());
    QCOMPARE(selector->count(), 2);
    QCOMPARE(selector->itemText(1), QStringLiteral("hot"));
    QCOMPARE(selector->itemData(1).toInt(), 0);
    QCOMPARE(selector->currentIndex(), 0);
    // Rebuilding the list must not reset the project's choice.
    QCOMPARE(project.currentProfile(), -1);

    selector->setCurrentIndex(1);
    QCOMPARE(project.currentProfile(), 0);
    QCOMPARE(project.saveProfile(QStringLiteral("cold"), 0), ProfileResult::Created);
    QCOMPARE(selector->count(), 3);
    QCOMPARE(selector->currentIndex(), 1);
    QCOMPARE(project.currentProfile(), 0);
    QVERIFY(project.renameProfile(0, QStringLiteral("hotter")));
    QCOMPARE(selector->itemText(1), QStringLiteral("hotter"));
    QCOMPARE(selector->currentIndex(), 1);

    selector->setCurrentIndex(0);
    QCOMPARE(project.currentProfile(), -1);

    // The project's choice made elsewhere shows when a run starts.
    QVERIFY(project.setCurrentProfile(1));
    emit project.simulationStarted();
    QCOMPARE(selector->currentIndex(), 2);

    project.removeProfile(1);
    project.removeProfile(0);
    QCOMPARE(selector->count(), 1);
    QVERIFY(!selector->isEnabled());
}

void TestSimulator::consoleAppendsAndKeepsTheUsersPlace()
{
    ProjectFixture fixture;
    fixture.buildScheme();
    fixture.control(kInp, {QStringLiteral("print first executable")});
    QStringList run;
    for (int i = 0; i < 200; ++i)
        run << QStringLiteral("print line %1").arg(i);
    run << QStringLiteral("sleep 1500") << QStringLiteral("print more output") << QStringLiteral("hang");
    fixture.control(kRun, run);
    Project& project = fixture.project();
    Simulator page(&project);
    page.resize(600, 300);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QSignalSpy finished(&project, &Project::simulationFinished);
    project.start();

    // More output than the console shows: it follows the end.
    QPlainTextEdit* console = page.consoles().at(1);
    QScrollBar* bar = console->verticalScrollBar();
    QTRY_VERIFY_WITH_TIMEOUT(console->toPlainText().contains(QStringLiteral("line 199")), 5000);
    QVERIFY(bar->maximum() > 0);
    QCOMPARE(bar->value(), bar->maximum());

    // Scrolled up and selecting while it runs: new output is appended
    // below, the view and the selection stay.
    bar->setValue(0);
    QTextCursor cursor = console->textCursor();
    cursor.setPosition(0);
    cursor.setPosition(10, QTextCursor::KeepAnchor);
    console->setTextCursor(cursor);
    const QString selected = console->textCursor().selectedText();
    QTRY_VERIFY_WITH_TIMEOUT(console->toPlainText().contains(QStringLiteral("more output")), 5000);
    QCOMPARE(bar->value(), 0);
    QCOMPARE(console->textCursor().selectedText(), selected);
    QCOMPARE(console->toPlainText(), project.runs().at(1).log);
    project.stop();
    QVERIFY(finished.count() == 1 || finished.wait(10000));
    QCOMPARE(console->toPlainText(), project.runs().at(1).log);

    // A new project starts with empty consoles.
    project.clear();
    for (QPlainTextEdit* each : page.consoles())
        QVERIFY(each->toPlainText().isEmpty());
    page.onProgUpdated(5);
    page.updateLogs(-1);
}

void TestSimulator::refusedGoSaysWhyAndKeepsResults()
{
    ProjectFixture fixture;
    fixture.buildScheme();
    fixture.control(kInp, {QStringLiteral("print first executable")});
    fixture.control(kRun,
                    {QStringLiteral("data ") + ProjectFixture::row({QStringLiteral("t(s)"), QStringLiteral("T(K)")}),
                     QStringLiteral("data ") + ProjectFixture::row({QStringLiteral("0.5"), QStringLiteral("1000.0")}),
                     QStringLiteral("print ") + kSuccess});
    Project& project = fixture.project();
    Simulator page(&project);
    QSignalSpy finished(&project, &Project::simulationFinished);
    ModalAnswers answers;
    answers.add(ModalAnswers::press(QMessageBox::Ok));
    QVERIFY(page.go());
    QVERIFY(finished.wait(10000));
    QTRY_COMPARE(answers.seen().size(), 1);
    const int steps = project.timeStepCount();
    QCOMPARE(steps, 1);

    // Without its project folder nothing can run: said in a box, and the
    // results of the last run stay.
    const QString folder = project.path();
    QVERIFY(QDir(folder).removeRecursively());
    answers.add(ModalAnswers::press(QMessageBox::Ok));
    QTest::mouseClick(page.startButton(), Qt::LeftButton);
    QTRY_COMPARE(answers.seen().size(), 2);
    QCOMPARE(answers.seen().at(1).text, QStringLiteral("The simulation cannot start."));
    QCOMPARE(answers.seen().at(1).informativeText,
             QStringLiteral("Project Working Folder \"%1\" doesn't exist").arg(folder));
    QCOMPARE(project.timeStepCount(), steps);
    QCOMPARE(project.status(), RunStatus::ResultsAvailable);
    QVERIFY(QDir().mkpath(folder));
}

int main(int argc, char** argv)
{
    if (argc >= 2 && std::strcmp(argv[1], kFatalChild) == 0) {
        QApplication app(argc, argv);
        qInstallMessageHandler(childMessages);
        Simulator page(nullptr);
        std::fprintf(stderr, "NOT FATAL\n");
        return 0;
    }
    QApplication app(argc, argv);
    TestSimulator test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_simulator.moc"

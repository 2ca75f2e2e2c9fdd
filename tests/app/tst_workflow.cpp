// A new user's whole workflow on the real main window with the bundled
// simulation code: a scheme, a temperature typed in, a run, the results, a
// profile and a run from it, a graph, Save As under a name without
// extension, and everything back after reopening.

#include "mainwindow.h"
#include "modalanswers.h"
#include "selector.h"
#include "startup.h"
#include "translation.h"
#include "listdelegateeditor.h"
#include "ooption.h"
#include "optionfield.h"
#include "settings.h"
#include "simulator.h"
#include "starter.h"
#include "project.h"
#include "ctrlgraph2d.h"
#include "datatable.h"
#include "results.h"

#include <QtTest>

#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStackedWidget>

#include <memory>

namespace {

QString programFile(const QString& name)
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(name);
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestWorkflow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void newUserWorkflow();

private:
    static void pickScheme(MainWindow& window, const QString& name);
    std::unique_ptr<QTemporaryDir> m_temp;
};

void TestWorkflow::initTestCase()
{
    m_temp = std::make_unique<QTemporaryDir>();
    QVERIFY(m_temp->isValid());
    qputenv("TMPDIR", QFile::encodeName(m_temp->path()));
    QVERIFY(Translation::instance().load(QStringLiteral(":/translate.xml")));
    QCoreApplication::setApplicationName(QStringLiteral("Tarvel GUI"));
    QCoreApplication::setOrganizationName(QStringLiteral("ZDL"));
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    // The program as it is installed: the schemes and the simulation code
    // beside it.
    for (const char* name : {"schemes.dat", "tarinp.x", "tarrun.x"}) {
        const QString target = programFile(QString::fromLatin1(name));
        QFile::remove(target);
        QVERIFY2(QFile::copy(QStringLiteral(TARVEL_BIN_DIR "/") + QString::fromLatin1(name), target), name);
    }
    QFile::remove(programFile(QStringLiteral("settings.ini")));
}

void TestWorkflow::cleanupTestCase()
{
    for (const char* name : {"schemes.dat", "tarinp.x", "tarrun.x", "settings.ini"})
        QFile::remove(programFile(QString::fromLatin1(name)));
}

void TestWorkflow::pickScheme(MainWindow& window, const QString& name)
{
    QListWidget* schemes = window.starter()->schemesList();
    for (int row = 0; row < schemes->count(); ++row) {
        auto* bar = qobject_cast<ListDelegateEditor*>(schemes->itemWidget(schemes->item(row)));
        if (bar && bar->data.toString() == name) {
            QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(10, bar->height() / 2));
            return;
        }
    }
    QFAIL("no such scheme");
}

void TestWorkflow::newUserWorkflow()
{
    const QString saved = QDir(m_temp->path()).filePath(QStringLiteral("ignition.tarvel"));
    QStringList graphs;
    int steps = 0;
    {
        MainWindow window;
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        Project* project = window.project();
        pickScheme(window, QStringLiteral("H2-AIR-CONP"));
        QCOMPARE(window.selector()->stack()->currentWidget(), static_cast<QWidget*>(window.settingsPage()));

        // The temperature, typed as a user types it.
        OptionField* temperature = nullptr;
        for (SchemeNode* node : project->allNodes()) {
            if (node->option && node->option->name == QLatin1String("BC_T"))
                temperature = qobject_cast<OptionField*>(window.settingsPage()->editorOf(node));
        }
        QVERIFY(temperature);
        QTest::mouseClick(temperature, Qt::LeftButton);
        QTest::keyClick(temperature, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(temperature, QStringLiteral("1100"));
        QTest::keyClick(temperature, Qt::Key_Tab);
        QCOMPARE(project->optionValue(QStringLiteral("BC_T")), QStringLiteral("1100"));
        QVERIFY(window.isWindowModified());

        // The run, with the bundled code.
        ModalAnswers answers;
        QSignalSpy finished(project, &Project::simulationFinished);
        answers.add(ModalAnswers::press(QMessageBox::Ok));
        QTest::mouseClick(window.runButton(), Qt::LeftButton);
        QVERIFY(finished.wait(120000));
        QTRY_COMPARE(answers.seen().size(), 1);
        QCOMPARE(answers.seen().at(0).text, QStringLiteral("Simulation Successful!"));
        QVERIFY(project->allSucceeded());
        const QByteArray input = readFile(QDir(project->path()).filePath(QStringLiteral("fort.2")));
        QVERIFY2(input.contains("\nT       =      1100 \n"), input.constData());
        QVERIFY(window.simulator()->consoles().at(1)->toPlainText().contains(
            QStringLiteral("CONGRATULATION  -  SIMULATION WAS SUCCESSFUL")));

        // The results table shows the fields of the last step.
        steps = project->timeStepCount();
        QVERIFY(steps > 10);
        QVERIFY(window.results()->table()->model()->rowCount() > 0);
        QVERIFY(project->currentTime() > 0.0f);

        // A profile of a step in the middle, and a run that starts from it.
        QCOMPARE(project->saveProfile(QStringLiteral("Halfway"), steps / 2), ProfileResult::Created);
        QCOMPARE(window.profilesMenu()->actions().size(), 1);
        answers.add(ModalAnswers::press(QMessageBox::Ok));
        window.profilesMenu()->actions().first()->trigger();
        QCOMPARE(project->currentProfile(), 0);
        QVERIFY(finished.wait(120000));
        QTRY_COMPARE(answers.seen().size(), 2);
        QCOMPARE(answers.seen().at(1).text, QStringLiteral("Simulation Successful!"));
        steps = project->timeStepCount();

        // The temperature graph came with the results; one more is added.
        window.selector()->setCurrentIndex(4);
        QCOMPARE(window.graphControl()->definitions().size(), 1);
        window.graphControl()->addGraphAction()->trigger();
        QCOMPARE(window.graphControl()->definitions().size(), 2);

        // Save As, the name typed without extension.
        answers.add(ModalAnswers::chooseFile(QDir(m_temp->path()).filePath(QStringLiteral("ignition"))));
        window.saveAsAction()->trigger();
        QVERIFY(QFile::exists(saved));
        QCOMPARE(project->fileName(), saved);
        QCOMPARE(window.starter()->recentPaths().value(0), saved);
        QVERIFY(!window.isWindowModified());
        for (const GraphDefinition& graph : window.graphControl()->definitions())
            graphs << graph.title;
        answers.settle();
        QCOMPARE(answers.pending(), 0);
    }

    // Reopened in a new window from the recent list: all of it back.
    MainWindow window;
    window.show();
    Project* project = window.project();
    ModalAnswers answers;
    answers.add(ModalAnswers::press(QMessageBox::Ok));
    QListWidget* recent = window.starter()->recentList();
    auto* bar = qobject_cast<ListDelegateEditor*>(recent->itemWidget(recent->item(0)));
    QVERIFY(bar);
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(10, bar->height() / 2));
    QCOMPARE(answers.seen().value(0).text, QStringLiteral("Project has been loaded!"));
    QCOMPARE(project->fileName(), saved);
    QCOMPARE(project->optionValue(QStringLiteral("BC_T")), QStringLiteral("1100"));
    QCOMPARE(project->timeStepCount(), steps);
    QCOMPARE(project->status(), RunStatus::ResultsAvailable);
    QCOMPARE(project->profileNames(), QStringList{QStringLiteral("Halfway")});
    QStringList reopened;
    for (const GraphDefinition& graph : window.graphControl()->definitions())
        reopened << graph.title;
    QCOMPARE(reopened, graphs);
    QCOMPARE(reopened.size(), 2);
}

QTEST_MAIN(TestWorkflow)
#include "tst_workflow.moc"

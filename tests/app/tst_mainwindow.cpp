// The main window over the built-in catalogue and the bundled schemes, its
// executables the test double under the catalogue's names: actions, menus,
// pages, the bottom bar, the temporary folder, the close prompt and the
// saved window state, a run with its progress in the title, profiles,
// export and the About dialog.

#include "mainwindow.h"
#include "modalanswers.h"
#include "selector.h"
#include "messagecapture.h"
#include "startup.h"
#include "translation.h"
#include "listdelegateeditor.h"
#include "schemeextras.h"
#include "optionactions.h"
#include "optiontree.h"
#include "settings.h"
#include "simulator.h"
#include "starter.h"
#include "ooption.h"
#include "project.h"
#include "ctrlgraph2d.h"
#include "graph2d.h"
#include "results.h"

#include <QtTest>

#include <QApplication>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QSplitter>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QTreeWidget>

#include <memory>

namespace {

const QString kSuccess = QStringLiteral("CONGRATULATION  -  SIMULATION WAS SUCCESSFUL");
const QString kScheme = QStringLiteral("H2-AIR-CONP"); // ends at 1.0E-03 s
const QString kTitle = QStringLiteral("H2-AIR-CONP[*] \u2014 Tarvel GUI");

QString programFile(const QString& name)
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(name);
}

QString row(const QStringList& cells)
{
    QString line;
    for (const QString& cell : cells)
        line += cell.rightJustified(18);
    return line;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The run folder of the window the test opened last.
QString g_runFolder;

// The test double plays the catalogue's executables, told by control files
// in the project folder.
void control(const QString& executable, const QStringList& lines)
{
    writeFile(QDir(g_runFolder).filePath(executable + QStringLiteral(".ctl")),
              (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
}

class UrlCatcher : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public slots:
    void open(const QUrl& url) { urls.append(url); }
};

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void waitsWhileResultsAreStored();
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void freshWindow();
    void actionsAndMenus();
    void pagesAndBottomBar();
    void runFolders();
    void choosingASchemeOpensThePages();
    void closeWithoutChangesWritesTheState();
    void closePrompt();
    void runShowsProgress();
    void runWithProfile();
    void refusedRunSaysWhy();
    void titleTellsTheState();
    void lastTypedValueIsKept();
    void closingDuringRunStopsAndStores();
    void replacingTheProjectReadsNoFreedMemory();
    void settingsFallBackWhenBesideProgramIsUnwritable();
    void exportData();
    void aboutDialog();
    void temporaryFolderShown();
    void actionsGoToTheStartPage();

private:
    static void installExecutables(bool present);
    std::unique_ptr<MainWindow> openWindow();
    void chooseScheme(MainWindow& window, const QString& name = kScheme);
    // The editor of the option node of that name on the Options page.
    static QWidget* editorOf(MainWindow& window, const QString& option);
    // Types into a field as a user would, without confirming.
    static void typeInto(QWidget* field, const QString& text);
    // A run whose data reach 4.535E-04 s, wait `pause` ms, then the end.
    static void controlRun(int pause, const QStringList& extra = {});

    std::unique_ptr<QTemporaryDir> m_temp;
};

void TestMainWindow::initTestCase()
{
    // A folder of our own as the system's temporary directory: the window
    // empties and removes TARVELG there.
    m_temp = std::make_unique<QTemporaryDir>();
    QVERIFY(m_temp->isValid());
    qputenv("TMPDIR", QFile::encodeName(m_temp->path()));
    QCOMPARE(QDir::tempPath(), QDir(m_temp->path()).canonicalPath());

    QVERIFY(Translation::instance().load(QStringLiteral(":/translate.xml")));
    QCoreApplication::setApplicationName(QStringLiteral("Tarvel GUI"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.4"));
    QCoreApplication::setOrganizationName(QStringLiteral("ZDL"));
    Startup::versionDate() = QStringLiteral("15.10.2013");
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);

    const QString schemes = QStringLiteral(TARVEL_BIN_DIR "/schemes.dat");
    QVERIFY2(QFile::exists(schemes), "the bundled schemes database has not been built");
    QFile::remove(programFile(QStringLiteral("schemes.dat")));
    QVERIFY(QFile::copy(schemes, programFile(QStringLiteral("schemes.dat"))));
}

void TestMainWindow::init()
{
    QFile::remove(programFile(QStringLiteral("settings.ini")));
    installExecutables(true);
}

void TestMainWindow::cleanup()
{
    QFile::remove(programFile(QStringLiteral("settings.ini")));
}

void TestMainWindow::cleanupTestCase()
{
    installExecutables(false);
    QFile::remove(programFile(QStringLiteral("schemes.dat")));
}

void TestMainWindow::installExecutables(bool present)
{
    for (const char* name : {"tarinp.x", "tarrun.x"}) {
        const QString target = programFile(QString::fromLatin1(name));
        QFile::remove(target);
        if (!present)
            continue;
        if (!QFile::copy(QStringLiteral(TARVEL_FAKEEXEC), target))
            qFatal("cannot copy the test double to %s", qPrintable(target));
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
}

std::unique_ptr<MainWindow> TestMainWindow::openWindow()
{
    auto window = std::make_unique<MainWindow>();
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        qWarning("the main window was not exposed");
    g_runFolder = window->runFolder();
    return window;
}

QWidget* TestMainWindow::editorOf(MainWindow& window, const QString& option)
{
    for (SchemeNode* node : window.project()->allNodes()) {
        if (node->option && node->option->name == option)
            return window.settingsPage()->editorOf(node);
    }
    return nullptr;
}

void TestMainWindow::typeInto(QWidget* field, const QString& text)
{
    // As a user types: in the active window, into the field with the focus.
    field->window()->activateWindow();
    if (!QTest::qWaitForWindowActive(field->window()))
        qWarning("the window did not become active");
    field->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}

void TestMainWindow::chooseScheme(MainWindow& window, const QString& name)
{
    QListWidget* schemes = window.starter()->schemesList();
    for (int row = 0; row < schemes->count(); ++row) {
        auto* bar = qobject_cast<ListDelegateEditor*>(schemes->itemWidget(schemes->item(row)));
        if (bar && bar->data.toString() == name) {
            window.selector()->setCurrentIndex(0);
            QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(10, bar->height() / 2));
            return;
        }
    }
    QFAIL("the bundled schemes database has no H2-AIR-CONP");
}

void TestMainWindow::waitsWhileResultsAreStored()
{
    auto window = openWindow();
    chooseScheme(*window);
    controlRun(10);
    Project* project = window->project();
    QStringList seen;
    connect(project, &Project::storingChanged, this, [&](bool storing) {
        seen << QStringLiteral("%1 save %2 open %3 start page %4 window's bar %5 %6: %7")
                    .arg(storing)
                    .arg(window->saveAction()->isEnabled())
                    .arg(window->openAction()->isEnabled())
                    .arg(window->starter()->isEnabled())
                    .arg(window->progressBar()->maximum())
                    .arg(window->progressBar()->format(), window->simulator()->timeLabel()->text());
        if (storing)
            QCOMPARE(window->saveAction()->toolTip(),
                     QStringLiteral("Waiting for the results of the run to be stored"));
    });
    QSignalSpy finished(project, &Project::simulationFinished);
    ModalAnswers answers;
    answers.add(ModalAnswers::press(QMessageBox::Ok));
    window->runAction()->trigger();
    QVERIFY(finished.wait(15000));
    QCOMPARE(seen.size(), 2);
    QCOMPARE(seen.at(0), QStringLiteral("1 save 0 open 0 start page 0 window's bar 0 Storing results\u2026: "
                                        "Storing results\u2026"));
    QVERIFY2(seen.at(1).startsWith(QStringLiteral("0 save 1 open 1 start page 1 window's bar 1000 %p%: ")),
             qPrintable(seen.at(1)));
    QVERIFY(window->saveAction()->isEnabled());
}

void TestMainWindow::controlRun(int pause, const QStringList& extra)
{
    control(QStringLiteral("tarinp.x"), {QStringLiteral("print input read"), QStringLiteral("append fort.18  FROM INPUT")});
    QStringList run{QStringLiteral("data ") + row({QStringLiteral("t(s)"), QStringLiteral("T(K)")}),
                    QStringLiteral("data ") + row({QStringLiteral("0.0"), QStringLiteral("1000.0")}),
                    QStringLiteral("data ") + row({QStringLiteral("4.535E-04"), QStringLiteral("1400.0")})};
    run << extra;
    run << QStringLiteral("sleep %1").arg(pause)
        << QStringLiteral("data ") + row({QStringLiteral("1.0E-03"), QStringLiteral("2200.0")})
        << QStringLiteral("print ") + kSuccess;
    control(QStringLiteral("tarrun.x"), run);
}

void TestMainWindow::freshWindow()
{
    auto window = openWindow();
    QCOMPARE(window->windowTitle(), QStringLiteral("Tarvel GUI"));
    QVERIFY(!window->windowIcon().isNull());
    QCOMPARE(window->size(), QSize(800, 600));
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QCOMPARE(window->pos(), QPoint(area.x() + (area.width() - 800) / 2, area.y() + (area.height() - 600) / 2));
    QVERIFY(window->catalogue());
    QVERIFY(window->project());
    QCOMPARE(window->project()->runs().size(), 2);
}

void TestMainWindow::actionsAndMenus()
{
    auto window = openWindow();
    struct Expected
    {
        QAction* action;
        QString text;
        bool icon;
        QString toolTip;
        QString shortcut;
        bool enabled;
        QVariant data;
    };
    const QList<Expected> table{
        {window->saveAction(), "Save Project", true, "Save current Project", "Ctrl+S", true, 1},
        {window->saveAsAction(), "Save Project As", true, "Save current Project to a different file", "Shift+Ctrl+S",
         true, 3},
        {window->openAction(), "Open Project", true, "Open existing Project", "Ctrl+O", true, 2},
        {window->runAction(), "Run", true, "Start Calculation", "Ctrl+R", false, 5},
        {window->runProfileAction(), "Run with Profile", false, "Run with Profile", "Ctrl+P", false, QVariant()},
        {window->tempDirAction(), "Show temporary folder", false, QString(), QString(), true, QVariant()},
        {window->exportAction(), "Export Data", false, "Export simulated Data as a Table", "Ctrl+E", false, 6},
        {window->exitAction(), "Exit", false, "Exit Programme", "Ctrl+Q", true, QVariant()},
        {window->aboutAction(), "About TARVEL", false, QString(), QString(), true, 10},
    };
    for (const Expected& expected : table) {
        QAction* action = expected.action;
        QVERIFY(action);
        QCOMPARE(action->text(), expected.text);
        QCOMPARE(!action->icon().isNull(), expected.icon);
        if (!expected.toolTip.isEmpty())
            QCOMPARE(action->toolTip(), expected.toolTip);
        QCOMPARE(action->shortcut(), QKeySequence(expected.shortcut));
        QCOMPARE(action->isEnabled(), expected.enabled);
        QCOMPARE(action->data(), expected.data);
        QVERIFY(!action->isCheckable());
        QCOMPARE(action->parent(), window.get());
    }

    const QList<QAction*> top = window->menuBar()->actions();
    QCOMPARE(top.size(), 2);
    QCOMPARE(top.at(0)->text(), QStringLiteral("&Project"));
    QCOMPARE(top.at(1)->text(), QStringLiteral("&Info"));
    const QList<QAction*> project = top.at(0)->menu()->actions();
    const QList<QAction*> order{window->saveAction(),      window->saveAsAction(), window->openAction(), nullptr,
                                window->runAction(),       window->runProfileAction(), nullptr,
                                window->tempDirAction(),   window->exportAction(), nullptr,
                                window->exitAction()};
    QCOMPARE(project.size(), order.size());
    for (int i = 0; i < order.size(); ++i) {
        if (order.at(i))
            QCOMPARE(project.at(i), order.at(i));
        else
            QVERIFY(project.at(i)->isSeparator());
    }
    QCOMPARE(top.at(1)->menu()->actions(), QList<QAction*>{window->aboutAction()});
    QCOMPARE(window->runProfileAction()->menu(), window->profilesMenu());

    // No profiles yet: one disabled entry.
    const QList<QAction*> profiles = window->profilesMenu()->actions();
    QCOMPARE(profiles.size(), 1);
    QCOMPARE(profiles.first()->text(), QStringLiteral("No Profiles"));
    QVERIFY(!profiles.first()->isEnabled());
}

void TestMainWindow::pagesAndBottomBar()
{
    auto window = openWindow();
    Selector* selector = window->selector();
    QStackedWidget* stack = selector->stack();
    QCOMPARE(stack->count(), 6);
    QCOMPARE(stack->widget(0), window->starter());
    QCOMPARE(stack->widget(1), static_cast<QWidget*>(window->settingsPage()));
    QCOMPARE(window->settingsPage()->project(), window->project());
    QCOMPARE(stack->widget(2), static_cast<QWidget*>(window->extrasPage()));
    QCOMPARE(stack->widget(3), static_cast<QWidget*>(window->results()));
    QCOMPARE(stack->widget(4), window->graphSplitter());
    QCOMPARE(stack->widget(5), static_cast<QWidget*>(window->simulator()));
    QCOMPARE(window->graphSplitter()->orientation(), Qt::Vertical);
    QCOMPARE(window->graphSplitter()->widget(0), static_cast<QWidget*>(window->plot()));
    QCOMPARE(window->graphSplitter()->widget(1), static_cast<QWidget*>(window->graphControl()));
    QCOMPARE(window->extrasPage()->scheme(), static_cast<Scheme*>(window->project()));

    QListWidget* list = selector->list();
    const QStringList captions{"Home", QString(), "Options", "Files", "Results", "Graph 2D", QString(), "Terminal"};
    QCOMPARE(list->count(), captions.size());
    for (int row = 0; row < captions.size(); ++row) {
        QCOMPARE(list->item(row)->text(), captions.at(row));
        if (captions.at(row).isEmpty()) {
            QCOMPARE(list->item(row)->flags(), Qt::NoItemFlags);
            continue;
        }
        QVERIFY(!list->item(row)->icon().isNull());
        // Only the start page until a project is open.
        QCOMPARE(list->item(row)->flags().testFlag(Qt::ItemIsEnabled), row == 0);
    }
    QCOMPARE(stack->currentIndex(), 0);

    QPushButton* save = window->saveButton();
    QCOMPARE(save->text(), QStringLiteral("Save"));
    QCOMPARE(save->toolTip(), QStringLiteral("Save current Project"));
    QVERIFY(!save->icon().isNull());
    QVERIFY(!save->isEnabled());
    QPushButton* run = window->runButton();
    QCOMPARE(run->text(), QStringLiteral("Run"));
    QVERIFY(!run->icon().isNull());
    QVERIFY(!run->isEnabled());
    QProgressBar* progress = window->progressBar();
    QVERIFY(!progress->isVisible());
    QCOMPARE(progress->minimum(), 0);
    QCOMPARE(progress->maximum(), 1000);
    QCOMPARE(progress->value(), 0);

    auto* grid = qobject_cast<QGridLayout*>(save->parentWidget()->layout());
    QVERIFY(grid);
    QCOMPARE(grid->contentsMargins(), QMargins(5, 5, 10, 5));
    QCOMPARE(grid->spacing(), 0);
    int r = 0, c = 0, rs = 0, cs = 0;
    grid->getItemPosition(grid->indexOf(save), &r, &c, &rs, &cs);
    QCOMPARE(c, 0);
    grid->getItemPosition(grid->indexOf(progress), &r, &c, &rs, &cs);
    QCOMPARE(c, 1);
    grid->getItemPosition(grid->indexOf(run), &r, &c, &rs, &cs);
    QCOMPARE(c, 2);
    QLayout* central = window->centralWidget()->layout();
    QCOMPARE(central->contentsMargins(), QMargins(0, 0, 0, 0));
    QCOMPARE(central->spacing(), 0);
    QCOMPARE(central->itemAt(0)->widget(), static_cast<QWidget*>(selector));
    QCOMPARE(central->itemAt(1)->widget(), save->parentWidget());
}

void TestMainWindow::runFolders()
{
    // What another program, or an attacker, left under the old shared name:
    // a link to a folder of files, then a plain file. Neither is touched,
    // and neither stops a run.
    const QString shared = QDir(QDir::tempPath()).filePath(QStringLiteral("TARVELG"));
    QTemporaryDir victim;
    writeFile(victim.filePath(QStringLiteral("precious.txt")), "keep");
    for (bool link : {true, false}) {
        QFile::remove(shared);
        if (link)
            QVERIFY(QFile::link(victim.path(), shared));
        else
            writeFile(shared, "a file");
        MessageCapture capture;
        auto first = std::make_unique<MainWindow>();
        MainWindow second;
        const QString one = first->runFolder();
        const QString two = second.runFolder();
        QVERIFY(!one.isEmpty() && !two.isEmpty());
        QVERIFY(one != two);
        for (const QString& folder : {one, two}) {
            QVERIFY(QFileInfo(folder).fileName().startsWith(QStringLiteral("TARVELG-")));
            QCOMPARE(QFileInfo(folder).dir().canonicalPath(), QDir(QDir::tempPath()).canonicalPath());
            QVERIFY(!QFileInfo(folder).isSymLink());
            // The user's alone.
            const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther
                                              | QFile::WriteOther | QFile::ExeOther;
            QCOMPARE(QFile::permissions(folder) & others, QFile::Permissions());
            QCOMPARE(QFile::permissions(folder) & (QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner),
                     QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        QCOMPARE(first->project()->path(), QDir(one).absolutePath());
        QVERIFY(
            capture.texts(QtDebugMsg)
                .contains(QStringLiteral("Absolute temporary project path: \"%1\" ").arg(QDir(two).absolutePath())));
        writeFile(QDir(one).filePath(QStringLiteral("fort.2")), "first");
        writeFile(QDir(two).filePath(QStringLiteral("fort.2")), "second");
        // One window going leaves the other's run folder alone.
        first.reset();
        QVERIFY(!QFileInfo::exists(one));
        QCOMPARE(readFile(QDir(two).filePath(QStringLiteral("fort.2"))), QByteArray("second"));
        QCOMPARE(readFile(victim.filePath(QStringLiteral("precious.txt"))), QByteArray("keep"));
        QCOMPARE(QFileInfo(shared).isSymLink(), link);
        second.show();
        chooseScheme(second);
        QCOMPARE(second.project()->notReadyReason(), QString());
    }
    QCOMPARE(readFile(shared), QByteArray("a file"));
    QFile::remove(shared);
}

void TestMainWindow::choosingASchemeOpensThePages()
{
    auto window = openWindow();
    chooseScheme(*window);
    QCOMPARE(window->project()->name(), kScheme);
    QCOMPARE(window->selector()->stack()->currentIndex(), 1);
    QListWidget* list = window->selector()->list();
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->data(Qt::UserRole).toInt() >= 0)
            QVERIFY(list->item(row)->flags().testFlag(Qt::ItemIsEnabled));
    }
    QVERIFY(window->runAction()->isEnabled());
    QVERIFY(window->runButton()->isEnabled());
    QVERIFY(window->exportAction()->isEnabled());
    QVERIFY(window->saveButton()->isEnabled());
    // Without profiles the run-with-profile entry stays off.
    QVERIFY(!window->runProfileAction()->isEnabled());
}

void TestMainWindow::closeWithoutChangesWritesTheState()
{
    {
        auto window = openWindow();
        chooseScheme(*window);
        QVERIFY(window->project()->isSaved());
        window->resize(700, 520);
        ModalAnswers answers;
        QVERIFY(window->close());
        QCOMPARE(answers.seen().size(), 0);
        QSettings settings(programFile(QStringLiteral("settings.ini")), QSettings::IniFormat);
        for (const char* key : {"MainWindow/Geometry", "MainWindow/State", "MainWindow/GraphSplitter"}) {
            QVERIFY2(settings.contains(QLatin1String(key)), key);
            QCOMPARE(settings.value(QLatin1String(key)).typeId(), int(QMetaType::QByteArray));
        }
        QCOMPARE(settings.value(QStringLiteral("MainWindow/State")).toByteArray(), window->saveState(0));
        QCOMPARE(settings.value(QStringLiteral("MainWindow/GraphSplitter")).toByteArray(),
                 window->graphSplitter()->saveState());
    }
    // The next window comes back as the last one went.
    MainWindow again;
    QCOMPARE(again.size(), QSize(700, 520));
}

void TestMainWindow::closePrompt()
{
    const QString ini = programFile(QStringLiteral("settings.ini"));
    auto window = openWindow();
    chooseScheme(*window);
    window->project()->setUnsaved();
    QFile::remove(ini);

    ModalAnswers answers;
    answers.add(ModalAnswers::press(QMessageBox::Cancel));
    QVERIFY(!window->close());
    QCOMPARE(answers.seen().size(), 1);
    const ModalAnswers::Seen box = answers.seen().first();
    QCOMPARE(box.text, QStringLiteral("The project has been modified."));
    QCOMPARE(box.informativeText, QStringLiteral("Do you want to save your changes?"));
    QCOMPARE(box.buttons, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    QCOMPARE(box.defaultButton, QMessageBox::Save);
    QVERIFY(window->isVisible());
    QVERIFY(!QFile::exists(ini));

    // Save, but no file chosen: still open, nothing written.
    answers.add(ModalAnswers::press(QMessageBox::Save));
    answers.add(ModalAnswers::chooseFile(QString()));
    QVERIFY(!window->close());
    QCOMPARE(answers.seen().size(), 3);
    QCOMPARE(answers.seen().at(2).title, QStringLiteral("New Project Name"));
    QVERIFY(window->isVisible());
    QVERIFY(!QFile::exists(ini));

    // Save into a file: saved, closed.
    const QString file = QDir(m_temp->path()).filePath(QStringLiteral("closing.tarvel"));
    answers.add(ModalAnswers::press(QMessageBox::Save));
    answers.add(ModalAnswers::chooseFile(file));
    QVERIFY(window->close());
    QVERIFY(QFile::exists(file));
    QVERIFY(window->project()->isSaved());
    QVERIFY(QFile::exists(ini));

    // Discard closes without saving.
    auto second = openWindow();
    chooseScheme(*second);
    second->project()->setUnsaved();
    QFile::remove(ini);
    answers.add(ModalAnswers::press(QMessageBox::Discard));
    QVERIFY(second->close());
    QVERIFY(!second->project()->isSaved());
    QVERIFY(QFile::exists(ini));
}

void TestMainWindow::runShowsProgress()
{
    auto window = openWindow();
    chooseScheme(*window);
    controlRun(1500);
    QSignalSpy titles(window.get(), &QWidget::windowTitleChanged);
    QSignalSpy finished(window->project(), &Project::simulationFinished);
    ModalAnswers answers;
    answers.add(ModalAnswers::press(QMessageBox::Ok));

    QTest::mouseClick(window->runButton(), Qt::LeftButton);
    QVERIFY(!window->runButton()->isEnabled());
    QVERIFY(!window->runAction()->isEnabled());
    QVERIFY(!window->runProfileAction()->isEnabled());
    QProgressBar* progress = window->progressBar();
    QVERIFY(progress->isVisible());
    QCOMPARE(progress->format(), QStringLiteral("%p%"));
    QVERIFY(progress->isTextVisible());
    QCOMPARE(titles.value(0).value(0).toString(), kTitle + QStringLiteral(" (0.0 %)"));

    QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), kTitle + QStringLiteral(" (45.3 %)"), 5000);
    QCOMPARE(progress->value(), 453);
    QVERIFY(!window->runButton()->isEnabled());

    QVERIFY(finished.wait(15000));
    QCOMPARE(window->windowTitle(), kTitle);
    QVERIFY(!progress->isVisible());
    QCOMPARE(progress->value(), 1000);
    QVERIFY(window->runButton()->isEnabled());
    QVERIFY(window->runAction()->isEnabled());
    QTRY_COMPARE(answers.seen().size(), 1);
    QCOMPARE(answers.seen().first().text, QStringLiteral("Simulation Successful!"));
    // The simulation page followed the same run.
    QVERIFY(window->simulator()->consoles().at(1)->toPlainText().contains(kSuccess));
}

void TestMainWindow::runWithProfile()
{
    auto window = openWindow();
    chooseScheme(*window);
    // The computation file gets one block per step; the second executable
    // keeps what it found there when it started.
    controlRun(10, {QStringLiteral("copy fort.18 seen.18"), QStringLiteral("append fort.18 >DATA"),
                    QStringLiteral("append fort.18  TIME (S)  0.0"), QStringLiteral("append fort.18  STATE ZERO"),
                    QStringLiteral("append fort.18 <"), QStringLiteral("append fort.18 >DATA"),
                    QStringLiteral("append fort.18  TIME (S)  4.535E-04"),
                    QStringLiteral("append fort.18  STATE HOT"), QStringLiteral("append fort.18 <")});
    Project* project = window->project();
    QSignalSpy finished(project, &Project::simulationFinished);
    ModalAnswers answers;
    answers.add(ModalAnswers::press(QMessageBox::Ok));
    window->runAction()->trigger();
    QVERIFY(finished.wait(15000));
    QTRY_COMPARE(answers.seen().size(), 1);

    QCOMPARE(project->saveProfile(QStringLiteral("Hot"), 1), ProfileResult::Created);
    QList<QAction*> entries = window->profilesMenu()->actions();
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries.first()->text(), QStringLiteral("Hot"));
    QCOMPARE(entries.first()->data().toInt(), 0);
    QVERIFY(entries.first()->isEnabled());
    QVERIFY(window->runProfileAction()->isEnabled());

    answers.add(ModalAnswers::press(QMessageBox::Ok));
    entries.first()->trigger();
    QCOMPARE(project->currentProfile(), 0);
    QVERIFY(!window->runProfileAction()->isEnabled());
    QVERIFY(finished.wait(15000));
    QTRY_COMPARE(answers.seen().size(), 2);
    const QByteArray seen = readFile(QDir(project->path()).filePath(QStringLiteral("seen.18")));
    QVERIFY2(seen.contains("FROM INPUT") && seen.contains("STATE HOT"), seen.constData());
    QVERIFY(window->runProfileAction()->isEnabled());

    // The plain run goes without the profile again.
    QVERIFY(QFile::remove(QDir(project->path()).filePath(QStringLiteral("seen.18"))));
    answers.add(ModalAnswers::press(QMessageBox::Ok));
    QTest::mouseClick(window->runButton(), Qt::LeftButton);
    QCOMPARE(project->currentProfile(), -1);
    QVERIFY(finished.wait(15000));
    const QByteArray plain = readFile(QDir(project->path()).filePath(QStringLiteral("seen.18")));
    QVERIFY(plain.contains("FROM INPUT"));
    QVERIFY(!plain.contains("STATE HOT"));
    QTRY_COMPARE(answers.seen().size(), 3);

    project->removeProfile(0);
    QCOMPARE(window->profilesMenu()->actions().size(), 1);
    QCOMPARE(window->profilesMenu()->actions().first()->text(), QStringLiteral("No Profiles"));
    QVERIFY(!window->runProfileAction()->isEnabled());
}

void TestMainWindow::refusedRunSaysWhy()
{
    installExecutables(false);
    {
        auto window = openWindow();
        // Kept, so that the refusal names them; their consoles are there.
        QCOMPARE(window->project()->runs().size(), 2);
        QVERIFY(window->simulator()->placeholder()->isHidden());
        chooseScheme(*window);
        QSignalSpy started(window->project(), &Project::simulationStarted);
        ModalAnswers answers;
        answers.add(ModalAnswers::press(QMessageBox::Ok));
        QTest::mouseClick(window->runButton(), Qt::LeftButton);
        QTRY_COMPARE(answers.seen().size(), 1);
        QCOMPARE(answers.seen().at(0).text, QStringLiteral("The simulation cannot start."));
        QCOMPARE(answers.seen().at(0).informativeText,
                 QStringLiteral("Project Execution File \"%1\" doesn't exist or wrong")
                     .arg(programFile(QStringLiteral("tarinp.x"))));
        QCOMPARE(started.count(), 0);
        QVERIFY(window->runButton()->isEnabled());
        QVERIFY(window->runAction()->isEnabled());
        QVERIFY(!window->progressBar()->isVisible());
    }

    // After a run: an executable that cannot be executed refuses the next
    // one, and the results of the last one stay.
    installExecutables(true);
    auto window = openWindow();
    chooseScheme(*window);
    controlRun(10);
    Project* project = window->project();
    QSignalSpy finished(project, &Project::simulationFinished);
    ModalAnswers answers;
    answers.add(ModalAnswers::press(QMessageBox::Ok));
    window->runAction()->trigger();
    QVERIFY(finished.wait(15000));
    QTRY_COMPARE(answers.seen().size(), 1);
    const int steps = project->timeStepCount();
    QCOMPARE(steps, 3);
    QFile::setPermissions(programFile(QStringLiteral("tarrun.x")), QFile::ReadOwner | QFile::WriteOwner);
    answers.add(ModalAnswers::press(QMessageBox::Ok));
    QTest::mouseClick(window->simulator()->startButton(), Qt::LeftButton);
    QTRY_COMPARE(answers.seen().size(), 2);
    QCOMPARE(answers.seen().at(1).informativeText,
             QStringLiteral("Project Execution File \"%1\" doesn't exist or wrong").arg(programFile("tarrun.x")));
    QCOMPARE(project->timeStepCount(), steps);
    QCOMPARE(project->status(), RunStatus::ResultsAvailable);
    QVERIFY(!project->getExtra(QStringLiteral("OUTPUT_DATA"))->text.isEmpty());

    // No species in the boundary conditions: the input file has no SPECIES.
    installExecutables(true);
    QList<SchemeNode*> conditions;
    for (SchemeNode* node : project->allNodes()) {
        if (node->option && node->option->kind == OOption::BoundaryCondition && node->option->name != "BC_T"
            && node->option->name != "BC_P")
            conditions << node;
    }
    window->settingsPage()->dropTree();
    for (SchemeNode* node : conditions)
        QVERIFY(project->removeNode(node));
    window->settingsPage()->updateData();
    answers.add(ModalAnswers::press(QMessageBox::Ok));
    window->runAction()->trigger();
    QTRY_COMPARE(answers.seen().size(), 3);
    QCOMPARE(answers.seen().at(2).informativeText,
             QStringLiteral("No species in the boundary conditions. Must have at least one"));
    QCOMPARE(project->timeStepCount(), steps);
}

void TestMainWindow::titleTellsTheState()
{
    auto window = openWindow();
    QCOMPARE(window->windowTitle(), QStringLiteral("Tarvel GUI"));
    chooseScheme(*window);
    QCOMPARE(window->windowTitle(), kTitle);
    QVERIFY(!window->isWindowModified());
    window->project()->setUnsaved();
    QVERIFY(window->isWindowModified());
    const QString file = QDir(m_temp->path()).filePath(QStringLiteral("titled.tarvel"));
    QVERIFY(window->project()->save(file));
    QVERIFY(!window->isWindowModified());

    // Past the end time: at most 100 %.
    control(QStringLiteral("tarinp.x"), {QStringLiteral("print input read")});
    control(QStringLiteral("tarrun.x"),
            {QStringLiteral("data ") + row({QStringLiteral("t(s)"), QStringLiteral("T(K)")}),
             QStringLiteral("data ") + row({QStringLiteral("2.0E-03"), QStringLiteral("1000.0")}),
             QStringLiteral("sleep 1500"), QStringLiteral("print ") + kSuccess});
    QSignalSpy finished(window->project(), &Project::simulationFinished);
    ModalAnswers answers;
    answers.add(ModalAnswers::press(QMessageBox::Ok));
    window->runAction()->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), kTitle + QStringLiteral(" (100.0 %)"), 5000);
    QVERIFY(finished.wait(15000));

    // Without an end time no percentage is known, and none is shown.
    QWidget* end = editorOf(*window, QStringLiteral("TEND"));
    QVERIFY(end);
    typeInto(end, QString());
    QTest::keyClick(end, Qt::Key_Return);
    QCOMPARE(window->project()->optionValue(QStringLiteral("TEND")), QStringLiteral("off"));
    QSignalSpy titles(window.get(), &QWidget::windowTitleChanged);
    answers.add(ModalAnswers::press(QMessageBox::Ok));
    window->runAction()->trigger();
    QVERIFY(finished.wait(15000));
    for (const QList<QVariant>& title : std::as_const(titles))
        QVERIFY2(!title.value(0).toString().contains(QLatin1Char('%')), qPrintable(title.value(0).toString()));
    QCOMPARE(window->windowTitle(), kTitle);
}

void TestMainWindow::lastTypedValueIsKept()
{
    auto window = openWindow();
    chooseScheme(*window);
    Project* project = window->project();
    const QString fort2 = QDir(project->path()).filePath(QStringLiteral("fort.2"));
    QWidget* temperature = editorOf(*window, QStringLiteral("BC_T"));
    QVERIFY(temperature);

    // Saved: typed, never confirmed, then Ctrl+S.
    typeInto(temperature, QStringLiteral("1100"));
    const QString file = QDir(m_temp->path()).filePath(QStringLiteral("typed.tarvel"));
    ModalAnswers answers;
    answers.add(ModalAnswers::chooseFile(file));
    window->saveAction()->trigger();
    QCOMPARE(answers.seen().size(), 1);
    QVERIFY(project->isSaved());
    {
        Project reopened(window->catalogue());
        QVERIFY(reopened.load(file));
        QCOMPARE(reopened.optionValue(QStringLiteral("BC_T")), QStringLiteral("1100"));
    }

    // Run: the input file has it.
    controlRun(10);
    typeInto(temperature, QStringLiteral("1200"));
    QSignalSpy finished(project, &Project::simulationFinished);
    answers.add(ModalAnswers::press(QMessageBox::Ok));
    window->runAction()->trigger();
    QVERIFY(finished.wait(15000));
    QTRY_COMPARE(answers.seen().size(), 2);
    QVERIFY(readFile(fort2).contains("\nT       =      1200 \n"));

    // Another page, then closing: it counts, and closing asks about it.
    typeInto(temperature, QStringLiteral("1300"));
    window->selector()->setCurrentIndex(0);
    QCOMPARE(project->optionValue(QStringLiteral("BC_T")), QStringLiteral("1300"));
    answers.settle();
    answers.dropPending();
    QVERIFY(project->save());
    window->selector()->setCurrentIndex(1);
    typeInto(temperature, QStringLiteral("1400"));
    answers.add(ModalAnswers::press(QMessageBox::Cancel));
    QVERIFY(!window->close());
    QCOMPARE(answers.seen().last().text, QStringLiteral("The project has been modified."));
    QCOMPARE(project->optionValue(QStringLiteral("BC_T")), QStringLiteral("1400"));
    answers.add(ModalAnswers::press(QMessageBox::Discard));
    QVERIFY(window->close());
}

void TestMainWindow::closingDuringRunStopsAndStores()
{
    auto window = openWindow();
    chooseScheme(*window);
    controlRun(60000);
    Project* project = window->project();
    ModalAnswers answers;
    window->runAction()->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(project->timeStepCount(), 2, 5000);

    // Cancel: the run goes on.
    answers.add(ModalAnswers::press(QMessageBox::Cancel));
    QVERIFY(!window->close());
    QCOMPARE(answers.seen().size(), 1);
    QCOMPARE(answers.seen().at(0).text, QStringLiteral("A simulation is running."));
    QCOMPARE(answers.seen().at(0).informativeText,
             QStringLiteral("Stop the run and close? The results computed so far are kept."));
    QCOMPARE(project->status(), RunStatus::Running);

    // Stop and close: the run ends, its outputs are stored, then the save
    // prompt, then the window goes.
    answers.add([](QWidget* widget) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        for (QAbstractButton* button : box->buttons()) {
            if (button->text() == QStringLiteral("Stop and close"))
                button->click();
        }
    });
    const QString file = QDir(m_temp->path()).filePath(QStringLiteral("stopped.tarvel"));
    answers.add(ModalAnswers::press(QMessageBox::Save));
    answers.add(ModalAnswers::chooseFile(file));
    window->close();
    QTRY_VERIFY_WITH_TIMEOUT(!window->isVisible(), 15000);
    QCOMPARE(answers.seen().at(2).text, QStringLiteral("The project has been modified."));
    QCOMPARE(project->status(), RunStatus::ResultsAvailable);
    Project reopened(window->catalogue());
    QVERIFY(reopened.load(file));
    QCOMPARE(reopened.timeStepCount(), 2);
    QCOMPARE(reopened.currentTime(), 4.535e-4f);
}

void TestMainWindow::replacingTheProjectReadsNoFreedMemory()
{
    // Under AddressSanitizer a read of a freed node or row ends the test.
    auto window = openWindow();
    chooseScheme(*window);
    Settings* page = window->settingsPage();
    ModalAnswers answers;
    for (const QString& next : {QStringLiteral("CH4-AIR-GRI30"), kScheme}) {
        // A row selected on the Options page, then a new scheme from Home.
        window->selector()->setCurrentIndex(1);
        QTreeWidgetItem* item = page->itemOf(page->project()->nodes().first()->children.first());
        page->tree()->setCurrentItem(item);
        item->setSelected(true);
        QCOMPARE(page->selectedNodes().size(), 1);
        chooseScheme(*window, next);
        QCOMPARE(window->project()->name(), next);
        // Whatever the rows hold now is the new project's.
        const QList<SchemeNode*> nodes = window->project()->allNodes();
        for (SchemeNode* node : page->selectedNodes())
            QVERIFY(nodes.contains(node));
        QVERIFY(!page->currentNode() || nodes.contains(page->currentNode()));
    }

    // A field left focused with text in it while the project is replaced.
    window->selector()->setCurrentIndex(1);
    QWidget* temperature = editorOf(*window, QStringLiteral("BC_T"));
    typeInto(temperature, QStringLiteral("1234"));
    QPointer<QWidget> field = temperature;
    const QList<Scheme*> schemes = window->starter()->schemes();
    window->project()->setScheme(schemes.last());
    QVERIFY(!field);
    answers.settle();
    QCOMPARE(window->project()->name(), schemes.last()->name());
    QCOMPARE(window->project()->optionValue(QStringLiteral("BC_T")), schemes.last()->optionValue("BC_T"));
    QVERIFY(editorOf(*window, QStringLiteral("BC_T")));
    answers.dropPending();
}

void TestMainWindow::settingsFallBackWhenBesideProgramIsUnwritable()
{
    QStandardPaths::setTestModeEnabled(true);
    const QString fallback =
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)).filePath("settings.ini");
    QFile::remove(fallback);
    // Not even an administrator can write a file where a folder stands.
    const QString beside = programFile(QStringLiteral("settings.ini"));
    QVERIFY(QDir().mkpath(beside));
    {
        MessageCapture capture;
        auto window = openWindow();
        window->resize(640, 480);
        QVERIFY(window->close());
        QStringList said;
        for (const QString& text : capture.warnings()) {
            if (text.startsWith(QStringLiteral("SettingsFile")))
                said << text;
        }
        QCOMPARE(said.size(), 1);
        QVERIFY2(said.first().contains(fallback), qPrintable(said.first()));
    }
    QSettings settings(fallback, QSettings::IniFormat);
    QVERIFY(settings.contains(QStringLiteral("MainWindow/Geometry")));
    MainWindow again;
    QCOMPARE(again.size(), QSize(640, 480));
    QVERIFY(QDir(beside).removeRecursively());
    QFile::remove(fallback);
    QStandardPaths::setTestModeEnabled(false);
}

void TestMainWindow::exportData()
{
    auto window = openWindow();
    chooseScheme(*window);
    controlRun(10);
    QSignalSpy finished(window->project(), &Project::simulationFinished);
    ModalAnswers answers;
    answers.add(ModalAnswers::press(QMessageBox::Ok));
    window->runAction()->trigger();
    QVERIFY(finished.wait(15000));
    QTRY_COMPARE(answers.seen().size(), 1);

    const QString file = QDir(m_temp->path()).filePath(QStringLiteral("table.tsv"));
    answers.add(ModalAnswers::chooseFile(file));
    answers.add(ModalAnswers::press(QMessageBox::Ok));
    window->exportAction()->trigger();
    QCOMPARE(answers.seen().size(), 3);
    const ModalAnswers::Seen dialog = answers.seen().at(1);
    QCOMPARE(dialog.title, QStringLiteral("Export Data"));
    QCOMPARE(dialog.acceptMode, QFileDialog::AcceptSave);
    QCOMPARE(dialog.selected, programFile(QStringLiteral("export.tsv")));
    QCOMPARE(answers.seen().at(2).text, QStringLiteral("File has been saved"));
    QCOMPARE(answers.seen().at(2).informativeText, file);
    QVERIFY(readFile(file).startsWith("t(s)\tT(K)"));

    // A folder by that name: no file can be written there.
    const QString nowhere = QDir(m_temp->path()).filePath(QStringLiteral("folder.tsv"));
    QVERIFY(QDir().mkpath(nowhere));
    answers.add(ModalAnswers::chooseFile(nowhere));
    answers.add(ModalAnswers::press(QMessageBox::Ok));
    window->exportData();
    QCOMPARE(answers.seen().size(), 5);
    QCOMPARE(answers.seen().at(4).text, QStringLiteral("Failed to save File"));
    QCOMPARE(answers.seen().at(4).informativeText, nowhere);

    // No name, no export.
    answers.add(ModalAnswers::chooseFile(QString()));
    answers.add(ModalAnswers::press(QMessageBox::Ok));
    window->exportData();
    answers.settle();
    QCOMPARE(answers.seen().size(), 6);
    QCOMPARE(answers.pending(), 1);
}

void TestMainWindow::aboutDialog()
{
    auto window = openWindow();
    window->aboutAction()->trigger();
    QPointer<QDialog> about = window->aboutDialog();
    QVERIFY(about);
    QVERIFY(about->isVisible());
    QVERIFY(!about->isModal());
    QVERIFY(!about->parentWidget());
    QCOMPARE(about->windowTitle(), QStringLiteral("About Tarvel GUI"));
    QVERIFY(!about->windowIcon().isNull());
    QLabel* heading = nullptr;
    QLabel* logo = nullptr;
    for (QLabel* label : about->findChildren<QLabel*>()) {
        if (label->text() == QLatin1String("TARVEL GUI       "))
            heading = label;
        if (!label->pixmap().isNull())
            logo = label;
    }
    QVERIFY(heading);
    QCOMPARE(heading->font().pointSize(), 24);
    QVERIFY(heading->alignment().testFlag(Qt::AlignHCenter));
    QVERIFY(logo);
    QVERIFY(logo->maximumWidth() <= 64 && logo->maximumHeight() <= 64);
    auto* text = about->findChild<QTextBrowser*>();
    QVERIFY(text);
    QVERIFY(text->isReadOnly());
    QVERIFY(text->textInteractionFlags().testFlag(Qt::TextSelectableByMouse));
    QVERIFY(text->textInteractionFlags().testFlag(Qt::LinksAccessibleByMouse));
    const QString plain = text->toPlainText();
    QVERIFY2(plain.contains(QStringLiteral("15.10.2013")), qPrintable(plain));
    QVERIFY(plain.contains(QStringLiteral("Version:")));
    QVERIFY(plain.contains(QStringLiteral("1.4")));
    QVERIFY(plain.contains(QStringLiteral("ZDL")));
    QVERIFY(plain.contains(QStringLiteral("Tarvel GUI developers")));
    QVERIFY(!plain.contains(QLatin1Char('%')));

    // Asked again: the same dialog.
    window->showAbout();
    QCOMPARE(window->aboutDialog(), about.data());
    auto* buttons = about->findChild<QDialogButtonBox*>();
    QVERIFY(buttons);
    QCOMPARE(buttons->standardButtons(), QDialogButtonBox::Close);
    QCOMPARE(buttons->orientation(), Qt::Horizontal);
    QTest::mouseClick(buttons->button(QDialogButtonBox::Close), Qt::LeftButton);
    QTRY_VERIFY(!about);
}

void TestMainWindow::temporaryFolderShown()
{
    auto window = openWindow();
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
    window->tempDirAction()->trigger();
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QCOMPARE(catcher.urls, QList<QUrl>{QUrl::fromLocalFile(window->project()->path())});
}

void TestMainWindow::actionsGoToTheStartPage()
{
    auto window = openWindow();
    ModalAnswers answers;
    // Nothing to save while no project is open.
    answers.add(ModalAnswers::press(QMessageBox::Cancel));
    window->saveAction()->trigger();
    window->saveAsAction()->trigger();
    answers.settle();
    QCOMPARE(answers.seen().size(), 0);
    QCOMPARE(answers.pending(), 1);
    answers.dropPending();

    answers.add(ModalAnswers::chooseFile(QString()));
    window->openAction()->trigger();
    QCOMPARE(answers.seen().size(), 1);
    QCOMPARE(answers.seen().at(0).title, QStringLiteral("Project to load"));

    chooseScheme(*window);
    answers.add(ModalAnswers::chooseFile(QString()));
    window->saveAsAction()->trigger();
    QCOMPARE(answers.seen().size(), 2);
    QCOMPARE(answers.seen().at(1).title, QStringLiteral("New Project Name"));
    const QString file = QDir(m_temp->path()).filePath(QStringLiteral("saved.tarvel"));
    answers.add(ModalAnswers::chooseFile(file));
    QTest::mouseClick(window->saveButton(), Qt::LeftButton);
    QCOMPARE(answers.seen().size(), 3);
    QVERIFY(QFile::exists(file));
    QCOMPARE(window->starter()->recentPaths().value(0), file);

    window->exitAction()->trigger();
    QVERIFY(!window->isVisible());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"

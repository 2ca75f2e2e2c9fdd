#include "mainwindow.h"

#include "diagnostic.h"
#include "selector.h"
#include "startup.h"
#include "translation.h"
#include "actionrecipe.h"
#include "editcommit.h"
#include "settingsfile.h"
#include "windowplacement.h"
#include "options.h"
#include "schemeextras.h"
#include "settings.h"
#include "simulator.h"
#include "starter.h"
#include "project.h"
#include "ctrlgraph2d.h"
#include "graph2d.h"
#include "results.h"
#include "timetoolbar.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {

const char* const kSchemesFile = "schemes.dat";
const char* const kGeometryKey = "MainWindow/Geometry";
const char* const kStateKey = "MainWindow/State";
const char* const kSplitterKey = "MainWindow/GraphSplitter";

enum ActionData { SaveData = 1, OpenData = 2, SaveAsData = 3, RunData = 5, ExportData = 6, AboutData = 10 };

QString programFile(const QString& name)
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(name);
}

QString settingsFile()
{
    return SettingsFile::path();
}

const char* const kAboutText =
    "<p><b>Tarvel GUI</b> sets up, runs and evaluates simulations of chemical kinetics "
    "in a homogeneous reactor.</p>"
    "<table>"
    "<tr><td>Date:</td><td>%DATE</td></tr>"
    "<tr><td>Version:</td><td>%VERSIONGUI</td></tr>"
    "</table>"
    "<p>Organisation: ZDL (<a href=\"https://zdl.example.org\">zdl.example.org</a>)<br>"
    "Authors: the Tarvel GUI developers</p>";

} // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent)
{
    setWindowIcon(QIcon(QStringLiteral(":/Logo/Tarvel_Logo_48.png")));
    setWindowTitle(QCoreApplication::applicationName());

    QSettings settings(settingsFile(), QSettings::IniFormat);
    WindowPlacement::place(this, QSize(800, 600), settings, QLatin1String(kGeometryKey));

    createActions();
    createMenus();

    m_catalogue = std::make_unique<Options>();
    (void)m_catalogue->loadBuiltIn();
    if (!QFile::exists(programFile(QLatin1String(kSchemesFile))))
        tFatal() << "Schemes Database has not been found!";
    m_project = std::make_unique<Project>(m_catalogue.get());
    prepareTemporaryFolder();
    createPages();

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_selector);
    layout->addWidget(createBottomBar());
    setCentralWidget(central);

    restoreState(settings.value(QLatin1String(kStateKey)).toByteArray(), 0);
    m_graphSplitter->restoreState(settings.value(QLatin1String(kSplitterKey)).toByteArray());

    updateProject();
    connect(m_project.get(), &Project::profilesChanged, this, &MainWindow::profilesChanged);
    connect(m_project.get(), &Project::simulationStarted, this, &MainWindow::simStarted);
    connect(m_project.get(), &Project::simulationFinished, this, &MainWindow::simFinished);
    connect(m_project.get(), &Project::outDataUpdated, this, &MainWindow::simUpdated);
    connect(m_project.get(), &Project::statusChanged, this, &MainWindow::onStatusChanged);
    connect(m_project.get(), &Project::storingChanged, this, &MainWindow::onStoringChanged);
    connect(m_project.get(), &Scheme::changed, this, &MainWindow::updateTitle);
    profilesChanged();
    updateTitle();
}

MainWindow::~MainWindow()
{
    if (m_about)
        delete m_about.data();
    // The pages first: they point into the project, and some write their
    // state when they go.
    delete takeCentralWidget();
    m_project.reset();
    m_catalogue.reset();
    // The run folder goes last, with everything the runs left in it.
    m_runFolder.reset();
}

QString MainWindow::runFolder() const
{
    return m_runFolder && m_runFolder->isValid() ? m_runFolder->path() : QString();
}

void MainWindow::createActions()
{
    m_profilesMenu = new QMenu(this);

    m_saveAction = ActionRecipe(translate("PRJ_SAVE0"))
                       .icon(QStringLiteral(":/images/filesave.png"))
                       .toolTip(translate("PRJ_SAVE1"))
                       .shortcut(QStringLiteral("Ctrl+S"))
                       .data(SaveData)
                       .make(this);
    m_saveAsAction = ActionRecipe(translate("PRJ_SAVEAS0"))
                         .icon(QStringLiteral(":/images/filesaveas.png"))
                         .toolTip(translate("PRJ_SAVEAS1"))
                         .shortcut(QStringLiteral("Shift+Ctrl+S"))
                         .data(SaveAsData)
                         .make(this);
    m_openAction = ActionRecipe(translate("PRJ_OPEN0"))
                       .icon(QStringLiteral(":/images/folder_green.png"))
                       .toolTip(translate("PRJ_OPEN1"))
                       .shortcut(QStringLiteral("Ctrl+O"))
                       .data(OpenData)
                       .make(this);
    m_runAction = ActionRecipe(translate("RUN"))
                      .icon(QStringLiteral(":/images/run.png"))
                      .toolTip(translate("RUN_INFO"))
                      .shortcut(QStringLiteral("Ctrl+R"))
                      .enabled(false)
                      .data(RunData)
                      .make(this);
    m_runProfileAction = ActionRecipe(translate("RUN_PROFILES"))
                             .toolTip(translate("RUN_PROFILES"))
                             .shortcut(QStringLiteral("Ctrl+P"))
                             .enabled(false)
                             .make(this);
    m_runProfileAction->setMenu(m_profilesMenu);
    m_tempDirAction = ActionRecipe(QStringLiteral("Show temporary folder")).make(this);
    m_exportAction = ActionRecipe(translate("EXPORT_DATA"))
                         .toolTip(translate("EXPORT_DATA_INFO"))
                         .shortcut(QStringLiteral("Ctrl+E"))
                         .enabled(false)
                         .data(ExportData)
                         .make(this);
    m_exitAction =
        ActionRecipe(translate("EXIT")).toolTip(translate("EXIT_INFO")).shortcut(QStringLiteral("Ctrl+Q")).make(this);
    m_aboutAction = ActionRecipe(QStringLiteral("About TARVEL")).data(AboutData).make(this);

    for (QAction* action : {m_saveAction, m_saveAsAction, m_openAction, m_runAction, m_exportAction})
        connect(action, &QAction::triggered, this, &MainWindow::actionTriggered);
    // From the menu the entry opens as a submenu; the shortcut opens the
    // same menu where the pointer is.
    connect(m_runProfileAction, &QAction::triggered, this, [this] { m_profilesMenu->popup(QCursor::pos()); });
    connect(m_tempDirAction, &QAction::triggered, this, &MainWindow::showTempDir);
    connect(m_exitAction, &QAction::triggered, this, &MainWindow::close);
    connect(m_aboutAction, &QAction::triggered, this, &MainWindow::showAbout);
}

void MainWindow::createMenus()
{
    QMenu* projectMenu = menuBar()->addMenu(QStringLiteral("&Project"));
    projectMenu->addAction(m_saveAction);
    projectMenu->addAction(m_saveAsAction);
    projectMenu->addAction(m_openAction);
    projectMenu->addSeparator();
    projectMenu->addAction(m_runAction);
    projectMenu->addAction(m_runProfileAction);
    projectMenu->addSeparator();
    projectMenu->addAction(m_tempDirAction);
    projectMenu->addAction(m_exportAction);
    projectMenu->addSeparator();
    projectMenu->addAction(m_exitAction);
    QMenu* infoMenu = menuBar()->addMenu(QStringLiteral("&Info"));
    infoMenu->addAction(m_aboutAction);
}

void MainWindow::prepareTemporaryFolder()
{
    // A new folder of this window's own, readable by its user alone: another
    // instance never shares it, and nothing already there (a folder, a file
    // or a link by that name) is emptied, followed or written through.
    m_runFolder = std::make_unique<QTemporaryDir>(QDir(QDir::tempPath()).filePath(QStringLiteral("TARVELG-XXXXXX")));
    if (!m_runFolder->isValid()) {
        // The project has no directory then, and a run says so.
        tWarning() << "MainWindow::MainWindow(). Cannot create the temporary project folder:"
                   << m_runFolder->errorString();
        return;
    }
    const QString path = QDir(m_runFolder->path()).absolutePath();
    tDebug() << "Absolute temporary project path:" << path;
    if (!m_project->setPath(path))
        tWarning() << "MainWindow::MainWindow(). Cannot use the temporary project folder" << path;
}

void MainWindow::createPages()
{
    m_settings = new Settings(m_project.get(), this);
    m_starter = new Starter(m_project.get(), QLatin1String(kSchemesFile), this);
    connect(m_starter, &Starter::selected, this, &MainWindow::updateProject);
    m_simulator = new Simulator(m_project.get(), this);
    m_extras = new SchemeExtras(this);
    m_extras->setScheme(m_project.get());
    m_plot = new Graph2d(this);
    m_graphControl = new CtrlGraph2d(m_project.get(), m_plot, this);
    m_graphSplitter = new QSplitter(Qt::Vertical, this);
    m_graphSplitter->addWidget(m_plot);
    m_graphSplitter->addWidget(m_graphControl);
    // The plot is what the page is for; the table below it needs a few
    // rows. Proportions: the splitter scales them to its height.
    m_graphSplitter->setStretchFactor(0, 3);
    m_graphSplitter->setStretchFactor(1, 1);
    m_graphSplitter->setSizes({450, 150});
    m_results = new Results(m_project.get(), this);
    // The step chosen on the results page is the one the legend names.
    connect(m_results->timeToolBar(), &TimeToolBar::valueChanged, m_graphControl, &CtrlGraph2d::sliderChanged);
    m_selector = new Selector(this);

    m_selector->addWidget(m_starter, QIcon(QStringLiteral(":/images/home0_48.png")), translate("MENU_HOME"));
    m_selector->addSeparator();
    m_selector->addWidget(m_settings, QIcon(QStringLiteral(":/images/run-build-configure_48.png")),
                          translate("MENU_SETTINGS"));
    m_selector->addWidget(m_extras, QIcon(QStringLiteral(":/images/documents_64.png")), translate("MENU_FILES"));
    m_selector->addWidget(m_results, QIcon(QStringLiteral(":/images/table_32.png")), translate("MENU_RESULTS"));
    m_selector->addWidget(m_graphSplitter, QIcon(QStringLiteral(":/images/graph_64.png")), translate("MENU_GRAPH2"));
    m_selector->addSeparator();
    m_selector->addWidget(m_simulator, QIcon(QStringLiteral(":/images/terminal_32.png")), translate("MENU_CONSOLE"));
}

QWidget* MainWindow::createBottomBar()
{
    auto* bar = new QWidget(this);
    m_saveButton = new QPushButton(m_saveAction->icon(), translate("SAVE"), bar);
    m_saveButton->setToolTip(m_saveAction->toolTip());
    m_saveButton->setEnabled(false);
    connect(m_saveButton, &QPushButton::clicked, m_saveAction, &QAction::trigger);
    m_progressBar = new QProgressBar(bar);
    m_progressBar->setRange(0, ProgressMaximum);
    m_progressBar->setValue(0);
    m_progressBar->hide();
    m_runButton = new QPushButton(QIcon(QStringLiteral(":/images/run.png")), translate("RUN"), bar);
    m_runButton->setEnabled(false);
    connect(m_runButton, &QPushButton::clicked, this, &MainWindow::startSimulation);

    auto* grid = new QGridLayout(bar);
    grid->setContentsMargins(5, 5, 10, 5);
    grid->setSpacing(0);
    grid->addWidget(m_saveButton, 0, 0, Qt::AlignLeft);
    grid->addWidget(m_progressBar, 0, 1);
    grid->addWidget(m_runButton, 0, 2, Qt::AlignRight);
    grid->setColumnStretch(1, 1);
    return bar;
}

bool MainWindow::isOpen() const
{
    return !m_project->name().isEmpty();
}

void MainWindow::updateRunControls()
{
    const bool runnable = isOpen() && !m_running;
    m_runAction->setEnabled(runnable);
    m_runButton->setEnabled(runnable);
    m_runProfileAction->setEnabled(runnable && !m_project->profileNames().isEmpty());
}

void MainWindow::updateProject()
{
    const bool open = isOpen();
    m_exportAction->setEnabled(open);
    m_saveButton->setEnabled(open);
    for (int idx = 1; idx <= 5; ++idx)
        m_selector->setTabEnabled(idx, open);
    updateRunControls();
    updateTitle();
    if (open) {
        m_selector->setCurrentIndex(1);
        m_settings->focusTree();
    }
}

void MainWindow::actionTriggered()
{
    const auto* action = qobject_cast<QAction*>(sender());
    if (!action)
        return;
    EditCommit::commitFocused(this);
    switch (action->data().toInt()) {
    case SaveData:
        m_starter->saveProject();
        break;
    case OpenData:
        m_starter->loadProject();
        break;
    case SaveAsData:
        m_starter->saveAsProject();
        break;
    case RunData:
        startSimulation();
        break;
    case ExportData:
        exportData();
        break;
    default:
        break;
    }
}

void MainWindow::startSimulation()
{
    if (isOpen())
        (void)m_project->setCurrentProfile(-1);
    launch();
}

void MainWindow::runProfile()
{
    const auto* action = qobject_cast<QAction*>(sender());
    if (!action)
        return;
    const int index = action->data().toInt();
    if (m_project->setCurrentProfile(index)) {
        launch();
        return;
    }
    auto* box = new QMessageBox(QMessageBox::Warning, QCoreApplication::applicationName(),
                                tr("The profile \"%1\" cannot be used.").arg(action->text()), QMessageBox::Ok, this);
    box->setInformativeText(tr("The project has no such profile any more."));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void MainWindow::launch()
{
    m_runButton->setEnabled(false);
    m_runAction->setEnabled(false);
    m_runProfileAction->setEnabled(false);
    // The simulation page commits what is being typed and says why a run
    // cannot start.
    if (isOpen())
        (void)m_simulator->go();
    if (!m_running)
        updateRunControls();
}

void MainWindow::profilesChanged()
{
    m_profilesMenu->clear();
    const QStringList names = m_project->profileNames();
    if (names.isEmpty()) {
        QAction* none = m_profilesMenu->addAction(QStringLiteral("No Profiles"));
        none->setEnabled(false);
        m_runProfileAction->setEnabled(false);
        return;
    }
    for (int i = 0; i < names.size(); ++i) {
        QAction* entry = m_profilesMenu->addAction(names.at(i));
        entry->setData(i);
        connect(entry, &QAction::triggered, this, &MainWindow::runProfile);
    }
    m_runProfileAction->setEnabled(isOpen() && !m_running);
}

void MainWindow::simStarted()
{
    m_running = true;
    updateRunControls();
    m_progressBar->setRange(0, ProgressMaximum);
    m_progressBar->setValue(0);
    m_progressBar->setFormat(QStringLiteral("%p%"));
    m_progressBar->setTextVisible(true);
    m_progressBar->show();
    updateTitle();
}

void MainWindow::simUpdated()
{
    if (m_project->status() != RunStatus::Running)
        return;
    const int progress = m_project->progress();
    if (progress < 0) {
        // No end time to measure against: a moving bar, no percentage.
        m_progressBar->setRange(0, 0);
        return;
    }
    m_progressBar->setRange(0, ProgressMaximum);
    m_progressBar->setValue(qBound(0, progress, ProgressMaximum));
    updateTitle();
}

void MainWindow::simFinished()
{
    m_running = false;
    m_progressBar->setRange(0, ProgressMaximum);
    m_progressBar->setValue(ProgressMaximum);
    m_progressBar->hide();
    updateTitle();
    updateRunControls();
    if (m_closeAfterRun)
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void MainWindow::updateTitle()
{
    const QString application = QCoreApplication::applicationName();
    QString title = isOpen() ? QStringLiteral("%1[*] \u2014 %2").arg(m_project->name(), application) : application;
    if (m_running) {
        // A percentage only where there is an end time to measure against.
        const int progress = m_project->progress();
        if (progress >= 0) {
            const double percent = qBound(0, progress, ProgressMaximum) / 10.0;
            title += QStringLiteral(" (%1 %)").arg(QString::number(percent, 'f', 1));
        }
    }
    setWindowTitle(title);
    setWindowModified(isOpen() && !m_project->isSaved());
}

void MainWindow::onStatusChanged()
{
    // A run that the project ended without finishing it (a new project
    // cleared it away) leaves the window as a finished one does.
    if (m_running && m_project->status() != RunStatus::Running)
        simFinished();
}

void MainWindow::onStoringChanged(bool storing)
{
    // Until the results are stored nothing may save, replace or export the
    // project; the tool tips say why.
    static const QString waiting = tr("Waiting for the results of the run to be stored");
    for (QAction* action : {m_saveAction, m_saveAsAction, m_openAction})
        action->setEnabled(!storing);
    m_saveAction->setToolTip(storing ? waiting : translate("PRJ_SAVE1"));
    m_saveAsAction->setToolTip(storing ? waiting : translate("PRJ_SAVEAS1"));
    m_openAction->setToolTip(storing ? waiting : translate("PRJ_OPEN1"));
    m_exportAction->setEnabled(!storing && isOpen());
    m_saveButton->setEnabled(!storing && isOpen());
    m_saveButton->setToolTip(storing ? waiting : m_saveAction->toolTip());
    m_starter->setEnabled(!storing);
    m_starter->setToolTip(storing ? waiting : QString());
    // The bar every page shows would sit at 100 % meanwhile, as if nothing
    // were happening: it moves, and says what it waits for.
    if (storing) {
        m_progressBar->setRange(0, 0);
        m_progressBar->setFormat(Simulator::storingText());
        m_progressBar->setToolTip(waiting);
    } else {
        // The busy range reset the value; the run has ended.
        m_progressBar->setRange(0, ProgressMaximum);
        m_progressBar->setValue(ProgressMaximum);
        m_progressBar->setFormat(QStringLiteral("%p%"));
        m_progressBar->setToolTip(QString());
    }
}

void MainWindow::showTempDir()
{
    if (!m_project->path().isEmpty())
        QDesktopServices::openUrl(QUrl::fromLocalFile(m_project->path()));
}

void MainWindow::exportData()
{
    EditCommit::commitFocused(this);
    const QString file = QFileDialog::getSaveFileName(this, translate("EXPORT_DATA"),
                                                      programFile(QStringLiteral("export.tsv")), QString());
    if (file.isEmpty())
        return;
    const bool written = m_project->exportOutData(file);
    QMessageBox box(written ? QMessageBox::Information : QMessageBox::Warning, QCoreApplication::applicationName(),
                    translate(written ? "FILE_SAVE_SUCCESS" : "FILE_SAVE_FAILURE"), QMessageBox::Ok, this);
    box.setInformativeText(file);
    box.exec();
}

void MainWindow::showAbout()
{
    if (m_about) {
        m_about->raise();
        m_about->activateWindow();
        return;
    }
    auto* dialog = new QDialog;
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // Closing the main window ends the program even while this is open.
    dialog->setAttribute(Qt::WA_QuitOnClose, false);
    dialog->setWindowTitle(QStringLiteral("About Tarvel GUI"));
    dialog->setWindowIcon(QIcon(QStringLiteral(":/images/therm.png")));

    auto* logo = new QLabel(dialog);
    logo->setMaximumSize(64, 64);
    logo->setPixmap(QPixmap(QStringLiteral(":/Logo/Tarvel_Logo_48.png")));
    auto* heading = new QLabel(QStringLiteral("TARVEL GUI       "), dialog);
    QFont large = heading->font();
    large.setPointSize(24);
    heading->setFont(large);
    heading->setAlignment(Qt::AlignCenter);
    auto* top = new QHBoxLayout;
    top->addWidget(logo);
    top->addWidget(heading, 1);

    auto* text = new QTextBrowser(dialog);
    text->setReadOnly(true);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::LinksAccessibleByMouse);
    text->setOpenExternalLinks(true);
    text->setHtml(QString::fromLatin1(kAboutText)
                      .replace(QLatin1String("%VERSIONGUI"), QCoreApplication::applicationVersion())
                      .replace(QLatin1String("%DATE"), Startup::versionDate()));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, Qt::Horizontal, dialog);
    connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::close);
    connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::close);

    auto* layout = new QVBoxLayout(dialog);
    layout->addLayout(top);
    layout->addWidget(text);
    layout->addWidget(buttons);
    m_about = dialog;
    dialog->show();
}

bool MainWindow::stopRunBeforeClosing()
{
    QMessageBox box(QMessageBox::Question, QCoreApplication::applicationName(), tr("A simulation is running."),
                    QMessageBox::NoButton, this);
    box.setInformativeText(tr("Stop the run and close? The results computed so far are kept."));
    QPushButton* stop = box.addButton(tr("Stop and close"), QMessageBox::AcceptRole);
    box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Cancel);
    box.exec();
    if (box.clickedButton() != stop)
        return false;
    // The run ends through the event loop: its outputs are stored as after
    // any run, and only then does the window close (simFinished()), with the
    // save prompt as usual.
    m_closeAfterRun = true;
    m_project->stop();
    return true;
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    EditCommit::commitFocused(this);
    if (m_project->status() == RunStatus::Running || m_running) {
        event->ignore();
        if (!m_closeAfterRun)
            (void)stopRunBeforeClosing();
        return;
    }
    m_closeAfterRun = false;
    if (!m_project->isSaved() && isOpen()) {
        QMessageBox box(QMessageBox::Warning, QCoreApplication::applicationName(),
                        QStringLiteral("The project has been modified."),
                        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
        box.setInformativeText(QStringLiteral("Do you want to save your changes?"));
        box.setDefaultButton(QMessageBox::Save);
        const int answer = box.exec();
        if (answer == QMessageBox::Save) {
            m_starter->saveProject();
            if (!m_project->isSaved()) {
                event->ignore();
                return;
            }
        } else if (answer != QMessageBox::Discard) {
            event->ignore();
            return;
        }
    }
    QSettings settings(settingsFile(), QSettings::IniFormat);
    settings.setValue(QLatin1String(kGeometryKey), saveGeometry());
    settings.setValue(QLatin1String(kStateKey), saveState(0));
    settings.setValue(QLatin1String(kSplitterKey), m_graphSplitter->saveState());
    if (m_about)
        m_about->close();
    event->accept();
}

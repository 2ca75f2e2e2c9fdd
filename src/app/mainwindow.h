#ifndef TARVEL_MAINWINDOW_H
#define TARVEL_MAINWINDOW_H

// The one top-level window. It owns the option catalogue and the project,
// builds the pages behind the page selector, and carries the project and run
// actions, the bottom bar with save, progress and run, and a temporary
// folder that serves as the project directory. Every action forwards to the
// start page, the project or a page; the window holds no domain logic.

#include <QDialog>
#include <QMainWindow>
#include <QPointer>

#include <memory>

class CtrlGraph2d;
class Graph2d;
class Options;
class Project;
class QAction;
class QDialog;
class QMenu;
class QProgressBar;
class QPushButton;
class QSplitter;
class QTemporaryDir;
class Results;
class SchemeExtras;
class Settings;
class Selector;
class Simulator;
class Starter;

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    static constexpr int ProgressMaximum = 1000;

    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // The folder the project runs in: a new one per window, "TARVELG-"
    // and a unique ending in the system's temporary directory, removed with
    // the window. Empty when it could not be made.
    QString runFolder() const;

    Options* catalogue() const { return m_catalogue.get(); }
    Project* project() const { return m_project.get(); }
    Selector* selector() const { return m_selector; }
    Starter* starter() const { return m_starter; }
    Simulator* simulator() const { return m_simulator; }
    Results* results() const { return m_results; }
    Graph2d* plot() const { return m_plot; }
    CtrlGraph2d* graphControl() const { return m_graphControl; }
    QSplitter* graphSplitter() const { return m_graphSplitter; }
    Settings* settingsPage() const { return m_settings; }
    SchemeExtras* extrasPage() const { return m_extras; }

    QAction* saveAction() const { return m_saveAction; }
    QAction* saveAsAction() const { return m_saveAsAction; }
    QAction* openAction() const { return m_openAction; }
    QAction* runAction() const { return m_runAction; }
    QAction* runProfileAction() const { return m_runProfileAction; }
    QAction* tempDirAction() const { return m_tempDirAction; }
    QAction* exportAction() const { return m_exportAction; }
    QAction* exitAction() const { return m_exitAction; }
    QAction* aboutAction() const { return m_aboutAction; }
    QMenu* profilesMenu() const { return m_profilesMenu; }
    QPushButton* saveButton() const { return m_saveButton; }
    QPushButton* runButton() const { return m_runButton; }
    QProgressBar* progressBar() const { return m_progressBar; }
    QDialog* aboutDialog() const { return m_about; }

public slots:
    void updateProject();
    void showAbout();
    void exportData();

private slots:
    void actionTriggered();
    void startSimulation();
    void showTempDir();
    void profilesChanged();
    void runProfile();
    void simStarted();
    void simFinished();
    void simUpdated();
    void onStatusChanged();
    void onStoringChanged(bool storing);
    // "project name — Tarvel GUI", marked while unsaved, with the run's
    // percentage while it is known.
    void updateTitle();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createActions();
    void createMenus();
    void prepareTemporaryFolder();
    void createPages();
    QWidget* createBottomBar();
    // Starts the run with the profile the project has been given.
    void launch();
    void updateRunControls();
    // Asks whether to stop the run so as to close; true when stopping.
    bool stopRunBeforeClosing();
    bool isOpen() const;

    std::unique_ptr<Options> m_catalogue;
    std::unique_ptr<Project> m_project;

    Selector* m_selector = nullptr;
    Starter* m_starter = nullptr;
    Settings* m_settings = nullptr;
    SchemeExtras* m_extras = nullptr;
    Results* m_results = nullptr;
    Graph2d* m_plot = nullptr;
    CtrlGraph2d* m_graphControl = nullptr;
    QSplitter* m_graphSplitter = nullptr;
    Simulator* m_simulator = nullptr;

    QMenu* m_profilesMenu = nullptr;
    QAction* m_saveAction = nullptr;
    QAction* m_saveAsAction = nullptr;
    QAction* m_openAction = nullptr;
    QAction* m_runAction = nullptr;
    QAction* m_runProfileAction = nullptr;
    QAction* m_tempDirAction = nullptr;
    QAction* m_exportAction = nullptr;
    QAction* m_exitAction = nullptr;
    QAction* m_aboutAction = nullptr;
    QPushButton* m_saveButton = nullptr;
    QPushButton* m_runButton = nullptr;
    QProgressBar* m_progressBar = nullptr;
    QPointer<QDialog> m_about;

    // Between simulationStarted() and the end of that run.
    bool m_running = false;
    // The user chose to stop the run and close: the window closes when the
    // run has ended.
    bool m_closeAfterRun = false;
    std::unique_ptr<QTemporaryDir> m_runFolder;
};

#endif

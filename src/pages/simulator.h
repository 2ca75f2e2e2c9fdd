#ifndef TARVEL_SIMULATOR_H
#define TARVEL_SIMULATOR_H

// The page a run is started and watched from: Go and Stop, the profile the
// next run applies, the progress, the simulated time reached and one console
// per executable. It reads everything from the project and changes it only
// by start(), stop() and setCurrentProfile().

#include <QElapsedTimer>
#include <QList>
#include <QWidget>

class Project;
struct ExecutorRun;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTimer;

class Simulator : public QWidget
{
    Q_OBJECT

public:
    static constexpr int RefreshIntervalMs = 200;
    static constexpr int ProgressMaximum = 1000;
    // What the pages say while the results of a run are stored.
    static QString storingText();

    explicit Simulator(Project* project, QWidget* parent = nullptr);

    QPushButton* startButton() const { return m_startButton; }
    QPushButton* stopButton() const { return m_stopButton; }
    QComboBox* profileSelector() const { return m_profileSelector; }
    QLabel* timeLabel() const { return m_timeLabel; }
    QProgressBar* progressBar() const { return m_progressBar; }
    QTabWidget* tabs() const { return m_tabs; }
    const QList<QPlainTextEdit*>& consoles() const { return m_consoles; }
    QTimer* refreshTimer() const { return m_refreshTimer; }
    // In place of the consoles when the project has no executables.
    QLabel* placeholder() const { return m_placeholder; }

public slots:
    // Go: commits the focused editor, then starts the run, or tells the user
    // why it cannot start. Whether it started.
    bool go();
    void onPrjStatusChange();
    void updateLogs(int idx);
    void onProgUpdated(int idx);
    void onProjUpdated();
    void onDataUpdated();
    void onFinished();
    void onFailed();
    void onStoringChanged(bool storing);
    void onCbPrfChange(int index);
    void updateCbPrf();
    void updProgs();

private:
    QPlainTextEdit* makeConsole();
    void showResult(const QString& text, const QString& details, const QString& picture);
    void emptyConsoles();
    static void appendNewOutput(QPlainTextEdit* console, const ExecutorRun& run, qint64& shown);
    QString failureDetails() const;

    Project* m_project = nullptr;
    QPushButton* m_startButton = nullptr;
    QPushButton* m_stopButton = nullptr;
    QComboBox* m_profileSelector = nullptr;
    QLabel* m_timeLabel = nullptr;
    QProgressBar* m_progressBar = nullptr;
    QTabWidget* m_tabs = nullptr;
    QList<QPlainTextEdit*> m_consoles;
    QList<QElapsedTimer> m_clocks;
    QTimer* m_refreshTimer = nullptr;
    // Per console, how many characters of its executable's output it has
    // been given: only what is new is appended.
    QList<qint64> m_shown;
    QLabel* m_placeholder = nullptr;
    // The run whose console was last brought to the front.
    int m_followedRun = -1;
};

#endif

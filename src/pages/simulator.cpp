#include "simulator.h"

#include "diagnostic.h"
#include "translation.h"
#include "project.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

Project* checkedProject(Project* project)
{
    if (!project)
        tFatal() << "Simulator::Simulator. Pointer to project is not provided.";
    return project;
}

} // namespace

Simulator::Simulator(Project* project, QWidget* parent)
    : QWidget(parent)
    , m_project(checkedProject(project))
{
    connect(m_project, &Project::statusChanged, this, &Simulator::onPrjStatusChange);

    m_startButton = new QPushButton(translate("START"), this);
    m_startButton->setFocusPolicy(Qt::StrongFocus);
    connect(m_startButton, &QPushButton::clicked, m_project, &Project::start);
    m_stopButton = new QPushButton(translate("STOP"), this);
    m_stopButton->setFocusPolicy(Qt::StrongFocus);
    connect(m_stopButton, &QPushButton::clicked, m_project, &Project::stop);

    m_profileSelector = new QComboBox(this);
    m_profileSelector->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    connect(m_profileSelector, &QComboBox::currentIndexChanged, this, &Simulator::onCbPrfChange);
    updateCbPrf();

    m_progressBar = new QProgressBar(this);
    m_progressBar->setRange(0, ProgressMaximum);
    m_progressBar->setValue(0);
    m_timeLabel = new QLabel(QStringLiteral("Simulation Time: [not started]"), this);
    m_tabs = new QTabWidget(this);
    for (const ExecutorRun& run : m_project->runs()) {
        QPlainTextEdit* console = makeConsole();
        m_consoles.append(console);
        m_clocks.append(QElapsedTimer());
        m_shown.append(-1);
        m_tabs->addTab(console, run.name);
    }

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_startButton);
    buttons->addWidget(m_stopButton);
    buttons->addWidget(m_profileSelector);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_progressBar);
    layout->addWidget(m_timeLabel);
    layout->addWidget(m_tabs, 1);

    m_refreshTimer = new QTimer(this);

    connect(m_project, &Project::progFinished, this, &Simulator::updateLogs);
    connect(m_project, &Project::outDataUpdated, this, &Simulator::onDataUpdated);
    connect(m_project, &Project::dataUpdated, this, &Simulator::onProjUpdated);
    connect(m_project, &Project::simulationFinished, this, &Simulator::onFinished);
    connect(m_project, &Project::simulationFailure, this, &Simulator::onFailed);
    connect(m_project, &Project::profilesChanged, this, &Simulator::updateCbPrf);
    connect(m_refreshTimer, &QTimer::timeout, this, &Simulator::updProgs);
    // A run may have been started elsewhere with another profile (the main
    // window's run actions); the selector shows the one that applies.
    connect(m_project, &Project::simulationStarted, this, &Simulator::updateCbPrf);
    // A new run starts its logs afresh.
    connect(m_project, &Project::simulationStarted, this, [this] {
        m_shown.fill(-1);
        m_followedRun = -1;
    });

    onPrjStatusChange();
}

QPlainTextEdit* Simulator::makeConsole()
{
    auto* console = new QPlainTextEdit(this);
    QFont font(QStringLiteral("Menlo"), 10);
    font.setStyleHint(QFont::Monospace);
    console->setFont(font);
    QPalette palette = console->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base, QColor(0, 0, 0, 255));
        palette.setColor(group, QPalette::Text, QColor(255, 255, 255, 255));
    }
    console->setPalette(palette);
    console->setLineWrapMode(QPlainTextEdit::NoWrap);
    console->setReadOnly(true);
    return console;
}

void Simulator::onPrjStatusChange()
{
    if (m_project->status() == RunStatus::Running) {
        m_startButton->setEnabled(false);
        m_stopButton->setEnabled(true);
        m_refreshTimer->start(RefreshIntervalMs);
    } else {
        m_startButton->setEnabled(true);
        m_stopButton->setEnabled(false);
        m_refreshTimer->stop();
    }
    // The buttons show their new state at once, even while the project goes
    // on working in this call. Without user input: a click handled here would
    // start or stop a run in the middle of the project's status change.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void Simulator::updProgs()
{
    if (m_project->currentRun() >= 0)
        updateLogs(m_project->currentRun());
}

void Simulator::updateLogs(int idx)
{
    if (idx < 0 || idx >= m_consoles.size() || idx >= m_project->runs().size())
        return;
    const ExecutorRun& run = m_project->runs().at(idx);
    QPlainTextEdit* console = m_consoles.at(idx);
    // The console of each executable comes to the front once, as its turn
    // comes (a short one may be over before the first refresh); otherwise
    // the user's choice of tab stands.
    if (idx > m_followedRun) {
        m_followedRun = idx;
        m_tabs->setCurrentIndex(idx);
    }
    if (m_shown.at(idx) != run.received || console->document()->characterCount() - 1 != run.log.size()) {
        console->setPlainText(run.log);
        console->moveCursor(QTextCursor::End);
        m_shown[idx] = run.received;
    }
    onDataUpdated();
}

void Simulator::onDataUpdated()
{
    m_timeLabel->setText(
        translate("SIM_TIME").replace(QLatin1String("%TIME"), QString::number(m_project->currentTime(), 'f', 6)));
    const int progress = m_project->progress();
    if (progress >= 0) {
        m_progressBar->setRange(0, ProgressMaximum);
        m_progressBar->setValue(qBound(0, progress, ProgressMaximum));
    } else if (m_project->status() == RunStatus::Running) {
        m_progressBar->setRange(0, 0);
    } else {
        // Without an end time there is nothing to measure: full once results
        // exist, empty before any.
        m_progressBar->setRange(0, ProgressMaximum);
        m_progressBar->setValue(m_project->status() == RunStatus::ResultsAvailable ? ProgressMaximum : 0);
    }
}

void Simulator::onProjUpdated()
{
    onPrjStatusChange();
    onDataUpdated();
}

void Simulator::showResult(const QString& text, const QString& details, const QString& picture)
{
    // Modal to the window, yet not a nested event loop: the project is in
    // the middle of ending its run when it reports.
    auto* box = new QMessageBox(this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowTitle(QCoreApplication::applicationName());
    box->setText(text);
    box->setInformativeText(details);
    box->setIconPixmap(QPixmap(picture));
    box->setStandardButtons(QMessageBox::Ok);
    box->setWindowModality(Qt::WindowModal);
    box->open();
}

void Simulator::onFinished()
{
    m_progressBar->setRange(0, ProgressMaximum);
    if (m_project->allSucceeded()) {
        m_progressBar->setValue(ProgressMaximum);
        showResult(QStringLiteral("Simulation Successful!"),
                   QStringLiteral("You may want to go to the Graphs and check the results."),
                   QStringLiteral(":/images/ok.png"));
    } else {
        m_progressBar->setValue(0);
    }
}

void Simulator::onFailed()
{
    showResult(QStringLiteral("Simulation Failed!"),
               QStringLiteral("Please check Settings and refer to the OlvInp and OlvRun console output."),
               QStringLiteral(":/images/cancel.png"));
}

void Simulator::updateCbPrf()
{
    // Rebuilding says nothing to the project: the selection only mirrors it.
    const QSignalBlocker quiet(m_profileSelector);
    m_profileSelector->clear();
    m_profileSelector->addItem(QStringLiteral("none"), -1);
    m_profileSelector->setCurrentIndex(0);
    const QList<Profile*>& profiles = m_project->profiles();
    if (profiles.isEmpty()) {
        m_profileSelector->setEnabled(false);
        return;
    }
    m_profileSelector->setEnabled(true);
    const QStringList names = m_project->profileNames();
    for (int i = 0; i < names.size(); ++i) {
        m_profileSelector->addItem(names.at(i), i);
        if (i == m_project->currentProfile())
            m_profileSelector->setCurrentIndex(i + 1);
    }
}

void Simulator::onCbPrfChange(int index)
{
    if (index < 0 || index >= m_profileSelector->count())
        return;
    if (!m_project->setCurrentProfile(m_profileSelector->itemData(index).toInt()))
        updateCbPrf();
}

void Simulator::onProgUpdated(int idx)
{
    if (idx < 0 || idx >= m_clocks.size())
        return;
    QElapsedTimer& clock = m_clocks[idx];
    if (clock.isValid() && clock.elapsed() <= 500)
        return;
    updateLogs(idx);
    clock.start();
}

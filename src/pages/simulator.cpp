#include "simulator.h"

#include "diagnostic.h"
#include "translation.h"
#include "project.h"
#include "editcommit.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFontDatabase>
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
    connect(m_startButton, &QPushButton::clicked, this, &Simulator::go);
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
        m_shown.append(0);
        m_tabs->addTab(console, run.name);
    }
    // Nothing to run: the page says so where the consoles would be.
    m_placeholder = new QLabel(translate("NO_PRJ_EXEC"), this);
    m_placeholder->setAlignment(Qt::AlignCenter);
    m_placeholder->setWordWrap(true);
    m_placeholder->setVisible(m_consoles.isEmpty());
    m_tabs->setVisible(!m_consoles.isEmpty());

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
    layout->addWidget(m_placeholder, 1);

    m_refreshTimer = new QTimer(this);

    connect(m_project, &Project::progFinished, this, &Simulator::updateLogs);
    connect(m_project, &Project::outDataUpdated, this, &Simulator::onDataUpdated);
    connect(m_project, &Project::dataUpdated, this, &Simulator::onProjUpdated);
    connect(m_project, &Project::simulationFinished, this, &Simulator::onFinished);
    connect(m_project, &Project::simulationFailure, this, &Simulator::onFailed);
    connect(m_project, &Project::storingChanged, this, &Simulator::onStoringChanged);
    connect(m_project, &Project::profilesChanged, this, &Simulator::updateCbPrf);
    connect(m_refreshTimer, &QTimer::timeout, this, &Simulator::updProgs);
    // A run may have been started elsewhere with another profile (the main
    // window's run actions); the selector shows the one that applies.
    connect(m_project, &Project::simulationStarted, this, &Simulator::updateCbPrf);
    // A new run, and a new project, start the consoles afresh.
    connect(m_project, &Project::simulationStarted, this, &Simulator::emptyConsoles);
    connect(m_project, &Scheme::aboutToClear, this, &Simulator::emptyConsoles);

    onPrjStatusChange();
}

QPlainTextEdit* Simulator::makeConsole()
{
    auto* console = new QPlainTextEdit(this);
    // The programs print in columns.
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(10);
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
}

void Simulator::emptyConsoles()
{
    for (QPlainTextEdit* console : std::as_const(m_consoles))
        console->clear();
    m_shown.fill(0);
    m_followedRun = -1;
}

bool Simulator::go()
{
    EditCommit::commitFocused(this);
    if (m_project->status() == RunStatus::Running)
        return false;
    const QString reason = m_project->notReadyReason();
    if (!reason.isEmpty()) {
        showResult(tr("The simulation cannot start."), reason, QString());
        return false;
    }
    m_project->start();
    return true;
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
    appendNewOutput(console, run, m_shown[idx]);
    onDataUpdated();
}

void Simulator::appendNewOutput(QPlainTextEdit* console, const ExecutorRun& run, qint64& shown)
{
    if (run.received == shown)
        return;
    QScrollBar* bar = console->verticalScrollBar();
    // Followed only by a user who is at the end: one who scrolled up to read
    // or select stays where they are.
    const bool atEnd = bar->value() == bar->maximum();
    const qint64 fresh = run.received - shown;
    QTextCursor end(console->document());
    end.movePosition(QTextCursor::End);
    if (run.received < shown || fresh > run.log.size()) {
        // A new run, or more than the log keeps: the whole log anew.
        console->setPlainText(run.log);
    } else {
        end.insertText(run.log.right(qsizetype(fresh)));
        // Only as much as the log keeps, cut in chunks rather than on every
        // line.
        const int excess = console->document()->characterCount() - 1 - Project::LogLimit;
        if (excess > Project::LogLimit / 5) {
            QTextCursor head(console->document());
            head.setPosition(excess, QTextCursor::KeepAnchor);
            head.removeSelectedText();
        }
    }
    shown = run.received;
    if (atEnd)
        bar->setValue(bar->maximum());
}

void Simulator::onDataUpdated()
{
    m_timeLabel->setText(
        translate("SIM_TIME").replace(QLatin1String("%TIME"), QString::number(m_project->currentTime(), 'g', 6)));
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
    if (picture.isEmpty())
        box->setIcon(QMessageBox::Warning);
    else
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
        // A stop is no failure and gets no box; the page says what happened.
        if (m_project->isStopRequested() && !m_project->runVerdictText().isEmpty())
            m_timeLabel->setText(m_timeLabel->text() + QStringLiteral(" \u2014 ") + m_project->runVerdictText());
    }
}

QString Simulator::storingText()
{
    return tr("Storing results\u2026");
}

void Simulator::onStoringChanged(bool storing)
{
    if (!storing) {
        onDataUpdated();
        return;
    }
    // Reading hundreds of megabytes takes a while; the page says why the
    // run has not ended yet, with a busy bar.
    m_timeLabel->setText(storingText());
    m_progressBar->setRange(0, 0);
    m_stopButton->setEnabled(false);
}

void Simulator::onFailed()
{
    showResult(QStringLiteral("Simulation Failed!"), failureDetails(), QStringLiteral(":/images/cancel.png"));
}

QString Simulator::failureDetails() const
{
    // The names the runs have, on the pages that have them.
    QStringList names;
    for (const ExecutorRun& run : m_project->runs())
        names << run.name;
    QString programs = names.join(QStringLiteral(" and "));
    if (names.size() > 2)
        programs = names.mid(0, names.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ") + names.last();
    const QString advice = tr("Please check the %1 page and refer to the %2 console output on the %3 page.")
                               .arg(translate("MENU_SETTINGS"), programs, translate("MENU_CONSOLE"));
    // What went wrong first, where the project knows it.
    const QString verdict = m_project->runVerdictText();
    return verdict.isEmpty() ? advice : verdict + QLatin1Char(' ') + advice;
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

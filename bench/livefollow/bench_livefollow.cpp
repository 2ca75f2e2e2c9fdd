// Following a run live at high output rates. The real project, with the
// results page and the graph page on screen (10 curves plotted) and the
// other pages built as the main window builds them, follows the test double
// writing 60 columns at 1,000 and then 5,000 lines a second. Measured:
//   - the worst event-loop stall: the largest gap between the timeouts of a
//     5 ms timer, in each quarter of the run and at its end (from the last
//     program's exit until half a second after the results are stored);
//   - the CPU the program takes, as a share of one core;
//   - what a poll costs against the lines it found, early and late in the
//     run: a poll must cost the new lines, not the data so far.
// The baseline is the same probe in the same event loop with nothing
// following, while the test double writes at the higher rate.
//
//   bench_livefollow [SECONDS]     (default 20 seconds a rate)
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.

#include "benchpages.h"
#include "fakerun.h"
#include "stallprobe.h"

#include "project.h"
#include "results.h"

#include <QApplication>
#include <QFile>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QSplitter>
#include <QTimer>
#include <QWidget>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kCurves = 10;
constexpr int kQuarters = 4;
constexpr int kEndPhase = kQuarters;
constexpr double kGoalMs = 50.0;
constexpr int kSettleMs = 500;

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
           + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1.0e6;
}

// The time each poll of the project takes on the user-interface thread,
// from its timer's event to the end of everything the pages do in response
// (their painting comes later, through the windows' update requests, and
// is caught by the probe), and how long each window's updates take.
class TimedApplication : public QApplication
{
public:
    enum Kind { PollWork, ResultsPaint, GraphPaint, OtherPaint, KindCount };
    struct Work
    {
        Kind kind = PollWork;
        double startedS = 0.0; // since the run started
        double ms = 0.0;
        int lines = 0; // for a poll: the time steps it added
    };

    using QApplication::QApplication;

    void follow(Project* project, QWidget* results, QWidget* graph)
    {
        m_project = project;
        m_results = results;
        m_graph = graph;
        m_work.clear();
        m_longest.clear();
        m_clock.start();
    }
    void stopFollowing() { m_project = nullptr; }
    const std::vector<Work>& work() const { return m_work; }

    // The longest events handled at the top of the loop, with what handled
    // them: where a stall comes from.
    struct Longest
    {
        double ms = 0.0;
        double startedS = 0.0;
        QByteArray what;
    };
    const std::vector<Longest>& longest() const { return m_longest; }

    bool notify(QObject* receiver, QEvent* event) override
    {
        if (!m_project)
            return QApplication::notify(receiver, event);
        if (m_depth == 0) {
            // The receiver and the event may be gone afterwards.
            const char* className = receiver->metaObject()->className();
            const int type = int(event->type());
            ++m_depth;
            const qint64 start = m_clock.nsecsElapsed();
            const bool done = notifyTimed(receiver, event);
            const double ms = double(m_clock.nsecsElapsed() - start) / 1.0e6;
            --m_depth;
            keepLongest(ms, double(start) / 1.0e9, className, type);
            return done;
        }
        ++m_depth;
        const bool done = notifyTimed(receiver, event);
        --m_depth;
        return done;
    }

private:
    void keepLongest(double ms, double startedS, const char* className, int type)
    {
        constexpr size_t kKept = 5;
        if (m_longest.size() == kKept && ms <= m_longest.back().ms)
            return;
        const QByteArray what = className + QByteArray(" event ") + QByteArray::number(type);
        m_longest.push_back({ms, startedS, what});
        std::sort(m_longest.begin(), m_longest.end(), [](const Longest& a, const Longest& b) { return a.ms > b.ms; });
        if (m_longest.size() > kKept)
            m_longest.pop_back();
    }

    bool notifyTimed(QObject* receiver, QEvent* event)
    {
        const bool poll =
            event->type() == QEvent::Timer && receiver->parent() == m_project && receiver->inherits("QTimer");
        const bool paint = event->type() == QEvent::UpdateRequest && receiver->isWidgetType();
        if (!poll && !paint)
            return QApplication::notify(receiver, event);
        Kind kind = PollWork;
        if (paint)
            kind = receiver == m_results ? ResultsPaint : receiver == m_graph ? GraphPaint : OtherPaint;
        const int before = poll ? m_project->timeStepCount() : 0;
        const qint64 start = m_clock.nsecsElapsed();
        const bool done = QApplication::notify(receiver, event);
        const double ms = double(m_clock.nsecsElapsed() - start) / 1.0e6;
        m_work.push_back({kind, double(start) / 1.0e9, ms, poll ? m_project->timeStepCount() - before : 0});
        return done;
    }

    Project* m_project = nullptr;
    QObject* m_results = nullptr;
    QObject* m_graph = nullptr;
    QElapsedTimer m_clock;
    std::vector<Work> m_work;
    std::vector<Longest> m_longest;
    int m_depth = 0;
};

struct Outcome
{
    int rate = 0;
    int lines = 0;
    double quarterMs[kQuarters] = {};
    double endMs = 0.0;
    double runMs = 0.0; // the worst of the quarters
    double cpuShare = 0.0;
    double storeSeconds = 0.0;
    // The longest poll and update of each window, by quarter of the run.
    double worstWorkMs[TimedApplication::KindCount][kQuarters] = {};
    size_t polls = 0;
    double msPerKiloLine[2] = {}; // polls of the first and of the last quarter
    double worstPollMs = 0.0;
    std::vector<TimedApplication::Longest> longest;
    bool succeeded = false;
};

// The probe alone while the test double writes at `rate` into a folder of
// its own: what the event loop shows with nothing to do.
double baseline(const FakeRun& setup, int rate, int seconds, double* cpuShare)
{
    QDir scratch(setup.inProject(QStringLiteral("baseline")));
    scratch.mkpath(QStringLiteral("."));
    const QString program = scratch.filePath(QStringLiteral("writer"));
    QFile::remove(program);
    QFile::copy(QStringLiteral(TARVEL_FAKEEXEC), program);
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile control(scratch.filePath(QStringLiteral("writer.ctl")));
    if (control.open(QIODevice::WriteOnly | QIODevice::Truncate))
        control.write(QStringLiteral("stream %1 %2 %3 1.0\n").arg(rate).arg(seconds).arg(FakeRun::Columns).toLatin1());
    control.close();
    QProcess writer;
    writer.setWorkingDirectory(scratch.path());
    writer.setStandardOutputFile(QProcess::nullDevice());
    StallProbe probe;
    const double cpu = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    probe.start();
    writer.start(program, {});
    writer.waitForStarted();
    QEventLoop loop;
    QObject::connect(&writer, &QProcess::finished, &loop, &QEventLoop::quit);
    if (writer.state() != QProcess::NotRunning)
        loop.exec();
    probe.stop();
    *cpuShare = (cpuSeconds() - cpu) / (double(wall.elapsed()) / 1000.0);
    scratch.removeRecursively();
    return probe.worstMs();
}

Outcome follow(TimedApplication& app, const FakeRun& setup, int rate, int seconds)
{
    Outcome outcome;
    outcome.rate = rate;
    auto project = setup.makeProject();
    BenchPages pages(project.get());
    pages.show();
    pages.plotCurves(kCurves);

    setup.control(QStringLiteral("tarinp.x"), {QStringLiteral("print input read")});
    setup.control(
        QStringLiteral("tarrun.x"),
        {QStringLiteral("print  TARRUN  -  closed homogeneous reactor"),
         QStringLiteral("data ") + QString::fromLatin1(FakeRun::heading().chopped(1)),
         QStringLiteral("stream %1 %2 %3 %4").arg(rate).arg(seconds).arg(FakeRun::Columns).arg(setup.endTime()),
         QStringLiteral("print ") + QLatin1String(FakeRun::Success)});

    StallProbe probe(kQuarters + 1);
    QElapsedTimer wall;
    QTimer quarters;
    quarters.setInterval(20);
    QObject::connect(&quarters, &QTimer::timeout, &quarters, [&] {
        if (probe.phase() < kEndPhase)
            probe.setPhase(std::min(kQuarters - 1, int(wall.elapsed() * kQuarters / (1000 * seconds))));
    });
    double cpuAtStart = 0.0;
    double runWall = 0.0;
    double runCpu = 0.0;
    QElapsedTimer storing;
    QObject::connect(project.get(), &Project::storingChanged, project.get(), [&](bool on) {
        if (!on)
            return;
        probe.setPhase(kEndPhase);
        runWall = double(wall.elapsed()) / 1000.0;
        runCpu = cpuSeconds() - cpuAtStart;
        storing.start();
    });
    QEventLoop loop;
    QObject::connect(project.get(), &Project::simulationFinished, &loop, [&] {
        outcome.storeSeconds = double(storing.elapsed()) / 1000.0;
        outcome.succeeded = project->allSucceeded();
        // The pages' last paints after the results are stored count too.
        QTimer::singleShot(kSettleMs, &loop, &QEventLoop::quit);
    });

    app.follow(project.get(), pages.results(), pages.graphPage());
    probe.start();
    wall.start();
    quarters.start();
    cpuAtStart = cpuSeconds();
    project->start();
    if (project->status() == RunStatus::Running || project->isStoring()
        || project->processState() != QProcess::NotRunning)
        loop.exec();
    else
        std::fprintf(stderr, "the run did not start: %s\n", qPrintable(project->notReadyReason()));
    probe.stop();
    quarters.stop();
    app.stopFollowing();
    outcome.longest = app.longest();

    outcome.lines = project->timeStepCount();
    for (int q = 0; q < kQuarters; ++q) {
        outcome.quarterMs[q] = probe.worstMs(q);
        outcome.runMs = std::max(outcome.runMs, outcome.quarterMs[q]);
    }
    outcome.endMs = probe.worstMs(kEndPhase);
    outcome.cpuShare = runWall > 0.0 ? runCpu / runWall : 0.0;
    double ms[2] = {};
    double lines[2] = {};
    for (const TimedApplication::Work& work : app.work()) {
        const int quarter = std::clamp(int(work.startedS * kQuarters / seconds), 0, kQuarters - 1);
        double& worst = outcome.worstWorkMs[work.kind][quarter];
        worst = std::max(worst, work.ms);
        if (work.kind != TimedApplication::PollWork)
            continue;
        ++outcome.polls;
        outcome.worstPollMs = std::max(outcome.worstPollMs, work.ms);
        const int side = quarter == 0 ? 0 : quarter == kQuarters - 1 ? 1 : -1;
        if (side < 0 || work.lines <= 0)
            continue;
        ms[side] += work.ms;
        lines[side] += work.lines;
    }
    for (int side = 0; side < 2; ++side)
        outcome.msPerKiloLine[side] = lines[side] > 0 ? 1000.0 * ms[side] / lines[side] : 0.0;
    return outcome;
}

void goal(const char* what, double figure, double base, const char* unit, double limit)
{
    std::printf("bench_livefollow: %s %.1f %s (baseline %.1f %s), goal <= %.0f %s: %s\n", what, figure, unit, base,
                unit, limit, unit, figure <= limit ? "met" : "missed");
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TimedApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion")); // as the program's start-up sets it
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    const int rates[] = {1000, 5000};

    FakeRun setup;
    std::printf("bench_livefollow: the project follows the test double writing %d columns, %d curves plotted, the "
                "results and graph pages on screen, %d s a rate\n",
                FakeRun::Columns, kCurves, seconds);
    double baseCpu = 0.0;
    const double baseMs = baseline(setup, rates[1], seconds, &baseCpu);
    std::printf("  baseline: the probe alone while the test double writes %d lines/s: worst gap %.1f ms, CPU %.1f %% "
                "of a core\n",
                rates[1], baseMs, 100.0 * baseCpu);
    std::fflush(stdout);

    std::vector<Outcome> outcomes;
    for (int rate : rates) {
        const Outcome o = follow(app, setup, rate, seconds);
        std::printf("  %d lines/s: %d lines read%s, %zu polls; worst gap by quarter of the run %.1f %.1f %.1f %.1f ms, "
                    "at its end %.1f ms (storing took %.2f s); CPU %.1f %% of a core\n",
                    rate, o.lines, o.succeeded ? "" : " (the run FAILED)", o.polls, o.quarterMs[0], o.quarterMs[1],
                    o.quarterMs[2], o.quarterMs[3], o.endMs, o.storeSeconds, 100.0 * o.cpuShare);
        const char* names[] = {"poll", "results page update", "graph page update", "other window update"};
        for (int kind = 0; kind < TimedApplication::KindCount; ++kind) {
            std::printf("      longest %s by quarter %.1f %.1f %.1f %.1f ms\n", names[kind], o.worstWorkMs[kind][0],
                        o.worstWorkMs[kind][1], o.worstWorkMs[kind][2], o.worstWorkMs[kind][3]);
        }
        std::printf("      a poll costs %.2f ms per 1000 lines in the first quarter, %.2f in the last\n",
                    o.msPerKiloLine[0], o.msPerKiloLine[1]);
        for (const TimedApplication::Longest& event : o.longest)
            std::printf("      %.1f ms at %.2f s: %s\n", event.ms, event.startedS, event.what.constData());
        std::fflush(stdout);
        outcomes.push_back(o);
    }
    for (const Outcome& o : outcomes) {
        const QByteArray during = QStringLiteral("worst stall during the run at %1 lines/s").arg(o.rate).toLatin1();
        const QByteArray end = QStringLiteral("worst stall at the end of the run at %1 lines/s").arg(o.rate).toLatin1();
        goal(during.constData(), o.runMs, baseMs, "ms", kGoalMs);
        goal(end.constData(), o.endMs, baseMs, "ms", kGoalMs);
    }
    for (const Outcome& o : outcomes) {
        // Proportional to the lines: the last quarter's polls cost per line
        // what the first quarter's did, within a factor of 2.
        const double ratio = o.msPerKiloLine[0] > 0.0 ? o.msPerKiloLine[1] / o.msPerKiloLine[0] : 0.0;
        std::printf("bench_livefollow: poll cost per line late in the run at %d lines/s %.2fx the early cost "
                    "(baseline 1.00x), goal <= 2x: %s\n",
                    o.rate, ratio, ratio <= 2.0 ? "met" : "missed");
    }
    return 0;
}

// The end of a run with much output. The last program ends and the project
// stores the rest of the output data and both output files' texts, while the
// results page and the graph page are on screen with 10 curves plotted.
// Measured for 20, 100 and 230 MB of output data (the data file; the
// computation file beside it in a real run's proportion, about 2.7 times as
// large): the longest time the user-interface thread is busy from the start
// of the run, whose end this is, until half a second after the results are
// stored (polls that find the whole file count too; the
// largest gap between the timeouts of a 5 ms timer), and how long taking
// over the stored results takes on that thread. The baseline is a plain
// read of the same files' bytes: the least storing costs, and what the
// window would freeze for if storing were done on its thread.
//
// The run: the test double writes the heading and two lines, waits until
// the project has read them (so the stored rest is appended to fields that
// exist, the heavier case), then the whole files appear at once and it ends.
//
//   bench_endrun [MB ...]     (default 20 100 230)

#include "benchpages.h"
#include "fakerun.h"
#include "plainread.h"
#include "stallprobe.h"

#include "project.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kCurves = 10;
constexpr double kGoalMs = 50.0;
constexpr int kSettleMs = 500;
constexpr int kDistinct = 1000; // distinct lines, the time column apart
constexpr qint64 kChunk = 8 << 20;

// Times what the project does on its thread when the storing worker is done.
class TimedApplication : public QApplication
{
public:
    using QApplication::QApplication;

    void reset() { m_worstTakeOverMs = 0.0; }
    double worstTakeOverMs() const { return m_worstTakeOverMs; }

    bool notify(QObject* receiver, QEvent* event) override
    {
        if (event->type() != QEvent::MetaCall || !receiver->inherits("RunStorage"))
            return QApplication::notify(receiver, event);
        QElapsedTimer clock;
        clock.start();
        const bool done = QApplication::notify(receiver, event);
        m_worstTakeOverMs = std::max(m_worstTakeOverMs, double(clock.nsecsElapsed()) / 1.0e6);
        return done;
    }

private:
    double m_worstTakeOverMs = 0.0;
};

class Writer
{
public:
    explicit Writer(const QString& path)
        : m_file(path)
    {
        if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write %s", qPrintable(path));
    }
    void add(const QByteArray& bytes)
    {
        m_buffer += bytes;
        if (m_buffer.size() >= kChunk)
            flush();
    }
    qint64 close()
    {
        flush();
        const qint64 size = m_file.size();
        m_file.close();
        return size;
    }

private:
    void flush()
    {
        if (m_file.write(m_buffer) != m_buffer.size())
            qFatal("cannot write %s", qPrintable(m_file.fileName()));
        m_buffer.clear();
    }

    QFile m_file;
    QByteArray m_buffer;
};

// The files of a run with `bytes` of output data: full.29 and full.18 as the
// run leaves them, start.29 and start.18 their first two lines and blocks.
void writeFiles(const FakeRun& setup, qint64 bytes, qint64* computationBytes)
{
    const double end = setup.endTime();
    std::vector<QByteArray> lines;
    std::vector<QByteArray> blocks;
    for (int i = 0; i < kDistinct; ++i) {
        const double f = double(i) / double(kDistinct - 1);
        lines.push_back(FakeRun::line(f, end).mid(FakeRun::FieldSize));
        blocks.push_back(FakeRun::profileBlock(f, end));
    }
    const QByteArray heading = FakeRun::heading();
    const qint64 count = std::max<qint64>(3, (bytes - heading.size()) / heading.size());
    Writer data(setup.inProject(QStringLiteral("full.29")));
    Writer computation(setup.inProject(QStringLiteral("full.18")));
    Writer startData(setup.inProject(QStringLiteral("start.29")));
    Writer startComputation(setup.inProject(QStringLiteral("start.18")));
    data.add(heading);
    startData.add(heading);
    char time[32];
    for (qint64 i = 0; i < count; ++i) {
        const double f = double(i) / double(count - 1);
        const size_t nearest = size_t(f * (kDistinct - 1) + 0.5);
        std::snprintf(time, sizeof time, "%18.9E", f * end);
        const QByteArray line = time + lines[nearest];
        data.add(line);
        computation.add(blocks[nearest]);
        if (i < 2) {
            startData.add(line);
            startComputation.add(blocks[nearest]);
        }
    }
    data.close();
    startData.close();
    startComputation.close();
    *computationBytes = computation.close();
}

struct Outcome
{
    int megabytes = 0;
    qint64 computationBytes = 0;
    double busyMs = 0.0;
    double takeOverMs = 0.0;
    double storeSeconds = 0.0;
    double plainMs = 0.0;
    int lines = 0;
    bool succeeded = false;
};

Outcome endOfRun(TimedApplication& app, const FakeRun& setup, int megabytes)
{
    Outcome outcome;
    outcome.megabytes = megabytes;
    writeFiles(setup, qint64(megabytes) << 20, &outcome.computationBytes);
    outcome.plainMs =
        plainReadMs({setup.inProject(QStringLiteral("full.29")), setup.inProject(QStringLiteral("full.18"))});

    auto project = setup.makeProject();
    {
        BenchPages pages(project.get());
        pages.show();
        pages.plotCurves(kCurves);
        setup.control(QStringLiteral("tarinp.x"), {QStringLiteral("print input read")});
        setup.control(QStringLiteral("tarrun.x"),
                      {QStringLiteral("copy start.29 fort.29"), QStringLiteral("copy start.18 fort.18"),
                       QStringLiteral("sleep %1").arg(3 * Project::PollIntervalMs + 100),
                       QStringLiteral("move full.29 fort.29"), QStringLiteral("move full.18 fort.18"),
                       QStringLiteral("print ") + QLatin1String(FakeRun::Success)});

        StallProbe probe(2);
        QElapsedTimer storing;
        QObject::connect(project.get(), &Project::storingChanged, project.get(), [&](bool on) {
            if (on)
                storing.start();
        });
        QEventLoop loop;
        QObject::connect(project.get(), &Project::simulationFinished, &loop, [&] {
            outcome.storeSeconds = double(storing.elapsed()) / 1000.0;
            outcome.succeeded = project->allSucceeded();
            QTimer::singleShot(kSettleMs, &loop, &QEventLoop::quit);
        });
        app.reset();
        probe.start();
        probe.setPhase(1);
        project->start();
        if (project->processState() != QProcess::NotRunning || project->status() == RunStatus::Running)
            loop.exec();
        else
            std::fprintf(stderr, "the run did not start: %s\n", qPrintable(project->notReadyReason()));
        probe.stop();
        outcome.busyMs = probe.worstMs(1);
        outcome.takeOverMs = app.worstTakeOverMs();
        outcome.lines = project->timeStepCount();
    }
    project.reset();
    for (const char* name : {"fort.29", "fort.18", "full.29", "full.18", "start.29", "start.18"})
        QFile::remove(setup.inProject(QLatin1String(name)));
    return outcome;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TimedApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion")); // as the program's start-up sets it
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(std::max(1, std::atoi(argv[i])));
    if (sizes.empty())
        sizes = {20, 100, 230};

    FakeRun setup;
    std::printf("bench_endrun: the end of a run, %d columns, %d curves plotted, the results and graph pages on "
                "screen\n",
                FakeRun::Columns, kCurves);
    std::vector<Outcome> outcomes;
    for (int megabytes : sizes) {
        const Outcome o = endOfRun(app, setup, megabytes);
        std::printf("  %d MB of output data (%d lines) and a %.0f MB computation file%s: stored in %.2f s; the "
                    "user-interface thread busy at most %.1f ms, taking over the results %.1f ms; a plain read "
                    "of both files %.1f ms\n",
                    o.megabytes, o.lines, double(o.computationBytes) / 1048576.0,
                    o.succeeded ? "" : " (the run FAILED)", o.storeSeconds, o.busyMs, o.takeOverMs, o.plainMs);
        std::fflush(stdout);
        outcomes.push_back(o);
    }
    for (const Outcome& o : outcomes) {
        std::printf("bench_endrun: longest busy user-interface thread at the end of a run with %d MB of output data "
                    "%.1f ms (baseline %.1f ms), goal <= %.0f ms: %s\n",
                    o.megabytes, o.busyMs, o.plainMs, kGoalMs, o.busyMs <= kGoalMs && o.succeeded ? "met" : "missed");
    }
    return 0;
}

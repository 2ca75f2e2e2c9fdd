// Saving and opening large projects, as the window does it (in a worker,
// through ProjectFileJob), next to a plain write and a plain read of a file
// of the same size in the same run, and the peak memory while saving next to
// the memory the process held before.
//
// The projects are made from a real run: the bundled simulation code runs
// CH4-AIR-GRI30 once (or PROJECT.tarvel is taken as that run), and its output
// data and computation texts are repeated until the project file is about
// 100 and 400 MB. The output data is read into the project's fields as after
// a run. Each figure is the best of three.
//
// The plain write goes through the same kind of file a save writes: a new
// file beside the target, flushed to the disk and renamed over it (QSaveFile),
// so that both pay for the same durability; the plain write without the
// flush to the disk is printed too. Likewise the plain read is a read of the
// whole file into memory, as an open keeps the project's texts in memory;
// the read through one small block used again, which fills no memory, is
// printed too.
//
//   bench_projectfile [PROJECT.tarvel]

#include "options.h"
#include "plainread.h"
#include "project.h"
#include "projectfilejob.h"
#include "translation.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSaveFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRepeats = 3;
constexpr qint64 kChunk = 4 << 20;
constexpr double kFactorGoal = 3.0;
constexpr double kMemoryMarginMb = 64.0;

[[noreturn]] void fail(const QString& why)
{
    std::fprintf(stderr, "bench_projectfile: %s\n", qPrintable(why));
    std::exit(2);
}

double mb(qint64 bytes)
{
    return double(bytes) / 1048576.0;
}

// A field of /proc/self/status in kB, as bytes.
qint64 statusBytes(const char* key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray wanted = QByteArray(key) + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(wanted))
            return line.mid(wanted.size()).trimmed().split(' ').first().toLongLong() * 1024;
    }
    return -1;
}

// Starts the peak memory afresh (VmHWM); false where the system cannot.
bool resetPeak()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    return refs.open(QIODevice::WriteOnly) && refs.write("5") == 1;
}

QString realRun(const QTemporaryDir& temp)
{
    const QString file = temp.filePath(QStringLiteral("real.tarvel"));
    QProcess tarvel;
    tarvel.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    tarvel.setStandardOutputFile(QProcess::nullDevice());
    tarvel.start(QStringLiteral(TARVEL_BIN_DIR "/tarvel"),
                 {QStringLiteral("run"), QStringLiteral("--scheme"), QStringLiteral("CH4-AIR-GRI30"),
                  QStringLiteral("--db"), QStringLiteral(TARVEL_BIN_DIR "/schemes.dat"), QStringLiteral("--dir"),
                  temp.filePath(QStringLiteral("run")), QStringLiteral("--save"), file});
    if (!tarvel.waitForFinished(600000) || tarvel.exitCode() != 0)
        fail(QStringLiteral("the real run of CH4-AIR-GRI30 failed"));
    return file;
}

// The texts of a run repeated `times` times: the output data's lines after
// its heading, the computation text whole.
void repeatRun(Project& project, const QString& output, const QString& computation, int times)
{
    const qsizetype headingEnd = output.indexOf(QLatin1Char('\n')) + 1;
    const QStringView heading = QStringView(output).left(headingEnd);
    const QStringView lines = QStringView(output).mid(headingEnd);
    QString data;
    data.reserve(heading.size() + times * lines.size());
    data += heading;
    QString steps;
    steps.reserve(times * computation.size());
    for (int i = 0; i < times; ++i) {
        data += lines;
        steps += computation;
    }
    if (!project.setExtraData(QStringLiteral("OUTPUT_DATA"), data)
        || !project.setExtraData(QStringLiteral("COMPUT_DATA"), steps))
        fail(QStringLiteral("the real run's project has no output data or computation text"));
    // The output data read into the fields, as a run or an open leaves them.
    QByteArray bytes = data.toLatin1();
    data.clear();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    project._readOutData(buffer, true);
    project._updateTime();
}

qint64 projectBytes(const Project& project)
{
    qint64 bytes = 0;
    for (const ExtraData* extra : project.extras())
        bytes += 2 * qint64(extra->text.size());
    for (const auto& field : project.outData())
        bytes += qint64(sizeof(float)) * field->values.size();
    return bytes;
}

double plainWriteMs(const QString& path, qint64 size, bool durable)
{
    QByteArray block(int(kChunk), 'x');
    QElapsedTimer clock;
    clock.start();
    if (durable) {
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            fail(QStringLiteral("cannot write %1").arg(path));
        for (qint64 left = size; left > 0; left -= kChunk)
            file.write(block.constData(), std::min(left, kChunk));
        if (!file.commit())
            fail(QStringLiteral("cannot write %1").arg(path));
    } else {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            fail(QStringLiteral("cannot write %1").arg(path));
        for (qint64 left = size; left > 0; left -= kChunk)
            file.write(block.constData(), std::min(left, kChunk));
        file.close();
    }
    return double(clock.nsecsElapsed()) / 1.0e6;
}

// The file read into memory whole, as a program that keeps it does: the
// memory it fills costs more than the copying, and an open has to fill as
// much, for the texts it keeps.
double plainReadIntoMemoryMs(const QString& path)
{
    QElapsedTimer clock;
    clock.start();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("cannot read %1").arg(path));
    const QByteArray bytes = file.readAll();
    if (bytes.size() != file.size())
        fail(QStringLiteral("cannot read %1").arg(path));
    return double(clock.nsecsElapsed()) / 1.0e6;
}

double runJob(std::unique_ptr<ProjectFileJob> job)
{
    QElapsedTimer clock;
    clock.start();
    job->waitForFinished();
    const double ms = double(clock.nsecsElapsed()) / 1.0e6;
    if (!job->succeeded())
        fail(QStringLiteral("%1 of %2 failed")
                 .arg(job->kind() == ProjectFileJob::Kind::Save ? "saving" : "opening", job->file()));
    return ms;
}

struct Outcome
{
    int target = 0; // MB
    qint64 fileBytes = 0;
    qint64 inMemory = 0; // the project's texts and values
    double saveMs = 1e300;
    double openMs = 1e300;
    double writeMs = 1e300;
    double writeUnsyncedMs = 1e300;
    double readMs = 1e300;
    double readStreamMs = 1e300;
    qint64 rssBefore = 0;
    qint64 peak = 0; // the largest VmHWM of the saves
    bool peakMeasured = false;
    int steps = 0;
};

Outcome measure(Options& catalogue, const QString& real, const QTemporaryDir& temp, int target)
{
    Outcome outcome;
    outcome.target = target;
    const QString file = temp.filePath(QStringLiteral("big.tarvel"));
    const QString plain = temp.filePath(QStringLiteral("plain.bin"));
    auto project = std::make_unique<Project>(&catalogue);
    if (!project->setPath(temp.filePath(QStringLiteral("work"))) || !project->load(real))
        fail(QStringLiteral("cannot open the real run's project %1").arg(real));
    {
        const QString output = project->getExtra(QStringLiteral("OUTPUT_DATA"))->text;
        const QString computation = project->getExtra(QStringLiteral("COMPUT_DATA"))->text;
        qint64 perRun = 2 * qint64(output.size() + computation.size());
        if (perRun <= 0)
            fail(QStringLiteral("the real run left no output"));
        const int times = int(std::max<qint64>(1, (qint64(target) << 20) / perRun));
        repeatRun(*project, output, computation, times);
    }
    outcome.inMemory = projectBytes(*project);
    outcome.steps = project->timeStepCount();

    for (int i = 0; i < kRepeats; ++i) {
        QFile::remove(file);
        outcome.rssBefore = statusBytes("VmRSS");
        outcome.peakMeasured = resetPeak();
        outcome.saveMs = std::min(outcome.saveMs, runJob(ProjectFileJob::save(project.get(), file)));
        outcome.peak = std::max(outcome.peak, statusBytes("VmHWM"));
        outcome.fileBytes = QFileInfo(file).size();

        outcome.writeMs = std::min(outcome.writeMs, plainWriteMs(plain, outcome.fileBytes, true));
        outcome.writeUnsyncedMs = std::min(outcome.writeUnsyncedMs, plainWriteMs(plain, outcome.fileBytes, false));

        Project opened(&catalogue);
        if (!opened.setPath(temp.filePath(QStringLiteral("work"))))
            fail(QStringLiteral("no folder to open in"));
        outcome.openMs = std::min(outcome.openMs, runJob(ProjectFileJob::open(&opened, file)));
        if (opened.timeStepCount() != outcome.steps)
            fail(QStringLiteral("the opened project has %1 time steps, not %2")
                     .arg(opened.timeStepCount())
                     .arg(outcome.steps));
        outcome.readMs = std::min(outcome.readMs, plainReadIntoMemoryMs(plain));
        outcome.readStreamMs = std::min(outcome.readStreamMs, plainReadMs({plain}));
    }
    QFile::remove(file);
    QFile::remove(plain);
    return outcome;
}

void goal(const char* what, int target, double figure, double base, const char* unit, double limit,
          const char* limitText)
{
    std::printf("bench_projectfile: %s of a %d MB project %.0f %s (baseline %.0f %s), goal %s: %s\n", what, target,
                figure, unit, base, unit, limitText, figure <= limit ? "met" : "missed");
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_LOGGING_RULES", "*.debug=false");
    QCoreApplication app(argc, argv);
    if (!Translation::instance().load(QStringLiteral(":/translate.xml")))
        fail(QStringLiteral("the built-in translation cannot be read"));
    Options catalogue;
    if (!catalogue.loadBuiltIn())
        fail(QStringLiteral("the built-in catalogue cannot be read"));
    QTemporaryDir temp(QDir::current().filePath(QStringLiteral("bench_projectfile-XXXXXX")));
    if (!temp.isValid())
        fail(QStringLiteral("no temporary folder in the current one"));
    QDir(temp.path()).mkpath(QStringLiteral("work"));
    const QString real = argc > 1 ? QString::fromLocal8Bit(argv[1]) : realRun(temp);

    std::printf("bench_projectfile: projects made of a real CH4-AIR-GRI30 run's texts repeated, saved and opened "
                "through ProjectFileJob, in %s; best of %d\n",
                qPrintable(QDir::toNativeSeparators(temp.path())), kRepeats);
    std::vector<Outcome> outcomes;
    for (int target : {100, 400}) {
        const Outcome o = measure(catalogue, real, temp, target);
        std::printf("  %d MB project: file %.0f MB, %d time steps, %.0f MB of texts and values in memory\n"
                    "      save %.0f ms, plain write %.0f ms (without the flush to the disk %.0f ms)\n"
                    "      open %.0f ms, plain read into memory %.0f ms (through a 4 MB block %.0f ms)\n"
                    "      memory: %.0f MB before the save, peak while saving %s%.0f MB\n",
                    o.target, mb(o.fileBytes), o.steps, mb(o.inMemory), o.saveMs, o.writeMs, o.writeUnsyncedMs,
                    o.openMs, o.readMs, o.readStreamMs, mb(o.rssBefore),
                    o.peakMeasured ? "" : "(since the start: no reset) ", mb(o.peak));
        std::fflush(stdout);
        outcomes.push_back(o);
    }
    for (const Outcome& o : outcomes) {
        const QByteArray openLimit = QStringLiteral("<= %1x the plain read into memory").arg(kFactorGoal).toLatin1();
        const QByteArray saveLimit = QStringLiteral("<= %1x the plain write").arg(kFactorGoal).toLatin1();
        goal("open", o.target, o.openMs, o.readMs, "ms", kFactorGoal * o.readMs, openLimit.constData());
        goal("save", o.target, o.saveMs, o.writeMs, "ms", kFactorGoal * o.writeMs, saveLimit.constData());
        const double limit = mb(o.rssBefore) + kMemoryMarginMb;
        const QByteArray memoryLimit = QStringLiteral("<= %1 MB").arg(limit, 0, 'f', 0).toLatin1();
        std::printf("bench_projectfile: peak memory while saving a %d MB project %.0f MB (baseline %.0f MB in memory "
                    "before the save), goal %s: %s\n",
                    o.target, mb(o.peak), mb(o.rssBefore), memoryLimit.constData(),
                    o.peakMeasured && mb(o.peak) <= limit ? "met" : "missed");
    }
    return 0;
}

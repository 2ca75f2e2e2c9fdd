#include "qtharness.h"

#include "fuzzcheck.h"
#include "options.h"
#include "translation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

namespace {

void quietHandler(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtFatalMsg)
        return;
    std::fprintf(stderr, "fatal report: %s\n", qPrintable(message));
    std::fflush(stderr);
    std::abort();
}

struct State
{
    std::unique_ptr<QTemporaryDir> scratch;
    std::unique_ptr<Options> catalogue;
};

// Destroyed at exit, which libFuzzer calls between inputs, so the scratch
// folder goes with the process.
State g_state;
bool g_started = false;

QString scratchTemplate()
{
    // Every input is written to a file and read back: on tmpfs that costs
    // no disk.
    const QString shm = QStringLiteral("/dev/shm");
    const QString base = QDir(shm).exists() ? shm : QDir::tempPath();
    return base + QStringLiteral("/tarvel-fuzz-XXXXXX");
}

} // namespace

void QtHarness::start()
{
    if (g_started)
        return;
    g_started = true;
    qInstallMessageHandler(quietHandler);
    static int argc = 1;
    static char name[] = "tarvel-fuzz";
    static char* argv[] = {name, nullptr};
    new QCoreApplication(argc, argv); // lives as long as the process
    g_state.scratch = std::make_unique<QTemporaryDir>(scratchTemplate());
    FUZZ_CHECK(g_state.scratch->isValid(), "a scratch folder for the inputs");
    FUZZ_CHECK(Translation::instance().load(QStringLiteral(":/translate.xml")), "the translation table loads");
    g_state.catalogue = std::make_unique<Options>();
    FUZZ_CHECK(g_state.catalogue->loadBuiltIn(), "the built-in catalogue loads");
}

Options* QtHarness::catalogue()
{
    start();
    return g_state.catalogue.get();
}

QString QtHarness::scratchFile(const QString& name)
{
    start();
    return g_state.scratch->filePath(name);
}

void QtHarness::writeFile(const QString& path, const std::uint8_t* data, std::size_t size)
{
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "the scratch file opens");
    FUZZ_CHECK(file.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size),
               "the input is written to the scratch file");
}

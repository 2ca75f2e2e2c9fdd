// How loading a scheme grows with its species, measured next to a baseline in
// the same run: schemes of N species, with no nodes and with each species'
// boundary condition as an option node (as a scheme that sets every species'
// amount has), are saved, then timed while
//  - the file's bytes are read into memory (the baseline no reader beats),
//  - Scheme::loadAll reads the database,
//  - Project::load reads it as a project (the scheme copied into the project,
//    its input file generated).
// Each figure is the quickest of a few repeats. Time per species that stays
// flat from one N to the next is the O(n log n) the loader must keep.
//
//   bench_schemeload [N...]   (default: 5000 10000 20000)

#include "options.h"
#include "project.h"
#include "scheme.h"
#include "translation.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <limits>
#include <memory>

namespace {

constexpr int kRepeats = 3;

using Clock = std::chrono::steady_clock;

double quickest(const std::function<void()>& run)
{
    double best = std::numeric_limits<double>::max();
    for (int i = 0; i < kRepeats; ++i) {
        const Clock::time_point start = Clock::now();
        run();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

// Species of the catalogue's elements, as a large mechanism has them:
// C1H1 ... C200H100.
QString speciesName(int i)
{
    return QStringLiteral("C%1H%2").arg(1 + i / 100).arg(1 + i % 100);
}

bool writeScheme(Options* catalogue, int count, bool conditionNodes, const QString& file)
{
    Scheme scheme(catalogue);
    if (!scheme.setName(QStringLiteral("MANY-SPECIES")))
        return false;
    for (int i = 0; i < count; ++i) {
        if (!scheme.addSpecies(speciesName(i)))
            return false;
    }
    if (!conditionNodes)
        return Scheme::writeDatabase(file, {&scheme}, nullptr) == Scheme::WriteResult::Written;
    // Nodes made directly: the editing operation numbers each new node by a
    // walk of the tree, which is the editor's business, not the loader's.
    auto* group = new SchemeNode;
    group->id = 1;
    group->name = QStringLiteral("Initial amounts");
    group->isGroup = true;
    group->enabled = true;
    scheme.insertNode(group, nullptr, nullptr, true);
    int id = 1;
    for (const QString& species : scheme.species()) {
        auto* node = new SchemeNode;
        node->id = ++id;
        node->option = scheme.findOption(QStringLiteral("BC_") + species);
        node->value = QStringLiteral("%1").arg(id * 0.001);
        node->enabled = true;
        scheme.insertNode(node, group, nullptr, true);
    }
    return Scheme::writeDatabase(file, {&scheme}, nullptr) == Scheme::WriteResult::Written;
}

void quiet(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtFatalMsg || type == QtCriticalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    qInstallMessageHandler(quiet);
    QList<int> counts;
    for (int i = 1; i < argc; ++i)
        counts << std::atoi(argv[i]);
    if (counts.isEmpty())
        counts = {5000, 10000, 20000};

    if (!Translation::instance().load(QStringLiteral(":/translate.xml"))) {
        std::fprintf(stderr, "the translation table does not load\n");
        return 1;
    }
    Options catalogue;
    if (!catalogue.loadBuiltIn()) {
        std::fprintf(stderr, "the built-in catalogue does not load\n");
        return 1;
    }
    QTemporaryDir dir;
    std::printf("%8s %6s %9s %12s %13s %13s %16s\n", "species", "nodes", "KB", "bytes (ms)", "loadAll (ms)",
                "project (ms)", "loadAll/species (us)");
    for (const bool conditionNodes : {false, true}) {
        for (const int count : counts) {
            const int nodes = conditionNodes ? count + 1 : 0;
            const QString file = dir.filePath(QStringLiteral("many-%1-%2.dat").arg(count).arg(nodes));
            if (!writeScheme(&catalogue, count, conditionNodes, file)) {
                std::fprintf(stderr, "the scheme of %d species cannot be written\n", count);
                return 1;
            }
            const double bytes = quickest([&] {
                QFile in(file);
                if (!in.open(QIODevice::ReadOnly) || in.readAll().isEmpty())
                    std::abort();
            });
            const double load = quickest([&] {
                const QList<Scheme*> schemes = Scheme::loadAll(file, &catalogue);
                if (schemes.size() != 1 || schemes.first()->species().size() != count
                    || schemes.first()->nodeCount() != nodes)
                    std::abort();
                qDeleteAll(schemes);
            });
            const double project = quickest([&] {
                Project loaded(&catalogue);
                if (!loaded.load(file) || loaded.species().size() != count)
                    std::abort();
            });
            std::printf("%8d %6d %9.0f %12.3f %13.1f %13.1f %16.2f\n", count, nodes, QFileInfo(file).size() / 1024.0,
                        bytes * 1e3, load * 1e3, project * 1e3, load / count * 1e6);
            std::fflush(stdout);
        }
    }
    return 0;
}

// Makes the seed inputs of the fuzz targets from real data: the bundled
// schemes database and the folders of real runs (tarvel run ... --save
// project.tarvel, with profiles added). scripts/fuzz --seeds drives it; the
// fuzzers then keep what adds coverage (-merge=1) in fuzz/corpus.
//
//   fuzzseeds shorten SCHEMES.dat OUT.dat NT
//       The database with every scheme's NT (output steps) set to NT: runs
//       of a few steps give files of a few lines.
//   fuzzseeds collect OUTDIR SCHEMES.dat RUNDIR...
//       Seeds for every target that reads what the front end keeps, each in
//       OUTDIR/<target>/ (the simulator's files are copied by the script).
//
// Long texts (mechanisms, thermo data) are cut short in the seeds: the
// readers treat every text alike, and a fuzzer mutates small inputs faster.

#include "options.h"
#include "ooption.h"
#include "profile.h"
#include "project.h"
#include "scheme.h"
#include "settingsstore.h"
#include "translation.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {

constexpr int kTextLimit = 240;

bool writeBytes(const QString& file, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(file).absolutePath());
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return false;
    }
    return true;
}

QByteArray readBytes(const QString& file)
{
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

// The extras that hold file texts, cut short; the project's own data kept.
void cutTexts(Scheme& scheme)
{
    for (ExtraData* extra : scheme.extras()) {
        if (!extra->fileName.isEmpty() && extra->text.size() > kTextLimit)
            extra->text = extra->text.left(kTextLimit);
    }
}

int shorten(const QString& in, const QString& out, const QString& steps, Options* catalogue)
{
    const QList<Scheme*> schemes = Scheme::loadAll(in, catalogue);
    if (schemes.isEmpty())
        return 1;
    for (Scheme* scheme : schemes) {
        for (SchemeNode* node : scheme->allNodes()) {
            if (!node->isGroup && node->option && node->option->name.toUpper() == QLatin1String("NT"))
                node->value = steps;
        }
    }
    const bool written =
        Scheme::writeDatabase(out, {schemes.cbegin(), schemes.cend()}, nullptr) == Scheme::WriteResult::Written;
    qDeleteAll(schemes);
    return written ? 0 : 1;
}

// A database in the layout of version 2, which is still read: one scheme,
// one species, one node, one extra in the short layout.
QByteArray versionTwoDatabase()
{
    auto sum = [](const QString& text) {
        quint32 total = 0;
        for (const QChar c : text)
            total += c.unicode();
        return total;
    };
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_4_8);
    const QString name = QStringLiteral("OLD");
    const QString description = QStringLiteral("a version 2 scheme");
    out << QStringLiteral("VORDANT") << qint32(2) << quint32(1);
    out << name << description << qint32(1) << qint32(2) << qint32(1) << qint32(3 + sum(name) + sum(description));
    const QString species = QStringLiteral("H2O");
    out << species << qint32(sum(species));
    const QString group = QStringLiteral("Reactor");
    out << qint32(1) << group << true << qint32(1) << QString() << QString() << true
        << qint32(1 + 1 + 1 + 1 + sum(group));
    const QString option = QStringLiteral("BC_H2O");
    const QString value = QStringLiteral("1.0");
    out << qint32(2) << QString() << false << qint32(1) << option << value << true
        << qint32(1 + 2 + 0 + 1 + sum(option) + sum(value));
    const QString extra = QStringLiteral("MECHANISM");
    const QString text = QStringLiteral("ELEMENTS\nH O\nEND\n");
    out << extra << qint32(text.size()) << text << qint32(sum(extra) + text.size() + sum(text));
    return bytes;
}

QList<SettingsStore::Pairs> settingsSeeds()
{
    return {
        {{QStringLiteral("graph/count"), 2}, {QStringLiteral("graph/0/title"), QStringLiteral("Temperature")}},
        {{QStringLiteral("visible"), true},
         {QStringLiteral("steps"), 7u},
         {QStringLiteral("scale"), 0.25},
         {QStringLiteral("width"), 1.5f},
         {QStringLiteral("state"), QByteArray("\x01\x02\xff", 3)}},
        {{QString(), QString()}},
    };
}

bool collect(const QString& outDir, const QString& schemesFile, const QStringList& runs, Options* catalogue)
{
    auto seed = [&](const QString& target, const QString& name, const QByteArray& bytes) {
        return writeBytes(QDir(outDir).filePath(target + QLatin1Char('/') + name), bytes);
    };
    bool ok = true;

    // The bundled schemes, whole and with their texts cut, and the old layout.
    const QList<Scheme*> schemes = Scheme::loadAll(schemesFile, catalogue);
    for (Scheme* scheme : schemes)
        cutTexts(*scheme);
    const QString cut = QDir(outDir).filePath(QStringLiteral("schemes/bundled-cut.dat"));
    QDir().mkpath(QFileInfo(cut).absolutePath());
    ok = ok && !schemes.isEmpty()
         && Scheme::writeDatabase(cut, {schemes.cbegin(), schemes.cend()}, nullptr) == Scheme::WriteResult::Written;
    qDeleteAll(schemes);
    ok = ok && seed(QStringLiteral("schemes"), QStringLiteral("version-2.dat"), versionTwoDatabase());

    const QList<SettingsStore::Pairs> settings = settingsSeeds();
    for (int i = 0; i < settings.size(); ++i) {
        const QByteArray bytes = QByteArray::fromBase64(SettingsStore::encode(settings.at(i)).toLatin1());
        ok = ok && seed(QStringLiteral("settings"), QStringLiteral("pairs-%1").arg(i), bytes);
    }

    for (const QString& run : runs) {
        const QString tag = QFileInfo(run).fileName();
        const QDir dir(run);
        Project project(catalogue);
        if (!project.load(dir.filePath(QStringLiteral("project.tarvel")))) {
            std::fprintf(stderr, "cannot load the project of %s\n", qPrintable(run));
            return false;
        }
        // The project with its texts cut and a few settings, as the graph
        // control panel leaves them.
        cutTexts(project);
        ok = ok && project.setSettings(settings.at(1));
        const QString projectSeed = QDir(outDir).filePath(QStringLiteral("project/%1.tarvel").arg(tag));
        QDir().mkpath(QFileInfo(projectSeed).absolutePath());
        ok = ok && project.save(projectSeed);
        // A project file is a schemes database too.
        ok = ok && seed(QStringLiteral("schemes"), tag + QStringLiteral(".tarvel"), readBytes(projectSeed));

        for (const QString& name : project.extraNames()) {
            if (!name.startsWith(QLatin1String("PROFILES_DATA")))
                continue;
            const QByteArray bytes = QByteArray::fromBase64(project.getExtra(name)->text.toLatin1());
            ok = ok && seed(QStringLiteral("profiles"), tag + QLatin1Char('-') + name, QByteArray(1, '\0') + bytes);
        }
        const QByteArray computation = readBytes(dir.filePath(QStringLiteral("fort.18")));
        const QByteArray data = readBytes(dir.filePath(QStringLiteral("fort.29")));
        ok = ok && !computation.isEmpty() && !data.isEmpty();
        // Time step 2 of the computation text; output data of 18-byte columns
        // (1 + 17 % 40), its first poll at half the file.
        ok = ok
             && seed(QStringLiteral("profiles"), tag + QStringLiteral("-create"), QByteArray("\x01\x02") + computation);
        ok = ok && seed(QStringLiteral("output"), tag + QStringLiteral("-fort.29"), QByteArray("\x11\x80") + data);
    }
    return ok;
}

void quiet(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    qInstallMessageHandler(quiet);
    const QStringList args = app.arguments().mid(1);
    if (!Translation::instance().load(QStringLiteral(":/translate.xml"))) {
        std::fprintf(stderr, "the translation table does not load\n");
        return 1;
    }
    Options catalogue;
    if (!catalogue.loadBuiltIn()) {
        std::fprintf(stderr, "the built-in catalogue does not load\n");
        return 1;
    }
    if (args.size() == 4 && args.at(0) == QLatin1String("shorten"))
        return shorten(args.at(1), args.at(2), args.at(3), &catalogue);
    if (args.size() >= 4 && args.at(0) == QLatin1String("collect"))
        return collect(args.at(1), args.at(2), args.mid(3), &catalogue) ? 0 : 1;
    std::fprintf(stderr, "usage: fuzzseeds shorten SCHEMES.dat OUT.dat NT\n"
                         "       fuzzseeds collect OUTDIR SCHEMES.dat RUNDIR...\n");
    return 2;
}

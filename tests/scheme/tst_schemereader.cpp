// Reading the schemes database: the file header, version-2 files, damaged
// records of every kind, files cut short anywhere, and counts that claim far
// more records than the file holds.

#include "filebytes.h"
#include "require.h"
#include "messagecapture.h"
#include "recordwriter.h"
#include "testcatalogue.h"

#include "options.h"
#include "scheme.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <cstring>
#include <sys/resource.h>

#if defined(__SANITIZE_ADDRESS__)
#define TARVEL_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TARVEL_UNDER_ASAN 1
#endif
#endif

namespace {

QStringList names(const QList<Scheme*>& schemes)
{
    QStringList result;
    for (const Scheme* scheme : schemes)
        result << scheme->name();
    return result;
}

// The schemes of a file, read and discarded; with the reports it gave.
QStringList loadNames(const QString& file, Options* catalogue, QStringList* problems = nullptr)
{
    MessageCapture messages;
    const QList<Scheme*> schemes = Scheme::loadAll(file, catalogue);
    const QStringList result = names(schemes);
    qDeleteAll(schemes);
    if (problems)
        *problems = messages.problems();
    return result;
}

QString describeTree(const QList<SchemeNode*>& nodes)
{
    QStringList parts;
    for (const SchemeNode* node : nodes) {
        QString part = QString::number(node->id);
        if (!node->isGroup)
            part += QLatin1Char(':') + (node->option ? node->option->name : QStringLiteral("null"));
        if (!node->children.isEmpty())
            part += QLatin1Char('[') + describeTree(node->children) + QLatin1Char(']');
        parts << part;
    }
    return parts.join(QLatin1Char(' '));
}

// A scheme of some size: the option groups of a real one and long texts.
void fillScheme(Scheme& scheme, const QString& name, int groups, int textSize)
{
    require(scheme.setNameAndDescription(
                name, QStringLiteral("%1: %2 groups, texts of %3 characters – ∑").arg(name).arg(groups).arg(textSize)),
            "setNameAndDescription");
    for (const char* species : {"CH4", "O2", "N2", "H2O", "CO2"})
        scheme.addSpecies(QString::fromLatin1(species));
    SchemeNode* state = scheme.addGroup(QStringLiteral("Initial state"));
    for (const char* option : {"BC_T", "BC_P", "BC_CH4", "BC_O2", "BC_N2"})
        scheme.addOption(scheme.findOption(QString::fromLatin1(option)), state)->value = QStringLiteral("1.5");
    SchemeNode* previous = nullptr;
    for (int i = 0; i < groups; ++i)
        previous = scheme.addGroup(QStringLiteral("Group %1").arg(i), i % 3 ? previous : nullptr);
    scheme.addOption(scheme.options()->findOption(QStringLiteral("TEND")), previous)->value = QStringLiteral("2");
    QString text;
    while (text.size() < textSize)
        text += QStringLiteral("  1.0000E+00  2.5000E-03  ÄÖÜ %1\n").arg(text.size());
    require(scheme.setExtraData(QStringLiteral("MECHANISM"), text.left(textSize)), "setExtraData");
    scheme.addExtra(QStringLiteral("OUTPUT_DATA"), text.left(textSize / 2));
}

} // namespace

class TestSchemeReader : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void fileHeader();
    void versionTwoFile();
    void damagedRecords();
    void damagedSchemeHeaders();
    void truncatedSmallFileAtEveryByte();
    void truncatedBigFile();
    void countsBeyondTheData();

private:
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QString write(const QString& name, const QByteArray& bytes) const
    {
        FileBytes::write(path(name), bytes);
        return path(name);
    }

    QTemporaryDir m_dir;
    std::unique_ptr<Options> m_catalogue;
};

void TestSchemeReader::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_catalogue = TestCatalogue::load();
}

void TestSchemeReader::fileHeader()
{
    MessageCapture messages;
    const QString missing = path(QStringLiteral("missing.dat"));
    QVERIFY(Scheme::loadAll(QStringLiteral("  ") + missing + QStringLiteral(" "), m_catalogue.get()).isEmpty());
    QCOMPARE(messages.criticals(), QStringList{"Scheme::loadAll(). Cannot read file \"" + missing + "\" "});
    QVERIFY(messages.debugs().isEmpty());

    // No schemes at all.
    messages.clear();
    const QString empty = write(QStringLiteral("empty.dat"), RecordWriter().header(3, 0).bytes());
    QVERIFY(Scheme::loadAll(empty, m_catalogue.get()).isEmpty());
    QCOMPARE(messages.debugs(),
             (QStringList{"Opened Schemes File ver.  3 :  \"" + empty + "\" ", "No valid schemes found. "}));
    QVERIFY(messages.problems().isEmpty());

    // The marker is compared trimmed.
    messages.clear();
    RecordWriter padded;
    padded.string(QStringLiteral(" VORDANT  ")).i32(3).i32(1).scheme(QStringLiteral("P"), QString(), 0, 0, 0);
    const QString paddedFile = write(QStringLiteral("padded.dat"), padded.bytes());
    const QList<Scheme*> schemes = Scheme::loadAll(paddedFile, m_catalogue.get());
    QCOMPARE(names(schemes), QStringList{"P"});
    qDeleteAll(schemes);
    QCOMPARE(messages.debugs(), (QStringList{"Opened Schemes File ver.  3 :  \"" + paddedFile + "\" ",
                                             "Scheme \"P\" has been loaded: 0 nodes, 0 species, 3 extras. ",
                                             "Successfully loaded 1 schemes "}));
    QVERIFY(messages.problems().isEmpty());

    // Refused: the reports, and nothing read.
    const QByteArray body = RecordWriter().scheme(QStringLiteral("X"), QString(), 0, 0, 0).bytes();
    const struct
    {
        QByteArray bytes;
        QStringList criticals;
        QStringList lastDebugs;
    } refused[] = {
        {RecordWriter().string(QStringLiteral("VORDAN")).i32(3).i32(1).raw(body).bytes(),
         {"Cannot load Schemes File: File is corrupt or wrong. "},
         {}},
        {RecordWriter().header(4, 1).raw(body).bytes(),
         {"Cannot load Schemes File: file version 4 is higher than the programme supports 3 "},
         {}},
        {RecordWriter().header(0xFFFFFFFEu, 1).raw(body).bytes(),
         {"Cannot load Schemes File: file version 4294967294 is higher than the programme supports 3 "},
         {}},
        {RecordWriter().header(1, 1).raw(body).bytes(),
         {"Cannot load data file: uknown file version 1 "},
         {"No valid schemes found. "}},
    };
    for (const auto& row : refused) {
        const QString file = write(QStringLiteral("refused.dat"), row.bytes);
        messages.clear();
        QVERIFY(Scheme::loadAll(file, m_catalogue.get()).isEmpty());
        QCOMPARE(messages.criticals(), row.criticals);
        QVERIFY(messages.warnings().isEmpty());
        QStringList debugs = messages.debugs();
        QVERIFY(!debugs.isEmpty());
        QVERIFY(debugs.takeFirst().startsWith(QStringLiteral("Opened Schemes File ver. ")));
        QCOMPARE(debugs, row.lastDebugs);
    }
}

void TestSchemeReader::versionTwoFile()
{
    RecordWriter old;
    old.header(2, 2);
    old.scheme(QStringLiteral(" OLD "), QStringLiteral(" from version 2 "), 2, 2, 2);
    old.species(QStringLiteral("CH4")).species(QStringLiteral("O2"));
    old.node(1, QStringLiteral("Conditions"), true, 1, QString(), QString(), true);
    old.node(2, QString(), false, 1, QStringLiteral("TEND"), QStringLiteral("5.0E-02"), true);
    old.extra2(QStringLiteral("mechanism"), QStringLiteral("ELEMENTS\nC H O\nEND\n"));
    old.extra2(QStringLiteral("Profiles"), QStringLiteral("p1"));
    old.scheme(QStringLiteral("SECOND"), QString(), 0, 1, 0);
    old.node(5, QStringLiteral("Only"), true, 0, QString(), QString(), false);
    const QString file = write(QStringLiteral("version2.dat"), old.bytes());

    MessageCapture messages;
    QList<Scheme*> schemes = Scheme::loadAll(file, m_catalogue.get());
    QVERIFY(messages.problems().isEmpty());
    QCOMPARE(names(schemes), (QStringList{"OLD", "SECOND"}));
    Scheme* scheme = schemes.first();
    QCOMPARE(scheme->description(), QStringLiteral("from version 2"));
    QVERIFY(scheme->isSaved());
    QCOMPARE(scheme->species(), (QStringList{"CH4", "O2"}));
    QCOMPARE(describeTree(scheme->nodes()), QStringLiteral("1[2:TEND]"));
    QCOMPARE(scheme->optionValue(QStringLiteral("TEND")), QStringLiteral("5.0E-02"));
    QVERIFY(scheme->nodes().first()->enabled);
    // The short layout updates only the text of the catalogue's extra.
    QCOMPARE(scheme->extraNames(), (QStringList{"CUSTOM_INP", "MECHANISM", "THERM", "PROFILES"}));
    const ExtraData* mechanism = scheme->getExtra(QStringLiteral("MECHANISM"));
    QCOMPARE(mechanism->text, QStringLiteral("ELEMENTS\nC H O\nEND\n"));
    QCOMPARE(mechanism->detail, QStringLiteral("Mechanism"));
    QCOMPARE(mechanism->fileName, QStringLiteral("fort.4"));
    QCOMPARE(mechanism->flags, quint16(3));
    const ExtraData* profiles = scheme->getExtra(QStringLiteral("PROFILES"));
    QCOMPARE(profiles->text, QStringLiteral("p1"));
    QVERIFY(profiles->detail.isEmpty());
    QVERIFY(profiles->fileName.isEmpty());
    QCOMPARE(profiles->flags, quint16(0));
    QCOMPARE(describeTree(schemes[1]->nodes()), QStringLiteral("5"));
    QVERIFY(!schemes[1]->nodes().first()->enabled);

    // Saving writes the whole file as version 3, with the same content.
    QVERIFY(scheme->save(file));
    const QByteArray saved = FileBytes::read(file);
    QCOMPARE(saved.mid(18, 8).toHex(), QByteArray("0000000300000002"));
    QList<Scheme*> again = Scheme::loadAll(file, m_catalogue.get());
    QCOMPARE(names(again), (QStringList{"OLD", "SECOND"}));
    QCOMPARE(again[0]->getExtra(QStringLiteral("MECHANISM"))->text, mechanism->text);
    QCOMPARE(again[0]->getExtra(QStringLiteral("MECHANISM"))->detail, QStringLiteral("Mechanism"));
    QCOMPARE(again[0]->getExtra(QStringLiteral("PROFILES"))->text, QStringLiteral("p1"));
    QCOMPARE(describeTree(again[0]->nodes()), QStringLiteral("1[2:TEND]"));
    QCOMPARE(describeTree(again[1]->nodes()), QStringLiteral("5"));
    QVERIFY(messages.problems().isEmpty());
    qDeleteAll(again);
    qDeleteAll(schemes);
}

void TestSchemeReader::damagedRecords()
{
    RecordWriter file;
    file.header(3, 2);
    file.scheme(QStringLiteral("DAMAGED"), QStringLiteral("every kind"), 4, 15, 5);
    file.species(QStringLiteral("H2"));
    file.species(QStringLiteral("O2"), 1);
    file.species(QString());
    file.species(QStringLiteral("Xy"));
    // A group keeps no option, even when its record names one.
    file.node(1, QStringLiteral("Top"), true, 1, QStringLiteral("NT"), QString(), true);
    file.node(2, QString(), false, 1, QStringLiteral("TEND"), QStringLiteral("1"), true);
    // A damaged group takes its whole subtree with it.
    file.node(3, QStringLiteral("Broken"), true, 1, QString(), QString(), true, 0x100);
    file.node(4, QString(), false, 3, QStringLiteral("NT"), QString(), false);
    file.node(5, QStringLiteral("Lost"), true, 3, QString(), QString(), true);
    file.node(6, QString(), false, 5, QStringLiteral("MOLE"), QString(), false);
    file.node(7, QString(), false, 1, QStringLiteral("NOSUCH"), QString(), false);
    // Only a group can be a parent.
    file.node(8, QString(), false, 2, QStringLiteral("STEP"), QString(), false);
    // Ids and catalogue options are taken once.
    file.node(2, QStringLiteral("Again"), true, 0, QString(), QString(), true);
    file.node(9, QString(), false, 0, QStringLiteral("tend"), QString(), false);
    file.node(10, QStringLiteral("Zero"), true, 0, QString(), QString(), true);
    file.node(11, QString(), false, 10, QStringLiteral("BC_H2"), QStringLiteral("2.0"), true);
    file.node(12, QString(), false, 10, QStringLiteral("BC_O2"), QString(), true);
    file.node(13, QStringLiteral("Neg"), true, -5, QString(), QString(), true);
    file.node(14, QString(), false, 10, QStringLiteral("NT"), QStringLiteral("20"), false);
    // Version-3 records replace the catalogue's entries whole.
    file.extra3(QStringLiteral(" mechanism "), QStringLiteral("Mech2"), QStringLiteral("m.inp"), 1,
                QStringLiteral("T"));
    file.extra3(QStringLiteral("BAD"), QString(), QString(), 0, QStringLiteral("bad"), -1, 7);
    file.extra3(QStringLiteral("LEN"), QString(), QString(), 0, QStringLiteral("abc"), 5);
    file.extra3(QStringLiteral("  "), QString(), QString(), 0, QStringLiteral("blank"));
    file.extra3(QStringLiteral(" profiles "), QString(), QString(), 0xFFFF, QStringLiteral("p"));
    file.scheme(QStringLiteral("AFTER"), QString(), 1, 0, 0);
    file.species(QStringLiteral("N2"));
    const QString path = write(QStringLiteral("damaged.dat"), file.bytes());

    MessageCapture messages;
    QList<Scheme*> schemes = Scheme::loadAll(path, m_catalogue.get());
    const QString node = QStringLiteral("W: Scheme::_loadNodes(). Cannot load Node # ");
    const QString extra = QStringLiteral("W: Scheme::_loadExtras(). Cannot load an Extra Data, file is corrupt. ");
    QCOMPARE(messages.problems(),
             (QStringList{"W: Scheme::_loadAllpecies(). Cannot load Species, file is corrupt. ",
                          "W: Scheme::_loadAllpecies(). Cannot load Species, file is corrupt. ",
                          "W: \"Species \"Xy\" includes unknown elements\" ",
                          "W: Scheme::_loadNodes(). Cannot Load Node, file is corrupt. ",
                          node + "4 , \"\" . It refers to non-existing parent # 3 . Skipped. ",
                          node + "5 , \"Lost\" . It refers to non-existing parent # 3 . Skipped. ",
                          node + "6 , \"\" . It refers to non-existing parent # 5 . Skipped. ",
                          node + "7 , \"\" . Uknown Option \"NOSUCH\" ",
                          node + "8 , \"\" . It refers to non-existing parent # 2 . Skipped. ",
                          node + "2 , \"Again\" . Its id is not unique. Skipped. ",
                          node + "9 , \"\" . The Option \"tend\" is already in use. Skipped. ",
                          node + "12 , \"\" . Uknown Option \"BC_O2\" ",
                          node + "13 , \"Neg\" . It refers to non-existing parent # 4294967291 . Skipped. ",
                          extra, extra, extra}));
    QCOMPARE(names(schemes), (QStringList{"DAMAGED", "AFTER"}));
    Scheme* damaged = schemes.first();
    QCOMPARE(damaged->species(), QStringList{"H2"});
    QCOMPARE(describeTree(damaged->nodes()), QStringLiteral("1[2:TEND] 10[11:BC_H2 14:NT]"));
    QVERIFY(!damaged->nodes().first()->option);
    QCOMPARE(damaged->nodeById(11)->option, damaged->findOption(QStringLiteral("BC_H2")));
    QCOMPARE(damaged->nodeById(11)->value, QStringLiteral("2.0"));
    QCOMPARE(damaged->extraNames(), (QStringList{"CUSTOM_INP", "MECHANISM", "THERM", "PROFILES"}));
    const ExtraData* mechanism = damaged->getExtra(QStringLiteral("MECHANISM"));
    QCOMPARE(mechanism->name, QStringLiteral("MECHANISM"));
    QCOMPARE(mechanism->detail, QStringLiteral("Mech2"));
    QCOMPARE(mechanism->fileName, QStringLiteral("m.inp"));
    QCOMPARE(mechanism->flags, quint16(1));
    QCOMPARE(mechanism->text, QStringLiteral("T"));
    QCOMPARE(damaged->getExtra(QStringLiteral("PROFILES"))->flags, quint16(0xFFFF));
    QVERIFY(damaged->isSaved());
    QCOMPARE(schemes[1]->species(), QStringList{"N2"});

    // The next write drops what was damaged: read again, nothing to report.
    QVERIFY(schemes[1]->save(path));
    qDeleteAll(schemes);
    QStringList problems;
    QCOMPARE(loadNames(path, m_catalogue.get(), &problems), (QStringList{"DAMAGED", "AFTER"}));
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
}

void TestSchemeReader::damagedSchemeHeaders()
{
    // A damaged header without records: the next header follows at once.
    RecordWriter bodiless;
    bodiless.header(3, 3);
    bodiless.scheme(QStringLiteral("FIRST"), QString(), 0, 0, 0, 1);
    bodiless.scheme(QStringLiteral("GOOD"), QStringLiteral("no extras"), 0, 1, 0);
    bodiless.node(1, QStringLiteral("G"), true, 1, QString(), QString(), true);
    bodiless.scheme(QStringLiteral("THIRD"), QString(), 0, 0, 0, 0x10000);
    const QString file = write(QStringLiteral("headers.dat"), bodiless.bytes());
    MessageCapture messages;
    QList<Scheme*> schemes = Scheme::loadAll(file, m_catalogue.get());
    QCOMPARE(messages.problems(), (QStringList{"W: Cannot Load scheme # 0 : file is corrupt. ",
                                               "W: Cannot Load scheme # 2 : file is corrupt. "}));
    QCOMPARE(names(schemes), QStringList{"GOOD"});
    // A scheme read starts with the catalogue's files: none is missing.
    Scheme* good = schemes.first();
    QCOMPARE(good->extraNames(), (QStringList{"CUSTOM_INP", "MECHANISM", "THERM"}));
    QVERIFY(good->isSaved());
    qDeleteAll(schemes);

    // With records, the damaged header's body is read as the next header.
    RecordWriter withBody;
    withBody.header(3, 2);
    withBody.scheme(QStringLiteral("BROKEN"), QString(), 1, 0, 0, 1);
    withBody.species(QStringLiteral("H2"));
    withBody.scheme(QStringLiteral("NEXT"), QString(), 0, 0, 0);
    messages.clear();
    const QString file2 = write(QStringLiteral("headers2.dat"), withBody.bytes());
    schemes = Scheme::loadAll(file2, m_catalogue.get());
    QVERIFY(schemes.isEmpty());
    QCOMPARE(messages.problems(), (QStringList{"W: Cannot Load scheme # 0 : file is corrupt. ",
                                               "W: Cannot Load scheme # 1 : file is corrupt. "}));
}

void TestSchemeReader::truncatedSmallFileAtEveryByte()
{
    const QString whole = path(QStringLiteral("two.dat"));
    const QString first = path(QStringLiteral("one.dat"));
    {
        MessageCapture quiet;
        Scheme a(m_catalogue.get());
        fillScheme(a, QStringLiteral("A"), 4, 40);
        Scheme b(m_catalogue.get());
        fillScheme(b, QStringLiteral("B"), 2, 10);
        QVERIFY(a.save(whole));
        QVERIFY(a.save(first));
        QVERIFY(b.save(whole));
    }
    const QByteArray bytes = FileBytes::read(whole);
    // The first scheme's records end where the one-scheme file ends: only
    // the count of the header differs.
    const qsizetype firstEnd = FileBytes::read(first).size();
    QVERIFY(firstEnd > 200 && firstEnd < bytes.size() - 200);

    const QString cut = path(QStringLiteral("cut.dat"));
    for (qsizetype length = 0; length < bytes.size(); ++length) {
        FileBytes::write(cut, bytes.left(length));
        QStringList problems;
        const QStringList loaded = loadNames(cut, m_catalogue.get(), &problems);
        const QStringList expected = length >= firstEnd ? QStringList{"A"} : QStringList();
        QVERIFY2(loaded == expected, qPrintable(QStringLiteral("cut at %1: %2").arg(length).arg(loaded.join(','))));
        // Cut inside the header it is not a database; later, the reader
        // reports the record the data ended in.
        QVERIFY2(!problems.isEmpty(), qPrintable(QStringLiteral("cut at %1 reported nothing").arg(length)));
        if (length >= 26) {
            QVERIFY2(problems.last().startsWith(QStringLiteral("W: ")) && problems.last().contains("corrupt"),
                     qPrintable(QStringLiteral("cut at %1: %2").arg(length).arg(problems.last())));
        }
    }
    QCOMPARE(loadNames(whole, m_catalogue.get()), (QStringList{"A", "B"}));
}

void TestSchemeReader::truncatedBigFile()
{
    const QString file = path(QStringLiteral("big.dat"));
    QList<qsizetype> ends;
    {
        MessageCapture quiet;
        for (int i = 0; i < 4; ++i) {
            Scheme scheme(m_catalogue.get());
            fillScheme(scheme, QStringLiteral("BIG%1").arg(i), 150 + 50 * i, 40000 + 10000 * i);
            QVERIFY(scheme.save(file));
            ends << QFileInfo(file).size();
        }
    }
    const QByteArray bytes = FileBytes::read(file);
    QVERIFY(bytes.size() > 300000);

    QList<qsizetype> cuts;
    for (int i = 0; i < 300; ++i)
        cuts << bytes.size() * i / 300 + i % 7;
    for (const qsizetype end : std::as_const(ends)) {
        cuts << end - 1 << end;
        if (end < bytes.size())
            cuts << end + 1;
    }
    const QString cut = path(QStringLiteral("bigcut.dat"));
    for (const qsizetype length : std::as_const(cuts)) {
        FileBytes::write(cut, bytes.left(length));
        QStringList expected;
        for (int i = 0; i < ends.size() && ends[i] <= length; ++i)
            expected << QStringLiteral("BIG%1").arg(i);
        QStringList problems;
        const QStringList loaded = loadNames(cut, m_catalogue.get(), &problems);
        QVERIFY2(loaded == expected, qPrintable(QStringLiteral("cut at %1: %2").arg(length).arg(loaded.join(','))));
        QVERIFY2(length == bytes.size() || !problems.isEmpty(),
                 qPrintable(QStringLiteral("cut at %1 reported nothing").arg(length)));
    }
}

void TestSchemeReader::countsBeyondTheData()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QProcess child;
#ifdef TARVEL_UNDER_ASAN
    // AddressSanitizer reserves terabytes of shadow memory, so the child
    // cannot cap its address space; its allocator refuses the same sizes.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QString asan = environment.value(QStringLiteral("ASAN_OPTIONS"));
    environment.insert(QStringLiteral("ASAN_OPTIONS"),
                       asan + (asan.isEmpty() ? "" : ":") + QStringLiteral("max_allocation_size_mb=1024"));
    child.setProcessEnvironment(environment);
#endif
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--counts-beyond-data"), dir.path()});
    // Looping over the counts would take hours; the reader needs moments.
    QVERIFY(child.waitForFinished(60000));
    const QString errors = QString::fromUtf8(child.readAllStandardError());
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, qPrintable(errors));
    const QStringList report = QString::fromUtf8(child.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    const QString species = QStringLiteral("W: Scheme::_loadAllpecies(). Cannot load Species, file is corrupt. ");
    const QString extra = QStringLiteral("W: Scheme::_loadExtras(). Cannot load an Extra Data, file is corrupt. ");
    QCOMPARE(report, (QStringList{"scheme count 0x7fffffff: ONE",
                                  "  W: Cannot Load scheme # 1 : file is corrupt. ",
                                  "species count 0x7fffffff:",
                                  "  " + species,
                                  "node count 0x7fffffff:",
                                  "  W: Scheme::_loadNodes(). Cannot Load Node, file is corrupt. ",
                                  "extra count 0x7fffffff:",
                                  "  " + extra,
                                  "negative counts: NEG ONE",
                                  "huge marker:",
                                  "  C: Cannot load Schemes File: File is corrupt or wrong. ",
                                  "huge name:",
                                  "  W: Cannot Load scheme # 0 : file is corrupt. ",
                                  "odd string length:",
                                  "  W: Cannot Load scheme # 0 : file is corrupt. ",
                                  "huge extra text:",
                                  "  " + extra,
                                  "extra text cut short:",
                                  "  " + extra,
                                  "odd extra text:",
                                  "  " + extra}));
}

namespace {

// Run as a child, in 1 GiB of address space: counts of 0x7FFFFFFF records
// must neither be looped over nor allocated for.
int countsBeyondData(const QString& dir)
{
#ifndef TARVEL_UNDER_ASAN
    const rlim_t bytes = rlim_t(1) << 30;
    const rlimit limit{bytes, bytes};
    if (setrlimit(RLIMIT_AS, &limit) != 0) {
        std::perror("setrlimit");
        return 3;
    }
#endif
    std::unique_ptr<Options> catalogue = TestCatalogue::load();
    QTextStream out(stdout);
    const QString file = QDir(dir).filePath(QStringLiteral("counts.dat"));
    auto run = [&](const char* title, const QByteArray& content) {
        FileBytes::write(file, content);
        MessageCapture messages;
        const QList<Scheme*> schemes = Scheme::loadAll(file, catalogue.get());
        out << title << ':';
        for (const Scheme* scheme : schemes)
            out << ' ' << scheme->name();
        out << '\n';
        qDeleteAll(schemes);
        // The last report says where reading stopped.
        const QStringList problems = messages.problems();
        if (!problems.isEmpty())
            out << "  " << problems.last() << '\n';
        out.flush();
    };
    const quint32 huge = 0x7FFFFFFF;
    auto oneScheme = [](RecordWriter& writer, const QString& name) {
        writer.scheme(name, QString(), 1, 1, 1);
        writer.species(QStringLiteral("H2"));
        writer.node(1, QStringLiteral("G"), true, 1, QString(), QString(), true);
        writer.extra3(QStringLiteral("X"), QString(), QString(), 0, QStringLiteral("x"));
    };

    RecordWriter manySchemes;
    manySchemes.header(3, huge);
    oneScheme(manySchemes, QStringLiteral("ONE"));
    run("scheme count 0x7fffffff", manySchemes.bytes());

    // The header's sum agrees with each claimed count, so it is believed.
    const struct
    {
        const char* title;
        qint32 species, nodes, extras;
    } counts[] = {
        {"species count 0x7fffffff", qint32(huge), 1, 1},
        {"node count 0x7fffffff", 1, qint32(huge), 1},
        {"extra count 0x7fffffff", 1, 1, qint32(huge)},
    };
    for (const auto& row : counts) {
        RecordWriter writer;
        writer.header(3, 1).scheme(QStringLiteral("MANY"), QString(), row.species, row.nodes, row.extras);
        writer.species(QStringLiteral("H2"));
        writer.node(1, QStringLiteral("G"), true, 1, QString(), QString(), true);
        writer.extra3(QStringLiteral("X"), QString(), QString(), 0, QStringLiteral("x"));
        run(row.title, writer.bytes());
    }

    // Negative counts read no records of that kind.
    RecordWriter negative;
    negative.header(3, 2).scheme(QStringLiteral("NEG"), QString(), -1, -1, -1);
    oneScheme(negative, QStringLiteral("ONE"));
    run("negative counts", negative.bytes());

    // String lengths that promise gigabytes.
    run("huge marker", RecordWriter().i32(0x7FFFFFFE).string(QStringLiteral("VORDANT")).bytes());
    RecordWriter hugeName;
    hugeName.header(3, 1).i32(0xFFFFFFF0u).string(QStringLiteral("a few bytes"));
    run("huge name", hugeName.bytes());
    RecordWriter odd;
    odd.header(3, 1).i32(7).raw("abcdefgh");
    run("odd string length", odd.bytes());
    // An extra's text is read into memory of its full length only when the
    // file holds that many bytes; one cut short after megabytes still ends
    // the scheme.
    auto extraText = [&](const char* title, quint32 length, const QByteArray& body) {
        RecordWriter writer;
        writer.header(3, 1).scheme(QStringLiteral("TEXT"), QString(), 0, 0, 1);
        writer.string(QStringLiteral("X")).string(QString()).string(QString()).i16(0).i32(length / 2);
        run(title, writer.i32(length).raw(body).bytes());
    };
    extraText("huge extra text", 0x7FFFFFFE, QByteArray(64, 'a'));
    extraText("extra text cut short", 16u << 20, QByteArray(6 << 20, 'a'));
    extraText("odd extra text", 7, QByteArray(64, 'a'));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc > 2 && std::strcmp(argv[1], "--counts-beyond-data") == 0)
        return countsBeyondData(QString::fromLocal8Bit(argv[2]));
    TestSchemeReader test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_schemereader.moc"

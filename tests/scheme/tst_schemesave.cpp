// Writing the schemes database: the bytes of a written file, load and save
// giving back what was there, the name rules of load, save and delete, and a
// save or delete that fails half-way leaving the old file as it was.

#include "filebytes.h"
#include "require.h"
#include "messagecapture.h"
#include "testcatalogue.h"

#include "options.h"
#include "scheme.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <sys/resource.h>

namespace {

// Writes beyond this many bytes fail in the child that plays a full disk.
constexpr rlim_t kFileSizeLimit = 64 * 1024;

QStringList names(const QList<Scheme*>& schemes)
{
    QStringList result;
    for (const Scheme* scheme : schemes)
        result << scheme->name();
    return result;
}

QStringList storedNames(const QString& file, Options* catalogue)
{
    MessageCapture quiet;
    const QList<Scheme*> schemes = Scheme::loadAll(file, catalogue);
    const QStringList result = names(schemes);
    qDeleteAll(schemes);
    return result;
}

// A scheme with a little of everything: species and their conditions,
// nested groups, catalogue options, texts beyond Latin-1, hidden extras.
void fillScheme(Scheme& scheme, const QString& name, int textSize)
{
    Options* catalogue = scheme.options();
    require(scheme.setNameAndDescription(name, QStringLiteral("Ignition – %1 °C, ümlauts and 漢字").arg(name)),
            "setNameAndDescription");
    for (const char* species : {"H2", "O2", "N2", "AR"})
        scheme.addSpecies(QString::fromLatin1(species));
    SchemeNode* reactor = scheme.addGroup(QStringLiteral("Reactor"));
    scheme.addOption(catalogue->findOption(QStringLiteral("VPRO")), reactor)->value = QStringLiteral("on");
    SchemeNode* output = scheme.addGroup(QStringLiteral("Output"), reactor);
    SchemeNode* tend = scheme.addOption(catalogue->findOption(QStringLiteral("TEND")), output);
    tend->value = QStringLiteral("1.0E-03");
    tend->enabled = true;
    scheme.addGroup(QStringLiteral("Empty"), output)->enabled = false;
    SchemeNode* state = scheme.addGroup(QStringLiteral("Initial state"));
    for (const char* option : {"BC_T", "BC_P", "BC_H2", "BC_O2", "BC_N2", "BC_Ar"})
        scheme.addOption(scheme.findOption(QString::fromLatin1(option)), state)->enabled = true;
    require(scheme.setExtraData(QStringLiteral("MECHANISM"), QStringLiteral("ELEMENTS\r\nH O N AR\r\nEND\r\n")),
            "setExtraData");
    QString text;
    for (int i = 0; text.size() < textSize; ++i)
        text += QStringLiteral("%1 Profil ∆t=%2\n").arg(i).arg(i * 0.5);
    scheme.addExtra(QStringLiteral("PROFILES_DATA"), text.left(textSize));
    scheme.addExtra(ExtraData{QStringLiteral("GRAPHS"), QStringLiteral("Graphs"), QString(), QString(), 1});
}

} // namespace

class TestSchemeSave : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void writtenBytes();
    void loadAndSaveGiveBackTheSameBytes();
    void manySpeciesRoundTrip();
    void saveIntoMissingFile();
    void nameRulesOfLoadSaveAndDelete();
    void deleteWritesTheRestOnce();
    void requiredNamesAndFiles();
    void saveNeverReplacesUnreadableFiles_data();
    void saveNeverReplacesUnreadableFiles();
    void interruptedSaveAndDeleteKeepTheOldFile();

private:
    QString path(const QString& name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    std::unique_ptr<Options> m_catalogue;
};

void TestSchemeSave::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_catalogue = TestCatalogue::load();
}

void TestSchemeSave::writtenBytes()
{
    Scheme scheme(m_catalogue.get());
    QVERIFY(scheme.setNameAndDescription(QStringLiteral("Ab"), QStringLiteral("x")));
    for (const QString& name : scheme.extraNames())
        scheme.removeExtra(name);
    QVERIFY(scheme.addExtra(ExtraData{QStringLiteral("NOTE"), QStringLiteral("n"), QStringLiteral("f"),
                                      QStringLiteral("hi"), 3}));
    QVERIFY(scheme.addSpecies(QStringLiteral("H2O")));
    // The largest id there is, so that the node sums wrap past 32 bits.
    auto* group = new SchemeNode;
    group->id = 0x7FFFFFFF;
    group->name = QStringLiteral("G");
    group->isGroup = true;
    group->enabled = true;
    scheme.insertNode(group, nullptr, nullptr, true);
    auto* tend = new SchemeNode;
    tend->id = 2;
    tend->option = m_catalogue->findOption(QStringLiteral("TEND"));
    tend->value = QStringLiteral("1");
    scheme.insertNode(tend, group, nullptr, true);

    const QString file = path(QStringLiteral("bytes.dat"));
    QVERIFY(!scheme.isSaved());
    int changes = 0;
    connect(&scheme, &Scheme::changed, this, [&] { ++changes; });
    {
        MessageCapture messages;
        QVERIFY(scheme.save(file));
        QCOMPARE(changes, 1);
        QCOMPARE(messages.criticals(), QStringList{"Scheme::loadAll(). Cannot read file \"" + file + "\" "});
        QCOMPARE(messages.debugs(),
                 QStringList{"Scheme Data File \"" + file + "\" has been successfuly written. "});
    }
    QVERIFY(scheme.isSaved());

    const QByteArray expected = QByteArray::fromHex(
        // marker: 14 bytes of UTF-16BE "VORDANT"; version 3; one scheme
        "0000000e 0056 004f 0052 0044 0041 004e 0054"
        "00000003"
        "00000001"
        // header: "Ab", "x", 1 species, 2 nodes, 1 extra;
        // sum 1 + 2 + 1 + (0x41 + 0x62) + 0x78 = 0x11f
        "00000004 0041 0062"
        "00000002 0078"
        "00000001 00000002 00000001"
        "0000011f"
        // species "H2O": 0x48 + 0x32 + 0x4f = 0xc9
        "00000006 0048 0032 004f"
        "000000c9"
        // group #0x7fffffff "G", top level (its own id as parent), no option,
        // no value, enabled: 1 + 0x7fffffff + 1 + 0x7fffffff + 0x47 wraps to 0x47
        "7fffffff"
        "00000002 0047"
        "01"
        "7fffffff"
        "ffffffff"
        "ffffffff"
        "01"
        "00000047"
        // option node #2 under it: no name, "TEND", value "1", disabled:
        // 2 + 0x7fffffff + (0x54 + 0x45 + 0x4e + 0x44) + 0x31 = 0x8000015d
        "00000002"
        "ffffffff"
        "00"
        "7fffffff"
        "00000008 0054 0045 004e 0044"
        "00000002 0031"
        "00"
        "8000015d"
        // extra "NOTE", "n", "f", flags 3, length 2, "hi":
        // 3 + 2 + 0x136 + 0x6e + 0x66 + 0xd1 = 0x2e0
        "00000008 004e 004f 0054 0045"
        "00000002 006e"
        "00000002 0066"
        "0003"
        "00000002"
        "00000004 0068 0069"
        "000002e0");
    QCOMPARE(FileBytes::read(file).toHex(' '), expected.toHex(' '));

    // What was written reads back as it was, and writes the same bytes.
    Scheme loaded(m_catalogue.get());
    MessageCapture messages;
    QVERIFY(loaded.load(QStringLiteral("Ab"), file));
    QVERIFY(loaded.isSaved());
    QCOMPARE(loaded.description(), QStringLiteral("x"));
    QCOMPARE(loaded.species(), QStringList{"H2O"});
    const QList<SchemeNode*> nodes = loaded.allNodes();
    QCOMPARE(nodes.size(), 2);
    QCOMPARE(nodes[0]->id, 0x7FFFFFFF);
    QVERIFY(!nodes[0]->parent);
    QCOMPARE(nodes[1]->parent, nodes[0]);
    QCOMPARE(nodes[1]->option, m_catalogue->findOption(QStringLiteral("TEND")));
    // A stored scheme starts as a new one: with the catalogue's files.
    QCOMPARE(loaded.extraNames(), (QStringList{"CUSTOM_INP", "MECHANISM", "THERM", "NOTE"}));
    QVERIFY(loaded.save(file));
    messages.clear();
    Scheme again(m_catalogue.get());
    QVERIFY(again.load(QStringLiteral("Ab"), file));
    QVERIFY(again.save(file));
    const QByteArray twice = FileBytes::read(file);
    QVERIFY(again.save(file));
    QCOMPARE(FileBytes::read(file), twice);
    QVERIFY(messages.problems().isEmpty());
}

void TestSchemeSave::loadAndSaveGiveBackTheSameBytes()
{
    const QString file = path(QStringLiteral("roundtrip.dat"));
    {
        MessageCapture quiet;
        Scheme alpha(m_catalogue.get());
        fillScheme(alpha, QStringLiteral("Alpha"), 20000);
        QVERIFY(alpha.save(file));
        Scheme beta(m_catalogue.get());
        QVERIFY(beta.setName(QStringLiteral("Beta")));
        QVERIFY(beta.save(file));
        Scheme gamma(m_catalogue.get());
        fillScheme(gamma, QStringLiteral("Gamma"), 100);
        QVERIFY(gamma.save(file));
    }
    const QByteArray original = FileBytes::read(file);
    QCOMPARE(storedNames(file, m_catalogue.get()), (QStringList{"Alpha", "Beta", "Gamma"}));

    MessageCapture messages;
    for (const char* name : {"Alpha", "Beta", "Gamma"}) {
        Scheme scheme(m_catalogue.get());
        QVERIFY(scheme.load(QString::fromLatin1(name), file));
        QVERIFY(scheme.isSaved());
        QVERIFY(scheme.save(file));
        QCOMPARE(FileBytes::read(file), original);
    }
    // Read whole and written whole, too.
    QList<Scheme*> all = Scheme::loadAll(file, m_catalogue.get());
    const QString copy = path(QStringLiteral("roundtrip-copy.dat"));
    QCOMPARE(Scheme::writeDatabase(copy, {all.begin(), all.end()}, nullptr), Scheme::WriteResult::Written);
    qDeleteAll(all);
    QCOMPARE(FileBytes::read(copy), original);
    QVERIFY(messages.problems().isEmpty());
}

void TestSchemeSave::manySpeciesRoundTrip()
{
    // A large mechanism's worth: every species with its boundary condition
    // bound to a node of its own value. Loading it once walked the species
    // list and the tree per record; it took minutes at this size.
    constexpr int kSpecies = 20000;
    const QString file = path(QStringLiteral("many-species.dat"));
    QStringList species;
    {
        MessageCapture quiet;
        Scheme scheme(m_catalogue.get());
        QVERIFY(scheme.setName(QStringLiteral("Many")));
        // Added in an order other than the sorted one.
        for (int i = 0; i < kSpecies; ++i)
            QVERIFY(scheme.addSpecies(QStringLiteral("C%1H%2").arg(1 + i % 200).arg(1 + i / 200)));
        QVERIFY(scheme.addSpecies(QStringLiteral("h2 o")));
        QVERIFY(!scheme.addSpecies(QStringLiteral("H2O")));
        auto* group = new SchemeNode;
        group->id = 1;
        group->name = QStringLiteral("Amounts");
        group->isGroup = true;
        scheme.insertNode(group, nullptr, nullptr, true);
        int id = 1;
        for (const QString& name : scheme.species()) {
            auto* node = new SchemeNode;
            node->id = ++id;
            node->option = scheme.findOption(QStringLiteral("BC_") + name);
            QVERIFY(node->option);
            node->value = QString::number(id);
            scheme.insertNode(node, group, nullptr, true);
        }
        species = scheme.species();
        QVERIFY(std::is_sorted(species.cbegin(), species.cend()));
        QCOMPARE(species.size(), kSpecies + 1);
        QVERIFY(scheme.save(file));
    }

    MessageCapture messages;
    const QList<Scheme*> stored = Scheme::loadAll(file, m_catalogue.get());
    QCOMPARE(stored.size(), 1);
    const Scheme& loaded = *stored.first();
    QCOMPARE(loaded.species(), species);
    QCOMPARE(loaded.conditions().size(), size_t(species.size()));
    QCOMPARE(loaded.indexOfSpecies(QStringLiteral(" h2o ")), species.indexOf(QStringLiteral("H2O")));
    const QList<SchemeNode*> nodes = loaded.allNodes();
    QCOMPARE(nodes.size(), species.size() + 1);
    for (int i = 0; i < species.size(); ++i) {
        const SchemeNode* node = nodes.at(i + 1);
        QCOMPARE(loaded.indexOfSpecies(species.at(i)), i);
        QCOMPARE(node->option, loaded.findOption(QStringLiteral("BC_") + species.at(i)));
        QCOMPARE(node->option->name, QStringLiteral("BC_") + species.at(i));
        QCOMPARE(node->value, QString::number(i + 2));
    }
    qDeleteAll(stored);
    QVERIFY(messages.problems().isEmpty());
}

void TestSchemeSave::saveIntoMissingFile()
{
    MessageCapture messages;
    const QString missingFolder = path(QStringLiteral("no/such/folder/schemes.dat"));
    Scheme scheme(m_catalogue.get());
    QVERIFY(scheme.setName(QStringLiteral("Lonely")));
    QVERIFY(!scheme.save(missingFolder));
    QCOMPARE(messages.criticals(), (QStringList{"Scheme::loadAll(). Cannot read file \"" + missingFolder + "\" ",
                                                "Scheme::save(). Cannot create file \"" + missingFolder
                                                    + "\" : No such file or directory "}));
    QVERIFY(!scheme.isSaved());
    QVERIFY(!QFileInfo::exists(missingFolder));

    // Through the scheme's own file name, the argument being blank.
    const QString fresh = path(QStringLiteral("fresh.dat"));
    QVERIFY(scheme.setFileName(fresh));
    QVERIFY(scheme.save(QStringLiteral("   ")));
    QCOMPARE(storedNames(fresh, m_catalogue.get()), QStringList{"Lonely"});
}

void TestSchemeSave::nameRulesOfLoadSaveAndDelete()
{
    const QString file = path(QStringLiteral("names.dat"));
    {
        MessageCapture quiet;
        for (const char* name : {"Alpha", "Beta", "Gamma"}) {
            Scheme scheme(m_catalogue.get());
            QVERIFY(scheme.setNameAndDescription(QString::fromLatin1(name), QStringLiteral("old")));
            QVERIFY(scheme.save(file));
        }
    }
    MessageCapture messages;

    // load: the exact name only.
    Scheme loaded(m_catalogue.get());
    QVERIFY(!loaded.load(QStringLiteral("beta"), file));
    QCOMPARE(messages.warnings(), QStringList{"Scheme::load(). Scheme \"beta\" is not found in \"" + file + "\" "});
    QVERIFY(loaded.name().isEmpty());
    QVERIFY(loaded.load(QStringLiteral("Beta"), file));
    QCOMPARE(loaded.name(), QStringLiteral("Beta"));
    QCOMPARE(loaded.description(), QStringLiteral("old"));
    QVERIFY(loaded.isSaved());

    // save: any letter case replaces the stored scheme where it stands,
    // and the stored name takes the new case.
    Scheme upper(m_catalogue.get());
    QVERIFY(upper.setNameAndDescription(QStringLiteral("BETA"), QStringLiteral("new")));
    messages.clear();
    QVERIFY(upper.save(file));
    QVERIFY(messages.debugs().contains("Replacing scheme \"BETA\" in \"" + file + "\" "));
    QCOMPARE(storedNames(file, m_catalogue.get()), (QStringList{"Alpha", "BETA", "Gamma"}));
    QVERIFY(!loaded.load(QStringLiteral("Beta"), file));
    QVERIFY(loaded.load(QStringLiteral("BETA"), file));
    QCOMPARE(loaded.description(), QStringLiteral("new"));

    // delete: any letter case; the stored name is reported.
    Scheme doomed(m_catalogue.get());
    QVERIFY(doomed.setName(QStringLiteral("gAMMA")));
    messages.clear();
    QVERIFY(doomed.deleteSchemeFromFile(file));
    QCOMPARE(messages.debugs().filter(QStringLiteral("Removing")),
             QStringList{"Removing scheme \"Gamma\" in \"" + file + "\" "});
    QVERIFY(messages.problems().isEmpty());
    QCOMPARE(storedNames(file, m_catalogue.get()), (QStringList{"Alpha", "BETA"}));

    // A name that is not stored leaves the file untouched.
    const QByteArray before = FileBytes::read(file);
    messages.clear();
    QVERIFY(doomed.deleteSchemeFromFile(file));
    QCOMPARE(messages.warnings(), QStringList{"Scheme::deleteSchemeFromFile(). Scheme \"gAMMA\" doesn't exist in "
                                              "data file \""
                                              + file + "\" "});
    QCOMPARE(FileBytes::read(file), before);
}

void TestSchemeSave::deleteWritesTheRestOnce()
{
    const QString file = path(QStringLiteral("delete.dat"));
    const QString rebuilt = path(QStringLiteral("rebuilt.dat"));
    {
        MessageCapture quiet;
        QStringList order{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")};
        for (const QString& name : order) {
            Scheme scheme(m_catalogue.get());
            fillScheme(scheme, name, 300);
            QVERIFY(scheme.save(file));
            // What deleting B used to do: save the others one by one into a
            // new file. Writing them once must give the same file.
            if (name != QLatin1String("B"))
                QVERIFY(scheme.save(rebuilt));
        }
    }
    MessageCapture messages;
    Scheme b(m_catalogue.get());
    QVERIFY(b.setName(QStringLiteral("b")));
    QVERIFY(b.deleteSchemeFromFile(file));
    QVERIFY(messages.problems().isEmpty());
    QCOMPARE(FileBytes::read(file), FileBytes::read(rebuilt));

    // Deleting the last ones leaves a database without schemes, not nothing.
    for (const char* name : {"A", "C"}) {
        Scheme scheme(m_catalogue.get());
        QVERIFY(scheme.setName(QString::fromLatin1(name)));
        QVERIFY(scheme.setFileName(file));
        QVERIFY(scheme.deleteSchemeFromFile());
    }
    QCOMPARE(FileBytes::read(file).toHex(' '),
             QByteArray::fromHex("0000000e 0056004f005200440041004e0054 00000003 00000000").toHex(' '));
    messages.clear();
    QVERIFY(Scheme::loadAll(file, m_catalogue.get()).isEmpty());
    QCOMPARE(messages.debugs(),
             (QStringList{"Opened Schemes File ver.  3 :  \"" + file + "\" ", "No valid schemes found. "}));
    QVERIFY(messages.problems().isEmpty());
    Scheme next(m_catalogue.get());
    QVERIFY(next.setName(QStringLiteral("Next")));
    QVERIFY(next.save(file));
    QCOMPARE(storedNames(file, m_catalogue.get()), QStringList{"Next"});
}

void TestSchemeSave::requiredNamesAndFiles()
{
    MessageCapture messages;
    Scheme scheme(m_catalogue.get());
    QVERIFY(!scheme.save(path(QStringLiteral("x.dat"))));
    QVERIFY(scheme.setNameAndDescription(QStringLiteral("  "), QString()));
    QVERIFY(!scheme.save(path(QStringLiteral("x.dat"))));
    QVERIFY(scheme.setName(QStringLiteral("Named")));
    QVERIFY(!scheme.save(QStringLiteral("  ")));
    QVERIFY(!scheme.load(QString(), path(QStringLiteral("x.dat"))));
    QVERIFY(!scheme.load(QStringLiteral("Named"), QString()));
    QVERIFY(!scheme.deleteSchemeFromFile(QStringLiteral(" ")));
    QVERIFY(Scheme::loadAll(QStringLiteral("  "), m_catalogue.get()).isEmpty());
    QCOMPARE(messages.criticals(), (QStringList{"Scheme::save(). Scheme name is not specified. ",
                                                "Scheme::save(). Scheme name is not specified. ",
                                                "Scheme::save(). Scheme \"Named\" : Data File is not specified ",
                                                "Scheme::load(). Scheme Name is not specified. ",
                                                "Scheme::load(). Scheme \"Named\"  Data file is not specified. ",
                                                "Scheme::deleteSchemeFromFile(). Data File is not specified ",
                                                "Scheme::loadAll(). Data file is not specified. "}));
    QVERIFY(messages.warnings().isEmpty());
    QVERIFY(!QFileInfo::exists(path(QStringLiteral("x.dat"))));
}

void TestSchemeSave::saveNeverReplacesUnreadableFiles_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("refusal");

    const QByteArray marker = QByteArray::fromHex("0000000e0056004f005200440041004e0054");
    QTest::newRow("empty file") << QByteArray() << QStringList{"Cannot load Schemes File: File is corrupt or wrong. "};
    QTest::newRow("wrong marker") << QByteArray::fromHex("0000000e0056004f005200440041004e0055 00000003 00000000")
                                  << QStringList{"Cannot load Schemes File: File is corrupt or wrong. "};
    QTest::newRow("text file") << QByteArray("name;description\nA;B\n")
                               << QStringList{"Cannot load Schemes File: File is corrupt or wrong. "};
    QTest::newRow("cut in the header") << marker + QByteArray::fromHex("00000003 0000")
                                       << QStringList{"Cannot load Schemes File: File is corrupt or wrong. "};
    QTest::newRow("version 4") << marker + QByteArray::fromHex("00000004 00000000")
                               << QStringList{"Cannot load Schemes File: file version 4 is higher than the programme "
                                              "supports 3 "};
    QTest::newRow("negative version")
        << marker + QByteArray::fromHex("ffffffff 00000000")
        << QStringList{"Cannot load Schemes File: file version 4294967295 is higher than the programme supports 3 "};
    QTest::newRow("version 1") << marker + QByteArray::fromHex("00000001 00000000")
                               << QStringList{"Cannot load data file: uknown file version 1 "};
    QTest::newRow("version 0") << marker + QByteArray::fromHex("00000000 00000001")
                               << QStringList{"Cannot load data file: uknown file version 0 "};
}

void TestSchemeSave::saveNeverReplacesUnreadableFiles()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, refusal);
    const QString file = path(QStringLiteral("refused.dat"));
    FileBytes::write(file, content);

    MessageCapture messages;
    Scheme scheme(m_catalogue.get());
    QVERIFY(scheme.setName(QStringLiteral("Intruder")));
    int changes = 0;
    connect(&scheme, &Scheme::changed, this, [&] { ++changes; });
    QVERIFY(!scheme.save(file));
    QCOMPARE(messages.criticals(),
             refusal + QStringList{"Scheme::save(). Data File \"" + file
                                   + "\" is not a schemes database this programme can read. It has been left "
                                     "unchanged. "});
    QCOMPARE(FileBytes::read(file), content);
    QVERIFY(!scheme.isSaved());
    QCOMPARE(changes, 0);
    // Nor does deleting touch it.
    QVERIFY(scheme.deleteSchemeFromFile(file));
    QCOMPARE(FileBytes::read(file), content);
    QCOMPARE(QDir(m_dir.path()).entryList({QStringLiteral("refused*")}, QDir::Files),
             QStringList{"refused.dat"});
}

void TestSchemeSave::interruptedSaveAndDeleteKeepTheOldFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString small = dir.filePath(QStringLiteral("small.dat"));
    const QString big = dir.filePath(QStringLiteral("big.dat"));
    {
        MessageCapture quiet;
        for (const char* name : {"A", "B"}) {
            Scheme scheme(m_catalogue.get());
            fillScheme(scheme, QString::fromLatin1(name), 500);
            QVERIFY(scheme.save(small));
        }
        for (const char* name : {"B1", "B2"}) {
            Scheme scheme(m_catalogue.get());
            fillScheme(scheme, QString::fromLatin1(name), int(kFileSizeLimit));
            QVERIFY(scheme.save(big));
        }
    }
    const QByteArray smallBefore = FileBytes::read(small);
    const QByteArray bigBefore = FileBytes::read(big);
    QVERIFY(smallBefore.size() < qsizetype(kFileSizeLimit) / 2);
    QVERIFY(bigBefore.size() > 4 * qsizetype(kFileSizeLimit));

    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--interrupted-save"), dir.path()});
    QVERIFY(child.waitForFinished(60000));
    const QString errors = QString::fromUtf8(child.readAllStandardError());
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, qPrintable(errors));
    const QStringList report = QString::fromUtf8(child.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    const QString reason = QStringLiteral("cannot be written. Reason: \"File too large\" ");
    QCOMPARE(report, (QStringList{"new scheme: result 0 saved 0 changed 0",
                                  "loaded scheme: result 0 saved 1 changed 0",
                                  "delete: result 1",
                                  "W: Scheme Data File \"" + small + "\" " + reason,
                                  "W: Scheme Data File \"" + small + "\" " + reason,
                                  "W: Could not save all schemes to \"" + big + "\" "}));
    QCOMPARE(FileBytes::read(small), smallBefore);
    QCOMPARE(FileBytes::read(big), bigBefore);
    // No half-written temporary file is left beside them.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
             (QStringList{"big.dat", "small.dat"}));
}

namespace {

// Run as a child: the file system "fills up" past kFileSizeLimit bytes.
int interruptedSave(const QString& dir)
{
    // Beyond the limit a write then fails with EFBIG instead of the process
    // being killed; being root, a read-only folder would not stop us.
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{kFileSizeLimit, kFileSizeLimit};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) {
        std::perror("setrlimit");
        return 3;
    }
    std::unique_ptr<Options> catalogue = TestCatalogue::load();
    const QString small = QDir(dir).filePath(QStringLiteral("small.dat"));
    const QString big = QDir(dir).filePath(QStringLiteral("big.dat"));
    QTextStream out(stdout);
    MessageCapture messages;

    Scheme fresh(catalogue.get());
    require(fresh.setName(QStringLiteral("Big")), "setName");
    fresh.addExtra(QStringLiteral("DATA"), QString(int(kFileSizeLimit), QLatin1Char('x')));
    int changes = 0;
    QObject::connect(&fresh, &Scheme::changed, [&] { ++changes; });
    bool result = fresh.save(small);
    out << "new scheme: result " << result << " saved " << fresh.isSaved() << " changed " << changes << '\n';

    Scheme loaded(catalogue.get());
    if (!loaded.load(QStringLiteral("A"), small))
        return 4;
    *loaded.pointerToExtra(QStringLiteral("MECHANISM")) = QString(int(kFileSizeLimit), QLatin1Char('y'));
    changes = 0;
    QObject::connect(&loaded, &Scheme::changed, [&] { ++changes; });
    result = loaded.save(small);
    out << "loaded scheme: result " << result << " saved " << loaded.isSaved() << " changed " << changes << '\n';

    Scheme victim(catalogue.get());
    require(victim.setName(QStringLiteral("B1")), "setName");
    out << "delete: result " << victim.deleteSchemeFromFile(big) << '\n';

    for (const QString& problem : messages.problems())
        out << problem << '\n';
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc > 2 && std::strcmp(argv[1], "--interrupted-save") == 0)
        return interruptedSave(QString::fromLocal8Bit(argv[2]));
    TestSchemeSave test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_schemesave.moc"

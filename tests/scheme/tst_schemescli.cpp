// `tarvel schemes list|dump|build`, run as the program it is: the bundled
// schemes.dat, the JSON of a dump, build and dump giving back the source, and
// the sources build refuses without writing anything.

#include "filebytes.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <zlib.h>

namespace {

const QString kBinDir = QStringLiteral(TARVEL_BIN_DIR);
const QString kChemFoam = QStringLiteral(TARVEL_CHEMFOAM_DIR);
const QString kSchemeSources = QStringLiteral(TARVEL_BUILD_DIR "/schemes");

struct Result
{
    int code = -1;
    QByteArray out;
    QString err;
};

Result tarvel(const QStringList& arguments, const QString& workingDirectory = QString())
{
    const QString program = QDir(kBinDir).filePath(QStringLiteral("tarvel"));
    if (!QFileInfo(program).isExecutable())
        qFatal("%s is missing: build the target tarvel", qPrintable(program));
    QProcess process;
    if (!workingDirectory.isEmpty())
        process.setWorkingDirectory(workingDirectory);
    process.start(program, arguments);
    Result result;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        qFatal("tarvel %s did not finish normally", qPrintable(arguments.join(' ')));
    result.code = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

// The whole content of a gzip file, read through zlib's own file interface.
QByteArray gunzip(const QString& path)
{
    gzFile file = gzopen(QFile::encodeName(path).constData(), "rb");
    if (!file)
        qFatal("Cannot open %s", qPrintable(path));
    QByteArray result;
    char buffer[65536];
    int read = 0;
    while ((read = gzread(file, buffer, sizeof buffer)) > 0)
        result.append(buffer, read);
    const bool complete = read == 0;
    gzclose(file);
    if (!complete)
        qFatal("Cannot decompress %s", qPrintable(path));
    return result;
}

void gzip(const QString& path, const QByteArray& bytes)
{
    gzFile file = gzopen(QFile::encodeName(path).constData(), "wb");
    if (!file || gzwrite(file, bytes.constData(), unsigned(bytes.size())) != int(bytes.size()) || gzclose(file) != Z_OK)
        qFatal("Cannot write %s", qPrintable(path));
}

QString mechanismText(const QString& relative)
{
    const QString path = QDir(kChemFoam).filePath(relative);
    if (!QFileInfo::exists(path))
        qFatal("The CHEMKIN case file %s is missing", qPrintable(path));
    return QString::fromLatin1(path.endsWith(QLatin1String(".gz")) ? gunzip(path) : FileBytes::read(path));
}

QJsonObject parseObject(const QByteArray& json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        qFatal("Not a JSON object (%s): %s", qPrintable(error.errorString()), json.left(200).constData());
    return document.object();
}

// A source as the dump will show it: every "textFile" read into "text".
QJsonObject resolveTextFiles(QJsonObject source, const QString& baseDir)
{
    QJsonArray schemes;
    for (const QJsonValue& schemeValue : source.value("schemes").toArray()) {
        QJsonObject scheme = schemeValue.toObject();
        QJsonArray extras;
        for (const QJsonValue& extraValue : scheme.value("extras").toArray()) {
            QJsonObject extra = extraValue.toObject();
            if (extra.contains("textFile")) {
                const QString path = QDir(baseDir).filePath(extra.take("textFile").toString());
                extra.insert("text", QString::fromLatin1(path.endsWith(QLatin1String(".gz")) ? gunzip(path)
                                                                                           : FileBytes::read(path)));
            }
            extras.append(extra);
        }
        scheme.insert("extras", extras);
        schemes.append(scheme);
    }
    source.insert("schemes", schemes);
    return source;
}

QString text(const QJsonObject& object)
{
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Indented));
}

// Option name -> node, over the whole tree; counts the option nodes outside
// any group.
void collectOptions(const QJsonArray& nodes, bool inGroup, QMap<QString, QJsonObject>& options, int& loose)
{
    for (const QJsonValue& value : nodes) {
        const QJsonObject node = value.toObject();
        if (node.value("group").toBool()) {
            collectOptions(node.value("children").toArray(), true, options, loose);
        } else {
            options.insert(node.value("option").toString(), node);
            if (!inGroup)
                ++loose;
        }
    }
}

} // namespace

class TestSchemesCli : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void listBundledSchemes();
    void dumpBundledSchemes();
    void dumpOneScheme();
    void dumpReportsOnStandardError();
    void buildThenDumpGivesTheSourceBack();
    void bundledSourcesRoundTrip();
    void buildRefuses_data();
    void buildRefuses();

private:
    QString bundled() const { return QDir(kBinDir).filePath(QStringLiteral("schemes.dat")); }

    QTemporaryDir m_dir;
};

void TestSchemesCli::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY2(QFileInfo::exists(bundled()), qPrintable(bundled() + " is missing: build the target schemes_dat"));
}

void TestSchemesCli::listBundledSchemes()
{
    const QString expected = QStringLiteral(
        "H2-AIR-CONP\tHydrogen/air ignition at constant pressure (2 atm, 1000 K)\t3\t19\t3\n"
        "H2-AIR-CONV\tHydrogen/air ignition at constant volume (2 atm, 1000 K)\t3\t19\t3\n"
        "H2-AIR-ISOT\tHydrogen/air reaction held at 1000 K (2 atm)\t3\t19\t3\n"
        "CH4-AIR-GRI30\tMethane/air ignition, GRI-Mech 3.0 (13.5 atm, 1000 K)\t3\t19\t3\n");
    const Result named = tarvel({QStringLiteral("schemes"), QStringLiteral("list"), bundled()});
    QCOMPARE(named.code, 0);
    QCOMPARE(named.err, QString());
    QCOMPARE(QString::fromUtf8(named.out), expected);
    // Without a database: schemes.dat beside the program.
    const Result beside = tarvel({QStringLiteral("schemes"), QStringLiteral("list")});
    QCOMPARE(beside.code, 0);
    QCOMPARE(QString::fromUtf8(beside.out), expected);

    const Result missing = tarvel({QStringLiteral("schemes"), QStringLiteral("list"), m_dir.filePath("none.dat")});
    QCOMPARE(missing.code, 1);
    QCOMPARE(missing.err, "tarvel: schemes list: no such file \"" + m_dir.filePath("none.dat") + "\"\n");
    QVERIFY(missing.out.isEmpty());
}

void TestSchemesCli::dumpBundledSchemes()
{
    const Result dump = tarvel({QStringLiteral("schemes"), QStringLiteral("dump"), bundled()});
    QCOMPARE(dump.code, 0);
    QCOMPARE(dump.err, QString());
    const QJsonObject root = parseObject(dump.out);
    QCOMPARE(root.value("version").toInt(), 3);
    const QJsonArray schemes = root.value("schemes").toArray();
    QCOMPARE(schemes.size(), 4);

    const QString h2Mechanism = mechanismText(QStringLiteral("h2/chemkin/chem.inp"));
    const QString h2Therm = mechanismText(QStringLiteral("h2/chemkin/therm.dat"));
    const QString griMechanism = mechanismText(QStringLiteral("gri/chemkin/chem.inp.gz"));
    const QString griTherm = mechanismText(QStringLiteral("gri/chemkin/therm.dat.gz"));
    QVERIFY(h2Mechanism.contains(QLatin1String("REACTIONS")));
    QVERIFY(griMechanism.size() > 20000);

    struct Expected
    {
        const char* name;
        const char* description;
        QStringList species;
        QMap<QString, QString> values;
        const QString* mechanism;
        const QString* therm;
    };
    const QMap<QString, QString> h2{{"BC_T", "1000"},       {"BC_P", "2.0265"},      {"BC_H2", "1.0"},
                                    {"BC_O2", "1.0"},       {"BC_N2", "3.76"},       {"TEND", "1.0E-03"},
                                    {"NT", "500"},          {"STEP", "1.0E-07"},     {"RTOL", "1.0E-06"},
                                    {"ATOL", "1.0E-12"},    {"MOLE", "1"},           {"VPRO", "off"},
                                    {"TPRO", "off"}};
    QMap<QString, QString> conv = h2;
    conv["VPRO"] = "on";
    QMap<QString, QString> isot = h2;
    isot["TPRO"] = "on";
    QMap<QString, QString> methane = h2;
    methane.remove("BC_H2");
    methane["BC_CH4"] = "0.5";
    methane["BC_P"] = "13.679";
    methane["TEND"] = "7.0E-02";
    const Expected expected[] = {
        {"H2-AIR-CONP", "Hydrogen/air ignition at constant pressure (2 atm, 1000 K)", {"H2", "N2", "O2"}, h2,
         &h2Mechanism, &h2Therm},
        {"H2-AIR-CONV", "Hydrogen/air ignition at constant volume (2 atm, 1000 K)", {"H2", "N2", "O2"}, conv,
         &h2Mechanism, &h2Therm},
        {"H2-AIR-ISOT", "Hydrogen/air reaction held at 1000 K (2 atm)", {"H2", "N2", "O2"}, isot, &h2Mechanism,
         &h2Therm},
        {"CH4-AIR-GRI30", "Methane/air ignition, GRI-Mech 3.0 (13.5 atm, 1000 K)", {"CH4", "N2", "O2"}, methane,
         &griMechanism, &griTherm},
    };
    for (int i = 0; i < 4; ++i) {
        const QJsonObject scheme = schemes[i].toObject();
        const Expected& want = expected[i];
        QCOMPARE(scheme.value("name").toString(), QString::fromUtf8(want.name));
        QCOMPARE(scheme.value("description").toString(), QString::fromUtf8(want.description));
        QStringList species;
        for (const QJsonValue& value : scheme.value("species").toArray())
            species << value.toString();
        QCOMPARE(species, want.species);

        // Readable groups hold every option; what a user edits is enabled.
        QMap<QString, QJsonObject> options;
        int loose = 0;
        collectOptions(scheme.value("nodes").toArray(), false, options, loose);
        QCOMPARE(loose, 0);
        for (const QJsonValue& value : scheme.value("nodes").toArray()) {
            QVERIFY(value.toObject().value("group").toBool());
            QVERIFY(!value.toObject().value("name").toString().trimmed().isEmpty());
        }
        for (auto it = want.values.cbegin(); it != want.values.cend(); ++it) {
            QVERIFY2(options.contains(it.key()), qPrintable(QStringLiteral("%1 lacks %2").arg(want.name, it.key())));
            QCOMPARE(options[it.key()].value("value").toString(), it.value());
            QVERIFY(options[it.key()].value("enabled").toBool());
        }
        QVERIFY(options.contains("BC_V"));
        for (const QString& name : std::as_const(species))
            QVERIFY(options.contains("BC_" + name));

        const QJsonArray extras = scheme.value("extras").toArray();
        QCOMPARE(extras.size(), 3);
        const struct
        {
            const char* name;
            const char* detail;
            const char* file;
            const QString* text;
        } files[] = {{"CUSTOM_INP", "Config", "fort.2", nullptr},
                     {"MECHANISM", "Mechanism", "fort.4", want.mechanism},
                     {"THERM", "Them Data", "fort.9", want.therm}};
        for (int k = 0; k < 3; ++k) {
            const QJsonObject extra = extras[k].toObject();
            QCOMPARE(extra.value("name").toString(), QString::fromLatin1(files[k].name));
            QCOMPARE(extra.value("detail").toString(), QString::fromLatin1(files[k].detail));
            QCOMPARE(extra.value("fileName").toString(), QString::fromLatin1(files[k].file));
            QCOMPARE(extra.value("flags").toInt(), 3);
            if (files[k].text)
                QVERIFY2(extra.value("text").toString() == *files[k].text,
                         qPrintable(QStringLiteral("%1 of %2 differs from the CHEMKIN file")
                                        .arg(files[k].name, want.name)));
        }
    }
}

void TestSchemesCli::dumpOneScheme()
{
    const Result one = tarvel(
        {QStringLiteral("schemes"), QStringLiteral("dump"), bundled(), QStringLiteral("--scheme"), "H2-AIR-ISOT"});
    QCOMPARE(one.code, 0);
    const QJsonArray schemes = parseObject(one.out).value("schemes").toArray();
    QCOMPARE(schemes.size(), 1);
    QCOMPARE(schemes[0].toObject().value("name").toString(), QStringLiteral("H2-AIR-ISOT"));

    const Result none = tarvel(
        {QStringLiteral("schemes"), QStringLiteral("dump"), bundled(), QStringLiteral("--scheme"), "h2-air-isot"});
    QCOMPARE(none.code, 1);
    QCOMPARE(none.err, "tarvel: schemes dump: no scheme \"h2-air-isot\" in \"" + bundled()
                           + "\"; it holds H2-AIR-CONP, H2-AIR-CONV, H2-AIR-ISOT, CH4-AIR-GRI30\n");
    QVERIFY(none.out.isEmpty());
}

void TestSchemesCli::dumpReportsOnStandardError()
{
    // A damaged node record: the reader's warning on stderr, the rest as JSON.
    const QString source = m_dir.filePath(QStringLiteral("two.json"));
    FileBytes::write(source, R"({"schemes": [
        {"name": "ONE", "nodes": [{"id": 1, "name": "G", "group": true, "children": [
            {"id": 2, "option": "TEND", "value": "1"}]}]}]})");
    const QString database = m_dir.filePath(QStringLiteral("damaged.dat"));
    QCOMPARE(tarvel({QStringLiteral("schemes"), QStringLiteral("build"), source, "-o", database}).code, 0);
    QByteArray bytes = FileBytes::read(database);
    const QByteArray tend = QByteArray::fromHex("0000000800540045004e0044");
    const qsizetype at = bytes.indexOf(tend);
    QVERIFY(at > 0);
    bytes[at + 5] = 'X'; // "TEND" becomes "XEND": the node's sum no longer agrees
    FileBytes::write(database, bytes);
    const Result dump = tarvel({QStringLiteral("schemes"), QStringLiteral("dump"), database});
    QCOMPARE(dump.code, 0);
    // In plain words: the log's class and operation stay in the log.
    QCOMPARE(dump.err, QStringLiteral("tarvel: warning: Cannot Load Node, file is corrupt.\n"));
    const QJsonArray schemes = parseObject(dump.out).value("schemes").toArray();
    QCOMPARE(schemes.size(), 1);
    const QJsonArray nodes = schemes[0].toObject().value("nodes").toArray();
    QCOMPARE(nodes.size(), 1);
    QVERIFY(nodes[0].toObject().value("children").toArray().isEmpty());
}

void TestSchemesCli::buildThenDumpGivesTheSourceBack()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("data")));
    // Texts taken byte for byte, as the project writes them back out.
    const QByteArray plain("REACTIONS\n H2+O2=2OH  1.7E13 0.0 47780. ! \xe9t\xe9\nEND\n");
    FileBytes::write(dir.filePath(QStringLiteral("data/plain.inp")), plain);
    QByteArray big;
    for (int i = 0; i < 5000; ++i)
        big += "H2O(" + QByteArray::number(i) + ")  2.67215E+00 3.05629E-03-8.73026E-07 1.20100E-10\n";
    gzip(dir.filePath(QStringLiteral("data/big.dat.gz")), big);

    const QByteArray json = R"({
  "schemes": [
    {
      "name": "MINE",
      "description": "Nested groups, ∆ and ü, hidden extras",
      "species": ["Ar", "C2H5OH*", "H2O", "He"],
      "nodes": [
        {"id": 3, "name": "Outer", "group": true, "option": "", "value": "", "enabled": true, "children": [
          {"id": 1, "name": "", "group": false, "option": "TEND", "value": "2.5E-02", "enabled": true,
           "children": []},
          {"id": 7, "name": "Inner – leer", "group": true, "option": "", "value": "", "enabled": false,
           "children": [
            {"id": 8, "name": "Deeper", "group": true, "option": "", "value": "", "enabled": true,
             "children": []},
            {"id": 9, "name": "", "group": false, "option": "BC_He", "value": "0.25", "enabled": false,
             "children": []}
          ]}
        ]},
        {"id": 2, "name": "Conditions", "group": true, "option": "", "value": "", "enabled": true, "children": [
          {"id": 4, "name": "", "group": false, "option": "BC_P", "value": "1.0", "enabled": true, "children": []},
          {"id": 5, "name": "", "group": false, "option": "STOM", "value": "2", "enabled": false, "children": []}
        ]}
      ],
      "extras": [
        {"name": "CUSTOM_INP", "detail": "Config", "fileName": "fort.2", "flags": 3, "text": ""},
        {"name": "MECHANISM", "detail": "Mechanism", "fileName": "fort.4", "flags": 3,
         "textFile": "data/plain.inp"},
        {"name": "THERM", "detail": "Them Data", "fileName": "fort.9", "flags": 1, "textFile": "data/big.dat.gz"},
        {"name": "PROFILES_DATA", "detail": "", "fileName": "", "flags": 0, "text": "t=0 ∑\n"}
      ]
    },
    {
      "name": "SECOND",
      "description": "",
      "species": [],
      "nodes": [],
      "extras": [
        {"name": "CUSTOM_INP", "detail": "Config", "fileName": "fort.2", "flags": 3, "text": "OPTIONS\nEND\n"},
        {"name": "MECHANISM", "detail": "Mechanism", "fileName": "fort.4", "flags": 3, "text": ""},
        {"name": "THERM", "detail": "Them Data", "fileName": "fort.9", "flags": 3, "text": ""}
      ]
    }
  ]
})";
    const QString source = dir.filePath(QStringLiteral("mine.json"));
    FileBytes::write(source, json);
    const QString database = dir.filePath(QStringLiteral("mine.dat"));
    // From another working folder: text files are found beside the source.
    const Result build =
        tarvel({QStringLiteral("schemes"), QStringLiteral("build"), source, "-o", database}, QDir::rootPath());
    QCOMPARE(build.err, QString());
    QCOMPARE(build.code, 0);
    QVERIFY(build.out.isEmpty());

    const Result dump = tarvel({QStringLiteral("schemes"), QStringLiteral("dump"), database});
    QCOMPARE(dump.code, 0);
    QCOMPARE(dump.err, QString());
    QJsonObject dumped = parseObject(dump.out);
    QCOMPARE(dumped.take("version").toInt(), 3);
    const QJsonObject expected = resolveTextFiles(parseObject(json), dir.path());
    QCOMPARE(text(dumped), text(expected));
    // The texts arrived whole, the compressed one too.
    QCOMPARE(dumped.value("schemes")[0]["extras"][2]["text"].toString().size(), big.size());
}

void TestSchemesCli::bundledSourcesRoundTrip()
{
    const QStringList sources = QDir(kSchemeSources).entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name);
    QVERIFY2(sources.size() >= 2, qPrintable(kSchemeSources + " holds no configured scheme sources"));
    QStringList paths;
    QJsonArray expected;
    for (const QString& name : sources) {
        const QString path = QDir(kSchemeSources).filePath(name);
        paths << path;
        const QJsonObject source = resolveTextFiles(parseObject(FileBytes::read(path)), QFileInfo(path).path());
        for (const QJsonValue& scheme : source.value("schemes").toArray())
            expected.append(scheme);
    }

    // Built and dumped, the sources come back as they are.
    const QString database = m_dir.filePath(QStringLiteral("bundled-again.dat"));
    const Result build = tarvel(QStringList{QStringLiteral("schemes"), QStringLiteral("build")} + paths
                                + QStringList{"-o", database});
    QCOMPARE(build.code, 0);
    QCOMPARE(build.err, QString());
    const QJsonArray dumped = parseObject(tarvel({QStringLiteral("schemes"), QStringLiteral("dump"), database}).out)
                                  .value("schemes")
                                  .toArray();
    QCOMPARE(dumped.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i)
        QCOMPARE(text(dumped[i].toObject()), text(expected[i].toObject()));

    // And the bundled database holds exactly these schemes.
    QMap<QString, QJsonObject> byName;
    for (const QJsonValue& scheme : std::as_const(expected))
        byName.insert(scheme.toObject().value("name").toString(), scheme.toObject());
    const QJsonArray shipped = parseObject(tarvel({QStringLiteral("schemes"), QStringLiteral("dump"), bundled()}).out)
                                   .value("schemes")
                                   .toArray();
    QCOMPARE(shipped.size(), expected.size());
    for (const QJsonValue& scheme : shipped) {
        const QString name = scheme.toObject().value("name").toString();
        QVERIFY2(byName.contains(name), qPrintable(name + " has no source"));
        QCOMPARE(text(scheme.toObject()), text(byName.value(name)));
    }
}

void TestSchemesCli::buildRefuses_data()
{
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QString>("message");

    const QByteArray head = R"({"schemes": [{"name": "BAD", "species": ["H2"], "nodes": [)";
    const QByteArray tail = "]}]}";
    QTest::newRow("unknown option")
        << head + R"({"id": 1, "name": "G", "group": true, "children": [{"id": 2, "option": "NOSUCH"}]})" + tail
        << QStringLiteral("node 2 names the unknown option \"NOSUCH\"");
    QTest::newRow("boundary condition of no species")
        << head + R"({"id": 1, "option": "BC_O2"})" + tail << QStringLiteral("node 1 names the unknown option \"BC_O2\"");
    QTest::newRow("unknown elements")
        << QByteArray(R"({"schemes": [{"name": "BAD", "species": ["H2", "XYZ"]}]})")
        << QStringLiteral("the species \"XYZ\" is not built of the catalogue's elements");
    QTest::newRow("species of a catalogue option")
        << QByteArray(R"({"schemes": [{"name": "BAD", "species": ["P"]}]})")
        << QStringLiteral("the species \"P\" would take \"BC_P\", an option of the catalogue");
    QTest::newRow("repeated species")
        << QByteArray(R"({"schemes": [{"name": "BAD", "species": ["H2O", "H2 O"]}]})")
        << QStringLiteral("the species \"H2 O\" is listed twice");
    QTest::newRow("duplicate id")
        << head + R"({"id": 1, "name": "G", "group": true, "children": [{"id": 1, "option": "TEND"}]})" + tail
        << QStringLiteral("the node id 1 is used twice");
    QTest::newRow("option used twice")
        << head + R"({"id": 1, "option": "TEND"}, {"id": 2, "option": "tend"})" + tail
        << QStringLiteral("the option \"tend\" is used by two nodes");
    QTest::newRow("no id") << head + R"({"name": "G", "group": true})" + tail
                           << QStringLiteral("node \"G\" has no positive id");
    QTest::newRow("missing text file")
        << QByteArray(R"({"schemes": [{"name": "BAD", "extras": [{"name": "MECHANISM", "textFile": "nowhere.inp"}]}]})")
        << QStringLiteral("cannot read the file \"%DIR%/nowhere.inp\"");
    QTest::newRow("not gzip")
        << QByteArray(R"({"schemes": [{"name": "BAD", "extras": [{"name": "THERM", "textFile": "source.json.gz"}]}]})")
        << QStringLiteral("the file \"%DIR%/source.json.gz\" is not a valid gzip file");
    QTest::newRow("extra listed twice")
        << QByteArray(R"({"schemes": [{"name": "BAD", "extras": [{"name": "NOTE", "text": "a"},
                                                             {"name": " note", "text": "b"}]}]})")
        << QStringLiteral("the extra \"NOTE\" is listed twice");
    QTest::newRow("no name") << QByteArray(R"({"schemes": [{"description": "nameless"}]})")
                             << QStringLiteral("a scheme has no name");
    QTest::newRow("same name twice")
        << QByteArray(R"({"schemes": [{"name": "TWICE"}, {"name": "twice"}]})")
        << QStringLiteral("the scheme name \"twice\" is used twice. Nothing was written.");
    QTest::newRow("not JSON") << QByteArray(R"({"schemes": [)")
                              << QStringLiteral("is not a JSON object");
    QTest::newRow("no schemes") << QByteArray(R"({"scheme": []})")
                                << QStringLiteral("holds no \"schemes\" list");
}

void TestSchemesCli::buildRefuses()
{
    QFETCH(QByteArray, source);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("source.json"));
    FileBytes::write(path, source);
    FileBytes::write(path + ".gz", "plain text, not compressed");
    message.replace(QStringLiteral("%DIR%"), dir.path());

    const QString database = dir.filePath(QStringLiteral("out.dat"));
    const Result fresh = tarvel({QStringLiteral("schemes"), QStringLiteral("build"), path, "-o", database});
    QCOMPARE(fresh.code, 1);
    QVERIFY2(fresh.err.contains(message), qPrintable(fresh.err));
    QVERIFY2(fresh.err.contains(QStringLiteral("tarvel: schemes build: \"") + path + "\""), qPrintable(fresh.err));
    QVERIFY(!QFileInfo::exists(database));

    // Nor is an existing database touched, even by a good source before it.
    const QString good = dir.filePath(QStringLiteral("good.json"));
    FileBytes::write(good, R"({"schemes": [{"name": "GOOD"}]})");
    FileBytes::write(database, "old content");
    const Result after = tarvel({QStringLiteral("schemes"), QStringLiteral("build"), good, path, "-o", database});
    QCOMPARE(after.code, 1);
    QCOMPARE(FileBytes::read(database), QByteArray("old content"));
    QCOMPARE(QDir(dir.path()).entryList({QStringLiteral("out.dat*")}, QDir::Files | QDir::Hidden),
             QStringList{"out.dat"});
}

QTEST_GUILESS_MAIN(TestSchemesCli)
#include "tst_schemescli.moc"

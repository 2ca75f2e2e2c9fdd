// The reader of the option structure document on small documents: every
// report with the row and column Qt 6 gives (the column is that of the end
// of the element's start tag), the defaults of fresh options and
// conditions, the values the loader adds, and what a second load keeps.

#include "translation.h"
#include "options.h"
#include "messagecapture.h"

#include <QtTest>

namespace {

const QString kNoDuration =
    QStringLiteral("WRN Option Name is not specified for the duration of the numerical simulation ");

// Documents start with their root on line 1, so the first entry stands on
// line 2.
QByteArray config(const QByteArray& body)
{
    return "<config>\n" + body + "</config>\n";
}

QStringList valueRows(const OOption& option)
{
    QStringList rows;
    for (const OValue& value : option.values)
        rows << QStringLiteral("%1|%2|%3|%4").arg(value.index).arg(value.value, value.text, value.detail);
    return rows;
}

QStringList groupRows(const Options& options)
{
    QStringList rows;
    for (const auto& group : options.groups()) {
        QStringList names;
        for (const auto& option : group->options)
            names << QStringLiteral("%1:%2").arg(option->index).arg(option->name);
        rows << QStringLiteral("%1 %2 [%3]").arg(group->index).arg(group->name, names.join(QLatin1Char(' ')));
    }
    return rows;
}

} // namespace

class TestOptionsLoader : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void reports_data();
    void reports();
    void cannotOpen();
    void optionDefaults();
    void conditionDefaults();
    void type_data();
    void type();
    void inputMaskInAnyCase();
    void textsAsWritten();
    void valueIndexes();
    void entryIndexesCountSkippedOnes();
    void boundaryGroupIndex_data();
    void boundaryGroupIndex();
    void elementSymbols();
    void files();
    void runSettings();
    void executors();
    void secondLoadKeepsExecutorsAndSettings();
    void durationOption();

private:
    // Loads the document into the catalogue; the reports land in messages.
    bool load(Options& options, const QByteArray& bytes, QStringList* messages = nullptr);

    QTemporaryDir m_dir;
    int m_files = 0;
};

bool TestOptionsLoader::load(Options& options, const QByteArray& bytes, QStringList* messages)
{
    const QString path = m_dir.filePath(QStringLiteral("optstruct%1.xml").arg(++m_files));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    file.close();
    MessageCapture capture;
    const bool loaded = options.loadOptions(path);
    if (messages)
        *messages = capture.lines();
    return loaded;
}

void TestOptionsLoader::initTestCase()
{
    QVERIFY(m_dir.isValid());
    MessageCapture quiet;
    QVERIFY(Translation::instance().load(QStringLiteral(":/translate.xml")));
}

void TestOptionsLoader::reports_data()
{
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<QStringList>("messages");

    const QByteArray group = "  <group><name>G</name><option><name>A</name></option></group>\n";

    QTest::newRow("unknown element under the root")
        << config("  <extras><x>1</x></extras>\n" + group) << true
        << QStringList{"WRN Options::readNode(). Uknown tag \"extras\" in CONFIG (row 2 , col 10 ) ", kNoDuration};
    QTest::newRow("group without a name")
        << config(group + "  <group><text>nameless</text><option><name>B</name></option></group>\n") << true
        << QStringList{"WRN Options::readNode(). No Name specified for GROUP (row 3 , col 9 ). Skipped... ",
                       kNoDuration};
    QTest::newRow("group with a blank name")
        << config(group + "  <GROUP><Name>  </Name>\n    <option><name>B</name></option></GROUP>\n") << true
        << QStringList{"WRN Options::readNode(). No Name specified for GROUP (row 3 , col 9 ). Skipped... ",
                       kNoDuration};
    QTest::newRow("unknown element in a group")
        << config(group + "  <group><name>H</name>\n    <label>x</label>\n    <option><name>B</name></option>\n"
                          "  </group>\n")
        << true
        << QStringList{"WRN Options::readGroup(). Uknown tag \"label\" in GROUP # 1 (row 4 , col 11 ) ", kNoDuration};
    QTest::newRow("option and condition without a name")
        << config("  <group><name>G</name>\n    <option><text>no name</text></option>\n"
                  "    <condition><name> </name><default>1</default></condition>\n"
                  "    <option><name>A</name></option>\n  </group>\n")
        << true
        << QStringList{"WRN Options::readGroup(). No Name specified for OPTION (row 3 , col 12 ). Skipped... ",
                       "WRN Options::readGroup(). No Name specified for CONDITION (row 4 , col 15 ). Skipped... ",
                       kNoDuration};
    QTest::newRow("unknown element in an option")
        << config("  <group><name>G</name>\n    <option><name>A</name></option>\n"
                  "    <option><name>B</name>\n      <unit>s</unit>\n    </option>\n  </group>\n")
        << true
        << QStringList{"WRN Options::readOption(). Uknown tag \"unit\" in OPTION # 1 (row 5 , col 12 ) ",
                       kNoDuration};
    QTest::newRow("value with a blank value")
        << config("  <group><name>G</name><option><name>A</name>\n"
                  "    <value><value>  </value><text>blank</text></value>\n"
                  "    <value><value>1</value></value>\n  </option></group>\n")
        << true
        << QStringList{"WRN Options::readOption(). No Name specified for VALUE (row 3 , col 11 ). Skipped... ",
                       kNoDuration};
    QTest::newRow("unknown element in a value")
        << config("  <group><name>G</name><option><name>A</name>\n"
                  "    <value><value>1</value>\n      <note>n</note></value>\n  </option></group>\n")
        << true
        << QStringList{"WRN Options::readValue(). Uknown tag \"note\" in VALUE # 0 (row 4 , col 12 ) ", kNoDuration};
    QTest::newRow("element symbols")
        << config(group + "  <elements>\n    <element>ABCDE</element>\n    <element>SPR_</element>\n"
                          "    <Symbol>H</Symbol>\n  </elements>\n")
        << true
        << QStringList{"WRN Options::readValue(). Element Sign has to many characters ( > 4) in ELEMENTS (row 4 , "
                       "col 13 ) ",
                       "WRN Options::readValue(). Uknown tag \"symbol\" in ELEMENTS (row 6 , col 12 ) ", kNoDuration};
    QTest::newRow("settings")
        << config("  <settings>\n    <executor><name>Only a name</name></executor>\n"
                  "    <executor><path>only/a/path</path></executor>\n"
                  "    <executor><name> </name><path>blank/name</path></executor>\n"
                  "    <editor>vi</editor>\n    <duroption>A</duroption>\n  </settings>\n" + group)
        << true
        << QStringList{"WRN Options::readSettings(). Executor name and/or path not specified (row 3 , col 14 ). "
                       "Skipped... ",
                       "WRN Options::readSettings(). Executor name and/or path not specified (row 4 , col 14 ). "
                       "Skipped... ",
                       "WRN Options::readSettings(). Executor name and/or path not specified (row 5 , col 14 ). "
                       "Skipped... ",
                       "WRN Options::readSettings(). Uknown tag \"editor\" in CONFIG (row 6 , col 12 ) "};
    QTest::newRow("unknown element in an executor")
        << config("  <settings>\n    <executor><name>X</name><path>x</path>\n      <Args>-v</Args>\n"
                  "    </executor>\n    <duroption>A</duroption>\n  </settings>\n" + group)
        << true << QStringList{"WRN Options::readExecutor(). Uknown tag \"args\" in EXECUTOR (row 4 , col 12 ) "};
    QTest::newRow("files")
        << config(group + "  <files>\n    <file><id>MECHANISM</id></file>\n    <file><name>fort.4</name></file>\n"
                          "    <folder>x</folder>\n  </files>\n")
        << true
        << QStringList{"WRN Options::readFiles(). No Name specified for File (row 4 , col 10 ). Skipped... ",
                       "WRN Options::readFiles(). No Name specified for File (row 5 , col 10 ). Skipped... ",
                       "WRN Options::readFiles(). Uknown tag \"folder\" in CONFIG (row 6 , col 12 ) ", kNoDuration};
    QTest::newRow("unknown element in a file")
        << config(group + "  <files>\n    <file><id>X</id><name>x</name>\n      <size>1</size>\n    </file>\n"
                          "  </files>\n")
        << true << QStringList{"WRN Options::readFile(). Uknown tag \"size\" in FILE  (row 5 , col 12 ) ", kNoDuration};
    QTest::newRow("group without options")
        << config(group + "  <group><name>EMPTY</name><text>nothing</text></group>\n") << true
        << QStringList{"WRN Options::loadOptions(). Group \"EMPTY\" has no Options ", kNoDuration};
    QTest::newRow("duration option that names no option")
        << config("  <settings><duroption> NOPE </duroption></settings>\n" + group) << true
        << QStringList{"WRN Uknown Option Name specified for the duration of the numerical simulation: \"NOPE\" "};
    QTest::newRow("no group") << config("  <elements><element>H</element></elements>\n") << false
                              << QStringList{"ERR Options::loadOptions(). No valid configuration have been found. "
                                             "Aborting ... "};
    QTest::newRow("only empty groups") << config("  <group/>\n  <group></group>\n") << false
                                       << QStringList{"ERR Options::loadOptions(). No valid configuration have been "
                                                      "found. Aborting ... "};
    QTest::newRow("parse error")
        << QByteArray("<config>\n  <group>\n    <name>A</name>\n  </grop>\n</config>\n") << false
        << QStringList{"ERR Options::loadOptions(). XML Error (row 4 , col 9 ): \"Opening and ending tag mismatch.\" "};
    QTest::newRow("empty document") << QByteArray() << false
                                    << QStringList{"ERR Options::loadOptions(). XML Error (row 1 , col 0 ): "
                                                   "\"Premature end of document.\" "};
    QTest::newRow("silently passed over")
        << config("  <!-- a comment -->\n  <settings/>\n  <files></files>\n  <Group>\n    <option/>\n"
                  "    <name>G</name>text between\n"
                  "    <option><name>A</name><minimum>0</minimum><maximum>1</maximum><type>slider</type>"
                  "<value/><detail></detail></option>\n  </Group>\n  <unknown/>\n")
        << true << QStringList{kNoDuration};
}

void TestOptionsLoader::reports()
{
    QFETCH(QByteArray, document);
    QFETCH(bool, loaded);
    QFETCH(QStringList, messages);

    Options options;
    QStringList got;
    QCOMPARE(load(options, document, &got), loaded);
    QCOMPARE(got, messages);
}

void TestOptionsLoader::cannotOpen()
{
    const QString path = m_dir.filePath(QStringLiteral("absent.xml"));
    Options options;
    MessageCapture capture;
    QVERIFY(!options.loadOptions(path));
    QCOMPARE(capture.lines(), QStringList{QStringLiteral("ERR Options::loadOptions(). Cannot open \"%1\" ").arg(path)});
    QVERIFY(options.groups().empty());
}

void TestOptionsLoader::optionDefaults()
{
    Options options;
    QVERIFY(load(options, config("  <group><name>G</name><option><name>PLAIN</name></option></group>\n")));
    const OOption* option = options.findOption(QStringLiteral("PLAIN"));
    QVERIFY(option);
    QCOMPARE(option->kind, int(OOption::Option));
    QCOMPARE(option->type, int(OOption::Menu));
    QCOMPARE(option->defaultValue, QStringLiteral("off"));
    QCOMPARE(option->value, QStringLiteral("off"));
    QCOMPARE(option->inputMask, QString());
    QCOMPARE(option->text, QString());
    QCOMPARE(option->detail, QString());
    QCOMPARE(valueRows(*option), (QStringList{"0|on|Enabled|Enable Option", "1|off|Disabled|Disable Option"}));
}

void TestOptionsLoader::conditionDefaults()
{
    Options options;
    QVERIFY(load(options, config("  <group><name>G</name>\n"
                                 "    <condition><name>NT</name><default>20</default></condition>\n"
                                 "    <condition><name>BARE</name><text>t</text></condition>\n"
                                 "    <condition><name>LISTED</name><value><value>5</value></value></condition>\n"
                                 "  </group>\n")));
    const OOption* nt = options.findOption(QStringLiteral("NT"));
    QVERIFY(nt);
    QCOMPARE(nt->kind, int(OOption::Condition));
    QCOMPARE(nt->type, int(OOption::Field));
    QCOMPARE(nt->defaultValue, QStringLiteral("20"));
    QCOMPARE(nt->value, QStringLiteral("20"));
    QCOMPARE(nt->inputMask, QStringLiteral("#00.00E#00"));
    // A condition is never switched on: it only gets the way to switch it off.
    QCOMPARE(valueRows(*nt), QStringList{"0|off|Disabled|Disable Option"});

    const OOption* bare = options.findOption(QStringLiteral("BARE"));
    QVERIFY(bare);
    QCOMPARE(bare->defaultValue, QStringLiteral("0"));
    QCOMPARE(bare->value, QStringLiteral("0"));
    QCOMPARE(bare->inputMask, QStringLiteral("#00.00E#00"));

    const OOption* listed = options.findOption(QStringLiteral("LISTED"));
    QVERIFY(listed);
    QCOMPARE(valueRows(*listed), (QStringList{"0|5||", "1|off|Disabled|Disable Option"}));
}

void TestOptionsLoader::type_data()
{
    QTest::addColumn<QByteArray>("element");
    QTest::addColumn<int>("option");
    QTest::addColumn<int>("condition");

    QTest::newRow("field in upper case") << QByteArray("<type>FIELD</type>") << 2 << 2;
    QTest::newRow("digit 2 between blanks") << QByteArray("<type> 2 </type>") << 2 << 2;
    QTest::newRow("menu in mixed case") << QByteArray("<Type>Menu</Type>") << 1 << 1;
    QTest::newRow("digit 1") << QByteArray("<TYPE>1</TYPE>") << 1 << 1;
    QTest::newRow("other word keeps the default") << QByteArray("<type>slider</type>") << 1 << 2;
    QTest::newRow("digit 3 keeps the default") << QByteArray("<type>3</type>") << 1 << 2;
    QTest::newRow("no type") << QByteArray() << 1 << 2;
}

void TestOptionsLoader::type()
{
    QFETCH(QByteArray, element);
    QFETCH(int, option);
    QFETCH(int, condition);

    Options options;
    QStringList messages;
    QVERIFY(load(options,
                 config("  <group><name>G</name>\n    <option><name>O</name>" + element
                        + "</option>\n    <condition><name>C</name>" + element + "</condition>\n  </group>\n"),
                 &messages));
    QCOMPARE(messages, QStringList{kNoDuration});
    QCOMPARE(options.findOption(QStringLiteral("O"))->type, option);
    QCOMPARE(options.findOption(QStringLiteral("C"))->type, condition);
}

void TestOptionsLoader::inputMaskInAnyCase()
{
    Options options;
    QStringList messages;
    QVERIFY(load(options,
                 config("  <group><name>G</name>\n    <option><name>A</name><inputMask>000</inputMask></option>\n"
                        "    <condition><name>B</name><INPUTMASK>9.99</INPUTMASK></condition>\n"
                        "    <condition><name>C</name><inputmask> #0 </inputmask></condition>\n  </group>\n"),
                 &messages));
    QCOMPARE(messages, QStringList{kNoDuration});
    QCOMPARE(options.findOption(QStringLiteral("A"))->inputMask, QStringLiteral("000"));
    QCOMPARE(options.findOption(QStringLiteral("B"))->inputMask, QStringLiteral("9.99"));
    QCOMPARE(options.findOption(QStringLiteral("C"))->inputMask, QStringLiteral(" #0 "));
}

void TestOptionsLoader::textsAsWritten()
{
    Options options;
    QVERIFY(load(options, config("  <group><name> G </name><text> Group text </text>\n"
                                 "    <option><name> SPACED </name><text> Text </text><detail> Line one.\n"
                                 "Line two. </detail><default> on </default>\n"
                                 "      <value><value> 1 </value><text> One </text><detail> d </detail></value>\n"
                                 "    </option>\n  </group>\n")));
    const OGroup& group = *options.groups().front();
    QCOMPARE(group.name, QStringLiteral(" G "));
    QCOMPARE(group.text, QStringLiteral(" Group text "));
    const OOption* option = options.findOption(QStringLiteral("spaced"));
    QVERIFY(option);
    QCOMPARE(option->name, QStringLiteral(" SPACED "));
    QCOMPARE(option->text, QStringLiteral(" Text "));
    QCOMPARE(option->detail, QStringLiteral(" Line one.\nLine two. <br>"));
    QCOMPARE(option->defaultValue, QStringLiteral(" on "));
    QCOMPARE(option->value, QStringLiteral(" on "));
    QCOMPARE(valueRows(*option), (QStringList{"0| 1 | One | d ", "1|off|Disabled|Disable Option"}));
}

void TestOptionsLoader::valueIndexes()
{
    Options options;
    QVERIFY(load(options, config("  <group><name>G</name><option><name>A</name>\n"
                                 "    <value><value>1</value><text>one</text></value>\n"
                                 "    <value><text>no value</text></value>\n"
                                 "    <value/>\n"
                                 "    <value><value>3</value><text>three</text></value>\n"
                                 "  </option></group>\n")));
    // The skipped value still counts; the empty element does not. The off
    // value takes the number of values held, so it repeats the last index.
    QCOMPARE(valueRows(*options.findOption(QStringLiteral("A"))),
             (QStringList{"0|1|one|", "2|3|three|", "2|off|Disabled|Disable Option"}));
}

void TestOptionsLoader::entryIndexesCountSkippedOnes()
{
    Options options;
    QVERIFY(load(options, config("  <group><name>FIRST</name>\n"
                                 "    <option><name>A</name></option>\n"
                                 "    <option/>\n"
                                 "    <condition><text>nameless</text></condition>\n"
                                 "    <condition><name>B</name></condition>\n"
                                 "    <option><name>C</name></option>\n  </group>\n"
                                 "  <group><text>nameless</text><option><name>X</name></option></group>\n"
                                 "  <group/>\n"
                                 "  <group><name>THIRD</name><condition><name>D</name></condition></group>\n")));
    QCOMPARE(groupRows(options),
             (QStringList{"0 FIRST [0:A 2:B 3:C]", "2 THIRD [0:D]", "3 BCOND [1:BC_T 2:BC_P 3:BC_V]"}));
}

void TestOptionsLoader::boundaryGroupIndex_data()
{
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<QStringList>("groups");

    const QByteArray named = "  <group><name>N</name><option><name>A</name></option></group>\n";
    const QByteArray nameless = "  <group><text>t</text><option><name>B</name></option></group>\n";
    QTest::newRow("one group") << config(named) << QStringList{"0 N [0:A]", "1 BCOND [1:BC_T 2:BC_P 3:BC_V]"};
    QTest::newRow("after the largest index present")
        << config(named + named + nameless)
        << QStringList{"0 N [0:A]", "1 N [0:A]", "2 BCOND [1:BC_T 2:BC_P 3:BC_V]"};
    QTest::newRow("at least 1") << config(nameless) << QStringList{"1 BCOND [1:BC_T 2:BC_P 3:BC_V]"};
}

void TestOptionsLoader::boundaryGroupIndex()
{
    QFETCH(QByteArray, document);
    QFETCH(QStringList, groups);
    Options options;
    QVERIFY(load(options, document));
    QCOMPARE(groupRows(options), groups);
    const OGroup& bcond = *options.groups().back();
    QCOMPARE(bcond.text, QStringLiteral("Boundary conditions"));
    QCOMPARE(bcond.options.at(0)->text, QStringLiteral("Temperature T [\u00B0K]"));
    QCOMPARE(bcond.options.at(0)->detail, QStringLiteral("Boundary conditions: Temperature"));
}

void TestOptionsLoader::elementSymbols()
{
    Options options;
    QVERIFY(load(options, config("  <group><name>G</name><option><name>A</name></option></group>\n"
                                 "  <elements>\n    <element>O</element>\n    <element>  He  </element>\n"
                                 "    <element>SPR_</element>\n    <element>ABCDE</element>\n"
                                 "    <element></element>\n    <element>   </element>\n"
                                 "    <ELEMENT>O</ELEMENT>\n  </elements>\n"
                                 "  <elements><element>Na</element></elements>\n")));
    QCOMPARE(options.elements(), (QStringList{"He", "Na", "O", "O", "SPR_"}));
    QCOMPARE(options.matchOrderedElements(), (QStringList{"SPR_", "He", "Na", "O", "O"}));
}

void TestOptionsLoader::files()
{
    Options options;
    QStringList messages;
    // "Hello World", split over lines and indented; "abc", zero, "def"; the
    // 8-bit bytes of "café".
    QVERIFY(load(options,
                 config("  <group><name>G</name><option><name>A</name></option></group>\n  <files>\n"
                        "    <file><id> mechanism </id><name> fort.4 </name><detail>Mechanism</detail>\n"
                        "      <text>\n        SGVsbG8g\n        V29ybGQ=\n      </text></file>\n"
                        "    <file><id>zero</id><name>z</name><text>YWJjAGRlZg==</text></file>\n"
                        "    <file><ID>Latin</ID><NAME>l</NAME><TEXT>Y2Fm6Q==</TEXT></file>\n"
                        "    <file><id>EMPTY</id><name>e</name><text></text></file>\n"
                        "  </files>\n"),
                 &messages));
    QCOMPARE(messages, QStringList{kNoDuration});
    QStringList rows;
    for (const auto& file : options.files())
        rows << QStringList{file->id, file->name, file->detail, file->text, file->defaultText}.join(QLatin1Char('|'));
    QCOMPARE(rows, (QStringList{"MECHANISM| fort.4 |Mechanism|Hello World|Hello World", "ZERO|z||abc|abc",
                                "LATIN|l||café|café", "EMPTY|e|||"}));
}

void TestOptionsLoader::runSettings()
{
    Options options;
    QStringList messages;
    QVERIFY(load(options,
                 config("  <settings>\n    <compufile>  fort.18 </compufile>\n    <compufile> later </compufile>\n"
                        "    <profilestart> &gt;DATA </profilestart>\n    <profileend>\t&lt;\t</profileend>\n"
                        "    <datafile> fort.29 </datafile>\n    <fieldsize> 12 </fieldsize>\n"
                        "    <timefield> t(s) </timefield>\n    <duroption> a </duroption>\n"
                        "    <coordfield> x(m) </coordfield>\n    <maxroption> NT </maxroption>\n"
                        "  </settings>\n"
                        "  <group><name>G</name><option><name>A</name></option></group>\n"),
                 &messages));
    QCOMPARE(messages, QStringList());
    QCOMPARE(options.compufile(), QStringLiteral("later"));
    QCOMPARE(options.profilestart(), QStringLiteral(">DATA"));
    QCOMPARE(options.profileend(), QStringLiteral("<"));
    QCOMPARE(options.datafile(), QStringLiteral("fort.29"));
    QCOMPARE(options.fieldsize(), 12);
    QCOMPARE(options.timefield(), QStringLiteral("t(s)"));
    QCOMPARE(options.duroption(), QStringLiteral("a"));
    QCOMPARE(options.coordfield(), QStringLiteral("x(m)"));
    QCOMPARE(options.maxroption(), QStringLiteral("NT"));
    QVERIFY(options.durationOption());
    QCOMPARE(options.durationOption()->name, QStringLiteral("A"));

    Options notANumber;
    QVERIFY(load(notANumber, config("  <settings><fieldsize>wide</fieldsize></settings>\n"
                                    "  <group><name>G</name><option><name>A</name></option></group>\n")));
    QCOMPARE(notANumber.fieldsize(), 0);
}

void TestOptionsLoader::executors()
{
    Options options;
    QStringList messages;
    QVERIFY(load(options,
                 config("  <settings>\n"
                        "    <executor><name> Spaced </name><path>sub/run.x</path><success> ok </success>"
                        "<failure>FAILED</failure></executor>\n"
                        "    <executor><name>Absolute</name><path>/opt/tarvel/bin/run.x</path></executor>\n"
                        "    <executor><name>Local</name><path>tarinp.x</path></executor>\n"
                        "    <duroption>A</duroption>\n  </settings>\n"
                        "  <group><name>G</name><option><name>A</name></option></group>\n"),
                 &messages));
    QCOMPARE(messages, QStringList());
    const QDir programDir(QCoreApplication::applicationDirPath());
    QStringList rows;
    for (const OExecutor& executor : options.executors())
        rows << QStringList{executor.name, executor.path, executor.success, executor.failure}.join(QLatin1Char('|'));
    QCOMPARE(rows, (QStringList{" Spaced |" + programDir.filePath("sub/run.x") + "| ok |FAILED",
                                "Absolute|/opt/tarvel/bin/run.x||", "Local|" + programDir.filePath("tarinp.x") + "||"}));
}

void TestOptionsLoader::secondLoadKeepsExecutorsAndSettings()
{
    Options options;
    QVERIFY(load(options, config("  <settings><executor><name>First</name><path>first.x</path></executor>\n"
                                 "    <compufile>fort.18</compufile><duroption>A</duroption></settings>\n"
                                 "  <group><name>ONE</name><option><name>A</name></option></group>\n"
                                 "  <elements><element>H</element></elements>\n"
                                 "  <files><file><id>F1</id><name>f1</name></file></files>\n")));
    QStringList messages;
    QVERIFY(load(options, config("  <settings><executor><name>Second</name><path>/abs/second.x</path></executor>"
                                 "</settings>\n"
                                 "  <group><name>TWO</name><option><name>B</name></option></group>\n"
                                 "  <elements><element>O</element></elements>\n"),
                 &messages));
    // The duration option is still "A", which the new groups lack.
    QCOMPARE(messages, QStringList{"WRN Uknown Option Name specified for the duration of the numerical simulation: "
                                   "\"A\" "});

    const QDir programDir(QCoreApplication::applicationDirPath());
    QStringList executors;
    for (const OExecutor& executor : options.executors())
        executors << executor.name + QLatin1Char('|') + executor.path;
    QCOMPARE(executors, (QStringList{"First|" + programDir.filePath("first.x"), "Second|/abs/second.x"}));
    QCOMPARE(options.compufile(), QStringLiteral("fort.18"));
    QCOMPARE(groupRows(options), (QStringList{"0 TWO [0:B]", "1 BCOND [1:BC_T 2:BC_P 3:BC_V]"}));
    QCOMPARE(options.elements(), QStringList{"O"});
    QCOMPARE(options.matchOrderedElements(), QStringList{"O"});
    QVERIFY(options.files().empty());
    QVERIFY(!options.durationOption());
    QVERIFY(!options.findOption(QStringLiteral("A")));
}

void TestOptionsLoader::durationOption()
{
    Options options;
    QVERIFY(load(options, config("  <settings><duroption>bc_p</duroption></settings>\n"
                                 "  <group><name>G</name><condition><name>TEND</name></condition></group>\n")));
    // The boundary conditions are appended before the name is looked up.
    QVERIFY(options.durationOption());
    QCOMPARE(options.durationOption()->name, QStringLiteral("BC_P"));

    Options without;
    QStringList messages;
    QVERIFY(load(without, config("  <group><name>G</name><condition><name>TEND</name></condition></group>\n"),
                 &messages));
    QCOMPARE(messages, QStringList{kNoDuration});
    QVERIFY(!without.durationOption());
}

QTEST_GUILESS_MAIN(TestOptionsLoader)
#include "tst_optionsloader.moc"

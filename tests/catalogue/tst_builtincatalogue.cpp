// The built-in option structure document, loaded as the main window loads
// it: every group, option, condition, value and detail text, the boundary
// conditions the loader appends, the element symbols in both orders, the
// files, the executors and the run settings.

#include "translation.h"
#include "builtinoptions.h"
#include "options.h"
#include "messagecapture.h"

#include <QtTest>

#include <QDomDocument>

namespace {

QString str(const char16_t* text) { return QString::fromUtf16(text); }

QStringList valueRows(const QList<OValue>& values)
{
    QStringList rows;
    for (const OValue& value : values)
        rows << QStringLiteral("%1|%2|%3|%4").arg(value.index).arg(value.value, value.text, value.detail);
    return rows;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestBuiltInCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void loadsWithoutReports();
    void groups();
    void options_data();
    void options();
    void boundaryConditions_data();
    void boundaryConditions();
    void elements();
    void files();
    void executors();
    void runSettings();
    void documentForm();

private:
    Options m_options;
    bool m_loaded = false;
    QStringList m_messages;
};

void TestBuiltInCatalogue::initTestCase()
{
    {
        MessageCapture quiet;
        QVERIFY(Translation::instance().load(QStringLiteral(":/translate.xml")));
    }
    MessageCapture capture;
    m_loaded = m_options.loadBuiltIn();
    m_messages = capture.lines();
}

void TestBuiltInCatalogue::loadsWithoutReports()
{
    QVERIFY(m_loaded);
    QCOMPARE(m_messages, QStringList());
}

void TestBuiltInCatalogue::groups()
{
    QStringList got;
    for (const auto& group : m_options.groups())
        got << QStringLiteral("%1|%2|%3").arg(group->index).arg(group->name, group->text);
    QStringList expected;
    int index = 0;
    for (const BuiltInGroup& group : kBuiltInGroups)
        expected << QStringLiteral("%1|%2|%3").arg(index++).arg(str(group.name), str(group.text));
    expected << QStringLiteral("6|BCOND|Boundary conditions");
    QCOMPARE(got, expected);
    QCOMPARE(m_options.groups().size(), size_t(7));
}

void TestBuiltInCatalogue::options_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("detail");
    QTest::addColumn<QString>("defaultValue");
    QTest::addColumn<QString>("inputMask");
    QTest::addColumn<QStringList>("values");

    QString group;
    int position = 0;
    for (const BuiltInOption& option : kBuiltInOptions) {
        if (str(option.group) != group) {
            group = str(option.group);
            position = 0;
        }
        QStringList values;
        int index = 0;
        for (const BuiltInValue& value : option.values)
            values << QStringLiteral("%1|%2|%3|%4").arg(index++).arg(str(value.value), str(value.text), str(value.detail));
        // Only an option without values of its own is switched on; every
        // option and condition can be switched off.
        if (option.kind == 1 && option.values.empty())
            values << QStringLiteral("0|on|Enabled|Enable Option");
        values << QStringLiteral("%1|off|Disabled|Disable Option").arg(values.size());

        const QString detail = str(option.detail);
        QTest::newRow(QString::fromUtf16(option.name).toLatin1().constData())
            << group << position++ << option.kind << option.type << str(option.name) << str(option.text)
            << (detail.isEmpty() ? detail : detail + QStringLiteral("<br>")) << str(option.defaultValue)
            << str(option.inputMask) << values;
    }
}

void TestBuiltInCatalogue::options()
{
    QFETCH(QString, group);
    QFETCH(int, position);
    QFETCH(int, kind);
    QFETCH(int, type);
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, detail);
    QFETCH(QString, defaultValue);
    QFETCH(QString, inputMask);
    QFETCH(QStringList, values);

    const OGroup* owner = nullptr;
    for (const auto& candidate : m_options.groups()) {
        if (candidate->name == group)
            owner = candidate.get();
    }
    QVERIFY2(owner, qPrintable(group));
    QVERIFY(size_t(position) < owner->options.size());
    const OOption& option = *owner->options.at(size_t(position));
    QCOMPARE(option.name, name);
    QCOMPARE(option.index, position);
    QCOMPARE(option.kind, kind);
    QCOMPARE(option.type, type);
    QCOMPARE(option.text, text);
    QCOMPARE(option.detail, detail);
    QCOMPARE(option.defaultValue, defaultValue);
    QCOMPARE(option.value, defaultValue);
    QCOMPARE(option.inputMask, inputMask);
    QCOMPARE(valueRows(option.values), values);
    QCOMPARE(m_options.findOption(name), &option);
}

void TestBuiltInCatalogue::boundaryConditions_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("detail");
    QTest::addColumn<QString>("defaultValue");

    QTest::newRow("BC_T") << 1 << "BC_T" << QStringLiteral("Temperature T [\u00B0K]")
                          << "Boundary conditions: Temperature" << "273.15";
    QTest::newRow("BC_P") << 2 << "BC_P" << "Pressure P [Bar]" << "Boundary conditions: Pressure" << "1.0";
    QTest::newRow("BC_V") << 3 << "BC_V" << "Reactor volume v [m^3]" << "Boundary conditions: Reactor volume"
                          << "1.0";
}

void TestBuiltInCatalogue::boundaryConditions()
{
    QFETCH(int, index);
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, detail);
    QFETCH(QString, defaultValue);

    QVERIFY(!m_options.groups().empty());
    const OGroup& group = *m_options.groups().back();
    QCOMPARE(group.name, QStringLiteral("BCOND"));
    QCOMPARE(group.options.size(), size_t(3));
    const OOption& condition = *group.options.at(size_t(index - 1));
    QCOMPARE(condition.index, index);
    QCOMPARE(condition.name, name);
    QCOMPARE(condition.kind, int(OOption::BoundaryCondition));
    QCOMPARE(condition.type, int(OOption::Field));
    QCOMPARE(condition.text, text);
    QCOMPARE(condition.detail, detail);
    QCOMPARE(condition.defaultValue, defaultValue);
    QCOMPARE(condition.value, QString());
    QCOMPARE(condition.inputMask, QStringLiteral("#00.00E#00"));
    QVERIFY(condition.values.isEmpty());
}

void TestBuiltInCatalogue::elements()
{
    QCOMPARE(m_options.elements(),
             (QStringList{"Al", "Ar", "Br", "C", "CL", "Ca", "F", "H", "He", "I", "KET", "Kr",
                          "Mg", "N", "Na", "Ne", "O", "P", "S", "SPR_", "Si", "Xe", "YY"}));
    // Longest first; among the two-letter symbols the weighted key decides,
    // which is not the alphabet (CL before Ca before Al).
    QCOMPARE(m_options.matchOrderedElements(),
             (QStringList{"SPR_", "KET", "CL", "Ca", "Al", "He", "Ar", "Na", "Br", "Ne", "Mg", "YY",
                          "Kr", "Si", "Xe", "C", "F", "H", "I", "N", "O", "P", "S"}));
}

void TestBuiltInCatalogue::files()
{
    QStringList got;
    for (const auto& file : m_options.files())
        got << QStringList{file->id, file->name, file->detail, file->text, file->defaultText}.join(QLatin1Char('|'));
    QCOMPARE(got, (QStringList{"CUSTOM_INP|fort.2|Config||", "MECHANISM|fort.4|Mechanism||",
                               "THERM|fort.9|Them Data||"}));
}

void TestBuiltInCatalogue::executors()
{
    const QDir programDir(QCoreApplication::applicationDirPath());
    const QList<OExecutor>& executors = m_options.executors();
    QCOMPARE(executors.size(), 2);
    QCOMPARE(executors.at(0).name, QStringLiteral("TarInp"));
    QCOMPARE(executors.at(0).path, programDir.filePath(QStringLiteral("tarinp.x")));
    QCOMPARE(executors.at(0).success, QString());
    QCOMPARE(executors.at(0).failure, QStringLiteral("ABNORMAL END"));
    QCOMPARE(executors.at(1).name, QStringLiteral("TarRun"));
    QCOMPARE(executors.at(1).path, programDir.filePath(QStringLiteral("tarrun.x")));
    QCOMPARE(executors.at(1).success, QStringLiteral("CONGRATULATION  -  SIMULATION WAS SUCCESSFUL"));
    QCOMPARE(executors.at(1).failure, QStringLiteral("ABNORMAL END"));
    QVERIFY(QDir::isAbsolutePath(executors.at(0).path));
}

void TestBuiltInCatalogue::runSettings()
{
    QCOMPARE(m_options.compufile(), QStringLiteral("fort.18"));
    QCOMPARE(m_options.profilestart(), QStringLiteral(">DATA"));
    QCOMPARE(m_options.profileend(), QStringLiteral("<"));
    QCOMPARE(m_options.datafile(), QStringLiteral("fort.29"));
    QCOMPARE(m_options.fieldsize(), 18);
    QCOMPARE(m_options.timefield(), QStringLiteral("t(s)"));
    QCOMPARE(m_options.duroption(), QStringLiteral("TEND"));
    QCOMPARE(m_options.coordfield(), QString());
    QCOMPARE(m_options.maxroption(), QString());
    QVERIFY(m_options.durationOption());
    QCOMPARE(m_options.durationOption()->name, QStringLiteral("TEND"));
    QCOMPARE(m_options.durationOption(), m_options.findOption(QStringLiteral("TEND")));
}

void TestBuiltInCatalogue::documentForm()
{
    const QByteArray bytes = readFile(QStringLiteral(":/optstruct.xml"));
    QVERIFY(!bytes.isEmpty());
    QCOMPARE(bytes, readFile(QStringLiteral(TARVEL_SOURCE_DIR "/resources/optstruct.xml")));
    // The two profile marks are written with their entities.
    QVERIFY(bytes.contains("<profilestart>&gt;DATA</profilestart>"));
    QVERIFY(bytes.contains("<profileend>&lt;</profileend>"));

    QDomDocument dom;
    QVERIFY(dom.setContent(bytes));
    // It opens with a comment for the person who edits it.
    QDomNode first = dom.firstChild();
    while (first.isProcessingInstruction())
        first = first.nextSibling();
    QVERIFY(first.isComment());
    QVERIFY(first.toComment().data().size() > 200);
    QCOMPARE(dom.documentElement().tagName(), QStringLiteral("config"));

    // Only TIGN says its type; every other entry takes the default of its kind.
    QStringList typed;
    const QDomNodeList types = dom.elementsByTagName(QStringLiteral("type"));
    for (int i = 0; i < types.size(); ++i)
        typed << types.at(i).parentNode().firstChildElement(QStringLiteral("name")).text();
    QCOMPARE(typed, QStringList{QStringLiteral("TIGN")});

    // CUSTOM_INP carries no text element; the other two an empty one.
    QStringList texts;
    const QDomNodeList files = dom.elementsByTagName(QStringLiteral("file"));
    for (int i = 0; i < files.size(); ++i) {
        const QDomElement file = files.at(i).toElement();
        const QDomElement text = file.firstChildElement(QStringLiteral("text"));
        texts << file.firstChildElement(QStringLiteral("id")).text()
                + (text.isNull() ? QStringLiteral(" none") : QStringLiteral(" empty:") + text.text());
    }
    QCOMPARE(texts, (QStringList{"CUSTOM_INP none", "MECHANISM empty:", "THERM empty:"}));
}

QTEST_GUILESS_MAIN(TestBuiltInCatalogue)
#include "tst_builtincatalogue.moc"

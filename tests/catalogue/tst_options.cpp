// The catalogue's lookups and species rules, over the built-in catalogue
// and over small documents where a case needs one.

#include "translation.h"
#include "options.h"
#include "messagecapture.h"

#include <QtTest>

class TestOptions : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void emptyAfterConstruction();
    void findOption_data();
    void findOption();
    void findOptionLastMatchWins();
    void isValidSpecies_data();
    void isValidSpecies();
    void speciesName_data();
    void speciesName();
    void matchOrder_data();
    void matchOrder();
    void fileTextNormalisesInPlace();
    void resetAll();

private:
    QTemporaryDir m_dir;
    Options m_builtIn;
};

void TestOptions::initTestCase()
{
    QVERIFY(m_dir.isValid());
    MessageCapture quiet;
    QVERIFY(Translation::instance().load(QStringLiteral(":/translate.xml")));
    QVERIFY(m_builtIn.loadBuiltIn());
}

void TestOptions::emptyAfterConstruction()
{
    const Options options;
    QVERIFY(options.groups().empty());
    QVERIFY(options.elements().isEmpty());
    QVERIFY(options.matchOrderedElements().isEmpty());
    QVERIFY(options.files().empty());
    QVERIFY(options.executors().isEmpty());
    QCOMPARE(options.fieldsize(), 0);
    QCOMPARE(options.compufile(), QString());
    QCOMPARE(options.duroption(), QString());
    QVERIFY(!options.durationOption());
    QVERIFY(!options.findOption(QStringLiteral("TEND")));
    QVERIFY(options.parent() == nullptr);
}

void TestOptions::findOption_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("found"); // empty: none

    QTest::newRow("exact") << "TEND" << "TEND";
    QTest::newRow("lower case with blanks") << " tend " << "TEND";
    QTest::newRow("tab and mixed case") << "\tS/v" << "S/V";
    QTest::newRow("boundary condition") << "bc_t" << "BC_T";
    QTest::newRow("a condition") << "C" << "C";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("blanks") << "   " << "";
    QTest::newRow("unknown") << "TENDS" << "";
    QTest::newRow("group name is no option") << "CHEM" << "";
}

void TestOptions::findOption()
{
    QFETCH(QString, name);
    QFETCH(QString, found);
    const OOption* option = m_builtIn.findOption(name);
    QCOMPARE(option ? option->name : QString(), found);
}

void TestOptions::findOptionLastMatchWins()
{
    const QString path = m_dir.filePath(QStringLiteral("duplicates.xml"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<config>\n"
               "  <group><name>ONE</name><option><name>DUP</name><text>first</text></option></group>\n"
               "  <group><name>TWO</name><option><name> dup </name><text>second</text></option>\n"
               "    <condition><name>Dup</name><text>third</text></condition></group>\n"
               "</config>\n");
    file.close();
    Options options;
    MessageCapture quiet;
    QVERIFY(options.loadOptions(path));
    const OOption* option = options.findOption(QStringLiteral("dup"));
    QVERIFY(option);
    QCOMPARE(option->text, QStringLiteral("third"));
}

void TestOptions::isValidSpecies_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("valid");

    QTest::newRow("methane") << "CH4" << true;
    QTest::newRow("lower case") << "ch4" << true;
    QTest::newRow("carbon, hydrogen, digits and a mark") << "C2H5OH*" << true;
    QTest::newRow("blanks are removed") << " C H 4 " << true;
    QTest::newRow("the letter Q") << "CH3Q" << false;
    QTest::newRow("Q alone") << "Q" << false;
    // CL is consumed before C is tried: C first would leave an L.
    QTest::newRow("chlorine written CL") << "CCL4" << true;
    QTest::newRow("chlorine in lower case") << "ccl4" << true;
    QTest::newRow("L alone") << "CL2L" << false;
    QTest::newRow("marks") << "C3H8-(1)_2*" << true;
    QTest::newRow("star alone") << "*" << true;
    QTest::newRow("four-letter symbol") << "SPR_1" << true;
    QTest::newRow("three-letter symbol") << "KET2" << true;
    QTest::newRow("helium") << "he" << true;
    QTest::newRow("E alone") << "E" << false;
    QTest::newRow("plus sign is not a mark") << "H+" << false;
    QTest::newRow("dot is not a mark") << "H.2" << false;
    QTest::newRow("non-ASCII") << "H2Ö" << false;
    QTest::newRow("nothing left of nothing") << "" << true;
}

void TestOptions::isValidSpecies()
{
    QFETCH(QString, name);
    QFETCH(bool, valid);
    QCOMPARE(m_builtIn.isValidSpecies(name), valid);
}

void TestOptions::speciesName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("canonical");

    QTest::newRow("helium in lower case") << "he" << "He";
    QTest::newRow("blanks removed") << " h e " << "He";
    QTest::newRow("methane") << "ch4" << "CH4";
    QTest::newRow("chlorine stays as written") << "ccl4" << "CCL4";
    QTest::newRow("sodium chloride") << "nacl" << "NaCL";
    QTest::newRow("silane") << "sih4" << "SiH4";
    QTest::newRow("calcium before C") << "caco3" << "CaCO3";
    QTest::newRow("marks kept") << "c2h5oh*" << "C2H5OH*";
    QTest::newRow("four-letter symbol") << "spr_ar" << "SPR_Ar";
    QTest::newRow("unknown letters upper case") << "xq" << "XQ";
}

void TestOptions::speciesName()
{
    QFETCH(QString, name);
    QFETCH(QString, canonical);
    QCOMPARE(m_builtIn.speciesName(name), canonical);
}

void TestOptions::matchOrder_data()
{
    QTest::addColumn<QStringList>("symbols");
    QTest::addColumn<QStringList>("ordered");

    QTest::newRow("longer first") << QStringList{"H", "He", "HeX"} << QStringList{"HeX", "He", "H"};
    // The first character weighs more than the second, but the second still
    // counts: Ba (2*66 + 97) comes before Az (2*65 + 122).
    QTest::newRow("weighted key, not the alphabet") << QStringList{"Az", "Ba"} << QStringList{"Ba", "Az"};
    QTest::newRow("upper case before lower") << QStringList{"Ca", "CL"} << QStringList{"CL", "Ca"};
    QTest::newRow("single letters by code") << QStringList{"S", "C", "O"} << QStringList{"C", "O", "S"};
    QTest::newRow("duplicates kept") << QStringList{"O", "H", "O"} << QStringList{"H", "O", "O"};
    QTest::newRow("empty") << QStringList{} << QStringList{};
}

void TestOptions::matchOrder()
{
    QFETCH(QStringList, symbols);
    QFETCH(QStringList, ordered);
    QCOMPARE(Options::matchOrder(symbols), ordered);
}

void TestOptions::fileTextNormalisesInPlace()
{
    Options options;
    {
        MessageCapture quiet;
        QVERIFY(options.loadBuiltIn());
    }
    QString id = QStringLiteral(" custom_inp\t");
    QString* text = options.fileText(id);
    QCOMPARE(id, QStringLiteral("CUSTOM_INP"));
    QVERIFY(text);
    *text = QStringLiteral("edited");
    QCOMPARE(options.files().front()->text, QStringLiteral("edited"));
    QCOMPARE(options.files().front()->defaultText, QString());

    QString therm = QStringLiteral("Therm");
    QCOMPARE(options.fileText(therm), &options.files().at(2)->text);
    QString unknown = QStringLiteral(" fort.2 ");
    QVERIFY(!options.fileText(unknown));
    QCOMPARE(unknown, QStringLiteral("FORT.2"));
}

void TestOptions::resetAll()
{
    Options options;
    {
        MessageCapture quiet;
        QVERIFY(options.loadBuiltIn());
    }
    options.findOption(QStringLiteral("TEND"))->value = QStringLiteral("5.00E+00");
    options.findOption(QStringLiteral("LSENS"))->value = QStringLiteral("2");
    options.findOption(QStringLiteral("BC_T"))->value = QStringLiteral("300");
    *options.fileText(QStringLiteral("MECHANISM")) = QStringLiteral("H2 + O2 = 2OH");

    options.resetAll();
    QCOMPARE(options.findOption(QStringLiteral("TEND"))->value, QStringLiteral("1.00E+04"));
    QCOMPARE(options.findOption(QStringLiteral("LSENS"))->value, QStringLiteral("off"));
    QCOMPARE(options.findOption(QStringLiteral("BC_T"))->value, QStringLiteral("273.15"));
    QCOMPARE(*options.fileText(QStringLiteral("MECHANISM")), QString());
}

QTEST_GUILESS_MAIN(TestOptions)
#include "tst_options.moc"

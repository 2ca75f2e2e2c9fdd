// The CHEMKIN-II readers: elements, species, thermo records, every reaction
// construct, the unit words, the error messages with their line numbers, and
// the prepared mechanism text that tarinp.x hands to tarrun.x.

#include "casedata.h"
#include "constants.h"
#include "mechanismparser.h"
#include "mechanismwriter.h"
#include "thermoparser.h"
#include "wordscanner.h"

#include <QtTest>

#include <cmath>

using namespace tarvelsim;

namespace {

std::vector<std::string> linesOf(const QString &text)
{
    std::vector<std::string> lines;
    for (const QString &line : text.split('\n'))
        lines.push_back(line.toStdString());
    return lines;
}

const char *const header = "ELEMENTS H O N AR END\n"
                           "SPECIES H2 H O2 O OH HO2 H2O2 H2O AR N2 END\n";

bool near(double a, double b, double relative = 1e-12)
{
    return std::fabs(a - b) <= relative * std::max(std::fabs(a), std::fabs(b));
}

} // namespace

class TestChemkin : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void elementsAndSpecies();
    void thermoRecords();
    void thermoSources();
    void reactionConstructs();
    void units_data();
    void units();
    void errors_data();
    void errors();
    void wordScanner();
    void thermoRecordMissingLine_data();
    void thermoRecordMissingLine();
    void everyErrorInOnePass();
    void errorsAreCapped();
    void preparedMechanismRoundTrip_data();
    void preparedMechanismRoundTrip();

private:
    bool parse(const QString &text, Mechanism &mechanism, QString &error, bool checkDuplicates = true);

    std::vector<ThermoRecord> m_database;
    std::vector<std::string> m_h2Thermo;
};

void TestChemkin::initTestCase()
{
    QString why;
    QVERIFY2(CaseData::thermo(QStringLiteral("h2"), m_database, why), qPrintable(why));
    QVERIFY2(CaseData::readLines(QStringLiteral("h2"), QStringLiteral("therm.dat"), m_h2Thermo, why), qPrintable(why));
    QCOMPARE(m_database.size(), size_t(10));
}

bool TestChemkin::parse(const QString &text, Mechanism &mechanism, QString &error, bool checkDuplicates)
{
    MechanismParser parser;
    Diagnostic diagnostic;
    const bool ok = parser.parse(linesOf(text), "fort.4", m_database, "fort.9", checkDuplicates, mechanism, diagnostic);
    error = ok ? QString() : QString::fromStdString(diagnostic.text());
    return ok;
}

void TestChemkin::elementsAndSpecies()
{
    Mechanism m;
    QString error;
    // Keywords cut to four letters, items on the keyword lines and on their
    // own lines, a given atomic weight, a species declared twice.
    QVERIFY2(parse(QStringLiteral("ELEM H O\n  N AR/39.95/ END ! argon with its own weight\n"
                                  "SPEC H2 O2\n H2O\nN2 AR H2 END\nREAC\nEND\n"),
                   m, error),
             qPrintable(error));
    QCOMPARE(m.elements.size(), size_t(4));
    QCOMPARE(QString::fromStdString(m.elements[3].symbol), QStringLiteral("AR"));
    QCOMPARE(m.elements[3].weight, 39.95);
    QCOMPARE(m.elements[0].weight, 1.00797);
    QCOMPARE(m.elements[1].weight, 15.9994);
    QCOMPARE(m.species.size(), size_t(5));
    QCOMPARE(m.speciesIndex("h2o"), 2);
    QCOMPARE(m.speciesIndex("Ar"), 4);
    QVERIFY(near(m.species[2].weight, 2 * 1.00797 + 15.9994));
    QVERIFY(near(m.species[4].weight, 39.95));
    QCOMPARE(m.species[2].atoms(0), 2.0);
    QCOMPARE(m.species[2].atoms(1), 1.0);
    QCOMPARE(m.species[2].line, 4);
    QVERIFY(m.reactions.empty());

    MechanismParser parser;
    Diagnostic diagnostic;
    QVERIFY(parser.parse(linesOf(QStringLiteral("ELEMENTS H END\nSPECIES H2 H H2 END\n")), "fort.4", m_database,
                         "fort.9", true, m, diagnostic));
    QCOMPARE(parser.warnings().size(), size_t(1));
    QCOMPARE(QString::fromStdString(parser.warnings()[0]), QStringLiteral("fort.4, line 2: species \"H2\" is declared twice"));
}

void TestChemkin::thermoRecords()
{
    // Columns as the h2 case's therm.dat writes them: the name, the elements
    // in fields of 5, the phase, the three temperatures, then seven upper and
    // seven lower coefficients in fields of 15.
    const ThermoRecord *h2 = nullptr;
    const ThermoRecord *ar = nullptr;
    for (const ThermoRecord &record : m_database) {
        if (record.name == "H2")
            h2 = &record;
        if (record.name == "AR")
            ar = &record;
    }
    QVERIFY(h2 && ar);
    QCOMPARE(ar->line, 3);
    QCOMPARE(QString::fromStdString(ar->file), QStringLiteral("fort.9"));
    ThermoData data;
    Diagnostic error;
    QVERIFY(ThermoParser::decode(*h2, data, error));
    QCOMPARE(data.composition.size(), size_t(1));
    QCOMPARE(QString::fromStdString(data.composition[0].first), QStringLiteral("H"));
    QCOMPARE(data.composition[0].second, 2.0);
    QCOMPARE(data.phase, 'G');
    QCOMPARE(data.polynomial.lowTemperature(), 200.0);
    QCOMPARE(data.polynomial.commonTemperature(), 1000.0);
    QCOMPARE(data.polynomial.highTemperature(), 5000.0);
    QCOMPARE(data.polynomial.highRange()[0], 2.991423);
    QCOMPARE(data.polynomial.highRange()[1], 0.7000644e-3);
    QCOMPARE(data.polynomial.highRange()[6], -1.35511);
    QCOMPARE(data.polynomial.lowRange()[0], 3.298124);
    QCOMPARE(data.polynomial.lowRange()[5], -1012.521);
    QCOMPARE(data.polynomial.lowRange()[6], -3.294094);
    // cp/R = a1 + a2 T + ... of the range the temperature falls in.
    const double t = 500.0;
    const auto &a = data.polynomial.lowRange();
    const double cp = a[0] + a[1] * t + a[2] * t * t + a[3] * t * t * t + a[4] * t * t * t * t;
    QVERIFY(near(data.polynomial.cpOverR(t), cp));
    const double h = a[0] + a[1] * t / 2 + a[2] * t * t / 3 + a[3] * t * t * t / 4 + a[4] * t * t * t * t / 5 + a[5] / t;
    QVERIFY(near(data.polynomial.enthalpyOverRT(t), h));
    const double s = a[0] * std::log(t) + a[1] * t + a[2] * t * t / 2 + a[3] * t * t * t / 3 + a[4] * t * t * t * t / 4 + a[6];
    QVERIFY(near(data.polynomial.entropyOverR(t), s));
    QVERIFY(near(data.polynomial.cpOverR(2000.0), data.polynomial.highRange()[0] + 2000.0 * data.polynomial.highRange()[1]
                                                      + 4e6 * data.polynomial.highRange()[2]
                                                      + 8e9 * data.polynomial.highRange()[3]
                                                      + 16e12 * data.polynomial.highRange()[4]));

    // A blank common temperature takes the one of the header line.
    std::vector<std::string> lines = {"THERMO", "   300.000  1234.000  5000.000"};
    for (int i = 2; i < 6; ++i)
        lines.push_back(m_h2Thermo[static_cast<size_t>(i)]);
    lines[2].replace(65, 8, std::string(8, ' '));
    lines.push_back("END");
    std::vector<ThermoRecord> records;
    QVERIFY(ThermoParser::readFile(lines, "fort.9", records, error));
    QCOMPARE(records.size(), size_t(1));
    QVERIFY(ThermoParser::decode(records[0], data, error));
    QCOMPARE(data.polynomial.commonTemperature(), 1234.0);
    QCOMPARE(QString::fromStdString(data.composition[0].first), QStringLiteral("AR"));
}

void TestChemkin::thermoSources()
{
    // The mechanism's own THERMO section wins over the database; "THERMO ALL"
    // leaves the database out.
    std::string h2Record;
    for (int i = 10; i < 14; ++i)
        h2Record += m_h2Thermo[static_cast<size_t>(i)] + '\n';
    QVERIFY(h2Record.rfind("H2  ", 0) == 0);
    const size_t at = h2Record.find("0.03298124E+02");
    QVERIFY(at != std::string::npos);
    h2Record.replace(at, 14, "0.03300000E+02");
    Mechanism m;
    QString error;
    QVERIFY2(parse(QStringLiteral("ELEMENTS H O END\nSPECIES H2 O2 END\nTHERMO\n   300.000  1000.000  5000.000\n")
                       + QString::fromStdString(h2Record) + QStringLiteral("END\nREACTIONS\nEND\n"),
                   m, error),
             qPrintable(error));
    QCOMPARE(m.species[0].thermo.lowRange()[0], 3.3);
    QCOMPARE(m.species[1].thermo.lowRange()[0], 3.212936);

    QVERIFY(!parse(QStringLiteral("ELEMENTS H O END\nSPECIES H2 O2 END\nTHERMO ALL\n   300.000  1000.000  5000.000\n")
                       + QString::fromStdString(h2Record) + QStringLiteral("END\n"),
                   m, error));
    QCOMPARE(error, QStringLiteral("fort.4, line 2: species \"O2\" has no thermo data in fort.4"));
}

void TestChemkin::reactionConstructs()
{
    Mechanism m;
    QString error;
    const QString text = QString::fromLatin1(header) + QStringLiteral(
        "REACTIONS   ! cal/mole and moles by default\n"
        "! a comment line\n"
        "H+O2=O+OH                 3.52E16  -0.7  17069.8 ! plain \"=\"\n"
        "H2 + O2 => 2OH            1.7E13    0.0  47780.  \n"
        "O+H2<=>H+OH               5.06E04   2.67  6290.0\n"
        "\n"
        "H+H+M=H2+M                1.0E18   -1.0     0.0\n"
        "   H2O/0.0/ H2/0.0/  AR/ .63/\n"
        "H+O2(+M)=HO2(+M)          4.52E13   0.0     0.0\n"
        "   LOW / 1.05E19 -1.257 0.0 /\n"
        "   TROE / 0.5 1.0E-30 1.0E+30 /\n"
        "   H2O/11.89/\n"
        "OH+OH(+M)=H2O2(+M)        1.24E14  -0.37    0.0\n"
        "   LOW/3.04E30 -4.63 2049.0/ TROE/0.47 100.0 2000.0 1.0E15/\n"
        "H+O2(+N2)=HO2(+N2)        4.52E13   0.0     0.0\n"
        "   LOW / 2.03E20 -1.59 0.0 /\n"
        "   SRI / 0.45 797.0 979.0 /\n"
        "H+OH(+AR)<=>H2O(+AR)      1.0E13    0.0     0.0\n"
        "   LOW / 1.0E20 -1.0 0.0 /  SRI / 0.5 500.0 800.0 1.1 0.2 /\n"
        "OH+HO2=H2O+O2             2.13E28  -4.827 3500.0\n"
        "    DUP\n"
        "OH+HO2=H2O+O2             9.10E14   0.0  10964.0\n"
        "    DUPLICATE\n"
        "HO2+HO2=H2O2+O2           4.2E14    0.0  11982.0\n"
        "   REV / 1.0E13 0.5 1000.0 /\n"
        "H2+0.5O2=>H2O             1.0E10    0.0  1000.0 &\n"
        "\n"
        "END\n");
    // "&" at the end of a reaction line continues the line: here the empty
    // next line carries nothing.
    QVERIFY2(parse(text, m, error), qPrintable(error));
    QCOMPARE(m.reactions.size(), size_t(12));
    const double perCalorie = 1.0 / constants::gasConstantCalories;
    auto species = [&](const char *name) { return m.speciesIndex(name); };

    const Reaction &plain = m.reactions[0];
    QCOMPARE(plain.line, 5);
    QVERIFY(plain.reversible);
    QCOMPARE(plain.kind, Reaction::Kind::Elementary);
    QCOMPARE(plain.rate.a, 3.52e16);
    QCOMPARE(plain.rate.b, -0.7);
    QVERIFY(near(plain.rate.e, 17069.8 * perCalorie));
    QCOMPARE(QString::fromStdString(plain.equation(m.species)), QStringLiteral("H+O2<=>O+OH"));

    const Reaction &irreversible = m.reactions[1];
    QVERIFY(!irreversible.reversible);
    QCOMPARE(irreversible.products.size(), size_t(1));
    QCOMPARE(irreversible.products[0].species, species("OH"));
    QCOMPARE(irreversible.products[0].coefficient, 2.0);
    QCOMPARE(QString::fromStdString(irreversible.equation(m.species)), QStringLiteral("H2+O2=>2OH"));
    QVERIFY(m.reactions[2].reversible);

    const Reaction &third = m.reactions[3];
    QCOMPARE(third.kind, Reaction::Kind::ThirdBody);
    QCOMPARE(third.reactants.size(), size_t(1));
    QCOMPARE(third.reactants[0].coefficient, 2.0);
    QCOMPARE(third.efficiency(species("H2O")), 0.0);
    QCOMPARE(third.efficiency(species("H2")), 0.0);
    QCOMPARE(third.efficiency(species("AR")), 0.63);
    QCOMPARE(third.efficiency(species("N2")), 1.0);
    QCOMPARE(QString::fromStdString(third.equation(m.species)), QStringLiteral("2H+M<=>H2+M"));

    const Reaction &troe3 = m.reactions[4];
    QCOMPARE(troe3.kind, Reaction::Kind::Falloff);
    QCOMPARE(troe3.collider, -1);
    QVERIFY(troe3.hasLowPressure);
    QCOMPARE(troe3.lowPressure.a, 1.05e19);
    QCOMPARE(troe3.lowPressure.b, -1.257);
    QCOMPARE(troe3.form, Reaction::FalloffForm::Troe);
    QCOMPARE(troe3.falloffParameters, (std::vector<double>{0.5, 1e-30, 1e30}));
    QCOMPARE(troe3.efficiency(species("H2O")), 11.89);

    const Reaction &troe4 = m.reactions[5];
    QCOMPARE(troe4.falloffParameters, (std::vector<double>{0.47, 100.0, 2000.0, 1e15}));
    QVERIFY(near(troe4.lowPressure.e, 2049.0 * perCalorie));

    const Reaction &sri3 = m.reactions[6];
    QCOMPARE(sri3.collider, species("N2"));
    QCOMPARE(sri3.form, Reaction::FalloffForm::Sri);
    QCOMPARE(sri3.falloffParameters, (std::vector<double>{0.45, 797.0, 979.0}));
    QCOMPARE(QString::fromStdString(sri3.equation(m.species)), QStringLiteral("H+O2(+N2)<=>HO2(+N2)"));
    const Reaction &sri5 = m.reactions[7];
    QCOMPARE(sri5.collider, species("AR"));
    QCOMPARE(sri5.falloffParameters, (std::vector<double>{0.5, 500.0, 800.0, 1.1, 0.2}));

    QVERIFY(m.reactions[8].duplicate);
    QVERIFY(m.reactions[9].duplicate);
    QVERIFY(!m.reactions[10].duplicate);
    QCOMPARE(m.duplicateCount(), 2);

    const Reaction &reverse = m.reactions[10];
    QVERIFY(reverse.hasReverseRate);
    QCOMPARE(reverse.reverseRate.a, 1e13);
    QCOMPARE(reverse.reverseRate.b, 0.5);
    QVERIFY(near(reverse.reverseRate.e, 1000.0 * perCalorie));

    const Reaction &real = m.reactions[11];
    QCOMPARE(real.reactants.size(), size_t(2));
    QCOMPARE(real.reactants[1].species, species("O2"));
    QCOMPARE(real.reactants[1].coefficient, 0.5);
    QCOMPARE(real.line, 28);

    // NOCH: an undeclared duplicate passes when the check is off.
    QVERIFY(parse(QString::fromLatin1(header) + "REACTIONS\nH+O2=O+OH 1 0 0\nO+OH=H+O2 1 0 0\nEND\n", m, error, false));
    QCOMPARE(m.reactions.size(), size_t(2));
}

void TestChemkin::units_data()
{
    QTest::addColumn<QString>("words");
    QTest::addColumn<QString>("reaction");
    QTest::addColumn<double>("activation");
    QTest::addColumn<double>("expectedE");
    QTest::addColumn<double>("expectedA");
    QTest::addColumn<double>("expectedLowA");

    const double r = constants::gasConstantCalories;
    const double na = constants::avogadro;
    QTest::newRow("default") << "" << "H+O2=O+OH" << 1000.0 << 1000.0 / r << 2.0 << 0.0;
    QTest::newRow("CAL/MOLE") << "CAL/MOLE" << "H+O2=O+OH" << 1000.0 << 1000.0 / r << 2.0 << 0.0;
    QTest::newRow("KCAL/MOLE") << "KCAL/MOLE" << "H+O2=O+OH" << 2.5 << 2500.0 / r << 2.0 << 0.0;
    QTest::newRow("JOULES/MOLE") << "JOULES/MOLE" << "H+O2=O+OH" << 4184.0 << 1000.0 / r << 2.0 << 0.0;
    QTest::newRow("KJOULES/MOLE") << "KJOULES/MOLE" << "H+O2=O+OH" << 4.184 << 1000.0 / r << 2.0 << 0.0;
    QTest::newRow("KELVINS") << "KELVINS" << "H+O2=O+OH" << 1234.5 << 1234.5 << 2.0 << 0.0;
    QTest::newRow("EVOLTS") << "EVOLTS" << "H+O2=O+OH" << 1.0 << constants::kelvinsPerElectronVolt << 2.0 << 0.0;
    QTest::newRow("MOLES KELVINS") << "MOLES KELVINS" << "H+O2=O+OH" << 10.0 << 10.0 << 2.0 << 0.0;
    // A rate constant of order n per molecule is N_A^(n-1) times one per mole:
    // a bimolecular reaction, a third-body reaction (order 3) and a falloff
    // reaction (k_inf of order 2, k0 of order 3).
    QTest::newRow("MOLECULES bimolecular") << "MOLECULES KCAL/MOLE" << "H+O2=O+OH" << 1.0 << 1000.0 / r << 2.0 * na << 0.0;
    QTest::newRow("MOLECULES third body") << "KELVINS MOLECULES" << "H+O+M=OH+M" << 5.0 << 5.0 << 2.0 * na * na << 0.0;
    QTest::newRow("MOLECULES falloff") << "MOLECULES" << "H+O2(+M)=HO2(+M)\nLOW/3.0 0 0/" << 0.0 << 0.0 << 2.0 * na
                                       << 3.0 * na * na;
    QTest::newRow("lower case") << "kcal/mole molecules" << "H+O2=O+OH" << 1.0 << 1000.0 / r << 2.0 * na << 0.0;
}

void TestChemkin::units()
{
    QFETCH(QString, words);
    QFETCH(QString, reaction);
    QFETCH(double, activation);
    QFETCH(double, expectedE);
    QFETCH(double, expectedA);
    QFETCH(double, expectedLowA);
    QStringList lines = reaction.split('\n');
    lines[0] += QStringLiteral(" 2.0 0.0 ") + QString::number(activation, 'g', 17);
    Mechanism m;
    QString error;
    QVERIFY2(parse(QString::fromLatin1(header) + "REACTIONS " + words + '\n' + lines.join('\n') + "\nEND\n", m, error),
             qPrintable(error));
    QCOMPARE(m.reactions.size(), size_t(1));
    QVERIFY2(near(m.reactions[0].rate.e, expectedE), qPrintable(QString::number(m.reactions[0].rate.e, 'g', 17)));
    QVERIFY(near(m.reactions[0].rate.a, expectedA));
    if (expectedLowA > 0)
        QVERIFY(near(m.reactions[0].lowPressure.a, expectedLowA));
}

void TestChemkin::errors_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("message");

    // Everything below the two header lines, so reaction lines start at line 3.
    QTest::newRow("unknown species") << "REACTIONS\nH+XY=HO2 1 0 0\nEND"
                                     << "fort.4, line 4: unknown species \"XY\" in the reaction";
    QTest::newRow("unbalanced") << "REACTIONS\n! O is lost\nH+O2=HO2+O 1 0 0\nEND"
                                << "fort.4, line 5: reaction H+O2<=>HO2+O does not conserve element O";
    QTest::newRow("falloff without LOW") << "REACTIONS\nH+O2(+M)=HO2(+M) 1 0 0\n TROE/0.5 1 1/\nEND"
                                         << "fort.4, line 4: the falloff reaction needs its low-pressure limit on a LOW line";
    QTest::newRow("LOW without falloff") << "REACTIONS\nH+O2+M=HO2+M 1 0 0\nLOW/1 0 0/\nEND"
                                         << "fort.4, line 5: LOW belongs to a falloff reaction with \"(+M)\" or \"(+species)\"";
    QTest::newRow("TROE with 2 parameters") << "REACTIONS\nH+O2(+M)=HO2(+M) 1 0 0\nLOW/1 0 0/\nTROE/0.5 1/\nEND"
                                            << "fort.4, line 6: TROE needs 3 or 4 parameters, found 2";
    QTest::newRow("SRI with 4 parameters") << "REACTIONS\nH+O2(+M)=HO2(+M) 1 0 0\nLOW/1 0 0/\nSRI/1 2 3 4/\nEND"
                                           << "fort.4, line 6: SRI needs 3 or 5 parameters, found 4";
    QTest::newRow("LOW with 2 parameters") << "REACTIONS\nH+O2(+M)=HO2(+M) 1 0 0\nLOW/1 0/\nEND"
                                           << "fort.4, line 5: LOW needs 3 parameters, found 2";
    QTest::newRow("undeclared duplicate") << "REACTIONS\nH+O2=O+OH 1 0 0\nO2+H2=OH+OH 1 0 0\nOH+O=O2+H 2 0 0\nEND"
                                          << "fort.4, line 6: reaction 3 (OH+O<=>O2+H) repeats reaction 1 of line 4; mark both DUPLICATE";
    QTest::newRow("one-sided DUPLICATE") << "REACTIONS\nH+O2=O+OH 1 0 0\nDUP\nH+O2=O+OH 2 0 0\nEND"
                                         << "fort.4, line 6: reaction 2 (H+O2<=>O+OH) repeats reaction 1 of line 4; mark both DUPLICATE";
    QTest::newRow("DUPLICATE alone") << "REACTIONS\nH+O2=O+OH 1 0 0\nDUPLICATE\nEND"
                                     << "fort.4, line 4: reaction 1 (H+O2<=>O+OH) is marked DUPLICATE but has no duplicate";
    QTest::newRow("unsupported keyword") << "REACTIONS\nH+O2=O+OH 1 0 0\n PLOG/1 1 0 0/\nEND"
                                         << "fort.4, line 5: the auxiliary keyword \"PLOG\" is not supported";
    QTest::newRow("not a number") << "REACTIONS\nH+O2=O+OH 1.0E1x 0 0\nEND"
                                  << "fort.4, line 4: the Arrhenius parameter \"1.0E1x\" is not a number";
    QTest::newRow("missing parameter") << "REACTIONS\nH+O2=O+OH 1.0 0\nEND"
                                       << "fort.4, line 4: a reaction line needs the equation followed by A, b and E";
    QTest::newRow("unknown unit") << "REACTIONS KCAL/MOLE FURLONGS\nEND"
                                  << "fort.4, line 3: unknown unit \"FURLONGS\" on the REACTIONS line";
    QTest::newRow("third body on one side") << "REACTIONS\nH+O+M=OH 1 0 0\nEND"
                                            << "fort.4, line 4: the third body \"+M\" must appear once on each side";
    QTest::newRow("falloff on one side") << "REACTIONS\nH+O2(+M)=HO2 1 0 0\nEND"
                                         << "fort.4, line 4: the falloff collider \"(+M)\" must appear on both sides";
    QTest::newRow("efficiency without third body") << "REACTIONS\nH+O2=O+OH 1 0 0\nH2O/5/\nEND"
                                                   << "fort.4, line 5: the efficiency of H2O belongs to a reaction with \"+M\" or \"(+M)\"";
    QTest::newRow("unknown efficiency") << "REACTIONS\nH+O+M=OH+M 1 0 0\nCO2/5/\nEND"
                                        << "fort.4, line 5: \"CO2\" is neither an auxiliary keyword nor a species with an efficiency";
    QTest::newRow("REV on irreversible") << "REACTIONS\nH+O2=>O+OH 1 0 0\nREV/1 0 0/\nEND"
                                         << "fort.4, line 5: REV belongs to a reversible reaction, not to one written with \"=>\"";
    QTest::newRow("auxiliary first") << "REACTIONS\nDUPLICATE\nEND" << "fort.4, line 4: an auxiliary line before the first reaction";
    QTest::newRow("two arrows") << "REACTIONS\nH+O2=O+OH=H2O 1 0 0\nEND"
                                << "fort.4, line 4: the reaction \"H+O2=O+OH=H2O\" has more than one \"=\"";
    QTest::newRow("backward arrow") << "REACTIONS\nO+OH<=H+O2 1 0 0\nEND"
                                    << "fort.4, line 4: \"<=\" is not a reaction arrow; write the reaction the other way with \"=>\"";
    QTest::newRow("outside any section") << "FOO BAR\n" << "fort.4, line 3: \"FOO\" is outside any section; expected ELEMENTS, SPECIES, THERMO or REACTIONS";
}

void TestChemkin::errors()
{
    QFETCH(QString, body);
    QFETCH(QString, message);
    Mechanism m;
    QString error;
    QVERIFY(!parse(QString::fromLatin1(header) + body + '\n', m, error));
    QCOMPARE(error, message);

    // Errors of the sections before REACTIONS.
    QVERIFY(!parse(QStringLiteral("ELEMENTS H O\nXX END\nSPECIES H2 END\n"), m, error));
    QCOMPARE(error, QStringLiteral("fort.4, line 2: element \"XX\" is not a known element; give its atomic weight as XX/weight/"));
    QVERIFY(!parse(QStringLiteral("ELEMENTS H O END\nSPECIES H2\nH2O2 CO END\n"), m, error));
    QCOMPARE(error, QStringLiteral("fort.4, line 3: species \"CO\" has no thermo data in fort.4 or fort.9"));
    QVERIFY(!parse(QStringLiteral("ELEMENTS H END\nSPECIES H2 H2O END\n"), m, error));
    QCOMPARE(error, QStringLiteral("fort.9, line 15: species \"H2O\" contains element \"O\", which the ELEMENTS section does not declare"));
    QVERIFY(!parse(QStringLiteral("ELEMENTS H END\nSPECIES H2 M END\n"), m, error));
    QCOMPARE(error, QStringLiteral("fort.4, line 2: \"M\" cannot be a species name"));
    QVERIFY(!parse(QStringLiteral("ELEMENTS H END\nREACTIONS\nEND\n"), m, error));
    QCOMPARE(error, QStringLiteral("fort.4, line 2: the REACTIONS section must follow the SPECIES section"));

    // A damaged coefficient of a species in use is reported at its line.
    std::vector<std::string> lines = {"THERMO", "   300.000  1000.000  5000.000"};
    for (int i = 10; i < 14; ++i)
        lines.push_back(m_h2Thermo[static_cast<size_t>(i)]);
    lines[4].replace(15, 15, "   0.0x000E+00");
    lines.push_back("END");
    std::vector<ThermoRecord> records;
    Diagnostic diagnostic;
    QVERIFY(ThermoParser::readFile(lines, "fort.9", records, diagnostic));
    ThermoData data;
    QVERIFY(!ThermoParser::decode(records[0], data, diagnostic));
    QCOMPARE(QString::fromStdString(diagnostic.text()),
             QStringLiteral("fort.9, line 5: thermo data of H2: a coefficient in columns 16-30 is not a number: \"0.0x000E+00\""));
}

void TestChemkin::wordScanner()
{
    const std::string text = "  LOW / 1.0E19 -1.0 0.0 /H2O/6.4/ DUP  /x AR/2";
    WordScanner scanner(text);
    std::string inside;
    QVERIFY(!scanner.atEnd());
    QCOMPARE(QString::fromStdString(scanner.word()), QStringLiteral("LOW"));
    QCOMPARE(scanner.parameters(inside), WordScanner::Parameters::Closed);
    QCOMPARE(QString::fromStdString(inside), QStringLiteral(" 1.0E19 -1.0 0.0 "));
    QCOMPARE(QString::fromStdString(scanner.word()), QStringLiteral("H2O"));
    QCOMPARE(scanner.parameters(inside), WordScanner::Parameters::Closed);
    QCOMPARE(QString::fromStdString(inside), QStringLiteral("6.4"));
    QCOMPARE(QString::fromStdString(scanner.word()), QStringLiteral("DUP"));
    // "/x AR/" are DUP's parameters: a slash after blanks still belongs to the word before.
    QCOMPARE(scanner.parameters(inside), WordScanner::Parameters::Closed);
    QCOMPARE(QString::fromStdString(inside), QStringLiteral("x AR"));
    QCOMPARE(QString::fromStdString(scanner.word()), QStringLiteral("2"));
    QCOMPARE(scanner.parameters(inside), WordScanner::Parameters::None);
    QVERIFY(scanner.atEnd());

    WordScanner unclosed("AR /39.95");
    QCOMPARE(QString::fromStdString(unclosed.word()), QStringLiteral("AR"));
    QCOMPARE(unclosed.parameters(inside), WordScanner::Parameters::Unclosed);
    QVERIFY(unclosed.atEnd());

    WordScanner entries("MOLE   1/TPRO     /  /");
    QCOMPARE(QString::fromStdString(entries.word()), QStringLiteral("MOLE"));
    QVERIFY(!entries.slash());
    QCOMPARE(QString::fromStdString(entries.word()), QStringLiteral("1"));
    QVERIFY(entries.slash());
    QCOMPARE(QString::fromStdString(entries.rest()), QStringLiteral("TPRO     /  /"));
    QCOMPARE(QString::fromStdString(entries.word()), QStringLiteral("TPRO"));
    QVERIFY(entries.slash());
    QVERIFY(entries.slash());
    QVERIFY(!entries.slash());
    QVERIFY(entries.atEnd());
}

void TestChemkin::thermoRecordMissingLine_data()
{
    QTest::addColumn<int>("dropped"); // line of the file's records left out, 0-based
    QTest::addColumn<QString>("message");
    // The file's lines 3-6 are AR, 7-10 H, 11-14 H2; without one of H's
    // lines, the record of H is named at its first line.
    QTest::newRow("line 2")
        << 7 << "fort.9, line 7: the thermo record of species H lacks its line 2 (the line numbered 2 in column 80)";
    QTest::newRow("line 3")
        << 8 << "fort.9, line 7: the thermo record of species H lacks its line 3 (the line numbered 3 in column 80)";
    QTest::newRow("line 4")
        << 9 << "fort.9, line 7: the thermo record of species H lacks its line 4 (the line numbered 4 in column 80)";
    QTest::newRow("last record's line 4")
        << -1 << "fort.9, line 11: the thermo record of species H2 lacks its line 4 (the line numbered 4 in column 80)";
}

void TestChemkin::thermoRecordMissingLine()
{
    QFETCH(int, dropped);
    QFETCH(QString, message);
    std::vector<std::string> lines(m_h2Thermo.begin(), m_h2Thermo.begin() + 14);
    if (dropped >= 0)
        lines.erase(lines.begin() + dropped);
    else
        lines.pop_back();
    std::vector<ThermoRecord> records;
    Diagnostic error;
    QVERIFY(!ThermoParser::readFile(lines, "fort.9", records, error));
    QCOMPARE(QString::fromStdString(error.text()), message);
}

void TestChemkin::everyErrorInOnePass()
{
    // One error of each kind, each reported at its own line, in one pass;
    // the good reactions between them are kept apart from the bad ones.
    const QString text = QStringLiteral("ELEMENTS H O N AR XX END\n" // 1: XX unknown
                                        "SPECIES H2 H O2 O OH HO2 H2O2 H2O AR N2 M END\n" // 2: M
                                        "REACTIONS\n" // 3
                                        "H+O2=O+OH 1 0 0\n" // 4
                                        "H+XY=HO2 1 0 0\n" // 5: unknown species
                                        "  LOW/1 0 0/\n" // 6: skipped with it
                                        "H+O2(+M)=HO2(+M) 1 0 0\n" // 7
                                        "  LOW/1 0/\n" // 8: two parameters
                                        "H+O2=HO2+O 1 0 0\n" // 9: unbalanced
                                        "H2+O2=OH+OH 1 0 0\n" // 10
                                        "OH+O=O2+H 2 0 0\n" // 11: repeats line 4
                                        "END\n");
    MechanismParser parser;
    Mechanism m;
    Diagnostic error;
    QVERIFY(!parser.parse(linesOf(text), "fort.4", m_database, "fort.9", true, m, error));
    QStringList found;
    for (const Diagnostic& diagnostic : parser.errors())
        found << QString::fromStdString(diagnostic.text());
    const QStringList expected = {
        "fort.4, line 2: \"M\" cannot be a species name",
        "fort.4, line 1: element \"XX\" is not a known element; give its atomic weight as XX/weight/",
        "fort.4, line 5: unknown species \"XY\" in the reaction",
        "fort.4, line 8: LOW needs 3 parameters, found 2",
        "fort.4, line 9: reaction H+O2<=>HO2+O does not conserve element O",
        "fort.4, line 11: reaction 3 (OH+O<=>O2+H) repeats reaction 1 of line 4; mark both DUPLICATE",
    };
    QCOMPARE(found, expected);
    QCOMPARE(parser.errorCount(), size_t(6));
    QCOMPARE(QString::fromStdString(error.text()), expected.front());
}

void TestChemkin::errorsAreCapped()
{
    QString text = QString::fromLatin1(header) + QStringLiteral("REACTIONS\n");
    for (int i = 0; i < 60; ++i)
        text += QStringLiteral("H+O2=O+OH 1.0x 0 0\n");
    MechanismParser parser;
    Mechanism m;
    Diagnostic error;
    QVERIFY(!parser.parse(linesOf(text + QStringLiteral("END\n")), "fort.4", m_database, "fort.9", true, m, error));
    QCOMPARE(parser.errors().size(), MechanismParser::maxErrors);
    QCOMPARE(parser.errorCount(), size_t(60));
    QCOMPARE(parser.errors().back().line, 3 + 50);
}

void TestChemkin::preparedMechanismRoundTrip_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("species");
    QTest::addColumn<int>("reactions");
    QTest::addColumn<int>("duplicates");
    // Counts taken from the files: the species lists, the reaction lines and
    // the DUP / DUPLICATE lines.
    QTest::newRow("h2") << "h2" << 10 << 27 << 4;
    QTest::newRow("gri") << "gri" << 53 << 325 << 6;
}

void TestChemkin::preparedMechanismRoundTrip()
{
    QFETCH(QString, name);
    QFETCH(int, species);
    QFETCH(int, reactions);
    QFETCH(int, duplicates);
    Mechanism original;
    QString why;
    QVERIFY2(CaseData::mechanism(name, original, why), qPrintable(why));
    QCOMPARE(int(original.species.size()), species);
    QCOMPARE(int(original.reactions.size()), reactions);
    QCOMPARE(original.duplicateCount(), duplicates);

    // tarrun.x reads what tarinp.x wrote with the same parser and no
    // database: every number must come back bit for bit.
    const std::string text = MechanismWriter::write(original);
    Mechanism copy;
    MechanismParser parser;
    Diagnostic error;
    std::vector<std::string> lines;
    for (const QString &line : QString::fromStdString(text).split('\n'))
        lines.push_back(line.toStdString());
    QVERIFY2(parser.parse(lines, "tarmech.inp", {}, "", true, copy, error), error.text().c_str());
    QVERIFY(parser.warnings().empty());
    QVERIFY(copy == original);
    QCOMPARE(MechanismWriter::write(copy), text);
}

QTEST_APPLESS_MAIN(TestChemkin)
#include "tst_chemkin.moc"

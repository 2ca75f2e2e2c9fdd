// What physics demands of the reactor whatever the mechanism: rate
// constants as the formulas define them, a Jacobian that is the derivative
// of the right-hand side, conserved elements and energy, a held temperature,
// chemical equilibrium at the end of a long run, and agreement with the
// CHEMKIN-II closed-reactor results of the validation cases.

#include "casedata.h"
#include "constants.h"
#include "kinetics.h"
#include "mechanismparser.h"
#include "mixture.h"
#include "reactor.h"
#include "simulation.h"

#include <QtTest>

#include <cmath>

using namespace tarvelsim;

namespace {

bool near(double a, double b, double relative)
{
    return std::fabs(a - b) <= relative * std::max(std::fabs(a), std::fabs(b));
}

// Mass fractions from relative mole numbers by species name.
std::vector<double> massFractions(const Mechanism &m, const std::vector<std::pair<std::string, double>> &moles)
{
    std::vector<double> x(m.species.size(), 0.0), y(m.species.size(), 0.0);
    double total = 0.0;
    for (const auto &entry : moles)
        total += entry.second;
    for (const auto &entry : moles)
        x[static_cast<size_t>(m.speciesIndex(entry.first))] = entry.second / total;
    Mixture(m).massFractionsFromMoles(x.data(), y.data());
    return y;
}

// Moles of each element per gram of mixture.
std::vector<double> elementTotals(const Mechanism &m, const std::vector<double> &y)
{
    std::vector<double> totals(m.elements.size(), 0.0);
    for (size_t k = 0; k < m.species.size(); ++k) {
        for (const auto &entry : m.species[k].composition)
            totals[static_cast<size_t>(entry.first)] += entry.second * y[k] / m.species[k].weight;
    }
    return totals;
}

double gibbs(const Species &species, double t)
{
    return species.thermo.enthalpyOverRT(t) - species.thermo.entropyOverR(t);
}

} // namespace

class TestPhysics : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void rateConstants();
    void jacobian_data();
    void jacobian();
    void againstChemkin_data();
    void againstChemkin();
    void sparseAgreesWithDense_data();
    void sparseAgreesWithDense();
    void conservation_data();
    void conservation();
    void equilibrium_data();
    void equilibrium();
    void outputSchedule();
    void inductionTime();
    void compressionFollowsAdiabat();
    void imposedTemperature();
    void wallCoolsExponentially();

private:
    Mechanism& mechanism(const QString& name)
    {
        return name == QStringLiteral("gri") ? m_gri : name == QStringLiteral("nc7h16") ? m_heptane : m_h2;
    }
    bool caseRun(const QString& name, Integrator::LinearAlgebra algebra, SimulationResult& result, QString& why,
                 const ReactorModel& model = ReactorModel());
    ReactorState h2Air(double temperature, double pressure) const;
    ReactorState argon(double temperature, double pressure) const;
    // A run on the h2 mechanism keeping every output sample.
    bool record(const SimulationSettings& settings, const ReactorState& initial, std::vector<Sample>& samples,
                SimulationResult& result) const;

    Mechanism m_h2;
    Mechanism m_gri;
    Mechanism m_heptane;
    std::vector<ThermoRecord> m_h2Thermo;
};

void TestPhysics::initTestCase()
{
    QString why;
    QVERIFY2(CaseData::mechanism(QStringLiteral("h2"), m_h2, why), qPrintable(why));
    QVERIFY2(CaseData::mechanism(QStringLiteral("gri"), m_gri, why), qPrintable(why));
    QVERIFY2(CaseData::mechanism(QStringLiteral("nc7h16"), m_heptane, why), qPrintable(why));
    QCOMPARE(m_heptane.species.size(), size_t(544));
    QVERIFY2(CaseData::thermo(QStringLiteral("h2"), m_h2Thermo, why), qPrintable(why));
}

ReactorState TestPhysics::h2Air(double temperature, double pressure) const
{
    ReactorState state;
    state.temperature = temperature;
    state.pressure = pressure;
    state.volume = 1.0;
    state.massFractions = massFractions(m_h2, {{"H2", 1.0}, {"O2", 1.0}, {"N2", 3.76}});
    return state;
}

ReactorState TestPhysics::argon(double temperature, double pressure) const
{
    ReactorState state;
    state.temperature = temperature;
    state.pressure = pressure;
    state.volume = 1.0;
    state.massFractions = massFractions(m_h2, {{"AR", 1.0}});
    return state;
}

bool TestPhysics::record(const SimulationSettings& settings, const ReactorState& initial, std::vector<Sample>& samples,
                         SimulationResult& result) const
{
    samples.clear();
    Simulation simulation(m_h2, settings);
    return simulation.run(
        initial,
        [&](const Sample& sample) {
            samples.push_back(sample);
            return true;
        },
        result);
}

void TestPhysics::rateConstants()
{
    // One reaction of each kind, rates recomputed here from the textbook
    // formulas: Arrhenius, third body with efficiencies, Lindemann, Troe with
    // 3 and 4 parameters, SRI with 5, a (+species) collider, REV, and reverse
    // rates from the equilibrium constant in concentration units.
    const char *text = "ELEMENTS H O N AR END\nSPECIES H2 H O2 O OH HO2 H2O2 H2O AR N2 END\n"
                       "REACTIONS KELVINS\n"
                       "O+H2=H+OH          5.06E04  2.67  3165.0\n"
                       "H+O+M=OH+M         4.71E18 -1.0   0.0\n"
                       "  H2O/6.4/ AR/0.5/\n"
                       "H+O2(+M)=HO2(+M)   4.52E13  0.0   0.0\n"
                       "  LOW/1.05E19 -1.257 0.0/  H2O/0.0/ H2/2.0/\n"
                       "OH+OH(+M)=H2O2(+M) 1.24E14 -0.37  0.0\n"
                       "  LOW/3.04E30 -4.63 1031.0/ TROE/0.47 100.0 2000.0 1.0E15/\n"
                       "H+OH(+M)=H2O(+M)   2.0E13   0.2  100.0\n"
                       "  LOW/4.0E21 -2.0 0.0/ TROE/0.6 300.0 900.0/\n"
                       "H+O2(+N2)=HO2(+N2) 4.52E13  0.0   0.0\n"
                       "  LOW/2.03E20 -1.59 0.0/ SRI/0.45 797.0 979.0 1.2 0.1/\n"
                       "HO2+HO2=H2O2+O2    4.2E14   0.0   6029.0\n"
                       "  REV/3.0E13 0.1 20000.0/\n"
                       "END\n";
    std::vector<std::string> lines;
    for (const QString &line : QString::fromLatin1(text).split('\n'))
        lines.push_back(line.toStdString());
    Mechanism m;
    MechanismParser parser;
    Diagnostic error;
    QVERIFY2(parser.parse(lines, "fort.4", m_h2Thermo, "fort.9", true, m, error), error.text().c_str());

    const double t = 1400.0;
    std::vector<double> c(m.species.size());
    for (size_t k = 0; k < c.size(); ++k)
        c[k] = 1e-7 * static_cast<double>(k + 1);
    Kinetics kinetics(m);
    kinetics.evaluate(t, c.data());
    auto C = [&](const char *name) { return c[static_cast<size_t>(m.speciesIndex(name))]; };
    double total = 0.0;
    for (double value : c)
        total += value;
    auto k = [&](double a, double b, double e) { return a * std::pow(t, b) * std::exp(-e / t); };
    auto kc = [&](const std::vector<std::pair<const char *, double>> &change) {
        double dg = 0.0, dn = 0.0;
        for (const auto &entry : change) {
            dg += entry.second * gibbs(m.species[static_cast<size_t>(m.speciesIndex(entry.first))], t);
            dn += entry.second;
        }
        return std::exp(-dg) * std::pow(constants::oneAtmosphere / (constants::gasConstant * t), dn);
    };
    auto troe = [&](double pr, double a, double t3, double t1, double t2, bool four) {
        const double fc = (1 - a) * std::exp(-t / t3) + a * std::exp(-t / t1) + (four ? std::exp(-t2 / t) : 0.0);
        const double lfc = std::log10(fc);
        const double cc = -0.4 - 0.67 * lfc, n = 0.75 - 1.27 * lfc;
        const double f1 = (std::log10(pr) + cc) / (n - 0.14 * (std::log10(pr) + cc));
        return std::pow(10.0, lfc / (1 + f1 * f1));
    };

    const std::vector<double> &forward = kinetics.forwardRates();
    const std::vector<double> &reverse = kinetics.reverseRates();
    const double tolerance = 1e-12;
    // O+H2=H+OH
    QVERIFY(near(forward[0], k(5.06e4, 2.67, 3165.0) * C("O") * C("H2"), tolerance));
    QVERIFY(near(reverse[0], k(5.06e4, 2.67, 3165.0) / kc({{"O", -1}, {"H2", -1}, {"H", 1}, {"OH", 1}}) * C("H") * C("OH"),
                 tolerance));
    // H+O+M=OH+M with H2O 6.4 and AR 0.5
    const double m1 = total + 5.4 * C("H2O") - 0.5 * C("AR");
    QVERIFY(near(forward[1], k(4.71e18, -1.0, 0.0) * m1 * C("H") * C("O"), tolerance));
    QVERIFY(near(reverse[1], k(4.71e18, -1.0, 0.0) * m1 / kc({{"H", -1}, {"O", -1}, {"OH", 1}}) * C("OH"), tolerance));
    // Lindemann
    const double m2 = total - C("H2O") + C("H2");
    const double pr2 = k(1.05e19, -1.257, 0.0) * m2 / k(4.52e13, 0.0, 0.0);
    QVERIFY(near(forward[2], k(4.52e13, 0.0, 0.0) * pr2 / (1 + pr2) * C("H") * C("O2"), tolerance));
    // Troe, 4 parameters
    const double kinf3 = k(1.24e14, -0.37, 0.0);
    const double pr3 = k(3.04e30, -4.63, 1031.0) * total / kinf3;
    QVERIFY(near(forward[3], kinf3 * pr3 / (1 + pr3) * troe(pr3, 0.47, 100.0, 2000.0, 1e15, true) * C("OH") * C("OH"),
                 1e-11));
    QVERIFY(near(reverse[3], forward[3] / (C("OH") * C("OH")) / kc({{"OH", -2}, {"H2O2", 1}}) * C("H2O2"), 1e-11));
    // Troe, 3 parameters
    const double kinf4 = k(2.0e13, 0.2, 100.0);
    const double pr4 = k(4.0e21, -2.0, 0.0) * total / kinf4;
    QVERIFY(near(forward[4], kinf4 * pr4 / (1 + pr4) * troe(pr4, 0.6, 300.0, 900.0, 0.0, false) * C("H") * C("OH"), 1e-11));
    // SRI with d and e, collider N2 alone
    const double kinf5 = k(4.52e13, 0.0, 0.0);
    const double pr5 = k(2.03e20, -1.59, 0.0) * C("N2") / kinf5;
    const double x = 1.0 / (1.0 + std::pow(std::log10(pr5), 2));
    const double sri = 1.2 * std::pow(0.45 * std::exp(-797.0 / t) + std::exp(-t / 979.0), x) * std::pow(t, 0.1);
    QVERIFY(near(forward[5], kinf5 * pr5 / (1 + pr5) * sri * C("H") * C("O2"), 1e-11));
    // REV
    QVERIFY(near(forward[6], k(4.2e14, 0.0, 6029.0) * C("HO2") * C("HO2"), tolerance));
    QVERIFY(near(reverse[6], k(3.0e13, 0.1, 20000.0) * C("H2O2") * C("O2"), tolerance));
    QCOMPARE(kinetics.equilibriumConstant(6), 0.0);

    // Production rates are the stoichiometric sums of the rates of progress.
    const double netO = -(forward[0] - reverse[0]) - (forward[1] - reverse[1]);
    QVERIFY(near(kinetics.productionRates()[static_cast<size_t>(m.speciesIndex("O"))], netO, 1e-12));
}

void TestPhysics::jacobian_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("constantVolume");
    QTest::addColumn<bool>("isothermal");
    QTest::addColumn<bool>("wall");
    QTest::addColumn<bool>("compression");
    for (const char *name : {"h2", "gri"}) {
        QTest::addRow("%s constant pressure", name) << name << false << false << false << false;
        QTest::addRow("%s constant volume", name) << name << true << false << false << false;
        QTest::addRow("%s constant pressure and temperature", name) << name << false << true << false << false;
        QTest::addRow("%s constant volume and temperature", name) << name << true << true << false << false;
    }
    // The energy in the state: heat loss through the wall, and a volume
    // that shrinks with time.
    QTest::newRow("gri constant pressure with wall") << "gri" << false << false << true << false;
    QTest::newRow("gri compression with wall") << "gri" << true << false << true << true;
    QTest::newRow("h2 compression") << "h2" << true << false << false << true;
}

void TestPhysics::jacobian()
{
    QFETCH(QString, name);
    QFETCH(bool, constantVolume);
    QFETCH(bool, isothermal);
    QFETCH(bool, wall);
    QFETCH(bool, compression);
    const Mechanism &m = mechanism(name);
    const size_t n = m.species.size();
    // A burning mixture: every species present, so that every derivative
    // (collider efficiencies, falloff, products) is exercised.
    std::vector<double> y(n);
    for (size_t k = 0; k < n; ++k)
        y[k] = 1e-3 * (1.0 + 0.37 * static_cast<double>(k % 7));
    y[static_cast<size_t>(m.speciesIndex("N2"))] = 0.6;
    y[static_cast<size_t>(m.speciesIndex("O2"))] = 0.15;
    double sum = 0.0;
    for (double value : y)
        sum += value;
    for (double &value : y)
        value /= sum;
    ReactorModel model;
    model.constantVolume = constantVolume;
    model.isothermal = isothermal;
    model.wallHeatLoss = wall;
    model.heatTransferCoefficient = 500.0;
    model.surfaceToVolume = 200.0;
    model.surroundingTemperature = 400.0;
    if (compression) {
        Diagnostic error;
        QVERIFY(model.volume.read({{"0 1.0", 2}, {"1e-3 0.2", 3}}, "fort.2", "VPROFILE", "volume", 1, error));
    }
    Reactor reactor(m, model);
    reactor.initialise(1600.0, 5.0e6, y.data());
    const std::vector<double> x = reactor.initialState(y.data());
    const size_t size = x.size();
    QCOMPARE(size, n + (wall || compression ? 1 : 0));
    const double time = 2e-4;

    std::vector<double> analytic(size * size);
    QVERIFY(reactor.denseJacobian(time, x.data(), analytic.data()));
    std::vector<double> up(size), down(size), shifted = x;
    for (size_t j = 0; j < size; ++j) {
        const double h = j < n ? 1e-6 * std::max(x[j], 1e-3) : 1e-6 * std::fabs(x[j]);
        shifted[j] = x[j] + h;
        QVERIFY(reactor.rightHandSide(time, shifted.data(), up.data()));
        shifted[j] = x[j] - h;
        QVERIFY(reactor.rightHandSide(time, shifted.data(), down.data()));
        shifted[j] = x[j];
        double scale = 0.0;
        for (size_t i = 0; i < size; ++i)
            scale = std::max(scale, std::fabs(up[i] - down[i]) / (2 * h));
        for (size_t i = 0; i < size; ++i) {
            const double difference = (up[i] - down[i]) / (2 * h);
            const double value = analytic[j * size + i];
            if (std::fabs(value - difference) > 1e-5 * scale + 1e-9)
                QFAIL(qPrintable(QStringLiteral("d rate(%1) / d x(%2): analytic %3, difference quotient %4")
                                     .arg(i)
                                     .arg(j)
                                     .arg(value, 0, 'g', 10)
                                     .arg(difference, 0, 'g', 10)));
        }
    }
}

void TestPhysics::againstChemkin_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("h2") << "h2";
    QTest::newRow("gri") << "gri";
    QTest::newRow("nc7h16") << "nc7h16";
}

// The case's senk.inp at the bundled schemes' tolerances.
bool TestPhysics::caseRun(const QString& name, Integrator::LinearAlgebra algebra, SimulationResult& result,
                          QString& why, const ReactorModel& model)
{
    CaseData::ReactorInput input;
    if (!CaseData::reactorInput(name, input, why))
        return false;
    const Mechanism& m = mechanism(name);
    ReactorState initial;
    initial.temperature = input.temperature;
    initial.pressure = input.pressureAtmospheres * constants::oneAtmosphere / constants::oneBar;
    initial.volume = 1.0;
    initial.massFractions = massFractions(m, input.amounts);
    SimulationSettings settings;
    settings.endTime = input.endTime;
    settings.outputSteps = 10;
    settings.relativeTolerance = 1e-6;
    settings.absoluteTolerance = 1e-12;
    settings.linearAlgebra = algebra;
    settings.model = model;
    Simulation simulation(m, settings);
    if (!simulation.run(
            initial, [](const Sample&) { return true; }, result)) {
        why = QString::fromStdString(result.failure);
        return false;
    }
    return true;
}

void TestPhysics::againstChemkin()
{
    QFETCH(QString, name);
    CaseData::Reference reference;
    CaseData::ReactorInput input;
    QString why;
    QVERIFY2(CaseData::reactorInput(name, input, why), qPrintable(why));
    QVERIFY2(CaseData::reference(name, reference, why), qPrintable(why));
    QCOMPARE(reference.finalTime, input.endTime);
    SimulationResult result;
    QVERIFY2(caseRun(name, Integrator::LinearAlgebra::Automatic, result, why), qPrintable(why));
    // The large mechanism takes the sparse solver, the small ones do not.
    QCOMPARE(result.statistics.sparse, mechanism(name).species.size() >= Integrator::sparseFromSpecies);
    QVERIFY(result.ignited);
    const QString figures = QStringLiteral("ignition %1 s (reference %2), final T %3 K (reference %4)")
                                .arg(result.ignitionTime, 0, 'E', 5)
                                .arg(reference.ignitionTime, 0, 'E', 5)
                                .arg(result.final.temperature, 0, 'f', 2)
                                .arg(reference.finalTemperature, 0, 'f', 2);
    qInfo("%s: %s", qPrintable(name), qPrintable(figures));
    QVERIFY2(std::fabs(result.ignitionTime / reference.ignitionTime - 1.0) < 0.01, qPrintable(figures));
    QVERIFY2(std::fabs(result.final.temperature - reference.finalTemperature) < 2.0, qPrintable(figures));
}

void TestPhysics::sparseAgreesWithDense_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("compressedWithWall");
    QTest::newRow("h2") << "h2" << false;
    QTest::newRow("gri") << "gri" << false;
    // The energy in the state, the work of a compression and the wall's
    // loss in the rank-two part.
    QTest::newRow("gri compressed, wall heat loss") << "gri" << true;
}

void TestPhysics::sparseAgreesWithDense()
{
    // Both solvers solve the same Newton systems; only round-off and the
    // step sequence it steers may differ.
    QFETCH(QString, name);
    QFETCH(bool, compressedWithWall);
    ReactorModel model;
    if (compressedWithWall) {
        model.constantVolume = true;
        Diagnostic error;
        QVERIFY(model.volume.read({{"0 1.0", 2}, {"0.02 0.5", 3}}, "fort.2", "VPROFILE", "volume", 1, error));
        model.wallHeatLoss = true;
        model.heatTransferCoefficient = 50.0;
        model.surfaceToVolume = 20.0;
        model.surroundingTemperature = 400.0;
    }
    SimulationResult dense, sparse;
    QString why;
    QVERIFY2(caseRun(name, Integrator::LinearAlgebra::Dense, dense, why, model), qPrintable(why));
    QVERIFY2(caseRun(name, Integrator::LinearAlgebra::Sparse, sparse, why, model), qPrintable(why));
    QVERIFY(!dense.statistics.sparse);
    QVERIFY(sparse.statistics.sparse);
    QVERIFY(sparse.statistics.factorisations > 0 && sparse.statistics.linearSolves >= sparse.statistics.factorisations);
    QVERIFY(dense.ignited && sparse.ignited);
    qInfo("ignition dense %.8e s, sparse %.8e s; right-hand sides %ld and %ld", dense.ignitionTime, sparse.ignitionTime,
          dense.statistics.rhsEvaluations, sparse.statistics.rhsEvaluations);
    // As good a Newton matrix, as few iterations: without the rank-two part
    // the compressed case takes a hundred times as many.
    QVERIFY(sparse.statistics.rhsEvaluations < 1.3 * static_cast<double>(dense.statistics.rhsEvaluations));
    QVERIFY(near(sparse.ignitionTime, dense.ignitionTime, 1e-4));
    QVERIFY(near(sparse.final.temperature, dense.final.temperature, 1e-6));
    for (size_t k = 0; k < dense.final.massFractions.size(); ++k) {
        const double a = dense.final.massFractions[k], b = sparse.final.massFractions[k];
        if (std::fabs(a - b) > 1e-5 * std::max(std::fabs(a), std::fabs(b)) + 1e-10)
            QFAIL(qPrintable(QStringLiteral("species %1: dense %2, sparse %3").arg(k).arg(a).arg(b)));
    }
}

void TestPhysics::conservation_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("constantVolume");
    QTest::addColumn<bool>("isothermal");
    QTest::addColumn<double>("temperature");
    QTest::addColumn<double>("endTime");
    // The catalogue's default tolerances, coarse on purpose: the invariants
    // must hold by construction, not by accuracy.
    QTest::newRow("h2 constant pressure") << "h2" << false << false << 1000.0 << 1e-3;
    QTest::newRow("h2 constant volume") << "h2" << true << false << 1000.0 << 1e-3;
    QTest::newRow("h2 constant pressure and temperature") << "h2" << false << true << 1100.0 << 1e-3;
    QTest::newRow("h2 constant volume and temperature") << "h2" << true << true << 1100.0 << 1e-3;
    QTest::newRow("gri constant volume") << "gri" << true << false << 1400.0 << 2e-3;
}

void TestPhysics::conservation()
{
    QFETCH(QString, name);
    QFETCH(bool, constantVolume);
    QFETCH(bool, isothermal);
    QFETCH(double, temperature);
    QFETCH(double, endTime);
    const Mechanism &m = mechanism(name);
    ReactorState initial;
    initial.temperature = temperature;
    initial.pressure = 2.0;
    initial.volume = 0.25;
    initial.massFractions = name == QStringLiteral("gri")
        ? massFractions(m, {{"CH4", 0.5}, {"O2", 1.0}, {"N2", 3.76}, {"AR", 0.1}})
        : massFractions(m, {{"H2", 1.0}, {"O2", 1.0}, {"N2", 3.76}, {"AR", 0.1}});
    SimulationSettings settings;
    settings.model.constantVolume = constantVolume;
    settings.model.isothermal = isothermal;
    settings.endTime = endTime;
    settings.outputSteps = -1;
    std::vector<Sample> samples;
    Simulation simulation(m, settings);
    SimulationResult result;
    QVERIFY2(simulation.run(initial, [&](const Sample &sample) { samples.push_back(sample); return true; }, result),
             result.failure.c_str());
    QVERIFY(samples.size() > 50);

    const Mixture mixture(m);
    const std::vector<double> elements = elementTotals(m, samples.front().state.massFractions);
    const double energy = constantVolume ? mixture.internalEnergy(temperature, initial.massFractions.data())
                                         : mixture.enthalpy(temperature, initial.massFractions.data());
    const double mass = mixture.density(temperature, initial.pressure * constants::oneBar, initial.massFractions.data())
        * initial.volume;
    double largestElementError = 0.0, largestEnergyError = 0.0;
    for (const Sample &sample : samples) {
        const ReactorState &state = sample.state;
        const std::vector<double> now = elementTotals(m, state.massFractions);
        for (size_t e = 0; e < elements.size(); ++e)
            largestElementError = std::max(largestElementError, std::fabs(now[e] - elements[e]) / elements[e]);
        const double value = constantVolume ? mixture.internalEnergy(state.temperature, state.massFractions.data())
                                            : mixture.enthalpy(state.temperature, state.massFractions.data());
        if (!isothermal)
            largestEnergyError = std::max(largestEnergyError, std::fabs(value / energy - 1.0));
        else
            QCOMPARE(state.temperature, temperature);
        if (constantVolume)
            QVERIFY(near(state.volume, initial.volume, 1e-14));
        else
            QCOMPARE(state.pressure, initial.pressure);
        // The mass: density times volume.
        const double density = mixture.density(state.temperature, state.pressure * constants::oneBar, state.massFractions.data());
        QVERIFY(near(density * state.volume, mass, 1e-12));
    }
    qInfo("largest relative change: elements %.2e, energy %.2e", largestElementError, largestEnergyError);
    QVERIFY2(largestElementError < 1e-8, qPrintable(QString::number(largestElementError)));
    QVERIFY2(largestEnergyError < 1e-6, qPrintable(QString::number(largestEnergyError)));
    if (!isothermal)
        QVERIFY(samples.back().state.temperature > temperature + 500.0);
}

void TestPhysics::equilibrium_data()
{
    QTest::addColumn<bool>("constantVolume");
    QTest::addColumn<bool>("isothermal");
    QTest::newRow("constant pressure") << false << false;
    QTest::newRow("constant volume") << true << false;
    QTest::newRow("constant pressure and temperature") << false << true;
}

void TestPhysics::equilibrium()
{
    QFETCH(bool, constantVolume);
    QFETCH(bool, isothermal);
    SimulationSettings settings;
    settings.model.constantVolume = constantVolume;
    settings.model.isothermal = isothermal;
    settings.endTime = 10.0;
    settings.outputSteps = 1;
    settings.relativeTolerance = 1e-10;
    settings.absoluteTolerance = 1e-20;
    Simulation simulation(m_h2, settings);
    SimulationResult result;
    QVERIFY2(simulation.run(h2Air(isothermal ? 1800.0 : 1000.0, 2.0), [](const Sample &) { return true; }, result),
             result.failure.c_str());
    const ReactorState &state = result.final;
    ReactorModel model;
    model.constantVolume = constantVolume;
    model.isothermal = isothermal;
    Reactor reactor(m_h2, model);
    std::vector<double> c(m_h2.species.size());
    reactor.initialise(state.temperature, state.pressure * constants::oneBar, state.massFractions.data());
    reactor.concentrations(0.0, state.massFractions.data(), state.temperature, c.data());
    Kinetics &kinetics = reactor.kinetics();
    kinetics.evaluate(state.temperature, c.data());
    double largest = 0.0;
    for (size_t r = 0; r < kinetics.reactionCount(); ++r) {
        const double forward = kinetics.forwardRates()[r];
        const double reverse = kinetics.reverseRates()[r];
        QVERIFY(forward > 0);
        largest = std::max(largest, std::fabs(forward - reverse) / forward);
    }
    qInfo("T %.2f K: largest relative difference of forward and reverse rates %.2e", state.temperature, largest);
    QVERIFY2(largest < 1e-6, qPrintable(QString::number(largest)));
}

void TestPhysics::outputSchedule()
{
    const ReactorState initial = h2Air(1000.0, 2.0);
    SimulationSettings settings;
    settings.endTime = 1e-3;
    auto run = [&](std::vector<Sample> &samples, SimulationResult &result) {
        samples.clear();
        Simulation simulation(m_h2, settings);
        return simulation.run(initial, [&](const Sample &sample) { samples.push_back(sample); return true; }, result);
    };
    std::vector<Sample> samples;
    SimulationResult result;

    // NT evenly spaced steps after the initial state...
    settings.outputSteps = 10;
    QVERIFY(run(samples, result));
    QCOMPARE(samples.size(), size_t(11));
    QCOMPARE(result.samples, 11);
    for (size_t i = 0; i < samples.size(); ++i)
        QVERIFY(near(samples[i].time, 1e-4 * static_cast<double>(i), 1e-12) || (i == 0 && samples[i].time == 0.0));
    QCOMPARE(samples.back().time, 1e-3);
    QCOMPARE(samples.front().lastStep, 0.0);
    QVERIFY(samples.back().lastStep > 0);
    QCOMPARE(samples.back().state.temperature, result.final.temperature);

    // ...from TSTA on...
    settings.startTime = 5e-4;
    settings.outputSteps = 5;
    QVERIFY(run(samples, result));
    QCOMPARE(samples.size(), size_t(7));
    QCOMPARE(samples[0].time, 0.0);
    QCOMPARE(samples[1].time, 5e-4);
    QVERIFY(near(samples[2].time, 6e-4, 1e-12));
    QCOMPARE(samples[6].time, 1e-3);

    // ...or every |NT|-th internal step, and the end.
    settings.startTime = 0.0;
    settings.outputSteps = -10;
    QVERIFY(run(samples, result));
    const long steps = result.statistics.steps;
    QCOMPARE(long(samples.size()), 1 + steps / 10 + (steps % 10 ? 1 : 0));
    QCOMPARE(samples.back().time, 1e-3);
    for (size_t i = 1; i < samples.size(); ++i)
        QVERIFY(samples[i].time > samples[i - 1].time);
}

void TestPhysics::inductionTime()
{
    // The steepest rise of H2O's mole fraction, against a difference
    // quotient over a fine output grid.
    SimulationSettings settings;
    settings.endTime = 5e-4;
    settings.outputSteps = 5000;
    settings.relativeTolerance = 1e-8;
    settings.absoluteTolerance = 1e-14;
    settings.inductionSpecies = m_h2.speciesIndex("H2O");
    QCOMPARE(settings.inductionSpecies, 7);
    const Mixture mixture(m_h2);
    std::vector<double> times, fractions;
    std::vector<double> x(m_h2.species.size());
    Simulation simulation(m_h2, settings);
    SimulationResult result;
    QVERIFY(simulation.run(h2Air(1000.0, 2.0265),
                           [&](const Sample &sample) {
                               mixture.moleFractions(sample.state.massFractions.data(), x.data());
                               times.push_back(sample.time);
                               fractions.push_back(x[7]);
                               return true;
                           },
                           result));
    QVERIFY(result.induction);
    double steepest = 0.0, when = 0.0;
    for (size_t i = 1; i < times.size(); ++i) {
        const double slope = (fractions[i] - fractions[i - 1]) / (times[i] - times[i - 1]);
        if (slope > steepest) {
            steepest = slope;
            when = 0.5 * (times[i] + times[i - 1]);
        }
    }
    qInfo("induction %.5e s, grid %.5e s, ignition %.5e s", result.inductionTime, when, result.ignitionTime);
    QVERIFY2(std::fabs(result.inductionTime - when) < 2e-7, qPrintable(QString::number(result.inductionTime)));
}

void TestPhysics::compressionFollowsAdiabat()
{
    // Argon, whose cp is 5/2 R at every temperature: compressed without heat
    // exchange to a tenth of its volume it keeps T V^(2/3), and p V^(5/3).
    SimulationSettings settings;
    settings.model.constantVolume = true;
    Diagnostic error;
    QVERIFY(settings.model.volume.read({{"0.0 2.0", 2}, {"1.0E-02 0.2", 3}}, "fort.2", "VPROFILE", "volume", 1, error));
    settings.endTime = 1.5e-2;
    settings.outputSteps = 30;
    settings.relativeTolerance = 1e-8;
    settings.absoluteTolerance = 1e-14;
    std::vector<Sample> samples;
    SimulationResult result;
    QVERIFY2(record(settings, argon(300.0, 1.0), samples, result), result.failure.c_str());
    QCOMPARE(samples.size(), size_t(31));
    QCOMPARE(samples.front().state.volume, 2.0);
    const double invariant = 300.0 * std::pow(2.0, 2.0 / 3.0);
    const double pressureInvariant = 1.0 * std::pow(2.0, 5.0 / 3.0);
    for (const Sample& sample : samples) {
        const double volume = settings.model.volume.value(sample.time);
        QVERIFY(near(sample.state.volume, volume, 1e-12));
        const double value = sample.state.temperature * std::pow(volume, 2.0 / 3.0);
        if (!near(value, invariant, 1e-3))
            QFAIL(qPrintable(
                QStringLiteral("t %1 s: T V^(2/3) = %2, at the start %3").arg(sample.time).arg(value).arg(invariant)));
        QVERIFY(near(sample.state.pressure * std::pow(volume, 5.0 / 3.0), pressureInvariant, 1e-3));
    }
    // Held after the profile's end: tenfold compression, 10^(2/3) in T.
    qInfo("final T %.4f K, expected %.4f K", result.final.temperature, 300.0 * std::pow(10.0, 2.0 / 3.0));
    QVERIFY(near(result.final.temperature, 300.0 * std::pow(10.0, 2.0 / 3.0), 1e-3));
    QVERIFY(near(samples[20].state.temperature, samples.back().state.temperature, 1e-6));
}

void TestPhysics::imposedTemperature()
{
    // A burning hydrogen mixture whose temperature is ramped: the reactor's
    // temperature is the profile's at every output, whatever the chemistry.
    for (bool constantVolume : {false, true}) {
        SimulationSettings settings;
        settings.model.isothermal = true;
        settings.model.constantVolume = constantVolume;
        Diagnostic error;
        QVERIFY(settings.model.temperature.read({{"0 1000", 2}, {"2e-4 1500", 3}, {"5e-4 1200 ! cooling", 4}}, "fort.2",
                                                "TPROFILE", "temperature", 1, error));
        settings.endTime = 1e-3;
        settings.outputSteps = 40;
        std::vector<Sample> samples;
        SimulationResult result;
        QVERIFY2(record(settings, h2Air(900.0, 2.0), samples, result), result.failure.c_str());
        QCOMPARE(samples.front().state.temperature, 1000.0);
        for (const Sample& sample : samples) {
            const double expected = sample.time <= 2e-4   ? 1000.0 + 500.0 * sample.time / 2e-4
                                    : sample.time <= 5e-4 ? 1500.0 - 300.0 * (sample.time - 2e-4) / 3e-4
                                                          : 1200.0;
            QVERIFY2(near(sample.state.temperature, expected, 1e-12), qPrintable(QString::number(sample.time)));
            if (!constantVolume)
                QCOMPARE(sample.state.pressure, 2.0);
        }
        // It burns: water forms.
        QVERIFY(result.final.massFractions[static_cast<size_t>(m_h2.speciesIndex("H2O"))] > 0.05);
    }
}

void TestPhysics::wallCoolsExponentially()
{
    // Hot argon in a closed vessel loses K (T - TSURR) per unit volume, with
    // K = alpha S/V: rho cv dT/dt = -K (T - TSURR), an exponential decay at
    // the rate K / (rho cv), cv being 3/2 R/W for argon.
    SimulationSettings settings;
    settings.model.constantVolume = true;
    settings.model.wallHeatLoss = true;
    settings.model.heatTransferCoefficient = 100.0; // W/(m^2 K)
    settings.model.surfaceToVolume = 100.0; // 1/m
    settings.model.surroundingTemperature = 300.0;
    settings.endTime = 0.05;
    settings.outputSteps = 25;
    settings.relativeTolerance = 1e-8;
    settings.absoluteTolerance = 1e-14;
    const ReactorState initial = argon(1000.0, 1.0);
    const double weight = m_h2.species[static_cast<size_t>(m_h2.speciesIndex("AR"))].weight;
    const double density = constants::oneBar * weight / (constants::gasConstant * 1000.0); // g/cm^3
    const double cv = 1.5 * constants::gasConstant / weight; // erg/(g K)
    const double k = 100.0 * 1e3 * 100.0 * 1e-2; // erg/(s cm^3 K)
    const double rate = k / (density * cv);
    std::vector<Sample> samples;
    SimulationResult result;
    QVERIFY2(record(settings, initial, samples, result), result.failure.c_str());
    for (size_t i = 1; i < samples.size(); ++i) {
        const Sample& sample = samples[i];
        const double measured = -std::log((sample.state.temperature - 300.0) / 700.0) / sample.time;
        if (!near(measured, rate, 1e-3))
            QFAIL(qPrintable(
                QStringLiteral("t %1 s: rate %2 1/s, analytic %3 1/s").arg(sample.time).arg(measured).arg(rate)));
    }
    QVERIFY(near(result.final.temperature - 300.0, 700.0 * std::exp(-rate * 0.05), 1e-2));
    QVERIFY(near(result.final.volume, 1.0, 1e-12));
}

QTEST_APPLESS_MAIN(TestPhysics)
#include "tst_physics.moc"

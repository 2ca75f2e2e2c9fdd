// The ignition delay read from output data: each definition on curves whose
// answer is known, runs that do not ignite, the definitions as text.

#include "ignitiondelay.h"

#include <QtTest>

#include <cmath>
#include <functional>

namespace {

using Fields = IgnitionDelay::Fields;

// t from 0 in steps of `step`, and f(t) at each.
struct Curve
{
    QList<float> time;
    QList<float> values;
};

Curve sample(int count, double step, const std::function<double(double)>& f)
{
    Curve curve;
    for (int i = 0; i < count; ++i) {
        curve.time << float(i * step);
        curve.values << float(f(i * step));
    }
    return curve;
}

Fields fields(const QList<std::pair<QString, QList<float>>>& columns)
{
    Fields result;
    for (const auto& column : columns) {
        auto field = std::make_unique<OutputField>();
        field->name = column.first;
        field->values = column.second;
        result.push_back(std::move(field));
    }
    return result;
}

IgnitionDefinition definition(const char* text)
{
    IgnitionDefinition parsed;
    if (!IgnitionDefinition::parse(QString::fromLatin1(text), &parsed))
        qFatal("not a definition: %s", text);
    return parsed;
}

} // namespace

class TestIgnitionDelay : public QObject
{
    Q_OBJECT

private slots:
    void steepestRise();
    void peak();
    void thresholdCrossing();
    void noIgnition();
    void fromOutputFields();
    void definitionsAsText_data();
    void definitionsAsText();
    void refusedDefinitions();
};

void TestIgnitionDelay::steepestRise()
{
    // T = 1000 + 5e4 (t - c) - 1e8 (t - c)^3: its rate is largest at c, and
    // the rates between steps lie on a parabola, so the parabola through the
    // three around the largest finds c exactly, between two steps.
    const double c = 0.01234;
    const Curve cubic = sample(31, 1e-3, [c](double t) { return 1000.0 + 5e4 * (t - c) - 1e8 * std::pow(t - c, 3); });
    double at = 0.0;
    QVERIFY(IgnitionDelay::steepestRise(cubic.time, cubic.values, &at));
    QVERIFY2(std::fabs(at - c) < 1e-5, qPrintable(QString::number(at, 'g', 10)));
    // An ignition's S-shape: the steepest point, off the output grid,
    // within a fiftieth of a step.
    const double t0 = 0.0123456;
    const Curve ignition =
        sample(300, 1e-4, [t0](double t) { return 1000.0 + 1400.0 / (1.0 + std::exp(-(t - t0) / 2e-4)); });
    QVERIFY(IgnitionDelay::steepestRise(ignition.time, ignition.values, &at));
    QVERIFY2(std::fabs(at - t0) < 2e-6, qPrintable(QString::number(at, 'g', 10)));
}

void TestIgnitionDelay::peak()
{
    // A peak shaped as a parabola near its top: found exactly.
    const double c = 0.0437;
    const Curve parabola = sample(100, 1e-3, [c](double t) { return 1e-3 - (t - c) * (t - c); });
    double at = 0.0;
    QVERIFY(IgnitionDelay::peak(parabola.time, parabola.values, &at));
    QVERIFY2(std::fabs(at - c) < 1e-5, qPrintable(QString::number(at, 'g', 10)));
    // A radical's bell, its top between steps: within a fiftieth of a step.
    const Curve bell = sample(200, 1e-4, [](double t) { return 1e-3 * std::exp(-std::pow((t - 0.01005) / 5e-4, 2)); });
    QVERIFY(IgnitionDelay::peak(bell.time, bell.values, &at));
    QVERIFY2(std::fabs(at - 0.01005) < 2e-6, qPrintable(QString::number(at, 'g', 10)));
}

void TestIgnitionDelay::thresholdCrossing()
{
    // A straight rise crosses 1400 at t = 0.004, between steps of 0.0007.
    const Curve line = sample(20, 7e-4, [](double t) { return 1000.0 + 1e5 * t; });
    double at = 0.0;
    QVERIFY(IgnitionDelay::crossing(line.time, line.values, 1400.0, &at));
    QVERIFY2(std::fabs(at - 0.004) < 1e-7, qPrintable(QString::number(at, 'g', 10)));
    // The first crossing counts, not a later one.
    const QList<float> t{0.0f, 1.0f, 2.0f, 3.0f, 4.0f};
    const QList<float> up{1000.0f, 1500.0f, 1300.0f, 1600.0f, 1700.0f};
    QVERIFY(IgnitionDelay::crossing(t, up, 1400.0, &at));
    QCOMPARE(at, 0.8);
    QVERIFY(!IgnitionDelay::crossing(t, up, 1800.0, &at));
}

void TestIgnitionDelay::noIgnition()
{
    double at = 0.0;
    // Flat: no rise, no peak.
    const Curve flat = sample(50, 1e-3, [](double) { return 1000.0; });
    QVERIFY(!IgnitionDelay::steepestRise(flat.time, flat.values, &at));
    QVERIFY(!IgnitionDelay::peak(flat.time, flat.values, &at));
    // Still speeding up when the run ends: the steepest rise lies beyond it.
    const Curve runaway = sample(50, 1e-3, [](double t) { return 1000.0 + std::exp(t * 200.0); });
    QVERIFY(!IgnitionDelay::steepestRise(runaway.time, runaway.values, &at));
    // Highest at either end: no peak inside the run.
    QVERIFY(!IgnitionDelay::peak(runaway.time, runaway.values, &at));
    const Curve decay = sample(50, 1e-3, [](double t) { return std::exp(-t * 100.0); });
    QVERIFY(!IgnitionDelay::peak(decay.time, decay.values, &at));
    QVERIFY(!IgnitionDelay::steepestRise(decay.time, decay.values, &at));
    // Too short to tell.
    QVERIFY(!IgnitionDelay::steepestRise({0.0f, 1.0f}, {0.0f, 5.0f}, &at));

    // A bump of 20 K is no ignition by the steepest rise; the run says so.
    const Curve bump = sample(100, 1e-3, [](double t) { return 1000.0 + 20.0 / (1.0 + std::exp(-(t - 0.05) / 1e-3)); });
    const Fields data = fields({{"t(s)", bump.time}, {"T(K)", bump.values}});
    const IgnitionDelay::Result result = IgnitionDelay::compute(data, QStringLiteral("t(s)"), IgnitionDefinition());
    QVERIFY(!result.ignited);
    QVERIFY(result.problem.isEmpty());
    QCOMPARE(result.time, 0.0);
    QCOMPARE(IgnitionDelay::sentence(result, IgnitionDefinition()),
             QStringLiteral("No ignition (steepest temperature rise)"));
}

void TestIgnitionDelay::fromOutputFields()
{
    const double t0 = 2.177e-4;
    const Curve temperature =
        sample(400, 1e-6, [t0](double t) { return 1000.0 + 1500.0 / (1.0 + std::exp(-(t - t0) / 4e-6)); });
    const Curve oh = sample(400, 1e-6, [](double t) { return 1e-2 * std::exp(-std::pow((t - 2.3e-4) / 2e-5, 2)); });
    const Fields data = fields({{"t(s)", temperature.time},
                                {"T(K)", temperature.values},
                                {"P(bar)", QList<float>(400, 2.0f)},
                                {"OH", oh.values}});
    // The time field is found whatever the case of its name.
    IgnitionDelay::Result result = IgnitionDelay::compute(data, QStringLiteral("T(S)"), IgnitionDefinition());
    QVERIFY(result.ignited);
    QVERIFY2(std::fabs(result.time - t0) < 2e-8, qPrintable(QString::number(result.time, 'g', 10)));
    QCOMPARE(IgnitionDelay::sentence(result, IgnitionDefinition()),
             QStringLiteral("Ignition delay 2.177E-04 s (steepest temperature rise)"));
    // 400 K above the initial 1000 K: where the S reaches 1400 K.
    result = IgnitionDelay::compute(data, QStringLiteral("t(s)"), definition("deltaT:400"));
    const double crossing = t0 - 4e-6 * std::log(1500.0 / 400.0 - 1.0);
    QVERIFY2(std::fabs(result.time - crossing) < 2e-8, qPrintable(QString::number(result.time, 'g', 10)));
    result = IgnitionDelay::compute(data, QStringLiteral("t(s)"), definition("peak:OH"));
    QVERIFY(std::fabs(result.time - 2.3e-4) < 2e-8);
    QCOMPARE(IgnitionDelay::sentence(result, definition("peak:OH")),
             QStringLiteral("Ignition delay 2.300E-04 s (peak of OH)"));
    // The steepest rise of OH: on the bell's rising flank, at its inflexion.
    result = IgnitionDelay::compute(data, QStringLiteral("t(s)"), definition("rise:OH"));
    QVERIFY(result.ignited);
    QVERIFY2(std::fabs(result.time - (2.3e-4 - 2e-5 / std::sqrt(2.0))) < 2e-8,
             qPrintable(QString::number(result.time, 'g', 10)));

    // Fields missing: no answer, and why.
    result = IgnitionDelay::compute(data, QStringLiteral("t(s)"), definition("peak:HO2"));
    QVERIFY(!result.ignited);
    QCOMPARE(result.problem, QStringLiteral("the output data has no field \"HO2\""));
    QCOMPARE(IgnitionDelay::sentence(result, definition("peak:HO2")),
             QStringLiteral("No ignition delay: the output data has no field \"HO2\""));
    QCOMPARE(IgnitionDelay::compute(data, QStringLiteral("time"), IgnitionDefinition()).problem,
             QStringLiteral("the output data has no time field"));
    const Fields untempered = fields({{"t(s)", temperature.time}, {"OH", oh.values}});
    QCOMPARE(IgnitionDelay::compute(untempered, QStringLiteral("t(s)"), IgnitionDefinition()).problem,
             QStringLiteral("the output data has no temperature field"));
    QCOMPARE(IgnitionDelay::temperature(data)->name, QStringLiteral("T(K)"));
}

void TestIgnitionDelay::definitionsAsText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("words");
    QTest::newRow("dTdt") << "dTdt" << int(IgnitionDefinition::SteepestTemperatureRise) << "dTdt"
                          << "steepest temperature rise";
    QTest::newRow("deltaT") << "deltaT" << int(IgnitionDefinition::TemperatureRise) << "deltaT:400"
                            << "temperature 400 K above its initial value";
    QTest::newRow("deltaT:250.5") << " deltaT:250.5 " << int(IgnitionDefinition::TemperatureRise) << "deltaT:250.5"
                                  << "temperature 250.5 K above its initial value";
    QTest::newRow("peak:OH") << "peak:OH" << int(IgnitionDefinition::SpeciesPeak) << "peak:OH"
                             << "peak of OH";
    QTest::newRow("rise:CH2O") << "RISE: CH2O" << int(IgnitionDefinition::SpeciesSteepestRise) << "rise:CH2O"
                               << "steepest rise of CH2O";
}

void TestIgnitionDelay::definitionsAsText()
{
    QFETCH(QString, text);
    QFETCH(int, kind);
    QFETCH(QString, written);
    QFETCH(QString, words);
    IgnitionDefinition parsed;
    QVERIFY(IgnitionDefinition::parse(text, &parsed));
    QCOMPARE(int(parsed.kind()), kind);
    QCOMPARE(parsed.toString(), written);
    QCOMPARE(parsed.description(), words);
    IgnitionDefinition again;
    QVERIFY(IgnitionDefinition::parse(parsed.toString(), &again));
    QVERIFY(again == parsed);
}

void TestIgnitionDelay::refusedDefinitions()
{
    IgnitionDefinition kept(IgnitionDefinition::SpeciesPeak, 400.0, QStringLiteral("OH"));
    for (const char* text : {"", "foo", "dTdt:3", "deltaT:-1", "deltaT:0", "deltaT:x", "deltaT:inf", "peak:", "rise"})
        QVERIFY2(!IgnitionDefinition::parse(QString::fromLatin1(text), &kept), text);
    QCOMPARE(kept.toString(), QStringLiteral("peak:OH"));
    // The default: the steepest temperature rise.
    QCOMPARE(IgnitionDefinition().toString(), QStringLiteral("dTdt"));
    QVERIFY(IgnitionDefinition() != kept);
}

QTEST_MAIN(TestIgnitionDelay)
#include "tst_ignitiondelay.moc"

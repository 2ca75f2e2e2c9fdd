// The plot's pure pieces: the axis computation (range, ticks, the power of
// ten of the labels, the headroom rule, logarithmic decades), the extent of
// a growing vector, and the reduction of a curve to the points worth drawing.

#include "curvereduction.h"
#include "plotaxis.h"
#include "valueextent.h"

#include <QtTest>

#include <cmath>
#include <limits>

namespace {

bool close(double a, double b)
{
    return std::fabs(a - b) <= 1e-9 * std::max({1.0, std::fabs(a), std::fabs(b)});
}

PlotFrame frame320x240()
{
    PlotFrame frame;
    frame.left = 40;
    frame.bottom = 30;
    frame.right = 359;
    frame.top = 269;
    return frame;
}

// x 0..10 over the frame's 320 columns, y -2..12 over its 240 rows: the
// ends on the first and last pixels.
CurveReduction::Mapping mapping()
{
    CurveReduction::Mapping m;
    m.x = PlotAxis::compute(0.0, 10.0, 320, false);
    m.y = PlotAxis::compute(-2.0, 12.0, 240, false);
    m.frame = frame320x240();
    return m;
}

QPointF plotPoint(double x, double y)
{
    return QPointF(40.0 + x * 319.0 / 10.0, 30.0 + (y + 2.0) * 239.0 / 14.0);
}

PlotAxis axis(double min, double max)
{
    PlotAxis a;
    a.min = a.first = min;
    a.max = max;
    a.step = 1.0;
    a.intervals = int(max - min);
    return a;
}

} // namespace

class TestPlotAxis : public QObject
{
    Q_OBJECT

private slots:
    void compute_data();
    void compute();
    void invalidRanges();
    void labels();
    void headroom();
    void logTicks_data();
    void logTicks();
    void logAxisUnits();
    void valueExtent();
    void reductionKeepsEachColumnsExtremes();
    void reductionGapsAndClipping();
    void reductionFollowsGrowth();
};

void TestPlotAxis::compute_data()
{
    QTest::addColumn<double>("lo");
    QTest::addColumn<double>("hi");
    QTest::addColumn<int>("pixels");
    QTest::addColumn<bool>("fitting");
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::addColumn<double>("first");
    QTest::addColumn<int>("intervals");
    QTest::addColumn<double>("step");
    QTest::addColumn<int>("exponent");
    QTest::addColumn<double>("multiplier");

    // One tick every 40 pixels: 0.001 per tick, labels 1 to 2 times 10^-3.
    QTest::newRow("0.001..0.002 exact") << 0.001 << 0.002 << 40 << false << 0.001 << 0.002 << 0.001 << 1 << 0.001
                                        << -3 << 1000.0;
    QTest::newRow("0.001..0.002 fitting") << 0.001 << 0.002 << 40 << true << 0.001 << 0.002 << 0.001 << 1
                                          << 0.001 << -3 << 1000.0;
    // The same range read from single-precision data.
    QTest::newRow("0.001f..0.002f exact") << double(0.001f) << double(0.002f) << 40 << false << double(0.001f)
                                          << double(0.002f) << 0.001 << 1 << 0.001 << -3 << 1000.0;
    // Ten ticks on 400 pixels: labels 10 to 20 times 10^-4.
    QTest::newRow("0.001..0.002 on 400") << 0.001 << 0.002 << 400 << true << 0.001 << 0.002 << 0.001 << 10
                                         << 0.0001 << -4 << 10000.0;
    QTest::newRow("0..5 fitting") << 0.0 << 5.0 << 200 << true << 0.0 << 5.0 << 0.0 << 5 << 1.0 << 0 << 1.0;
    QTest::newRow("0..5 exact") << 0.0 << 5.0 << 200 << false << 0.0 << 5.0 << 0.0 << 5 << 1.0 << 0 << 1.0;
    // Fitting rounds the ends out to whole ticks, exact keeps them; an
    // exponent of -1 is written as one more digit instead.
    QTest::newRow("0.3..9.7 fitting") << 0.3 << 9.7 << 400 << true << 0.0 << 10.0 << 0.0 << 10 << 1.0 << 0 << 1.0;
    QTest::newRow("0.3..9.7 exact") << 0.3 << 9.7 << 400 << false << 0.3 << 9.7 << 1.0 << 10 << 1.0 << 0 << 1.0;
    QTest::newRow("0..2e6") << 0.0 << 2e6 << 400 << true << 0.0 << 2e6 << 0.0 << 10 << 2e5 << 5 << 1e-5;
    QTest::newRow("-1..1") << -1.0 << 1.0 << 400 << true << -1.0 << 1.0 << -1.0 << 10 << 0.2 << 0 << 1.0;
    // Steps of 3 become 5, of 8.5 (rounded to 9) become 10.
    QTest::newRow("step 3 to 5") << 0.0 << 7.5 << 100 << true << 0.0 << 10.0 << 0.0 << 2 << 5.0 << 0 << 1.0;
    QTest::newRow("step 8.5 to 10") << 0.0 << 8.5 << 40 << true << 0.0 << 10.0 << 0.0 << 1 << 10.0 << 0 << 1.0;
    // An exponent of 1 is written as one digit more as well.
    QTest::newRow("0..1 on no pixels") << 0.0 << 1.0 << 0 << true << 0.0 << 50.0 << 0.0 << 1 << 50.0 << 0 << 1.0;
    QTest::newRow("200..700") << 200.0 << 700.0 << 400 << true << 200.0 << 700.0 << 200.0 << 10 << 50.0 << 0
                              << 1.0;
    QTest::newRow("1000..3000") << 1000.0 << 3000.0 << 400 << true << 1000.0 << 3000.0 << 1000.0 << 10 << 200.0
                                << 2 << 1e-2;
    QTest::newRow("1000..30000") << 1000.0 << 30000.0 << 400 << true << 0.0 << 30000.0 << 0.0 << 6 << 5000.0
                                 << 3 << 1e-3;
}

void TestPlotAxis::compute()
{
    QFETCH(double, lo);
    QFETCH(double, hi);
    QFETCH(int, pixels);
    QFETCH(bool, fitting);
    const PlotAxis a = PlotAxis::compute(lo, hi, pixels, fitting);
    QVERIFY(a.isValid());
    QFETCH(double, min);
    QFETCH(double, max);
    QFETCH(double, first);
    QFETCH(int, intervals);
    QFETCH(double, step);
    QFETCH(int, exponent);
    QFETCH(double, multiplier);
    QVERIFY2(close(a.min, min), qPrintable(QString::number(a.min, 'g', 17)));
    QVERIFY2(close(a.max, max), qPrintable(QString::number(a.max, 'g', 17)));
    QVERIFY2(close(a.first, first), qPrintable(QString::number(a.first, 'g', 17)));
    QCOMPARE(a.intervals, intervals);
    QVERIFY2(close(a.step, step), qPrintable(QString::number(a.step, 'g', 17)));
    QCOMPARE(a.exponent, exponent);
    QVERIFY2(close(a.multiplier, multiplier), qPrintable(QString::number(a.multiplier, 'g', 17)));
}

void TestPlotAxis::invalidRanges()
{
    QVERIFY(!PlotAxis::compute(3.0, 3.0, 300, true).isValid());
    QCOMPARE(PlotAxis::compute(3.0, 3.0, 300, true).step, 0.0);
    const double inf = std::numeric_limits<double>::infinity();
    QVERIFY(!PlotAxis::compute(0.0, inf, 300, true).isValid());
    QVERIFY(!PlotAxis::compute(-inf, 0.0, 300, false).isValid());
    QVERIFY(!PlotAxis::compute(0.0, std::nan(""), 300, true).isValid());
    // Extreme but finite ranges end, whatever their size.
    QVERIFY(PlotAxis::compute(0.0, 1e300, 300, true).isValid());
    QVERIFY(PlotAxis::compute(0.0, 1e-300, 300, true).isValid());
}

void TestPlotAxis::labels()
{
    const PlotAxis small = PlotAxis::compute(0.001, 0.002, 40, false);
    QCOMPARE(small.labelText(0), QStringLiteral("1"));
    QVERIFY(close(small.max * small.multiplier, 2.0));

    const PlotAxis across = PlotAxis::compute(-1.0, 1.0, 400, true);
    QCOMPARE(across.labelText(0), QStringLiteral("-1"));
    QCOMPARE(across.labelText(1), QStringLiteral("-0.8"));
    QCOMPARE(across.labelText(4), QStringLiteral("-0.2"));
    // Not a rounding residue such as -5.55112e-17.
    QCOMPARE(across.labelText(5), QStringLiteral("0"));
    QCOMPARE(across.labelText(8), QStringLiteral("0.6"));

    const PlotAxis large = PlotAxis::compute(0.0, 2e6, 400, true);
    QCOMPARE(large.labelText(2), QStringLiteral("4"));
    QCOMPARE(large.labelText(10), QStringLiteral("20"));
}

void TestPlotAxis::headroom()
{
    PlotAxis a = axis(0.0, 5.0);
    a.makeRoomFor(0.5, 4.5);
    QCOMPARE(a.min, 0.0);
    QCOMPARE(a.max, 5.0);
    QCOMPARE(a.intervals, 5);

    // Less than a quarter step from either end: one step more on that side;
    // the ticks, and so their labels, stay where they were.
    a.makeRoomFor(0.2, 4.9);
    QCOMPARE(a.min, -1.0);
    QCOMPARE(a.first, 0.0);
    QCOMPARE(a.max, 6.0);
    QCOMPARE(a.intervals, 7);

    // A quarter step exactly is room enough.
    PlotAxis b = axis(0.0, 5.0);
    b.makeRoomFor(0.25, 4.75);
    QCOMPARE(b.min, 0.0);
    QCOMPARE(b.max, 5.0);

    // A curve beyond a range the user set gets one step, not more.
    PlotAxis c = axis(0.0, 5.0);
    c.makeRoomFor(-30.0, 40.0);
    QCOMPARE(c.min, -1.0);
    QCOMPARE(c.max, 6.0);

    PlotAxis none;
    none.makeRoomFor(0.0, 0.0);
    QCOMPARE(none.intervals, 0);
}

void TestPlotAxis::logTicks_data()
{
    QTest::addColumn<double>("lo");
    QTest::addColumn<double>("hi");
    QTest::addColumn<int>("pixels");
    QTest::addColumn<bool>("fitting");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<int>("minor");

    // Nine decades with room for each: every decade labelled, 2..9 between.
    QTest::newRow("1e-9..1 on 300") << 1e-9 << 1.0 << 300 << false
                                    << QStringList{"10^-9", "10^-8", "10^-7", "10^-6", "10^-5",
                                                   "10^-4", "10^-3", "10^-2", "10^-1", "10^0"}
                                    << 72;
    // Too little room: a major tick every fifth decade, the others minor.
    QTest::newRow("1e-9..1 on 120") << 1e-9 << 1.0 << 120 << false << QStringList{"10^-5", "10^0"} << 8;
    // 3 to 9 times 1e-5 (the first at the axis's start), 2 to 9 times 1e-4, 2e-3.
    QTest::newRow("3e-5..2e-3 exact") << 3e-5 << 2e-3 << 240 << false << QStringList{"10^-4", "10^-3"} << 16;
    QTest::newRow("3e-5..2e-3 fitting") << 3e-5 << 2e-3 << 240 << true
                                        << QStringList{"10^-5", "10^-4", "10^-3", "10^-2"} << 24;
    // No decade inside: the minor ticks are labelled where there is room.
    QTest::newRow("2e-4..8e-4") << 2e-4 << 8e-4 << 240 << false
                                << QStringList{"2×10^-4", "3×10^-4", "4×10^-4", "5×10^-4", "6×10^-4", "8×10^-4"} << 1;
    // Not even a minor tick inside: linear ticks, placed logarithmically.
    QTest::newRow("1.1..1.9") << 1.1 << 1.9 << 240 << false << QStringList{"1.1", "1.3", "1.5", "1.7"} << 4;
}

void TestPlotAxis::logTicks()
{
    QFETCH(double, lo);
    QFETCH(double, hi);
    QFETCH(int, pixels);
    QFETCH(bool, fitting);
    QFETCH(QStringList, labels);
    QFETCH(int, minor);
    const PlotAxis a = PlotAxis::computeLog(lo, hi, pixels, fitting);
    QVERIFY(a.isValid());
    QVERIFY(a.logarithmic);
    QStringList shown;
    int unlabelled = 0;
    double previous = -1e300;
    for (const PlotTick& tick : a.ticks()) {
        // In order, inside the axis.
        QVERIFY(tick.at > previous);
        QVERIFY2(tick.at >= a.min - 1e-9 && tick.at <= a.max + 1e-9, qPrintable(QString::number(tick.at)));
        previous = tick.at;
        if (tick.text.isEmpty())
            ++unlabelled;
        else
            shown << tick.text + (tick.superscript.isEmpty() ? QString() : QLatin1Char('^') + tick.superscript);
    }
    QCOMPARE(shown, labels);
    QCOMPARE(unlabelled, minor);
}

void TestPlotAxis::logAxisUnits()
{
    const PlotAxis a = PlotAxis::computeLog(3e-5, 2e-3, 240, true);
    // Fitting rounds out to whole decades; the axis counts in decades.
    QCOMPARE(a.min, -5.0);
    QCOMPARE(a.max, -2.0);
    QCOMPARE(a.step, 1.0);
    QCOMPARE(a.toAxis(100.0), 2.0);
    QVERIFY(std::isnan(a.toAxis(0.0)));
    QVERIFY(std::isnan(a.toAxis(-1.0)));
    QVERIFY(close(a.fromAxis(-3.0), 1e-3));
    // Headroom is a step of decades.
    PlotAxis room = a;
    room.makeRoomFor(a.toAxis(1.1e-5), a.toAxis(2e-3));
    QCOMPARE(room.min, -6.0);
    QCOMPARE(room.max, -2.0);
    // Nothing positive, or no width: no axis.
    QVERIFY(!PlotAxis::computeLog(0.0, 1.0, 240, true).isValid());
    QVERIFY(!PlotAxis::computeLog(-1.0, 1.0, 240, false).isValid());
    QVERIFY(!PlotAxis::computeLog(1.0, 1.0, 240, false).isValid());
    // A linear axis keeps its values.
    const PlotAxis linear = PlotAxis::compute(0.0, 5.0, 200, true);
    QCOMPARE(linear.toAxis(-3.0), -3.0);
    QCOMPARE(linear.ticks().size(), 5);
    QCOMPARE(linear.ticks().at(2).text, QStringLiteral("2"));
    QVERIFY(linear.ticks().at(1).text.isEmpty());
}

void TestPlotAxis::valueExtent()
{
    const float inf = std::numeric_limits<float>::infinity();
    QList<float> values{3.0f, std::nanf(""), -2.0f, inf, 0.0f, 5e-3f, -inf};
    ValueExtent extent;
    extent.update(values);
    QVERIFY(extent.hasFinite());
    QCOMPARE(extent.min(), -2.0);
    QCOMPARE(extent.max(), 3.0);
    std::pair<double, double> range;
    QVERIFY(extent.scaled(2.0, false, &range));
    QCOMPARE(range, std::make_pair(-4.0, 6.0));
    // Positive products only, for a logarithmic axis.
    QVERIFY(extent.scaled(1.0, true, &range));
    QCOMPARE(range, std::make_pair(double(5e-3f), 3.0));
    QVERIFY(extent.scaled(-2.0, true, &range));
    QCOMPARE(range, std::make_pair(4.0, 4.0));
    QVERIFY(!extent.scaled(0.0, false, &range));

    // Appended values are read on; a changed value read so far, or a
    // shorter vector, makes it read again from the start.
    for (int i = 0; i < 100; ++i)
        values << float(i) * 0.5f;
    extent.update(values);
    QCOMPARE(extent.counted(), values.size());
    QCOMPARE(extent.max(), 49.5);
    values[0] = -70.0f;
    extent.update(values);
    QCOMPARE(extent.min(), -70.0);
    values = {1.0f, 2.0f};
    extent.update(values);
    QCOMPARE(extent.min(), 1.0);
    QCOMPARE(extent.max(), 2.0);

    ValueExtent none;
    none.update({std::nanf(""), inf});
    QVERIFY(!none.hasFinite());
    QVERIFY(!none.scaled(1.0, false, &range));
    // Many values, as the fast path takes them eight at a time.
    QList<float> many(1003, 1.0f);
    many[1001] = -8.0f;
    many[500] = 9.0f;
    ValueExtent big;
    big.update(many);
    QCOMPARE(big.min(), -8.0);
    QCOMPARE(big.max(), 9.0);
}

void TestPlotAxis::reductionKeepsEachColumnsExtremes()
{
    const CurveReduction::Mapping m = mapping();
    // 1,000 points inside one pixel column (plot x 40 to 40.45, drawn half
    // a pixel in): its first, lowest, highest and last point, in their
    // order, the lowest and highest in the middle of the column.
    QList<float> x;
    QList<float> y;
    for (int i = 0; i < 1000; ++i) {
        x << float(i) * 0.014f / 1000.0f;
        y << (i == 300 ? -1.0f : i == 700 ? 11.0f : i == 999 ? 5.0f : 2.0f + float(i % 7) * 0.1f);
    }
    CurveReduction reduction(&x, &y, 1.0f, 1.0f, m);
    reduction.update();
    const QList<QPointF> points = reduction.points();
    QCOMPARE(points.size(), 4);
    QCOMPARE(points.at(0), plotPoint(x.at(0), y.at(0)));
    QCOMPARE(points.at(1), QPointF(40.0, plotPoint(0.0, -1.0).y()));
    QCOMPARE(points.at(2), QPointF(40.0, plotPoint(0.0, 11.0).y()));
    QCOMPARE(points.at(3), plotPoint(x.at(999), 5.0));

    // 100,000 points of 16 sine periods: at most four points a pixel column
    // (and the two columns beyond each side), whatever the number of points.
    QList<float> many;
    QList<float> wave;
    for (int i = 0; i < 100000; ++i) {
        many << float(i) * 1e-4f;
        wave << float(5.0 + 4.0 * std::sin(i * 1e-3));
    }
    CurveReduction dense(&many, &wave, 1.0f, 1.0f, m);
    dense.update();
    QVERIFY2(dense.points().size() <= 4 * (320 + 6), qPrintable(QString::number(dense.points().size())));
    QVERIFY(dense.points().size() > 320);
    // A factor multiplies every value before it is placed.
    CurveReduction scaled(&x, &y, 2.0f, 0.5f, m);
    scaled.update();
    QCOMPARE(scaled.points().last(), plotPoint(2.0 * double(x.at(999)), 2.5));
    // Factors of 1 are compared as floats, any others as doubles: the same
    // points either way (the values doubled, exactly, and halved again).
    QList<float> twiceX;
    QList<float> twiceY;
    for (qsizetype i = 0; i < many.size(); ++i) {
        twiceX << 2.0f * many.at(i);
        twiceY << 2.0f * wave.at(i);
    }
    CurveReduction halved(&twiceX, &twiceY, 0.5f, 0.5f, m);
    halved.update();
    QCOMPARE(halved.points(), dense.points());
}

void TestPlotAxis::reductionGapsAndClipping()
{
    const CurveReduction::Mapping m = mapping();
    const float nan = std::nanf("");
    const float inf = std::numeric_limits<float>::infinity();
    const QList<float> x{0.0f, 1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f, nan, 8.0f, 9.0f};
    const QList<float> y{1.0f, 2.0f, nan, 4.0f, 5.0f, inf, 6.0f, 7.0f, 8.0f, 9.0f};
    CurveReduction reduction(&x, &y, 1.0f, 1.0f, m);
    reduction.update();
    // Every value that is not finite is a gap: no segment reaches into it.
    const QRectF clip(0.0, 0.0, 1000.0, 1000.0);
    const QList<QPolygonF> runs = reduction.visibleRuns(clip);
    QCOMPARE(runs.size(), 3);
    QCOMPARE(runs.at(0), QPolygonF({plotPoint(0, 1), plotPoint(1, 2)}));
    QCOMPARE(runs.at(1), QPolygonF({plotPoint(3, 4), plotPoint(4, 5)}));
    QCOMPARE(runs.at(2), QPolygonF({plotPoint(8, 8), plotPoint(9, 9)}));

    // On a logarithmic Y axis, 0 and below are gaps too.
    CurveReduction::Mapping logarithmic = m;
    logarithmic.y = PlotAxis::computeLog(1e-3, 10.0, 240, false);
    const QList<float> fractions{1e-2f, 0.0f, 1e-1f, 1.0f, -1.0f, 2.0f};
    const QList<float> at{0.0f, 1.0f, 2.0f, 3.0f, 4.0f, 5.0f};
    CurveReduction onLog(&at, &fractions, 1.0f, 1.0f, logarithmic);
    onLog.update();
    QCOMPARE(onLog.visibleRuns(clip).size(), 1);
    QCOMPARE(onLog.visibleRuns(clip).at(0).size(), 2);

    // A value far beyond the frame is cut where the segment leaves the
    // clip: no coordinate a painter could not take.
    const QList<float> spikeX{1.0f, 2.0f, 3.0f};
    const QList<float> spikeY{5.0f, 1e30f, 5.0f};
    CurveReduction spike(&spikeX, &spikeY, 1.0f, 1.0f, m);
    spike.update();
    const QRectF frame(38.0, 28.0, 324.0, 244.0);
    const QList<QPolygonF> cut = spike.visibleRuns(frame);
    QCOMPARE(cut.size(), 2);
    for (const QPolygonF& run : cut) {
        for (const QPointF& point : run)
            QVERIFY2(frame.adjusted(-1e-6, -1e-6, 1e-6, 1e-6).contains(point),
                     qPrintable(QStringLiteral("%1 %2").arg(point.x()).arg(point.y())));
    }
    QVERIFY(std::fabs(cut.at(0).last().y() - frame.bottom()) < 1e-6);
}

void TestPlotAxis::reductionFollowsGrowth()
{
    const CurveReduction::Mapping m = mapping();
    QList<float> x;
    QList<float> y;
    auto append = [&](int count) {
        for (int i = 0; i < count; ++i) {
            const int n = int(x.size());
            x << float(n) * 2e-4f;
            y << float(5.0 + 5.0 * std::sin(n * 7e-3) + (n % 13) * 0.05);
        }
    };
    append(20000);
    CurveReduction reduction(&x, &y, 1.0f, 1.0f, m);
    reduction.update();
    QCOMPARE(reduction.rebuilds(), 1);
    QCOMPARE(reduction.processed(), x.size());
    // Appended points extend it, with the open last column taken up again:
    // the same points as a reduction of all of them at once.
    for (int step = 0; step < 5; ++step) {
        append(1234);
        reduction.update();
    }
    QCOMPARE(reduction.rebuilds(), 1);
    QCOMPARE(reduction.processed(), x.size());
    CurveReduction whole(&x, &y, 1.0f, 1.0f, m);
    whole.update();
    QCOMPARE(reduction.points(), whole.points());

    // Values read so far changed (another run in the same vectors), or
    // fewer of them: from the start.
    x[0] = 0.5f;
    reduction.update();
    QCOMPARE(reduction.rebuilds(), 2);
    x.resize(100);
    y.resize(100);
    reduction.update();
    QCOMPARE(reduction.rebuilds(), 3);
    QCOMPARE(reduction.processed(), 100);
    // It is for these vectors, factors and mapping only.
    QVERIFY(reduction.isFor(&x, &y, 1.0f, 1.0f, m));
    QVERIFY(!reduction.isFor(&x, &y, 2.0f, 1.0f, m));
    CurveReduction::Mapping other = m;
    other.resolution = 2.0;
    QVERIFY(!reduction.isFor(&x, &y, 1.0f, 1.0f, other));
}

QTEST_MAIN(TestPlotAxis)
#include "tst_plotaxis.moc"

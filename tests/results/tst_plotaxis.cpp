// The plot's pure pieces: the axis computation (range, ticks, the power of
// ten of the labels, the headroom rule) and the mapping of a curve to the
// segments worth drawing.

#include "curvepath.h"
#include "plotaxis.h"

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
    void mapping();
    void segmentsSkipSamePixel();
    void segmentsOutsideTheFrame();
    void segmentsScaleAndLengths();
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

void TestPlotAxis::mapping()
{
    const CurvePath path(axis(0.0, 10.0), axis(-2.0, 12.0), frame320x240());
    QCOMPARE(path.kx(), 32.0);
    QVERIFY(close(path.ky(), 240.0 / 14.0));
    QCOMPARE(path.map(5.0, 5.0), QPoint(200, 150));
    QCOMPARE(path.map(0.0, -2.0), QPoint(40, 30));
    QCOMPARE(path.map(10.0, 12.0), QPoint(360, 270));
    // Halves away from zero.
    QCOMPARE(path.map(0.5 / 32.0, -2.0), QPoint(41, 30));
    QCOMPARE(path.map(-40.5 / 32.0, -2.0), QPoint(-1, 30));
    // Far beyond the picture, yet comparable pixels.
    const QPoint far = path.map(1e30, -1e30);
    QVERIFY(far.x() > 1000000);
    QVERIFY(far.y() < -1000000);
}

void TestPlotAxis::segmentsSkipSamePixel()
{
    const CurvePath path(axis(0.0, 10.0), axis(-2.0, 12.0), frame320x240());
    const QList<float> x{0.0f, 0.01f, 0.02f, 5.0f, 5.001f, 10.0f};
    const QList<float> y{0.0f, 0.0f, 0.0f, 5.0f, 5.0f, 10.0f};
    const QList<QLine> lines = path.segments(x, y, 1.0f, 1.0f);
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines.at(0), QLine(40, 64, 41, 64));
    QCOMPARE(lines.at(1), QLine(41, 64, 200, 150));
    QCOMPARE(lines.at(2), QLine(200, 150, 360, 236));

    // 100,000 points of 16 sine periods over 320 x 240 pixels: a segment per
    // pixel the curve moves, not per point.
    QList<float> many;
    QList<float> wave;
    for (int i = 0; i < 100000; ++i) {
        many << float(i) * 1e-4f;
        wave << float(std::sin(i * 1e-3));
    }
    const QList<QLine> dense = path.segments(many, wave, 1.0f, 1.0f);
    QVERIFY2(dense.size() < 2000, qPrintable(QString::number(dense.size())));
    QCOMPARE(dense.first().p1(), path.map(0.0, 0.0));
}

void TestPlotAxis::segmentsOutsideTheFrame()
{
    const CurvePath path(axis(0.0, 10.0), axis(-2.0, 12.0), frame320x240());
    QVERIFY(path.segments({0.0f, 1.0f, 2.0f}, {20.0f, 21.0f, 22.0f}, 1.0f, 1.0f).isEmpty());
    QVERIFY(path.segments({-5.0f, -4.0f}, {0.0f, 5.0f}, 1.0f, 1.0f).isEmpty());
    // Across the frame from above to below: kept.
    QCOMPARE(path.segments({1.0f, 2.0f}, {20.0f, -5.0f}, 1.0f, 1.0f).size(), 1);
    // A skipped segment still moves the kept point on.
    const QList<QLine> lines = path.segments({0.0f, 1.0f, 2.0f}, {20.0f, 20.0f, 0.0f}, 1.0f, 1.0f);
    QCOMPARE(lines.size(), 1);
    QCOMPARE(lines.at(0).p1(), QPoint(72, 407));
    QCOMPARE(lines.at(0).p2(), QPoint(104, 64));

    // Runs of joined segments end where a segment is left out.
    const QList<QPolygon> runs = path.polylines({0.0f, 1.0f, 2.0f, 3.0f, 4.0f}, {0.0f, 20.0f, 20.0f, 0.0f, 1.0f},
                                                1.0f, 1.0f);
    QCOMPARE(runs.size(), 2);
    QCOMPARE(runs.at(0), QPolygon({QPoint(40, 64), QPoint(72, 407)}));
    QCOMPARE(runs.at(1), QPolygon({QPoint(104, 407), QPoint(136, 64), QPoint(168, 81)}));
}

void TestPlotAxis::segmentsScaleAndLengths()
{
    const CurvePath path(axis(0.0, 10.0), axis(-2.0, 12.0), frame320x240());
    const QList<float> x{0.0f, 1.0f, 2.0f};
    const QList<float> y{0.0f, 1.0f, 2.0f};
    QVERIFY(path.segments(x, y, 0.0f, 1.0f).isEmpty());
    QVERIFY(path.segments(x, y, 1.0f, 0.0f).isEmpty());
    QVERIFY(path.segments({}, y, 1.0f, 1.0f).isEmpty());
    QVERIFY(path.segments(x, {}, 1.0f, 1.0f).isEmpty());
    // Y shorter than X: the curve ends with Y.
    const QList<QLine> shorter = path.segments(x, {0.0f, 1.0f}, 1.0f, 1.0f);
    QCOMPARE(shorter.size(), 1);
    // A factor multiplies every value before it is placed.
    const QList<QLine> scaled = path.segments(x, y, 2.0f, 1.0f);
    QCOMPARE(scaled.last().p2(), path.map(4.0, 2.0));
}

QTEST_MAIN(TestPlotAxis)
#include "tst_plotaxis.moc"

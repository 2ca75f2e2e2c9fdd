// The plot widget: what it draws where, the ranges it fits and keeps, and
// the arithmetic of zooming, moving and scaling from the reference state.

#include "messagecapture.h"
#include "translation.h"
#include "graph2d.h"
#include "rangedialog.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QWheelEvent>
#include <QtTest>

#include <cmath>

namespace {

bool close(double a, double b)
{
    return std::fabs(a - b) <= 1e-9 * std::max({1.0, std::fabs(a), std::fabs(b)});
}

bool isRed(QRgb pixel)
{
    return qRed(pixel) > 200 && qGreen(pixel) < 90 && qBlue(pixel) < 90;
}

bool isBlue(QRgb pixel)
{
    return qBlue(pixel) > 200 && qRed(pixel) < 90 && qGreen(pixel) < 90;
}

// Whether a pixel near (x, y), within `reach`, passes the test.
template<typename Test>
bool near(const QImage& image, int x, int y, int reach, Test test)
{
    for (int dy = -reach; dy <= reach; ++dy) {
        for (int dx = -reach; dx <= reach; ++dx) {
            const QPoint p(x + dx, y + dy);
            if (image.rect().contains(p) && test(image.pixel(p)))
                return true;
        }
    }
    return false;
}

template<typename Test>
int count(const QImage& image, Test test)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += test(image.pixel(x, y)) ? 1 : 0;
    return n;
}

QImage blankImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::white);
    return image;
}

const QList<float> kLine{0.0f, 2.0f, 4.0f, 6.0f, 8.0f, 10.0f};

QPen pen(Qt::GlobalColor color)
{
    return QPen(QColor(color), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A 400 x 300 widget over y = x on 0..10, painted once: its reference state
// is x 0..10 (tick 1), y -2..12 (tick 2, one more at each end for room).
class Plot
{
public:
    Plot()
    {
        widget.resize(400, 300);
        widget.addGraph(&kLine, &kLine, QStringLiteral("line"), 1.0f, 1.0f, pen(Qt::red));
        // Shown: pointer events reach only a widget with a window.
        widget.show();
        if (!QTest::qWaitForWindowExposed(&widget))
            qFatal("the plot's window is not exposed");
        paint();
    }
    void paint() { image = widget.grab().toImage(); }
    Graph2d widget;
    QImage image;
};

} // namespace

class TestGraph2d : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void actions();
    void nothingToDraw();
    void renderedCurve();
    void exportHeadroomWithUserRange();
    void dashedCurveKeepsItsPattern();
    void referenceState();
    void equalValuesAreWidened();
    void scaleZeroHidesButCounts();
    void legendRows();
    void zoomToRect();
    void panAndScale();
    void drags();
    void wheel();
    void toolStrip();
    void escapeCancelsDrag();
    void rangeDialog();
    void graphListAndSettings();
};

void TestGraph2d::initTestCase()
{
    if (!Translation::instance().load(QStringLiteral(":/translate.xml")))
        QFAIL("the built-in translation document cannot be read");
}

void TestGraph2d::actions()
{
    Graph2d plot;
    const QList<QAction*> actions = plot.toolActions();
    QCOMPARE(actions.size(), 5);
    const QStringList texts{"Selection Zoom", "Move", "Scaling", "Auto Fit", "Set Range"};
    const QStringList tips{"Zoom to the selected region", "Move viewport", "Interactive Scaling",
                           "Fit all data in the viewport", "Fit all data in the viewport"};
    const QStringList keys{"Ctrl+1", "Ctrl+2", "Ctrl+3", "Ctrl+0", ""};
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(actions.at(i)->text(), texts.at(i));
        QCOMPARE(actions.at(i)->toolTip(), tips.at(i));
        QCOMPARE(actions.at(i)->shortcut().toString(), keys.at(i));
        QCOMPARE(actions.at(i)->isCheckable(), i < 3);
        QCOMPARE(actions.at(i)->data().toInt(), i + 1);
        QVERIFY(actions.at(i)->isEnabled());
    }
    QCOMPARE(plot.tool(), int(Graph2d::SelectionZoom));
    QVERIFY(actions.at(0)->isChecked());
    QVERIFY(!actions.at(1)->isChecked());
    QVERIFY(plot.hasMouseTracking());
    QCOMPARE(plot.contextMenuPolicy(), Qt::CustomContextMenu);

    actions.at(1)->trigger();
    QCOMPARE(plot.tool(), int(Graph2d::Moving));
    QVERIFY(!actions.at(0)->isChecked());
    QVERIFY(actions.at(1)->isChecked());
    QVERIFY(!actions.at(2)->isChecked());
    actions.at(2)->trigger();
    QCOMPARE(plot.tool(), int(Graph2d::Scaling));
    QVERIFY(actions.at(2)->isChecked());
    QVERIFY(!actions.at(1)->isChecked());
    actions.at(0)->trigger();
    QCOMPARE(plot.tool(), int(Graph2d::SelectionZoom));

    plot.setViewRange(1, 2, 3, 4);
    actions.at(3)->trigger();
    QCOMPARE(plot.viewXMin(), 0.0);
    QCOMPARE(plot.viewXMax(), 0.0);
    QCOMPARE(plot.viewYMin(), 0.0);
    QCOMPARE(plot.viewYMax(), 0.0);
}

void TestGraph2d::nothingToDraw()
{
    Graph2d plot;
    QImage image = blankImage(400, 300);
    MessageCapture capture;
    QVERIFY(!plot.renderToImage(image));
    QCOMPARE(capture.lines(), QStringList{QStringLiteral("INF Graph2d no data to show ")});
    QCOMPARE(image, blankImage(400, 300));

    // Too small a picture draws nothing either, without a word.
    plot.addGraph(&kLine, &kLine, QString(), 1.0f, 1.0f, pen(Qt::red));
    capture.clear();
    QImage tiny = blankImage(30, 300);
    QVERIFY(!plot.renderToImage(tiny));
    QImage narrow = blankImage(60, 300);
    QVERIFY(!plot.renderToImage(narrow));
    QVERIFY(capture.lines().isEmpty());

    // A null vector is not a graph.
    Graph2d empty;
    empty.addGraph(nullptr, &kLine, QString(), 1.0f, 1.0f, QPen());
    empty.addGraph(&kLine, nullptr, QString(), 1.0f, 1.0f, QPen());
    QVERIFY(empty.graphs().isEmpty());

    // An empty vector counts as 0 to 0, with a warning.
    const QList<float> none;
    Graph2d hollow;
    hollow.addGraph(&none, &kLine, QString(), 1.0f, 1.0f, pen(Qt::red));
    QImage picture = blankImage(400, 300);
    QVERIFY(hollow.renderToImage(picture));
    QVERIFY(capture.lines().contains(QStringLiteral("WRN Graph2d::getMinMax(). Empty data vector ")));
    QCOMPARE(count(picture, isRed), 0);
}

void TestGraph2d::renderedCurve()
{
    Graph2d plot;
    plot.setGridOn(false);
    plot.addGraph(&kLine, &kLine, QStringLiteral("line"), 1.0f, 1.0f, pen(Qt::red));
    QImage image = blankImage(400, 300);
    QVERIFY(plot.renderToImage(image));
    // x 0..10 on 320 pixels from x = 40; y -2..12 on 240 pixels from 30 up.
    // The logical window is 399 pixels wide on 400: x grows by 400/399.
    auto device = [](double x, double y) {
        return QPoint(int(std::lround((40.0 + 32.0 * x) * 400.0 / 399.0)),
                      int(std::lround(300.0 - (30.0 + (y + 2.0) * 240.0 / 14.0))));
    };
    for (double v : {1.0, 3.0, 5.0, 7.0, 9.0}) {
        const QPoint p = device(v, v);
        QVERIFY2(near(image, p.x(), p.y(), 2, isRed), qPrintable(QStringLiteral("no curve at %1").arg(v)));
    }
    // Off the curve: white.
    QCOMPARE(image.pixel(device(8.0, 1.0)), qRgb(255, 255, 255));
    QCOMPARE(image.pixel(device(2.0, 9.0)), qRgb(255, 255, 255));
    // The axes in black, antialiased over two pixels: the X axis along
    // y = 30 (device 270), the Y axis along x = 40 (device 40.1).
    const auto dark = [](QRgb p) { return qGray(p) < 170 && qRed(p) == qGreen(p) && qGreen(p) == qBlue(p); };
    QVERIFY(near(image, 220, 270, 1, dark));
    QVERIFY(near(image, 40, 160, 1, dark));
    // Nothing of the curve below the axis or left of it.
    for (int y = 272; y < 300; ++y)
        for (int x = 0; x < 400; ++x)
            QVERIFY(!isRed(image.pixel(x, y)));
    // The background leaves the last column and row alone.
    QImage black(400, 300, QImage::Format_ARGB32);
    black.fill(Qt::black);
    QVERIFY(plot.renderToImage(black));
    QCOMPARE(black.pixel(399, 150), qRgb(0, 0, 0));
    QCOMPARE(black.pixel(200, 299), qRgb(0, 0, 0));
    QCOMPARE(black.pixel(397, 10), qRgb(255, 255, 255));
}

void TestGraph2d::exportHeadroomWithUserRange()
{
    Graph2d plot;
    plot.setGridOn(false);
    plot.addGraph(&kLine, &kLine, QString(), 1.0f, 1.0f, pen(Qt::red));
    plot.setViewRange(0.0, 10.0, 0.0, 10.0);
    QImage image = blankImage(400, 300);
    QVERIFY(plot.renderToImage(image));
    // With the range set to y 0..10, the export still adds a tick of room at
    // each end: (1, 1) lies at y = 30 + 3 x 240/14, not at 30 + 1 x 24.
    const int x = int(std::lround((40.0 + 32.0) * 400.0 / 399.0));
    QVERIFY(near(image, x, int(std::lround(300.0 - (30.0 + 3.0 * 240.0 / 14.0))), 2, isRed));
    QVERIFY(!near(image, x, 300 - 54, 2, isRed));
    // The reference state is the screen's, untouched by an export.
    QCOMPARE(plot.reference().xMax, 0.0);
}

void TestGraph2d::dashedCurveKeepsItsPattern()
{
    // 1,000 points a third of a pixel apart: a curve of very short segments,
    // on which a restarted pattern would look solid.
    QList<float> x;
    QList<float> y;
    for (int i = 0; i < 1000; ++i) {
        x << float(i);
        y << 5.0f;
    }
    auto inked = [&](Qt::PenStyle style) {
        Graph2d plot;
        plot.setGridOn(false);
        plot.addGraph(&x, &y, QString(), 1.0f, 1.0f, QPen(QColor(Qt::red), 2, style, Qt::FlatCap));
        QImage image = blankImage(400, 300);
        if (!plot.renderToImage(image))
            qFatal("nothing drawn");
        int columns = 0;
        for (int px = 60; px < 340; ++px) {
            bool hit = false;
            for (int py = 100; py < 200 && !hit; ++py)
                hit = qRed(image.pixel(px, py)) > 200 && qGreen(image.pixel(px, py)) < 150;
            columns += hit ? 1 : 0;
        }
        return columns;
    };
    QCOMPARE(inked(Qt::SolidLine), 280);
    const int dashed = inked(Qt::DashLine);
    const int dotted = inked(Qt::DotLine);
    QVERIFY2(dashed > 150 && dashed < 250, qPrintable(QString::number(dashed)));
    QVERIFY2(dotted > 80 && dotted < 200, qPrintable(QString::number(dotted)));
}

void TestGraph2d::referenceState()
{
    Plot plot;
    const Graph2d::Reference& r = plot.widget.reference();
    QCOMPARE(r.xMin, 0.0);
    QCOMPARE(r.xMax, 10.0);
    QVERIFY(close(r.yMin, -2.0));
    QVERIFY(close(r.yMax, 12.0));
    QCOMPARE(r.frame.left, 40);
    QCOMPARE(r.frame.bottom, 30);
    QCOMPARE(r.frame.right, 359);
    QCOMPARE(r.frame.top, 269);

    // A range the user set is drawn as set, without headroom on screen.
    plot.widget.setViewRange(1.0, 9.0, 0.0, 10.0);
    plot.paint();
    QCOMPARE(r.xMin, 1.0);
    QCOMPARE(r.xMax, 9.0);
    QCOMPARE(r.yMin, 0.0);
    QCOMPARE(r.yMax, 10.0);

    // The legend takes its width off the plot.
    plot.widget.setViewRange(0, 0, 0, 0);
    plot.widget.setLegendOn(true);
    plot.paint();
    QVERIFY(r.frame.right < 359 - 90);
}

void TestGraph2d::equalValuesAreWidened()
{
    const QList<float> x{1.0f, 2.0f, 3.0f};
    const QList<float> flat{7.0f, 7.0f, 7.0f};
    Graph2d plot;
    plot.resize(400, 300);
    plot.addGraph(&x, &flat, QString(), 1.0f, 1.0f, pen(Qt::red));
    plot.grab();
    QVERIFY(close(plot.reference().yMin, 6.0));
    QVERIFY(close(plot.reference().yMax, 8.0));
    // Both axes degenerate.
    const QList<float> one{4.0f};
    Graph2d point;
    point.resize(400, 300);
    point.addGraph(&one, &one, QString(), 1.0f, 1.0f, pen(Qt::red));
    point.grab();
    QVERIFY(close(point.reference().xMin, 3.0));
    QVERIFY(close(point.reference().xMax, 5.0));
    QVERIFY(close(point.reference().yMin, 3.0));
    QVERIFY(close(point.reference().yMax, 5.0));
}

void TestGraph2d::scaleZeroHidesButCounts()
{
    const QList<float> x{0.0f, 10.0f};
    const QList<float> high{5.0f, 10.0f};
    const QList<float> far{50.0f, 100.0f};
    Graph2d alone;
    alone.resize(400, 300);
    alone.addGraph(&x, &high, QString(), 1.0f, 1.0f, pen(Qt::red));
    alone.grab();
    QVERIFY(alone.reference().yMin > 3.0);

    Graph2d plot;
    plot.resize(400, 300);
    plot.addGraph(&x, &high, QString(), 1.0f, 1.0f, pen(Qt::red));
    plot.addGraph(&x, &far, QString(), 1.0f, 0.0f, pen(Qt::blue));
    const QImage image = plot.grab().toImage();
    // The hidden curve's scaled extent is 0..0: the range reaches down to 0.
    QVERIFY(plot.reference().yMin <= 0.0);
    QVERIFY(plot.reference().yMax < 20.0);
    QCOMPARE(count(image, isBlue), 0);
    QVERIFY(count(image, isRed) > 50);
}

void TestGraph2d::legendRows()
{
    Graph2d plot;
    plot.setLegendOn(true);
    plot.addGraph(&kLine, &kLine, QString(), 1.0f, 1.0f, pen(Qt::red));
    plot.addGraph(&kLine, &kLine, QStringLiteral("B"), 1.0f, 2.0f, pen(Qt::blue));
    QImage image = blankImage(500, 300);
    QVERIFY(plot.renderToImage(image));
    QFont font(QStringLiteral("times"));
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(12);
    const int legend = QFontMetrics(font).horizontalAdvance(QStringLiteral("B")) + 90;
    const int x0 = 500 - legend - 10;
    // The untitled curve has no row: B's sample line is the first row.
    QVERIFY(near(image, x0 + 40, 10 + 10 + 6, 1, isBlue));
    QVERIFY(!near(image, x0 + 40, 10 + 10 + 6, 2, isRed));
    QVERIFY(!near(image, x0 + 40, 10 + 28 + 6, 2, isBlue));
    // The frame's left edge in dark grey.
    QVERIFY(near(image, x0, 20, 1, [](QRgb p) { return qGray(p) < 200 && qRed(p) == qBlue(p); }));
}

void TestGraph2d::zoomToRect()
{
    Plot plot;
    plot.widget.zoomToRect(QPoint(200, 160), QPoint(80, 100));
    QVERIFY(close(plot.widget.viewXMin(), 1.25));
    QVERIFY(close(plot.widget.viewXMax(), 5.0));
    QVERIFY(close(plot.widget.viewYMin(), -2.0 + 110.0 * 14.0 / 240.0));
    QVERIFY(close(plot.widget.viewYMax(), -2.0 + 170.0 * 14.0 / 240.0));
    // A click: equal ends, which fit the view again.
    plot.widget.zoomToRect(QPoint(120, 120), QPoint(120, 120));
    QCOMPARE(plot.widget.viewXMin(), plot.widget.viewXMax());
    QCOMPARE(plot.widget.viewYMin(), plot.widget.viewYMax());

    // Nothing drawn yet: no reference, no zoom.
    Graph2d fresh;
    fresh.setViewRange(1, 2, 3, 4);
    fresh.zoomToRect(QPoint(0, 0), QPoint(50, 50));
    QCOMPARE(fresh.viewXMin(), 1.0);
    QCOMPARE(fresh.viewYMax(), 4.0);
}

void TestGraph2d::panAndScale()
{
    Plot plot;
    plot.widget.pan(32.0, 24.0);
    QVERIFY(close(plot.widget.viewXMin(), 0.5));
    QVERIFY(close(plot.widget.viewXMax(), 10.5));
    QVERIFY(close(plot.widget.viewYMin(), -1.3));
    QVERIFY(close(plot.widget.viewYMax(), 12.7));

    plot.widget.scale(2.0, 0.5);
    QVERIFY(close(plot.widget.viewXMin(), 2.5));
    QVERIFY(close(plot.widget.viewXMax(), 7.5));
    QVERIFY(close(plot.widget.viewYMin(), -9.0));
    QVERIFY(close(plot.widget.viewYMax(), 19.0));

    // A factor of exactly 1 or 0 on either axis changes nothing.
    plot.widget.setViewRange(0, 0, 0, 0);
    plot.widget.scale(1.0, 2.0);
    plot.widget.scale(2.0, 1.0);
    plot.widget.scale(0.0, 2.0);
    plot.widget.scale(2.0, 0.0);
    QCOMPARE(plot.widget.viewXMax(), 0.0);
    QCOMPARE(plot.widget.viewYMax(), 0.0);

    // Without graphs, scaling does nothing either.
    plot.widget.clearGraphs();
    plot.widget.scale(2.0, 2.0);
    QCOMPARE(plot.widget.viewXMax(), 0.0);
}

void TestGraph2d::drags()
{
    Plot plot;
    Graph2d& w = plot.widget;
    w.setTool(Graph2d::Scaling);
    // Strictly horizontal: fy = 1, nothing changes.
    QTest::mousePress(&w, Qt::LeftButton, {}, QPoint(100, 150));
    QCOMPARE(w.dragMode(), int(Graph2d::DragScaling));
    QTest::mouseMove(&w, QPoint(200, 150));
    QTest::mouseRelease(&w, Qt::LeftButton, {}, QPoint(200, 150));
    QCOMPARE(w.dragMode(), int(Graph2d::Idle));
    QCOMPARE(w.viewXMin(), 0.0);
    QCOMPARE(w.viewXMax(), 0.0);

    // Diagonally: fx = 1 + 75/150, fy = 1 - 30/150, about the centre.
    QTest::mousePress(&w, Qt::LeftButton, {}, QPoint(100, 150));
    QTest::mouseMove(&w, QPoint(140, 170));
    QTest::mouseRelease(&w, Qt::LeftButton, {}, QPoint(175, 180));
    QVERIFY(close(w.viewXMin(), 5.0 - 10.0 / 1.5 / 2.0));
    QVERIFY(close(w.viewXMax(), 5.0 + 10.0 / 1.5 / 2.0));
    QVERIFY(close(w.viewYMin(), 5.0 - 14.0 / 0.8 / 2.0));
    QVERIFY(close(w.viewYMax(), 5.0 + 14.0 / 0.8 / 2.0));

    // Moving: half the pointer's way, upwards positive; from the state at
    // the press, however many moves came between.
    w.setViewRange(0, 0, 0, 0);
    plot.paint();
    w.setTool(Graph2d::Moving);
    QTest::mousePress(&w, Qt::LeftButton, {}, QPoint(100, 150));
    QCOMPARE(w.dragMode(), int(Graph2d::DragMoving));
    QTest::mouseMove(&w, QPoint(300, 50));
    QTest::mouseMove(&w, QPoint(120, 160));
    QTest::mouseRelease(&w, Qt::LeftButton, {}, QPoint(132, 174));
    QVERIFY(close(w.viewXMin(), 0.5));
    QVERIFY(close(w.viewXMax(), 10.5));
    QVERIFY(close(w.viewYMin(), -2.7));
    QVERIFY(close(w.viewYMax(), 11.3));

    // Selecting: the dragged rectangle becomes the view.
    w.setViewRange(0, 0, 0, 0);
    plot.paint();
    w.setTool(Graph2d::SelectionZoom);
    QTest::mousePress(&w, Qt::LeftButton, {}, QPoint(80, 100));
    QCOMPARE(w.dragMode(), int(Graph2d::Selecting));
    QTest::mouseMove(&w, QPoint(150, 130));
    QTest::mouseRelease(&w, Qt::LeftButton, {}, QPoint(200, 160));
    QVERIFY(close(w.viewXMin(), 1.25));
    QVERIFY(close(w.viewXMax(), 5.0));

    // The middle button scales whatever the tool.
    w.setViewRange(0, 0, 0, 0);
    plot.paint();
    QTest::mousePress(&w, Qt::MiddleButton, {}, QPoint(100, 150));
    QCOMPARE(w.dragMode(), int(Graph2d::DragScaling));
    QTest::mouseRelease(&w, Qt::MiddleButton, {}, QPoint(100, 150));
    QCOMPARE(w.viewXMax(), 0.0); // released where pressed: no change
}

void TestGraph2d::wheel()
{
    Plot plot;
    QWheelEvent down(QPointF(200, 150), plot.widget.mapToGlobal(QPointF(200, 150)), QPoint(), QPoint(0, 120),
                     Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&plot.widget, &down);
    QCOMPARE(plot.widget.viewXMin(), 0.0);
    QVERIFY(close(plot.widget.viewYMin(), -2.0 - 0.5 * 14.0 / 240.0 * 120.0));
    QVERIFY(close(plot.widget.viewYMax(), 12.0 - 0.5 * 14.0 / 240.0 * 120.0));
    QWheelEvent side(QPointF(200, 150), plot.widget.mapToGlobal(QPointF(200, 150)), QPoint(), QPoint(64, 0),
                     Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&plot.widget, &side);
    QVERIFY(close(plot.widget.viewXMin(), 1.0));
    QVERIFY(close(plot.widget.viewXMax(), 11.0));
}

void TestGraph2d::toolStrip()
{
    Plot plot;
    Graph2d& w = plot.widget;
    QTest::mouseMove(&w, QPoint(60, 20));
    QCOMPARE(w.dragMode(), int(Graph2d::ToolStrip));
    QCOMPARE(w.hoveredButton(), 2);
    QTest::mouseMove(&w, QPoint(45, 20)); // between two buttons
    QCOMPARE(w.hoveredButton(), -1);
    QTest::mouseMove(&w, QPoint(100, 41));
    QCOMPARE(w.hoveredButton(), 3);
    QTest::mousePress(&w, Qt::LeftButton, {}, QPoint(100, 41));
    QCOMPARE(w.tool(), int(Graph2d::Scaling));
    QVERIFY(w.toolActions().at(2)->isChecked());
    QTest::mouseRelease(&w, Qt::LeftButton, {}, QPoint(100, 41));
    QCOMPARE(w.dragMode(), int(Graph2d::ToolStrip));

    // The strip is drawn: the current tool's button has an olive backing.
    const QImage image = w.grab().toImage();
    const QRgb backing = image.pixel(88, 8);
    QVERIFY(qRed(backing) < 255 && qBlue(backing) < qRed(backing));

    QTest::mouseMove(&w, QPoint(20, 20));
    QTest::mousePress(&w, Qt::LeftButton, {}, QPoint(20, 20));
    QCOMPARE(w.tool(), int(Graph2d::SelectionZoom));
    QTest::mouseRelease(&w, Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseMove(&w, QPoint(60, 20));
    QTest::mousePress(&w, Qt::LeftButton, {}, QPoint(60, 20));
    QCOMPARE(w.tool(), int(Graph2d::Moving));
    QTest::mouseRelease(&w, Qt::LeftButton, {}, QPoint(60, 20));
    w.setViewRange(1, 2, 3, 4);
    QTest::mouseMove(&w, QPoint(140, 20));
    QTest::mousePress(&w, Qt::LeftButton, {}, QPoint(140, 20));
    QCOMPARE(w.viewXMin(), 0.0);
    QCOMPARE(w.viewYMax(), 0.0);
    QTest::mouseRelease(&w, Qt::LeftButton, {}, QPoint(140, 20));

    // Away from the strip it goes; leaving the widget ends it too.
    QTest::mouseMove(&w, QPoint(140, 120));
    QCOMPARE(w.dragMode(), int(Graph2d::Idle));
    QTest::mouseMove(&w, QPoint(140, 30));
    QCOMPARE(w.dragMode(), int(Graph2d::ToolStrip));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&w, &leave);
    QCOMPARE(w.dragMode(), int(Graph2d::Idle));
}

void TestGraph2d::escapeCancelsDrag()
{
    Plot plot;
    Graph2d& w = plot.widget;
    // The press that starts a drag gives the plot the keyboard.
    QCOMPARE(w.focusPolicy(), Qt::ClickFocus);
    w.setTool(Graph2d::Moving);
    QTest::mousePress(&w, Qt::LeftButton, {}, QPoint(100, 150));
    QTest::mouseMove(&w, QPoint(132, 174));
    QTest::keyClick(&w, Qt::Key_Escape);
    QCOMPARE(w.dragMode(), int(Graph2d::Idle));
    // The view keeps what the last move set.
    QVERIFY(close(w.viewXMin(), 0.5));
    QTest::mouseRelease(&w, Qt::LeftButton, {}, QPoint(300, 300));
    QVERIFY(close(w.viewXMin(), 0.5));
}

void TestGraph2d::rangeDialog()
{
    Plot plot;
    QStringList initial;
    QString button;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<RangeDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        for (int i = 0; i < 4; ++i)
            initial << dialog->field(i)->text();
        button = dialog->applyButton()->text();
        dialog->field(0)->setText(QStringLiteral("2"));
        dialog->field(1)->setText(QStringLiteral("1e-05"));
        dialog->field(2)->setText(QStringLiteral("-3.5"));
        dialog->field(3)->setText(QStringLiteral("7"));
        dialog->applyButton()->click();
    });
    plot.widget.toolActions().at(4)->trigger();
    QCOMPARE(initial, (QStringList{"0", "10", "-2", "12"}));
    QCOMPARE(button, QStringLiteral("Apply"));
    // A minimum above its maximum is the same range the right way round.
    QCOMPARE(plot.widget.viewXMin(), 1e-05);
    QCOMPARE(plot.widget.viewXMax(), 2.0);
    QCOMPARE(plot.widget.viewYMin(), -3.5);
    QCOMPARE(plot.widget.viewYMax(), 7.0);

    // The fields take numbers only.
    RangeDialog dialog(0, 1, 0, 1);
    QLineEdit* field = dialog.field(0);
    field->clear();
    QTest::keyClicks(field, QStringLiteral("ab1.5"));
    QCOMPARE(field->text(), QStringLiteral("1.5"));
    QCOMPARE(dialog.field(0)->validator(), dialog.field(3)->validator());
}

void TestGraph2d::graphListAndSettings()
{
    Graph2d plot;
    QVERIFY(plot.gridOn());
    QVERIFY(!plot.legendOn());
    QCOMPARE(plot.caption(), QString());
    plot.setCaption(QStringLiteral("t = 1 s"));
    QCOMPARE(plot.caption(), QStringLiteral("t = 1 s"));
    plot.addGraph(&kLine, &kLine, QStringLiteral("a"), 2.0f, 3.0f, pen(Qt::red));
    QCOMPARE(plot.graphs().size(), 1);
    QCOMPARE(plot.graphs().at(0).x, &kLine);
    QCOMPARE(plot.graphs().at(0).scaleX, 2.0f);
    QCOMPARE(plot.graphs().at(0).scaleY, 3.0f);
    QCOMPARE(plot.graphs().at(0).title, QStringLiteral("a"));
    QCOMPARE(plot.graphs().at(0).pen.color(), QColor(Qt::red));
    plot.clearGraphs();
    QVERIFY(plot.graphs().isEmpty());
}

QTEST_MAIN(TestGraph2d)
#include "tst_graph2d.moc"

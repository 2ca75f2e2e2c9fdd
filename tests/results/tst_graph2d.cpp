// The plot widget: what it draws where, at every device pixel ratio, the
// ranges it fits and keeps, what it keeps between paints, and the arithmetic
// of zooming, moving and scaling from the reference state.

#include "messagecapture.h"
#include "translation.h"
#include "graph2d.h"
#include "rangedialog.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QNativeGestureEvent>
#include <QPainter>
#include <QPointingDevice>
#include <QPushButton>
#include <QTimer>
#include <QWheelEvent>
#include <QtTest>

#include <cmath>
#include <functional>
#include <random>

namespace {

bool close(double a, double b, double tolerance = 1e-9)
{
    return std::fabs(a - b) <= tolerance * std::max({1.0, std::fabs(a), std::fabs(b)});
}

bool isRed(QRgb pixel)
{
    return qRed(pixel) > 200 && qGreen(pixel) < 90 && qBlue(pixel) < 90;
}

bool isBlue(QRgb pixel)
{
    return qBlue(pixel) > 200 && qRed(pixel) < 90 && qGreen(pixel) < 90;
}

bool isInk(QRgb pixel)
{
    return qGray(pixel) < 160;
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
int count(const QImage& image, Test test, const QRect& area = QRect())
{
    const QRect rect = area.isNull() ? image.rect() : area & image.rect();
    int n = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            n += test(image.pixel(x, y)) ? 1 : 0;
    return n;
}

QImage blankImage(int width, int height, QColor colour = Qt::white)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

const QList<float> kLine{0.0f, 2.0f, 4.0f, 6.0f, 8.0f, 10.0f};

QPen pen(Qt::GlobalColor color, int width = 3)
{
    return QPen(QColor(color), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A curve read on the given Y axis, its fields named.
PlotGraph curve(const QList<float>* x, const QList<float>* y, Qt::GlobalColor colour, int axis = PlotGraph::Left,
                const QString& yName = QString())
{
    PlotGraph graph;
    graph.x = x;
    graph.y = y;
    graph.title = yName;
    graph.pen = pen(colour);
    graph.axis = axis;
    graph.xName = QStringLiteral("t(s)");
    graph.yName = yName;
    return graph;
}

// The picture pixel of a value pair on the left axes of the last paint.
QPoint pixelOf(const Graph2d& plot, double x, double y)
{
    const Graph2d::Reference& r = plot.reference();
    const PlotFrame& f = r.frame;
    const double column = f.left + (x - r.x().min) * (f.right - f.left) / (r.x().max - r.x().min);
    const double row = f.bottom + (y - r.y().min) * (f.top - f.bottom) / (r.y().max - r.y().min);
    return QPoint(int(std::lround(column)), int(std::lround(r.height - row)));
}

// The frame's pixels in the picture.
QRect frameRect(const Graph2d& plot)
{
    const Graph2d::Reference& r = plot.reference();
    const PlotFrame& f = r.frame;
    return QRect(f.left, int(r.height) - f.top, f.width(), f.height());
}

// The middles of the runs of rows (or columns) of `area` that hold ink, in
// units of the picture's device-independent pixels.
QList<double> inkRuns(const QImage& image, const QRectF& area, Qt::Orientation across)
{
    const double ratio = image.devicePixelRatio();
    const QRect pixels(int(area.left() * ratio), int(area.top() * ratio), int(area.width() * ratio),
                       int(area.height() * ratio));
    QList<double> middles;
    QList<double> starts;
    QList<double> ends;
    const int first = across == Qt::Vertical ? pixels.top() : pixels.left();
    const int last = across == Qt::Vertical ? pixels.bottom() : pixels.right();
    int start = -1;
    for (int i = first; i <= last + 1; ++i) {
        bool ink = false;
        if (i <= last) {
            const int from = across == Qt::Vertical ? pixels.left() : pixels.top();
            const int to = across == Qt::Vertical ? pixels.right() : pixels.bottom();
            for (int j = from; j <= to && !ink; ++j)
                ink = isInk(across == Qt::Vertical ? image.pixel(j, i) : image.pixel(i, j));
        }
        if (ink && start < 0)
            start = i;
        if (!ink && start >= 0) {
            // Glyphs of one label, apart by less than 3 pixels, are one run.
            if (!middles.isEmpty() && (start / ratio) - ends.last() < 3.0) {
                starts.last() = std::min(starts.last(), start / ratio);
                ends.last() = i / ratio;
            } else {
                starts << start / ratio;
                ends << i / ratio;
                middles << 0.0;
            }
            start = -1;
        }
    }
    for (int k = 0; k < middles.size(); ++k)
        middles[k] = (starts.at(k) + ends.at(k)) / 2.0;
    return middles;
}

// A widget over y = x on 0..10, shown and painted once: its reference state
// is x 0..10 (tick 1), y -2..12 (tick 2, one more at each end for room).
class Plot
{
public:
    explicit Plot(QSize size = QSize(400, 300))
    {
        widget.resize(size);
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

// Counts the paints a widget receives.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
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
    void reducedCurveLooksTheSame();
    void curvesKeptBetweenPaints();
    void hoverRepaintsOnlyOnChange();
    void exportIsTheScreen();
    void devicePixelRatios();
    void gapsAndOddValues();
    void dashedCurveKeepsItsPattern();
    void referenceState();
    void equalValuesAreWidened();
    void scaleZeroHidesButCounts();
    void legendRows();
    void zoomToRect();
    void panAndScale();
    void drags();
    void wheelAndPinch();
    void toolStrip();
    void escapeCancelsDrag();
    void rangeDialog();
    void graphListAndSettings();
    void logarithmicAxes();
    void rightAxis();
    void axisTitlesAndFonts();
    void markers();
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
    plot.setRightRange(5, 6);
    actions.at(3)->trigger();
    QCOMPARE(plot.viewXMin(), 0.0);
    QCOMPARE(plot.viewXMax(), 0.0);
    QCOMPARE(plot.viewYMin(), 0.0);
    QCOMPARE(plot.viewYMax(), 0.0);
    QCOMPARE(plot.viewRange(Graph2d::RightAxis).max, 0.0);
}

void TestGraph2d::nothingToDraw()
{
    Graph2d plot;
    QImage image = blankImage(400, 300);
    MessageCapture capture;
    QVERIFY(!plot.renderToImage(image));
    QCOMPARE(capture.lines(), QStringList{QStringLiteral("INF Graph2d no data to show ")});
    QCOMPARE(image, blankImage(400, 300));
    // On screen an empty plot says what to do.
    plot.setPlaceholderText(QStringLiteral("Add a graph (Alt+A)"));
    plot.resize(400, 300);
    const QImage hint = plot.grab().toImage();
    QVERIFY(count(hint, isInk, QRect(100, 130, 200, 40)) > 20);
    QCOMPARE(count(hint, isInk, QRect(0, 0, 400, 100)), 0);

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
    Plot plot;
    plot.widget.setGridOn(false);
    plot.paint();
    const QImage& image = plot.image;
    for (double v : {1.0, 3.0, 5.0, 7.0, 9.0}) {
        const QPoint p = pixelOf(plot.widget, v, v);
        QVERIFY2(near(image, p.x(), p.y(), 1, isRed), qPrintable(QStringLiteral("no curve at %1").arg(v)));
    }
    // Off the curve: white.
    QCOMPARE(image.pixel(pixelOf(plot.widget, 8.0, 1.0)), qRgb(255, 255, 255));
    QCOMPARE(image.pixel(pixelOf(plot.widget, 2.0, 9.0)), qRgb(255, 255, 255));
    // The axes are one black pixel wide, on the frame's first row and
    // column: nothing grey beside them.
    const QRect frame = frameRect(plot.widget);
    const int axisRow = frame.bottom();
    const int middle = frame.left() + frame.width() / 2 + 3;
    QCOMPARE(image.pixel(middle, axisRow), qRgb(0, 0, 0));
    QCOMPARE(image.pixel(middle, axisRow - 1), qRgb(255, 255, 255));
    QCOMPARE(image.pixel(middle, axisRow + 1), qRgb(255, 255, 255));
    const int row = frame.top() + frame.height() / 2 + 3;
    QCOMPARE(image.pixel(frame.left(), row), qRgb(0, 0, 0));
    QCOMPARE(image.pixel(frame.left() - 1, row), qRgb(255, 255, 255));
    QCOMPARE(image.pixel(frame.left() + 1, row), qRgb(255, 255, 255));
    // Nothing of the curve below the axis or left of it.
    for (int y = axisRow + 2; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            QVERIFY(!isRed(image.pixel(x, y)));
    // Labels under the X axis and left of the Y axis.
    QVERIFY(count(image, isInk, QRect(frame.left(), axisRow + 6, frame.width(), 16)) > 30);
    QVERIFY(count(image, isInk, QRect(0, frame.top(), frame.left() - 6, frame.height())) > 30);
}

void TestGraph2d::reducedCurveLooksTheSame()
{
    // 200,000 points, several hundred a pixel column, part of them noisy:
    // drawn as the plot draws them, and segment by segment on the same plot
    // without the curve. The same picture but for the antialiasing of single
    // pixels.
    QList<float> x;
    QList<float> y;
    std::mt19937 random(7);
    std::normal_distribution<float> noise(0.0f, 0.3f);
    for (int i = 0; i < 200000; ++i) {
        x << float(i) * 5e-5f;
        y << float(5.0 + 3.0 * std::sin(i * 6e-5)) + (i > 100000 && i < 120000 ? noise(random) : 0.0f);
    }
    Graph2d plot;
    plot.resize(500, 320);
    plot.setGridOn(false);
    plot.addGraph(&x, &y, QString(), 1.0f, 1.0f, pen(Qt::red, 1));
    const QImage reduced = plot.grab().toImage();
    QVERIFY(plot.reduction(0));
    QVERIFY2(plot.reduction(0)->points().size() < 2000,
             qPrintable(QString::number(plot.reduction(0)->points().size())));

    Graph2d bare;
    bare.resize(500, 320);
    bare.setGridOn(false);
    bare.addGraph(&x, &y, QString(), 1.0f, 1.0f, QPen(Qt::NoPen));
    QImage every = bare.grab().toImage();
    QCOMPARE(bare.reference().frame.left, plot.reference().frame.left);
    {
        QPainter painter(&every);
        painter.setRenderHint(QPainter::Antialiasing, true);
        const QRect frame = frameRect(plot);
        painter.setClipRect(frame);
        painter.setPen(pen(Qt::red, 1));
        const Graph2d::Reference& r = plot.reference();
        const PlotFrame& f = r.frame;
        auto map = [&](int i) {
            return QPointF(f.left + 0.5 + (x.at(i) - r.x().min) * (f.right - f.left) / (r.x().max - r.x().min),
                           r.height + 0.5
                               - (f.bottom + (y.at(i) - r.y().min) * (f.top - f.bottom) / (r.y().max - r.y().min)));
        };
        for (int i = 1; i < x.size(); ++i)
            painter.drawLine(map(i - 1), map(i));
    }
    // Where the curve covers half a pixel or more, inside the frame (on the
    // axes' black it shows darker): the two pictures ink the same pixels,
    // give or take one.
    auto inked = [](QRgb pixel) { return qGreen(pixel) < 128 && qRed(pixel) > 200; };
    const QRect inside = frameRect(plot).adjusted(1, 0, 0, -1);
    auto covered = [&](const QImage& one, const QImage& other) {
        int unmatched = 0;
        for (int py = inside.top(); py <= inside.bottom(); ++py) {
            for (int px = inside.left(); px <= inside.right(); ++px) {
                if (inked(one.pixel(px, py)) && !near(other, px, py, 1, inked))
                    ++unmatched;
            }
        }
        return unmatched;
    };
    QCOMPARE(covered(reduced, every), 0);
    QCOMPARE(covered(every, reduced), 0);
    QVERIFY(count(reduced, isRed) > 500);
}

void TestGraph2d::curvesKeptBetweenPaints()
{
    QList<float> x;
    QList<float> y;
    x.reserve(50000);
    y.reserve(50000);
    for (int i = 0; i < 40000; ++i) {
        x << float(i) * 1e-3f;
        y << float(std::sin(i * 1e-3));
    }
    Plot plot;
    Graph2d& w = plot.widget;
    w.clearGraphs();
    w.addGraph(&x, &y, QStringLiteral("sin"), 1.0f, 1.0f, pen(Qt::red));
    w.setViewRange(0.0, 50.0, -2.0, 2.0);
    plot.paint();
    const CurveReduction* kept = w.reduction(0);
    QVERIFY(kept);
    QCOMPARE(kept->processed(), qsizetype(40000));
    QCOMPARE(kept->rebuilds(), 1);

    // A repaint, and the list rebuilt as the panel does on every update:
    // the same reduction, nothing read again.
    w.clearGraphs();
    w.addGraph(&x, &y, QStringLiteral("sin"), 1.0f, 1.0f, pen(Qt::red));
    plot.paint();
    QCOMPARE(w.reduction(0), kept);
    QCOMPARE(kept->rebuilds(), 1);
    // New time steps extend it.
    for (int i = 40000; i < 41000; ++i) {
        x << float(i) * 1e-3f;
        y << float(std::sin(i * 1e-3));
    }
    plot.paint();
    QCOMPARE(w.reduction(0), kept);
    QCOMPARE(kept->processed(), qsizetype(41000));
    QCOMPARE(kept->rebuilds(), 1);
    // Another range, scale or size: another reduction.
    w.setViewRange(0.0, 40.0, -2.0, 2.0);
    plot.paint();
    QVERIFY(w.reduction(0) != kept || w.reduction(0)->rebuilds() == 1);
    QCOMPARE(w.reduction(0)->processed(), qsizetype(41000));
    const CurveReduction* zoomed = w.reduction(0);
    w.resize(420, 300);
    plot.paint();
    QVERIFY(w.reduction(0) != zoomed);
    // Gone vectors: forgotten, and no reduction outlives its curve.
    w.forgetCurves();
    QVERIFY(!w.reduction(0));
    w.clearGraphs();
    plot.paint();
    QVERIFY(!w.reduction(0));
}

void TestGraph2d::hoverRepaintsOnlyOnChange()
{
    // The pointer over the tool strip repaints only when the strip's look
    // changes: entering it, from one button to another, leaving it. A paint
    // comes a few milliseconds after the update that asks for it (the
    // platform gathers them): waited for where one is due, and given the
    // same time where none is.
    Plot hover;
    PaintCounter counter(&hover.widget);
    auto moveTo = [&](QPoint point) { QTest::mouseMove(&hover.widget, point); };
    auto settle = [] { QTest::qWait(30); };
    moveTo(QPoint(200, 150));
    settle();
    const int before = counter.paints;
    moveTo(QPoint(20, 20));
    QTRY_COMPARE(counter.paints, before + 1);
    for (int px = 21; px < 40; px += 3)
        moveTo(QPoint(px, 22));
    settle();
    QCOMPARE(counter.paints, before + 1);
    moveTo(QPoint(60, 20));
    QTRY_COMPARE(counter.paints, before + 2);
    moveTo(QPoint(200, 150));
    QTRY_COMPARE(counter.paints, before + 3);
    moveTo(QPoint(210, 160));
    settle();
    QCOMPARE(counter.paints, before + 3);
}

void TestGraph2d::exportIsTheScreen()
{
    // A range the user set is kept in the export as on the screen: no
    // headroom added. The export is the screen's picture.
    Plot plot;
    plot.widget.setViewRange(0.0, 10.0, 0.0, 10.0);
    plot.paint();
    QCOMPARE(plot.widget.reference().y().min, 0.0);
    QCOMPARE(plot.widget.reference().y().max, 10.0);
    QImage exported = blankImage(400, 300);
    QVERIFY(plot.widget.renderToImage(exported));
    QCOMPARE(exported.convertToFormat(QImage::Format_RGB32), plot.image.convertToFormat(QImage::Format_RGB32));
    // Both ranges fitting: headroom on both, alike.
    plot.widget.setViewRange(0, 0, 0, 0);
    plot.paint();
    QVERIFY(close(plot.widget.reference().y().min, -2.0));
    QImage fitted = blankImage(400, 300);
    QVERIFY(plot.widget.renderToImage(fitted));
    QCOMPARE(fitted.convertToFormat(QImage::Format_RGB32), plot.image.convertToFormat(QImage::Format_RGB32));
    // The reference state is the screen's, untouched by an export.
    plot.widget.setViewRange(1.0, 2.0, 1.0, 2.0);
    QVERIFY(plot.widget.renderToImage(fitted));
    QVERIFY(close(plot.widget.reference().y().min, -2.0));

    // No unpainted last row or column.
    QImage black = blankImage(400, 300, Qt::black);
    QVERIFY(plot.widget.renderToImage(black));
    for (int x = 0; x < 400; ++x)
        QCOMPARE(black.pixel(x, 299), qRgb(255, 255, 255));
    for (int y = 0; y < 300; ++y)
        QCOMPARE(black.pixel(399, y), qRgb(255, 255, 255));
}

void TestGraph2d::devicePixelRatios()
{
    // The same plot at ratios 1, 1.5 and 2: labels, exponent, frame and
    // curve where they are at ratio 1, measured in device-independent
    // pixels.
    const QList<float> x{0.0f, 0.001f, 0.002f, 0.003f};
    const QList<float> y{1500.0f, 2200.0f, 1800.0f, 2600.0f};
    Graph2d plot;
    plot.setGridOn(false);
    plot.addGraph(&x, &y, QString(), 1.0f, 1.0f, pen(Qt::red, 2));
    plot.resize(400, 300);
    plot.grab();
    const QRect frame = frameRect(plot);
    auto render = [&](double ratio) {
        QImage image(int(400 * ratio), int(300 * ratio), QImage::Format_ARGB32);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::white);
        if (!plot.renderToImage(image))
            qFatal("nothing drawn");
        return image;
    };
    const QImage one = render(1.0);
    // Left of the frame: the Y labels; under it, the X labels; above its
    // left end the Y axis's power of ten; in it, the curve.
    const QRectF yLabels(0, frame.top() - 8, frame.left() - 2, frame.height() + 16);
    const QRectF xLabels(frame.left() - 5, frame.bottom() + 4, frame.width() + 10, 18);
    const QRectF exponent(0, 0, frame.left() + 30, frame.top() - 2);
    const QList<double> yRows = inkRuns(one, yLabels, Qt::Vertical);
    const QList<double> xColumns = inkRuns(one, xLabels, Qt::Horizontal);
    QVERIFY2(yRows.size() >= 3, qPrintable(QString::number(yRows.size())));
    QVERIFY2(xColumns.size() >= 3, qPrintable(QString::number(xColumns.size())));
    QVERIFY(!inkRuns(one, exponent, Qt::Horizontal).isEmpty());
    for (double ratio : {1.5, 2.0}) {
        const QImage scaled = render(ratio);
        const QList<double> rows = inkRuns(scaled, yLabels, Qt::Vertical);
        const QList<double> columns = inkRuns(scaled, xLabels, Qt::Horizontal);
        QCOMPARE(rows.size(), yRows.size());
        QCOMPARE(columns.size(), xColumns.size());
        for (int i = 0; i < rows.size(); ++i)
            QVERIFY2(std::fabs(rows.at(i) - yRows.at(i)) <= 1.5,
                     qPrintable(QStringLiteral("ratio %1 row %2: %3 against %4")
                                    .arg(ratio)
                                    .arg(i)
                                    .arg(rows.at(i))
                                    .arg(yRows.at(i))));
        for (int i = 0; i < columns.size(); ++i)
            QVERIFY2(std::fabs(columns.at(i) - xColumns.at(i)) <= 1.5,
                     qPrintable(QStringLiteral("ratio %1 label %2: %3 against %4")
                                    .arg(ratio)
                                    .arg(i)
                                    .arg(columns.at(i))
                                    .arg(xColumns.at(i))));
        QVERIFY(!inkRuns(scaled, exponent, Qt::Horizontal).isEmpty());
        // The frame: the X axis row and the Y axis column, black.
        QCOMPARE(scaled.pixel(int((frame.left() + 50) * ratio), int(frame.bottom() * ratio)), qRgb(0, 0, 0));
        QCOMPARE(scaled.pixel(int(frame.left() * ratio), int((frame.top() + 50) * ratio)), qRgb(0, 0, 0));
        // The curve through its points.
        for (int i = 0; i < 4; ++i) {
            const QPoint p = pixelOf(plot, x.at(i), y.at(i));
            QVERIFY2(near(scaled, int(p.x() * ratio), int(p.y() * ratio), int(2 * ratio), isRed),
                     qPrintable(QStringLiteral("ratio %1 point %2").arg(ratio).arg(i)));
        }
    }
}

void TestGraph2d::gapsAndOddValues()
{
    // A value that is not a number, or infinite, leaves a gap: no spike to
    // the frame's edge.
    const float nan = std::nanf("");
    const float inf = std::numeric_limits<float>::infinity();
    QList<float> x;
    QList<float> y;
    for (int i = 0; i <= 100; ++i) {
        x << float(i) * 0.1f;
        y << (i == 30 ? nan : i == 70 ? inf : 5.0f);
    }
    Plot plot;
    plot.widget.clearGraphs();
    plot.widget.setGridOn(false);
    plot.widget.addGraph(&x, &y, QString(), 1.0f, 1.0f, pen(Qt::red));
    plot.paint();
    const QRect frame = frameRect(plot.widget);
    // The level line is there, but not at the gaps, and nothing of it runs
    // up or down.
    const int row = pixelOf(plot.widget, 0.0, 5.0).y();
    QVERIFY(near(plot.image, pixelOf(plot.widget, 1.0, 5.0).x(), row, 1, isRed));
    QVERIFY(!near(plot.image, pixelOf(plot.widget, 3.0, 5.0).x(), row, 1, isRed));
    QVERIFY(!near(plot.image, pixelOf(plot.widget, 7.0, 5.0).x(), row, 1, isRed));
    QCOMPARE(count(plot.image, isRed, QRect(frame.left(), frame.top(), frame.width(), row - 4 - frame.top())), 0);
    QCOMPARE(count(plot.image, isRed, QRect(frame.left(), row + 5, frame.width(), frame.bottom() - row - 5)), 0);

    // A first point that is not a number: the axes still fit and are
    // labelled by the others.
    QList<float> first = y;
    first[0] = nan;
    first[70] = 9.0f;
    plot.widget.clearGraphs();
    plot.widget.addGraph(&x, &first, QString(), 1.0f, 1.0f, pen(Qt::red));
    plot.paint();
    QVERIFY(plot.widget.reference().y().min < 5.0 && plot.widget.reference().y().min >= 4.0);
    QVERIFY(plot.widget.reference().y().max > 9.0 && plot.widget.reference().y().max <= 10.0);
    QVERIFY(count(plot.image, isInk, QRect(0, frame.top(), frame.left() - 6, frame.height())) > 20);

    // A range that is not finite is no range: the data's is drawn, labelled.
    plot.widget.setViewRange(0.0, std::nan(""), 0.0, 1.0 / 0.0);
    plot.paint();
    QCOMPARE(plot.widget.reference().x().min, 0.0);
    QCOMPARE(plot.widget.reference().x().max, 10.0);
    QVERIFY(plot.widget.reference().y().max > 9.0 && plot.widget.reference().y().max <= 10.0);
    QVERIFY(count(plot.image, isInk, QRect(0, frame.top(), frame.left() - 6, frame.height())) > 20);
    // Nothing finite at all: an axis of -1 to 1, labelled.
    const QList<float> nothing{nan, inf, nan};
    const QList<float> three{1.0f, 2.0f, 3.0f};
    plot.widget.clearGraphs();
    plot.widget.setViewRange(0, 0, 0, 0);
    plot.widget.addGraph(&three, &nothing, QString(), 1.0f, 1.0f, pen(Qt::red));
    plot.paint();
    QVERIFY(close(plot.widget.reference().y().min, -1.0));
    QVERIFY(close(plot.widget.reference().y().max, 1.0));
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
        for (int px = 80; px < 340; ++px) {
            bool hit = false;
            for (int py = 100; py < 200 && !hit; ++py)
                hit = qRed(image.pixel(px, py)) > 200 && qGreen(image.pixel(px, py)) < 150;
            columns += hit ? 1 : 0;
        }
        return columns;
    };
    QCOMPARE(inked(Qt::SolidLine), 260);
    const int dashed = inked(Qt::DashLine);
    const int dotted = inked(Qt::DotLine);
    QVERIFY2(dashed > 140 && dashed < 230, qPrintable(QString::number(dashed)));
    QVERIFY2(dotted > 70 && dotted < 190, qPrintable(QString::number(dotted)));
}

void TestGraph2d::referenceState()
{
    Plot plot;
    const Graph2d::Reference& r = plot.widget.reference();
    QCOMPARE(r.x().min, 0.0);
    QCOMPARE(r.x().max, 10.0);
    QVERIFY(close(r.y().min, -2.0));
    QVERIFY(close(r.y().max, 12.0));
    QCOMPARE(r.right().min, r.right().max); // no right axis
    QCOMPARE(r.height, 300.0);
    // Room for the labels left of and under the frame, a margin at the top
    // for the power of ten, and the curve's field names as titles when set.
    QVERIFY(r.frame.left > Graph2d::Margin + 10 && r.frame.left < 60);
    QVERIFY(r.frame.bottom > Graph2d::Margin + 10 && r.frame.bottom < 50);
    QVERIFY(r.frame.right > 340 && r.frame.right < 400 - Graph2d::Margin);
    QVERIFY(r.frame.top > 240 && r.frame.top < 300 - Graph2d::Margin);
    const PlotFrame plain = r.frame;

    // A range the user set is drawn as set, without headroom.
    plot.widget.setViewRange(1.0, 9.0, 0.0, 10.0);
    plot.paint();
    QCOMPARE(r.x().min, 1.0);
    QCOMPARE(r.x().max, 9.0);
    QCOMPARE(r.y().min, 0.0);
    QCOMPARE(r.y().max, 10.0);

    // The legend takes its width off the plot.
    plot.widget.setViewRange(0, 0, 0, 0);
    plot.widget.setLegendOn(true);
    plot.paint();
    QVERIFY(r.frame.right < plain.right - 60);
}

void TestGraph2d::equalValuesAreWidened()
{
    const QList<float> x{1.0f, 2.0f, 3.0f};
    const QList<float> flat{7.0f, 7.0f, 7.0f};
    Graph2d plot;
    plot.resize(400, 300);
    plot.addGraph(&x, &flat, QString(), 1.0f, 1.0f, pen(Qt::red));
    plot.grab();
    QVERIFY(close(plot.reference().y().min, 6.0));
    QVERIFY(close(plot.reference().y().max, 8.0));
    // Both axes degenerate.
    const QList<float> one{4.0f};
    Graph2d point;
    point.resize(400, 300);
    point.addGraph(&one, &one, QString(), 1.0f, 1.0f, pen(Qt::red));
    point.grab();
    QVERIFY(close(point.reference().x().min, 3.0));
    QVERIFY(close(point.reference().x().max, 5.0));
    QVERIFY(close(point.reference().y().min, 3.0));
    QVERIFY(close(point.reference().y().max, 5.0));
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
    QVERIFY(alone.reference().y().min > 3.0);

    Graph2d plot;
    plot.resize(400, 300);
    plot.addGraph(&x, &high, QString(), 1.0f, 1.0f, pen(Qt::red));
    plot.addGraph(&x, &far, QString(), 1.0f, 0.0f, pen(Qt::blue));
    const QImage image = plot.grab().toImage();
    // The hidden curve's scaled extent is 0..0: the range reaches down to 0.
    QVERIFY(plot.reference().y().min <= 0.0);
    QVERIFY(plot.reference().y().max < 20.0);
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
    // The untitled curve has no row: B's sample line is the only one, a
    // 60-pixel blue line at the top right.
    const QRect corner(300, 0, 200, 60);
    int longest = 0;
    for (int y = corner.top(); y <= corner.bottom(); ++y)
        longest = std::max(longest, count(image, isBlue, QRect(corner.left(), y, corner.width(), 1)));
    QVERIFY2(longest >= 58 && longest <= 62, qPrintable(QString::number(longest)));
    QCOMPARE(count(image, isRed, corner), 0);
    // The caption under the rows, when there is one.
    const int before = count(image, isInk, QRect(300, 40, 200, 40));
    plot.setCaption(QStringLiteral("t = 1 s"));
    QImage captioned = blankImage(500, 300);
    QVERIFY(plot.renderToImage(captioned));
    QVERIFY(count(captioned, isInk, QRect(300, 40, 200, 40)) > before + 10);
}

void TestGraph2d::zoomToRect()
{
    Plot plot;
    Graph2d& w = plot.widget;
    const PlotFrame f = w.reference().frame;
    const double kx = 10.0 / (f.right - f.left);
    const double ky = 14.0 / (f.top - f.bottom);
    const QPoint a(f.left + 40, 300 - f.bottom - 130);
    const QPoint b(f.left + 160, 300 - f.bottom - 70);
    w.zoomToRect(b, a);
    QVERIFY(close(w.viewXMin(), 40 * kx));
    QVERIFY(close(w.viewXMax(), 160 * kx));
    QVERIFY(close(w.viewYMin(), -2.0 + 70 * ky));
    QVERIFY(close(w.viewYMax(), -2.0 + 130 * ky));
    // A click: equal ends, which fit the view again.
    w.zoomToRect(QPoint(120, 120), QPoint(120, 120));
    QCOMPARE(w.viewXMin(), w.viewXMax());
    QCOMPARE(w.viewYMin(), w.viewYMax());

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
    Graph2d& w = plot.widget;
    const PlotFrame f = w.reference().frame;
    // Half as far as the pointer.
    w.pan(32.0, 24.0);
    QVERIFY(close(w.viewXMin(), 0.5 * 32.0 * 10.0 / (f.right - f.left)));
    QVERIFY(close(w.viewXMax(), 10.0 + 0.5 * 32.0 * 10.0 / (f.right - f.left)));
    QVERIFY(close(w.viewYMin(), -2.0 + 0.5 * 24.0 * 14.0 / (f.top - f.bottom)));

    w.scale(2.0, 0.5);
    QVERIFY(close(w.viewXMin(), 2.5));
    QVERIFY(close(w.viewXMax(), 7.5));
    QVERIFY(close(w.viewYMin(), -9.0));
    QVERIFY(close(w.viewYMax(), 19.0));

    // A factor of 1 leaves its axis as it is; the other scales.
    w.setViewRange(0, 0, 0, 0);
    w.scale(2.0, 1.0);
    QVERIFY(close(w.viewXMin(), 2.5));
    QCOMPARE(w.viewYMin(), 0.0);
    QCOMPARE(w.viewYMax(), 0.0);
    // Factors that are not above 0, or not finite, change nothing.
    w.setViewRange(0, 0, 0, 0);
    for (double bad : {0.0, -1.0, std::nan(""), 1.0 / 0.0}) {
        w.scale(bad, 2.0);
        w.scale(2.0, bad);
    }
    w.scale(1.0, 1.0);
    QCOMPARE(w.viewXMax(), 0.0);
    QCOMPARE(w.viewYMax(), 0.0);

    // Without graphs, scaling does nothing either.
    w.clearGraphs();
    w.scale(2.0, 2.0);
    QCOMPARE(w.viewXMax(), 0.0);
}

void TestGraph2d::drags()
{
    Plot plot;
    Graph2d& w = plot.widget;
    w.setTool(Graph2d::Scaling);
    // A scaling drag multiplies the range by exp(2 dx / H) and exp(-2 dy / H):
    // to the right zooms in, never through zero, however far.
    QTest::mousePress(&w, Qt::LeftButton, {}, QPoint(100, 150));
    QCOMPARE(w.dragMode(), int(Graph2d::DragScaling));
    QTest::mouseMove(&w, QPoint(140, 170));
    QTest::mouseRelease(&w, Qt::LeftButton, {}, QPoint(175, 180));
    const double fx = std::exp(2.0 * 75.0 / 300.0);
    const double fy = std::exp(-2.0 * 30.0 / 300.0);
    QVERIFY(close(w.viewXMin(), 5.0 - 10.0 / fx / 2.0));
    QVERIFY(close(w.viewXMax(), 5.0 + 10.0 / fx / 2.0));
    QVERIFY(close(w.viewYMin(), 5.0 - 14.0 / fy / 2.0));
    QVERIFY(close(w.viewYMax(), 5.0 + 14.0 / fy / 2.0));
    // Dragged past half the height and beyond the widget: a zoom out, the
    // axes the right way round.
    w.setViewRange(0, 0, 0, 0);
    plot.paint();
    QTest::mousePress(&w, Qt::LeftButton, {}, QPoint(200, 20));
    QTest::mouseRelease(&w, Qt::LeftButton, {}, QPoint(-300, 290));
    QVERIFY(w.viewXMin() < w.viewXMax());
    QVERIFY(w.viewYMin() < w.viewYMax());
    QVERIFY(close(w.viewXMax() - w.viewXMin(), 10.0 * std::exp(2.0 * 500.0 / 300.0)));
    QVERIFY(close(w.viewYMax() - w.viewYMin(), 14.0 * std::exp(2.0 * 270.0 / 300.0)));

    // Moving: half the pointer's way, upwards positive; from the state at
    // the press, however many moves came between.
    w.setViewRange(0, 0, 0, 0);
    plot.paint();
    const PlotFrame f = w.reference().frame;
    w.setTool(Graph2d::Moving);
    QTest::mousePress(&w, Qt::LeftButton, {}, QPoint(100, 150));
    QCOMPARE(w.dragMode(), int(Graph2d::DragMoving));
    QTest::mouseMove(&w, QPoint(300, 50));
    QTest::mouseMove(&w, QPoint(120, 160));
    QTest::mouseRelease(&w, Qt::LeftButton, {}, QPoint(132, 174));
    QVERIFY(close(w.viewXMin(), 0.5 * 32.0 * 10.0 / (f.right - f.left)));
    QVERIFY(close(w.viewYMin(), -2.0 - 0.5 * 24.0 * 14.0 / (f.top - f.bottom)));

    // Selecting: the dragged rectangle becomes the view.
    w.setViewRange(0, 0, 0, 0);
    plot.paint();
    w.setTool(Graph2d::SelectionZoom);
    QTest::mousePress(&w, Qt::LeftButton, {}, QPoint(f.left + 40, 100));
    QCOMPARE(w.dragMode(), int(Graph2d::Selecting));
    QTest::mouseMove(&w, QPoint(150, 130));
    QTest::mouseRelease(&w, Qt::LeftButton, {}, QPoint(f.left + 160, 160));
    QVERIFY(close(w.viewXMin(), 40.0 * 10.0 / (f.right - f.left)));
    QVERIFY(close(w.viewXMax(), 160.0 * 10.0 / (f.right - f.left)));

    // The middle button scales whatever the tool.
    w.setViewRange(0, 0, 0, 0);
    plot.paint();
    QTest::mousePress(&w, Qt::MiddleButton, {}, QPoint(100, 150));
    QCOMPARE(w.dragMode(), int(Graph2d::DragScaling));
    QTest::mouseRelease(&w, Qt::MiddleButton, {}, QPoint(100, 150));
    QCOMPARE(w.viewXMax(), 0.0); // released where pressed: no change
}

void TestGraph2d::wheelAndPinch()
{
    Plot plot;
    Graph2d& w = plot.widget;
    const PlotFrame f = w.reference().frame;
    auto wheel = [&](QPoint delta, Qt::KeyboardModifiers modifiers, QPointF at = QPointF(200, 150)) {
        QWheelEvent event(at, w.mapToGlobal(at), QPoint(), delta, Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&w, &event);
    };
    // A plain wheel moves the view.
    wheel(QPoint(0, 120), Qt::NoModifier);
    QCOMPARE(w.viewXMin(), 0.0);
    QVERIFY(close(w.viewYMin(), -2.0 - 0.5 * 14.0 / (f.top - f.bottom) * 120.0));
    wheel(QPoint(64, 0), Qt::NoModifier);
    QVERIFY(close(w.viewXMin(), 0.5 * 10.0 / (f.right - f.left) * 64.0));

    // Ctrl+wheel and a touchpad pinch zoom about the pointer: the values
    // under it stay under it.
    const QPointF at(f.left + 80.0, 300.0 - f.bottom - 60.0);
    auto valueAt = [&]() {
        const Graph2d::Reference& r = w.reference();
        return QPointF(r.x().min + 80.0 * (r.x().max - r.x().min) / (f.right - f.left),
                       r.y().min + 60.0 * (r.y().max - r.y().min) / (f.top - f.bottom));
    };
    w.setViewRange(0, 0, 0, 0);
    plot.paint();
    const QPointF under = valueAt();
    wheel(QPoint(0, 240), Qt::ControlModifier, at);
    plot.paint();
    QVERIFY(close(w.viewXMax() - w.viewXMin(), 10.0 / 1.44, 1e-6));
    QVERIFY(close(valueAt().x(), under.x(), 1e-6));
    QVERIFY(close(valueAt().y(), under.y(), 1e-6));

    w.setViewRange(0, 0, 0, 0);
    plot.paint();
    QNativeGestureEvent pinch(Qt::ZoomNativeGesture, QPointingDevice::primaryPointingDevice(), 2, at,
                              w.mapTo(w.window(), at), w.mapToGlobal(at), 0.25, QPointF());
    QApplication::sendEvent(&w, &pinch);
    plot.paint();
    QVERIFY(close(w.viewXMax() - w.viewXMin(), 10.0 / 1.25, 1e-6));
    QVERIFY(close(w.viewYMax() - w.viewYMin(), 14.0 / 1.25, 1e-6));
    QVERIFY(close(valueAt().x(), under.x(), 1e-6));
    QVERIFY(close(valueAt().y(), under.y(), 1e-6));
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
    const PlotFrame f = w.reference().frame;
    // The press that starts a drag gives the plot the keyboard.
    QCOMPARE(w.focusPolicy(), Qt::ClickFocus);
    w.setTool(Graph2d::Moving);
    QTest::mousePress(&w, Qt::LeftButton, {}, QPoint(100, 150));
    QTest::mouseMove(&w, QPoint(132, 174));
    QTest::keyClick(&w, Qt::Key_Escape);
    QCOMPARE(w.dragMode(), int(Graph2d::Idle));
    // The view keeps what the last move set.
    const double moved = 0.5 * 32.0 * 10.0 / (f.right - f.left);
    QVERIFY(close(w.viewXMin(), moved));
    QTest::mouseRelease(&w, Qt::LeftButton, {}, QPoint(300, 300));
    QVERIFY(close(w.viewXMin(), moved));
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

    // The fields take numbers only, with a point whatever the locale.
    QLocale::setDefault(QLocale(QLocale::German));
    RangeDialog dialog(0, 1, 0, 1);
    QLocale::setDefault(QLocale::c());
    QLineEdit* field = dialog.field(0);
    field->clear();
    QTest::keyClicks(field, QStringLiteral("ab1.5"));
    QCOMPARE(field->text(), QStringLiteral("1.5"));
    QCOMPARE(dialog.field(0)->validator(), dialog.field(3)->validator());
    QVERIFY(!dialog.field(4));
    dialog.addRightAxis(1e-9, 1e-3);
    QCOMPARE(dialog.field(4)->text(), QStringLiteral("1e-09"));
    dialog.field(5)->setText(QStringLiteral("2e-9"));
    QCOMPARE(dialog.rightMin(), 1e-9);
    QCOMPARE(dialog.rightMax(), 2e-9);
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
    QCOMPARE(plot.graphs().at(0).axis, int(PlotGraph::Left));
    plot.clearGraphs();
    QVERIFY(plot.graphs().isEmpty());
}

void TestGraph2d::logarithmicAxes()
{
    // Fractions over nine decades, with a zero and a negative value among
    // them: on a logarithmic axis those leave gaps.
    QList<float> x;
    QList<float> y;
    for (int i = 0; i <= 90; ++i) {
        x << float(i);
        y << (i == 30 ? 0.0f : i == 60 ? -1.0f : float(std::pow(10.0, -9.0 + i / 10.0)));
    }
    Plot plot(QSize(500, 400));
    Graph2d& w = plot.widget;
    w.clearGraphs();
    w.setGridOn(false);
    w.addGraph(&x, &y, QString(), 1.0f, 1.0f, pen(Qt::red));
    QSignalSpy switched(&w, &Graph2d::logarithmicChanged);
    w.logActions().at(Graph2d::YAxis)->trigger();
    QVERIFY(w.isLogarithmic(Graph2d::YAxis));
    QCOMPARE(switched.count(), 1);
    QCOMPARE(switched.at(0).at(0).toInt(), int(Graph2d::YAxis));
    plot.paint();
    // Fitted to whole decades, one more at each end for room.
    const Graph2d::Reference& r = w.reference();
    QVERIFY(r.logarithmic[Graph2d::YAxis]);
    QVERIFY(close(r.y().min, 1e-10));
    QVERIFY(close(r.y().max, 10.0));
    // A straight line through the decades, labelled 10^-10 ... 10^1.
    auto rowOf = [&](double value) {
        const PlotFrame& f = r.frame;
        return int(std::lround(r.height - (f.bottom + (std::log10(value) + 10.0) * (f.top - f.bottom) / 11.0)));
    };
    auto columnOf = [&](double value) { return pixelOf(w, value, 1.0).x(); };
    for (int i : {5, 20, 45, 75, 88})
        QVERIFY2(near(plot.image, columnOf(i), rowOf(y.at(i)), 2, isRed), qPrintable(QString::number(i)));
    QVERIFY(!near(plot.image, columnOf(30), rowOf(1e-6), 3, isRed));
    QVERIFY(!near(plot.image, columnOf(60), rowOf(1e-3), 3, isRed));
    const QRect frame = frameRect(w);
    QCOMPARE(
        inkRuns(plot.image, QRectF(0, frame.top() - 8, frame.left() - 2, frame.height() + 16), Qt::Vertical).size(),
        12);

    // Zoom, move and scale work in decades.
    w.scale(2.0, 2.0);
    QVERIFY(close(w.viewYMin(), std::pow(10.0, -7.25), 1e-6));
    QVERIFY(close(w.viewYMax(), std::pow(10.0, -1.75), 1e-6));
    w.setViewRange(0, 0, 0, 0);
    plot.paint();
    w.pan(0.0, 4.0 * (r.frame.top - r.frame.bottom) / 11.0);
    QVERIFY(close(w.viewYMin(), 1e-8, 1e-6));
    QVERIFY(close(w.viewYMax(), 1e3, 1e-6));
    // A range that is not positive cannot be drawn: the data's is.
    w.setViewRange(0, 90, -1.0, 1.0);
    plot.paint();
    QVERIFY(close(r.y().min, 1e-10));

    // Back to linear: the axis fits itself again.
    w.setViewRange(0, 90, 1e-3, 1e-2);
    w.setLogarithmic(Graph2d::YAxis, false);
    QVERIFY(!w.logActions().at(Graph2d::YAxis)->isChecked());
    QCOMPARE(w.viewYMin(), 0.0);
    QCOMPARE(w.viewYMax(), 0.0);

    // An axis without a positive value: a plain message, no plot.
    const QList<float> negative{-1.0f, -2.0f, 0.0f};
    const QList<float> three{1.0f, 2.0f, 3.0f};
    Graph2d none;
    none.addGraph(&three, &negative, QString(), 1.0f, 1.0f, pen(Qt::red));
    none.setLogarithmic(Graph2d::YAxis, true);
    QImage message = blankImage(400, 300);
    QVERIFY(none.renderToImage(message));
    QCOMPARE(count(message, isRed), 0);
    QVERIFY(count(message, isInk, QRect(20, 130, 360, 40)) > 50);
    QCOMPARE(count(message, isInk, QRect(0, 200, 400, 100)), 0);
    // The same data with a factor of -1 is positive.
    Graph2d flipped;
    flipped.addGraph(&three, &negative, QString(), 1.0f, -1.0f, pen(Qt::red));
    flipped.setLogarithmic(Graph2d::YAxis, true);
    QImage drawn = blankImage(400, 300);
    QVERIFY(flipped.renderToImage(drawn));
    QVERIFY(count(drawn, isRed) > 20);
}

void TestGraph2d::rightAxis()
{
    // Temperature on the left, a mole fraction on the right: each fitted to
    // its own curves, with its own ticks and power of ten.
    const QList<float> t{0.0f, 1.0f, 2.0f, 3.0f, 4.0f};
    const QList<float> temperature{1000.0f, 1100.0f, 1500.0f, 2400.0f, 2500.0f};
    const QList<float> fraction{1e-5f, 2e-5f, 8e-5f, 3e-4f, 2e-4f};
    Plot plot;
    Graph2d& w = plot.widget;
    w.clearGraphs();
    const PlotGraph left = curve(&t, &temperature, Qt::red, PlotGraph::Left, QStringLiteral("T"));
    const PlotGraph right = curve(&t, &fraction, Qt::blue, PlotGraph::Right, QStringLiteral("OH"));
    w.addGraph(left);
    w.addGraph(right);
    w.setLegendOn(true);
    plot.paint();
    const Graph2d::Reference& r = w.reference();
    // Each range holds its own curves, and not the other's.
    QVERIFY(r.y().min <= 1000.0 && r.y().min >= 0.0);
    QVERIFY(r.y().max >= 2500.0 && r.y().max <= 4000.0);
    QVERIFY(r.right().min <= 1e-5 && r.right().min > -1e-4);
    QVERIFY(r.right().max >= 3e-4 && r.right().max < 5e-4);
    // Each curve reaches from its axis's bottom part to its top part.
    const PlotFrame& f = r.frame;
    auto rightRow = [&](double value) {
        return int(std::lround(
            r.height - (f.bottom + (value - r.right().min) * (f.top - f.bottom) / (r.right().max - r.right().min))));
    };
    QVERIFY(near(plot.image, pixelOf(w, 3.0, 2400.0).x(), rightRow(3e-4), 2, isBlue));
    QVERIFY(near(plot.image, pixelOf(w, 3.0, 2400.0).x(), pixelOf(w, 3.0, 2400.0).y(), 2, isRed));
    // Labels right of the frame, the legend marking the right curve.
    QVERIFY(count(plot.image, isInk, QRect(f.right + 4, int(r.height) - f.top, 30, f.height())) > 30);
    QVERIFY(w.legendOn());

    // Zooming and fitting move both Y axes; the range dialog has a row for
    // the right one.
    w.zoomToRect(QPoint(f.left, int(r.height) - f.bottom - 100), QPoint(f.right, int(r.height) - f.bottom));
    QVERIFY(close(w.viewRange(Graph2d::RightAxis).min, r.right().min));
    QVERIFY(close(w.viewRange(Graph2d::RightAxis).max,
                  r.right().min + 100.0 * (r.right().max - r.right().min) / (f.top - f.bottom)));
    QStringList fields;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<RangeDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        for (int i = 0; i < 6; ++i)
            fields << (dialog->field(i) ? dialog->field(i)->text() : QString());
        dialog->reject();
    });
    plot.paint();
    w.toolActions().at(4)->trigger();
    QCOMPARE(fields.size(), 6);
    QVERIFY(!fields.at(5).isEmpty());
    w.toolActions().at(3)->trigger();
    QCOMPARE(w.viewRange(Graph2d::RightAxis).max, 0.0);
    // The right axis logarithmic, the left one not.
    w.setLogarithmic(Graph2d::RightAxis, true);
    plot.paint();
    QVERIFY(r.logarithmic[Graph2d::RightAxis]);
    QVERIFY(!r.logarithmic[Graph2d::YAxis]);
    QVERIFY(close(r.right().min, 1e-6) || close(r.right().min, 1e-5));
    QVERIFY(close(r.right().max, 1e-3));
}

void TestGraph2d::axisTitlesAndFonts()
{
    Plot plot;
    Graph2d& w = plot.widget;
    w.clearGraphs();
    w.addGraph(curve(&kLine, &kLine, Qt::red, PlotGraph::Left, QStringLiteral("T(K)")));
    w.addGraph(curve(&kLine, &kLine, Qt::blue, PlotGraph::Right, QStringLiteral("OH")));
    // By default the field names of each axis's first curve.
    QCOMPARE(w.shownAxisTitle(Graph2d::XAxis), QStringLiteral("t(s)"));
    QCOMPARE(w.shownAxisTitle(Graph2d::YAxis), QStringLiteral("T(K)"));
    QCOMPARE(w.shownAxisTitle(Graph2d::RightAxis), QStringLiteral("OH"));
    plot.paint();
    const PlotFrame titled = w.reference().frame;
    // Under the X labels, left of the Y labels.
    const QRect frame = frameRect(w);
    QVERIFY(count(plot.image, isInk, QRect(frame.left(), frame.bottom() + 22, frame.width(), 300 - frame.bottom() - 22))
            > 10);
    w.setAxisTitle(Graph2d::YAxis, QStringLiteral("Temperature"));
    QCOMPARE(w.shownAxisTitle(Graph2d::YAxis), QStringLiteral("Temperature"));
    QCOMPARE(w.defaultAxisTitle(Graph2d::YAxis), QStringLiteral("T(K)"));

    // The texts follow the application's font: a larger one takes more room.
    const QFont before = QApplication::font();
    QFont larger = before;
    larger.setPointSizeF(before.pointSizeF() * 1.6);
    QApplication::setFont(larger);
    plot.paint();
    const PlotFrame large = w.reference().frame;
    QApplication::setFont(before);
    QVERIFY(large.left > titled.left + 5);
    QVERIFY(large.bottom > titled.bottom + 5);
}

void TestGraph2d::markers()
{
    Plot plot;
    Graph2d& w = plot.widget;
    w.setGridOn(false);
    w.setMarkers({{2.5, QStringLiteral("ignition")}, {40.0, QStringLiteral("beyond")}});
    QCOMPARE(w.markers().size(), 2);
    plot.paint();
    // A dashed dark line across the frame at x = 2.5, broken by its dashes.
    const int column = pixelOf(w, 2.5, 0.0).x();
    const QRect frame = frameRect(w);
    auto dark = [](QRgb p) { return qGray(p) < 120 && qRed(p) == qGreen(p); };
    const int inked = count(plot.image, dark, QRect(column, frame.top() + 20, 1, frame.height() - 40));
    QVERIFY2(inked > frame.height() / 4 && inked < frame.height() - 40, qPrintable(QString::number(inked)));
    QCOMPARE(count(plot.image, dark, QRect(column + 3, frame.top() + 20, 1, frame.height() - 40)), 0);
    // Its label at the top, beside it; the one outside the range is not drawn.
    QVERIFY(count(plot.image, isInk, QRect(column + 2, frame.top(), 80, 18)) > 10);
    w.setMarkers({});
    plot.paint();
    QCOMPARE(count(plot.image, dark, QRect(column, frame.top() + 20, 1, frame.height() - 40)), 0);
}

QTEST_MAIN(TestGraph2d)
#include "tst_graph2d.moc"

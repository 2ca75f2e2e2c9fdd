#ifndef TARVEL_GRAPH2D_H
#define TARVEL_GRAPH2D_H

// A self-drawing 2-D line plot: curves over an X axis and one or two Y axes
// (left, and right for the curves put there), each linear or logarithmic,
// with ticks, labels, a power-of-ten factor, a title, an optional dotted
// grid and legend, and vertical markers. The range is changed with the mouse
// (zoom to a rectangle, move, scale), the wheel, a pinch, a tool strip at the
// top-left corner, a context menu and a range dialog. The curves' value
// vectors are read through pointers, never copied; what each curve needs to
// be drawn is kept between paints (see CurveReduction).

#include "curvereduction.h"
#include "plotaxis.h"
#include "plotframe.h"
#include "plotgraph.h"
#include "plotmarker.h"
#include "valueextent.h"

#include <QList>
#include <QPoint>
#include <QWidget>

#include <memory>
#include <unordered_map>
#include <vector>

class PlotText;
class QAction;
class QGestureEvent;
class QImage;
class QNativeGestureEvent;
class QPainter;

class Graph2d : public QWidget
{
    Q_OBJECT

public:
    enum Tool { SelectionZoom = 1, Scaling = 2, Moving = 3 };
    enum DragMode { Idle = 0, Selecting = 1, DragScaling = 2, DragMoving = 3, ToolStrip = 4 };
    enum Axis { XAxis = 0, YAxis = 1, RightAxis = 2 };
    static constexpr int AxisCount = 3;

    // The ends of one axis's range in values (not decades).
    struct Range
    {
        double min = 0.0;
        double max = 0.0;
    };

    // The ranges actually drawn at the last on-screen paint and the plot
    // frame they were drawn in: every interaction starts from it. A right
    // range of 0 to 0 means there was no right axis.
    struct Reference
    {
        Range axes[AxisCount];
        bool logarithmic[AxisCount] = {false, false, false};
        PlotFrame frame;
        double height = 0.0; // of the picture, to turn pointer rows into the frame's

        const Range& x() const { return axes[XAxis]; }
        const Range& y() const { return axes[YAxis]; }
        const Range& right() const { return axes[RightAxis]; }
    };

    static constexpr int Margin = 10;

    explicit Graph2d(QWidget* parent = nullptr);
    ~Graph2d() override;

    void clearGraphs();
    // Ignored when either vector is null.
    void addGraph(const PlotGraph& graph);
    void addGraph(const QList<float>* x, const QList<float>* y, const QString& title, float scaleX, float scaleY,
                  const QPen& pen);
    const QList<PlotGraph>& graphs() const { return m_graphs; }
    // Drops what was kept for drawing the curves: their vectors are gone.
    void forgetCurves();

    void setCaption(const QString& caption);
    QString caption() const { return m_caption; }
    // Shown in the middle of a plot without curves.
    void setPlaceholderText(const QString& text);
    QString placeholderText() const { return m_placeholder; }
    void setGridOn(bool on);
    bool gridOn() const { return m_gridOn; }
    void setLegendOn(bool on);
    bool legendOn() const { return m_legendOn; }
    void setMarkers(const QList<PlotMarker>& markers);
    const QList<PlotMarker>& markers() const { return m_markers; }

    // A logarithmic axis; switching fits that axis to the data.
    void setLogarithmic(int axis, bool on);
    bool isLogarithmic(int axis) const { return m_logarithmic[axis]; }
    // An empty title is the field name of the axis's first curve.
    void setAxisTitle(int axis, const QString& title);
    QString axisTitle(int axis) const { return m_titles[axis]; }
    QString shownAxisTitle(int axis) const;
    // The field name of the axis's first curve.
    QString defaultAxisTitle(int axis) const;

    // Equal minimum and maximum on an axis fit that axis to the data.
    void setViewRange(double xMin, double xMax, double yMin, double yMax);
    void setRightRange(double min, double max);
    const Range& viewRange(int axis) const { return m_view[axis]; }
    double viewXMin() const { return m_view[XAxis].min; }
    double viewXMax() const { return m_view[XAxis].max; }
    double viewYMin() const { return m_view[YAxis].min; }
    double viewYMax() const { return m_view[YAxis].max; }

    int tool() const { return m_tool; }
    void setTool(int tool);
    int dragMode() const { return m_dragMode; }
    int hoveredButton() const { return m_hovered; }
    const Reference& reference() const { return m_reference; }
    QList<QAction*> toolActions() const { return m_actions; }
    QList<QAction*> logActions() const { return m_logActions; }

    // Paints the plot onto any device (an image, an SVG or PDF generator) as
    // the screen shows it, over `size` device-independent pixels with
    // `resolution` device pixels to each; the on-screen reference is left
    // alone. False when there is nothing to draw.
    [[nodiscard]] bool renderTo(QPainter& painter, const QSizeF& size, double resolution);
    // The same into an image at its size and device pixel ratio.
    [[nodiscard]] bool renderToImage(QImage& image);
    // What was kept for curve i at the last paint; null when not drawn.
    const CurveReduction* reduction(int graph) const;

    // The interactions' arithmetic, from the reference state; widget pixels.
    void zoomToRect(const QPoint& p0, const QPoint& p1);
    void pan(double dx, double dy);
    void scale(double fx, double fy);
    // Zooms by `factor` (above 1 closer) keeping the point under `at`.
    void zoomAt(const QPointF& at, double factor);

signals:
    void logarithmicChanged(int axis, bool on);

public slots:
    void actionTriggered();
    void showContextMenu(const QPoint& point);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    enum class Side { Bottom, Left, Right };
    struct Axes;

    void createActions();
    void syncToolChecks();
    // Tool choice (1 to 3) or fit (4); false for any other number.
    bool applyCommand(int command);
    void openRangeDialog();
    void setHover(int mode, int button);

    // graph2dpaint.cpp
    bool drawPlot(QPainter& painter, const QSizeF& size, double resolution, bool onScreen);
    bool computeAxes(Axes& axes, const PlotText& text, const QSizeF& size, QString* problem);
    // `keep`: the reductions are the screen's, kept for the next paint.
    void drawCurves(QPainter& painter, const Axes& axes, double resolution, bool keep);
    void drawMessage(QPainter& painter, const QSizeF& size, const QString& text) const;
    // graph2daxis.cpp
    void drawAxis(QPainter& painter, const PlotText& text, const PlotAxis& axis, const PlotFrame& frame, Side side,
                  const QString& title, double height) const;
    static double labelWidth(const PlotText& text, const PlotAxis& axis);
    // graph2dlegend.cpp
    double legendWidth(const PlotText& text) const;
    void drawLegend(QPainter& painter, const PlotText& text, double width) const;
    void drawMarkers(QPainter& painter, const PlotText& text, const PlotAxis& xAxis, const PlotFrame& frame,
                     double height) const;
    void drawOverlay(QPainter& painter);
    void drawToolStrip(QPainter& painter);

    // graph2dinput.cpp
    void applyDrag(const QPoint& point);
    int buttonAt(const QPoint& point) const;
    bool gestureEvent(QGestureEvent* event);
    bool nativeGestureEvent(QNativeGestureEvent* event);
    // A frame position (pixels from the frame's left and bottom edges) on
    // axis `axis` of the reference, as a value.
    double referenceValue(int axis, double pixels) const;

    QList<PlotGraph> m_graphs;
    QString m_caption;
    QString m_placeholder;
    bool m_gridOn = true;
    bool m_legendOn = false;
    QList<PlotMarker> m_markers;
    bool m_logarithmic[AxisCount] = {false, false, false};
    QString m_titles[AxisCount];
    Range m_view[AxisCount];
    Reference m_reference;
    Reference m_saved;
    int m_tool = SelectionZoom;
    int m_dragMode = Idle;
    QPoint m_pressPoint;
    QPoint m_currentPoint;
    int m_hovered = -1;
    bool m_leftHeld = false;
    QList<QAction*> m_actions; // Selection Zoom, Move, Scaling, Auto Fit, Set Range
    QList<QAction*> m_logActions; // Logarithmic X, Y, Right Y

    // Kept between paints: the extent of every vector drawn, and each
    // curve's reduction (index = graph; null where it was not drawn).
    std::unordered_map<const QList<float>*, ValueExtent> m_extents;
    std::vector<std::unique_ptr<CurveReduction>> m_reductions;
};

#endif

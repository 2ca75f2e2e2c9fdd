#ifndef TARVEL_GRAPH2D_H
#define TARVEL_GRAPH2D_H

// A self-drawing 2-D line plot: curves over two linear axes with ticks,
// labels with a power-of-ten factor, an optional dotted grid and legend.
// The range is changed with the mouse (zoom to a rectangle, move, scale),
// the wheel, a pinch, a tool strip at the top-left corner, a context menu
// and a range dialog. The curves' value vectors are read through pointers,
// never copied.

#include "plotaxis.h"
#include "plotframe.h"
#include "plotgraph.h"

#include <QList>
#include <QPoint>
#include <QWidget>

class QAction;
class QGestureEvent;
class QImage;
class QPainter;

class Graph2d : public QWidget
{
    Q_OBJECT

public:
    enum Tool { SelectionZoom = 1, Scaling = 2, Moving = 3 };
    enum DragMode { Idle = 0, Selecting = 1, DragScaling = 2, DragMoving = 3, ToolStrip = 4 };

    // The x and y ranges actually drawn at the last on-screen paint and the
    // plot frame they were drawn in: every interaction starts from it.
    struct Reference
    {
        double xMin = 0.0;
        double xMax = 0.0;
        double yMin = 0.0;
        double yMax = 0.0;
        PlotFrame frame;
    };

    static constexpr int Margin = 10;

    explicit Graph2d(QWidget* parent = nullptr);

    void clearGraphs();
    // Ignored when either vector is null.
    void addGraph(const QList<float>* x, const QList<float>* y, const QString& title, float scaleX, float scaleY,
                  const QPen& pen);
    const QList<PlotGraph>& graphs() const { return m_graphs; }

    void setCaption(const QString& caption);
    QString caption() const { return m_caption; }
    void setGridOn(bool on);
    bool gridOn() const { return m_gridOn; }
    void setLegendOn(bool on);
    bool legendOn() const { return m_legendOn; }

    // Equal minimum and maximum on an axis fit that axis to the data.
    void setViewRange(double xMin, double xMax, double yMin, double yMax);
    double viewXMin() const { return m_viewXMin; }
    double viewXMax() const { return m_viewXMax; }
    double viewYMin() const { return m_viewYMin; }
    double viewYMax() const { return m_viewYMax; }

    int tool() const { return m_tool; }
    void setTool(int tool);
    int dragMode() const { return m_dragMode; }
    int hoveredButton() const { return m_hovered; }
    const Reference& reference() const { return m_reference; }
    QList<QAction*> toolActions() const { return m_actions; }

    // Paints the plot into the image at its size, with the view range as it
    // stands and the headroom rule on both axes; the on-screen reference is
    // left alone. False when nothing was drawn.
    bool renderToImage(QImage& image);

    // The interactions' arithmetic, from the reference state; widget pixels.
    void zoomToRect(const QPoint& p0, const QPoint& p1);
    void pan(double dx, double dy);
    void scale(double fx, double fy);

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
    void createActions();
    void syncToolChecks();
    // Tool choice (1 to 3) or fit (4); false for any other number.
    bool applyCommand(int command);
    void openRangeDialog();

    // graph2dpaint.cpp
    bool drawPlot(QPainter& painter, int width, int height, bool resetReference);
    int drawLegend(QPainter& painter, int width);
    void drawXAxis(QPainter& painter, const PlotAxis& axis, const PlotFrame& frame);
    void drawYAxis(QPainter& painter, const PlotAxis& axis, const PlotFrame& frame);
    void drawOverlay(QPainter& painter);
    void drawToolStrip(QPainter& painter);

    // graph2dinput.cpp
    void applyDrag(const QPoint& point);
    int buttonAt(const QPoint& point) const;
    bool gestureEvent(QGestureEvent* event);

    QList<PlotGraph> m_graphs;
    QString m_caption;
    bool m_gridOn = true;
    bool m_legendOn = false;
    double m_viewXMin = 0.0;
    double m_viewXMax = 0.0;
    double m_viewYMin = 0.0;
    double m_viewYMax = 0.0;
    Reference m_reference;
    Reference m_saved;
    int m_tool = SelectionZoom;
    int m_dragMode = Idle;
    QPoint m_pressPoint;
    QPoint m_currentPoint;
    int m_hovered = -1;
    bool m_leftHeld = false;
    QList<QAction*> m_actions; // Selection Zoom, Move, Scaling, Auto Fit, Set Range
};

#endif

// The plot widget's state, its actions, context menu and range dialog. The
// drawing is in graph2dpaint.cpp (axes in graph2daxis.cpp, legend, markers
// and overlays in graph2dlegend.cpp), the mouse and gestures in
// graph2dinput.cpp.

#include "graph2d.h"

#include "rangedialog.h"

#include <QAction>
#include <QIcon>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QSignalBlocker>

namespace {

struct ActionRow
{
    const char* text;
    const char* icon;
    const char* toolTip;
    const char* shortcut;
    bool checkable;
    int data;
};

} // namespace

Graph2d::Graph2d(QWidget* parent)
    : QWidget(parent)
{
    setMouseTracking(true);
    // A click gives the plot the keyboard, so that Escape can cancel the
    // drag it starts; no tab stop, the plot has nothing to type into.
    setFocusPolicy(Qt::ClickFocus);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, &Graph2d::showContextMenu);
    grabGesture(Qt::PinchGesture);
    createActions();
}

Graph2d::~Graph2d() = default;

void Graph2d::createActions()
{
    const ActionRow rows[] = {
        {"Selection Zoom", ":/images/select_32.png", QT_TR_NOOP("Zoom to the selected region"), "Ctrl+1", true, 1},
        {"Move", ":/images/move_32.png", QT_TR_NOOP("Move viewport"), "Ctrl+2", true, 2},
        {"Scaling", ":/images/zoom_32.png", QT_TR_NOOP("Interactive Scaling"), "Ctrl+3", true, 3},
        {"Auto Fit", ":/images/fullscreen_32.png", QT_TR_NOOP("Fit all data in the viewport"), "Ctrl+0", false, 4},
        {"Set Range", ":/images/settings.png", QT_TR_NOOP("Fit all data in the viewport"), "", false, 5},
    };
    for (const ActionRow& row : rows) {
        auto* action = new QAction(QIcon(QString::fromLatin1(row.icon)), QString::fromLatin1(row.text), this);
        action->setToolTip(tr(row.toolTip));
        if (row.shortcut[0] != '\0')
            action->setShortcut(QKeySequence(QString::fromLatin1(row.shortcut)));
        action->setCheckable(row.checkable);
        action->setData(row.data);
        action->setEnabled(true);
        connect(action, &QAction::triggered, this, &Graph2d::actionTriggered);
        addAction(action); // for the shortcuts
        m_actions.append(action);
    }
    syncToolChecks();
    const char* logTexts[AxisCount] = {"Logarithmic X", "Logarithmic Y", "Logarithmic Right Y"};
    for (int axis = 0; axis < AxisCount; ++axis) {
        auto* action = new QAction(QString::fromLatin1(logTexts[axis]), this);
        action->setCheckable(true);
        action->setData(axis);
        connect(action, &QAction::toggled, this, [this, axis](bool on) { setLogarithmic(axis, on); });
        m_logActions.append(action);
    }
}

void Graph2d::syncToolChecks()
{
    m_actions.at(0)->setChecked(m_tool == SelectionZoom);
    m_actions.at(1)->setChecked(m_tool == Moving);
    m_actions.at(2)->setChecked(m_tool == Scaling);
}

void Graph2d::setTool(int tool)
{
    if (tool != SelectionZoom && tool != Scaling && tool != Moving)
        return;
    m_tool = tool;
    syncToolChecks();
    update();
}

void Graph2d::clearGraphs()
{
    m_graphs.clear();
    update();
}

void Graph2d::addGraph(const PlotGraph& graph)
{
    if (!graph.x || !graph.y)
        return;
    m_graphs.append(graph);
    update();
}

void Graph2d::addGraph(const QList<float>* x, const QList<float>* y, const QString& title, float scaleX,
                       float scaleY, const QPen& pen)
{
    PlotGraph graph;
    graph.x = x;
    graph.y = y;
    graph.title = title;
    graph.scaleX = scaleX;
    graph.scaleY = scaleY;
    graph.pen = pen;
    addGraph(graph);
}

void Graph2d::forgetCurves()
{
    m_extents.clear();
    m_reductions.clear();
}

const CurveReduction* Graph2d::reduction(int graph) const
{
    return graph >= 0 && size_t(graph) < m_reductions.size() ? m_reductions[size_t(graph)].get() : nullptr;
}

void Graph2d::setPlaceholderText(const QString& text)
{
    if (text == m_placeholder)
        return;
    m_placeholder = text;
    if (m_graphs.isEmpty())
        update();
}

void Graph2d::setMarkers(const QList<PlotMarker>& markers)
{
    if (markers == m_markers)
        return;
    m_markers = markers;
    update();
}

void Graph2d::setLogarithmic(int axis, bool on)
{
    if (axis < 0 || axis >= AxisCount || m_logarithmic[axis] == on)
        return;
    m_logarithmic[axis] = on;
    // A range set on one scale means something else on the other.
    m_view[axis] = Range();
    {
        const QSignalBlocker quiet(m_logActions.at(axis));
        m_logActions.at(axis)->setChecked(on);
    }
    update();
    emit logarithmicChanged(axis, on);
}

void Graph2d::setAxisTitle(int axis, const QString& title)
{
    if (axis < 0 || axis >= AxisCount || m_titles[axis] == title)
        return;
    m_titles[axis] = title;
    update();
}

QString Graph2d::shownAxisTitle(int axis) const
{
    return m_titles[axis].isEmpty() ? defaultAxisTitle(axis) : m_titles[axis];
}

QString Graph2d::defaultAxisTitle(int axis) const
{
    for (const PlotGraph& graph : m_graphs) {
        if (axis == XAxis)
            return graph.xName;
        if (graph.axis == (axis == RightAxis ? PlotGraph::Right : PlotGraph::Left))
            return graph.yName;
    }
    return QString();
}

void Graph2d::setCaption(const QString& caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    if (m_legendOn)
        update();
}

void Graph2d::setGridOn(bool on)
{
    if (on == m_gridOn)
        return;
    m_gridOn = on;
    update();
}

void Graph2d::setLegendOn(bool on)
{
    if (on == m_legendOn)
        return;
    m_legendOn = on;
    update();
}

void Graph2d::setViewRange(double xMin, double xMax, double yMin, double yMax)
{
    m_view[XAxis] = {xMin, xMax};
    m_view[YAxis] = {yMin, yMax};
    update();
}

void Graph2d::setRightRange(double min, double max)
{
    m_view[RightAxis] = {min, max};
    update();
}

bool Graph2d::renderTo(QPainter& painter, const QSizeF& size, double resolution)
{
    return drawPlot(painter, size, resolution, false);
}

bool Graph2d::renderToImage(QImage& image)
{
    if (image.isNull())
        return false;
    QPainter painter(&image);
    // The image's pixels over its device pixel ratio: a picture for a
    // high-density screen is laid out as the screen's.
    return renderTo(painter, image.deviceIndependentSize(), image.devicePixelRatio());
}

void Graph2d::actionTriggered()
{
    auto* action = qobject_cast<QAction*>(sender());
    if (!action)
        return;
    const int command = action->data().toInt();
    if (!applyCommand(command) && command == 5)
        openRangeDialog();
    update();
}

bool Graph2d::applyCommand(int command)
{
    // The actions' data and the tool strip's buttons share these numbers.
    switch (command) {
    case 1:
        setTool(SelectionZoom);
        return true;
    case 2:
        setTool(Moving);
        return true;
    case 3:
        setTool(Scaling);
        return true;
    case 4:
        m_view[RightAxis] = Range();
        setViewRange(0.0, 0.0, 0.0, 0.0);
        return true;
    default:
        return false;
    }
}

void Graph2d::openRangeDialog()
{
    const Reference& r = m_reference;
    RangeDialog dialog(r.x().min, r.x().max, r.y().min, r.y().max, this);
    const bool right = r.right().min != r.right().max;
    if (right)
        dialog.addRightAxis(r.right().min, r.right().max);
    if (dialog.exec() != QDialog::Accepted)
        return;
    setViewRange(dialog.xMin(), dialog.xMax(), dialog.yMin(), dialog.yMax());
    if (right)
        setRightRange(dialog.rightMin(), dialog.rightMax());
}

void Graph2d::showContextMenu(const QPoint& point)
{
    QMenu menu(this);
    for (int i = 0; i < 4; ++i)
        menu.addAction(m_actions.at(i));
    menu.addSeparator();
    menu.addAction(m_actions.at(4));
    menu.addSeparator();
    for (QAction* action : std::as_const(m_logActions))
        menu.addAction(action);
    menu.exec(mapToGlobal(point));
}

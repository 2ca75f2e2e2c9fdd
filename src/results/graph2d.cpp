// The plot widget's state, its actions, context menu and range dialog. The
// drawing is in graph2dpaint.cpp, the mouse and gestures in graph2dinput.cpp.

#include "graph2d.h"

#include "rangedialog.h"

#include <QAction>
#include <QIcon>
#include <QImage>
#include <QMenu>
#include <QPainter>

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

void Graph2d::addGraph(const QList<float>* x, const QList<float>* y, const QString& title, float scaleX,
                       float scaleY, const QPen& pen)
{
    if (!x || !y)
        return;
    m_graphs.append(PlotGraph{x, y, title, scaleX, scaleY, pen});
    update();
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
    m_viewXMin = xMin;
    m_viewXMax = xMax;
    m_viewYMin = yMin;
    m_viewYMax = yMax;
    update();
}

bool Graph2d::renderToImage(QImage& image)
{
    if (image.isNull())
        return false;
    QPainter painter(&image);
    return drawPlot(painter, image.width(), image.height(), false);
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
        setViewRange(0.0, 0.0, 0.0, 0.0);
        return true;
    default:
        return false;
    }
}

void Graph2d::openRangeDialog()
{
    RangeDialog dialog(m_reference.xMin, m_reference.xMax, m_reference.yMin, m_reference.yMax, this);
    if (dialog.exec() == QDialog::Accepted)
        setViewRange(dialog.xMin(), dialog.xMax(), dialog.yMin(), dialog.yMax());
}

void Graph2d::showContextMenu(const QPoint& point)
{
    QMenu menu(this);
    for (int i = 0; i < 4; ++i)
        menu.addAction(m_actions.at(i));
    menu.addSeparator();
    menu.addAction(m_actions.at(4));
    menu.exec(mapToGlobal(point));
}

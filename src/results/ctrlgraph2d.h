#ifndef TARVEL_CTRLGRAPH2D_H
#define TARVEL_CTRLGRAPH2D_H

// The panel under the plot: a table of graph definitions (fields, scales,
// pen, colour, title), from which it rebuilds the plot's curves whenever the
// data or a definition changes; switches grid and legend, exports the plot
// as an image, and keeps the definitions in the project's settings so that
// they travel with the project file. Column widths are a user preference in
// settings.ini.

#include "graphdefinition.h"
#include "ignitiondefinition.h"

#include "plotmarker.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QWidget>

class AxisControls;
class ComboDelegate;
class ColorDelegate;
class Graph2d;
class LineDelegate;
class ScaleDelegate;
class Project;
class QAction;
class QImage;
class QMenu;
class QStandardItem;
class QStandardItemModel;
class QTableView;
class QToolBar;

class CtrlGraph2d : public QWidget
{
    Q_OBJECT

public:
    enum Column {
        TitleColumn,
        XColumn,
        YColumn,
        WidthColumn,
        LineColumn,
        ScaleXColumn,
        ScaleYColumn,
        ColourColumn,
        AxisColumn, // the Y axis a curve is read on: 0 left, 1 right
    };
    static constexpr int ColumnCount = 9;

    CtrlGraph2d(Project* project, Graph2d* plot, QWidget* parent = nullptr);
    ~CtrlGraph2d() override;

    const QList<GraphDefinition>& definitions() const { return m_definitions; }
    const QList<QPair<QString, int>>& fieldNames() const { return m_fieldNames; }
    int timeStep() const { return m_timeStep; }
    int selectedProfile() const { return m_selectedProfile; }

    QStandardItemModel* model() const { return m_model; }
    QTableView* view() const { return m_view; }
    QToolBar* toolBar() const { return m_toolBar; }
    QMenu* tableMenu() const { return m_tableMenu; }
    QAction* exportAction() const { return m_exportAction; }
    QAction* gridAction() const { return m_gridAction; }
    QAction* legendAction() const { return m_legendAction; }
    QAction* addGraphAction() const { return m_addAction; }
    QAction* removeGraphAction() const { return m_removeAction; }
    QAction* markerAction() const { return m_markerAction; }
    AxisControls* axisControls() const { return m_axes; }
    ComboDelegate* axisDelegate() const { return m_axisDelegate; }
    IgnitionDefinition ignitionDefinition() const { return m_ignition; }
    ComboDelegate* xDelegate() const { return m_xDelegate; }
    ComboDelegate* yDelegate() const { return m_yDelegate; }
    ComboDelegate* widthDelegate() const { return m_widthDelegate; }
    ComboDelegate* lineTypeDelegate() const { return m_lineTypeDelegate; }
    ColorDelegate* colorDelegate() const { return m_colorDelegate; }
    ScaleDelegate* scaleDelegate() const { return m_scaleDelegate; }

    // The picture the export saves as pixels: 800 x 450, the plot as the
    // screen shows it. False when the plot draws nothing.
    [[nodiscard]] bool exportImage(QImage* image) const;
    // The hue the next new definition gets.
    int nextHue() const;
    // The index of the output field of that name now; -1 for none.
    int fieldIndex(const QString& name) const;

    static int defaultColumnWidth(int column);

public slots:
    void updateData();
    void actionTriggered();
    void actionToggled(bool on);
    void addPair();
    void modelDataChanged(QStandardItem* item);
    void removePair();
    void updateTable();
    void updateGraphs();
    void sliderChanged(int step);
    void profileSelected(int index);
    void tableMenuRequested(const QPoint& point);
    void restoreTable();
    void loadPairs();
    void saveTable();
    void savePairs();
    // The ignition delay's definition may have changed in the settings.
    void readIgnitionDefinition();

private:
    // ctrlgraph2dcurves.cpp
    bool isMissing(const GraphDefinition& definition) const;
    bool canDraw(const GraphDefinition& definition) const;
    QString timeField() const;
    QString nextUnplotted(const QString& xField) const;
    // X the time, Y the field given or the next one not yet plotted, the
    // title its name, ticked when it can be drawn.
    GraphDefinition newDefinition(const QString& yField) const;
    // Temperature over time, for a project whose results have no graph.
    void addDefaultGraph();
    // A dashed line at the ignition delay on the curves over time.
    QList<PlotMarker> ignitionMarkers() const;

    void setFieldDelegates();
    void exportGraph();

    Project* m_project = nullptr;
    Graph2d* m_plot = nullptr;
    QList<GraphDefinition> m_definitions;
    QList<QPair<QString, int>> m_fieldNames;
    int m_timeStep = 0;
    int m_selectedProfile = -1;
    bool m_updating = false;

    QStandardItemModel* m_model = nullptr;
    QTableView* m_view = nullptr;
    QToolBar* m_toolBar = nullptr;
    QMenu* m_tableMenu = nullptr;
    QAction* m_exportAction = nullptr;
    QAction* m_gridAction = nullptr;
    QAction* m_legendAction = nullptr;
    QAction* m_addAction = nullptr;
    QAction* m_removeAction = nullptr;
    QAction* m_markerAction = nullptr;
    AxisControls* m_axes = nullptr;
    IgnitionDefinition m_ignition;
    ComboDelegate* m_xDelegate = nullptr;
    ComboDelegate* m_yDelegate = nullptr;
    ComboDelegate* m_widthDelegate = nullptr;
    ComboDelegate* m_lineTypeDelegate = nullptr;
    LineDelegate* m_lineDelegate = nullptr;
    ColorDelegate* m_colorDelegate = nullptr;
    ScaleDelegate* m_scaleDelegate = nullptr;
    ComboDelegate* m_axisDelegate = nullptr;
};

#endif

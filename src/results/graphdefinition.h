#ifndef TARVEL_GRAPHDEFINITION_H
#define TARVEL_GRAPHDEFINITION_H

// One row of the graph control panel: which output fields make a curve and
// how it is drawn. The fields are named, not numbered: a run whose columns
// differ (a species added, other output units) still finds them, or shows
// them missing. An empty name is a field not chosen yet.

#include <QColor>
#include <QString>

struct GraphDefinition
{
    QString title = QStringLiteral("New Graph");
    QString xField;
    QString yField;
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    bool enabled = false;
    int penStyle = 1; // Qt::PenStyle: 1 solid to 5 dash-dot-dot
    int width = 1;
    QColor color;
    int axis = 0; // the Y axis: 0 left, 1 right
};

#endif

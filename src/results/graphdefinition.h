#ifndef TARVEL_GRAPHDEFINITION_H
#define TARVEL_GRAPHDEFINITION_H

// One row of the graph control panel: which output fields make a curve and
// how it is drawn. Field indices are -1 until chosen.

#include <QColor>
#include <QString>

struct GraphDefinition
{
    QString title = QStringLiteral("New Graph");
    int xIndex = -1;
    int yIndex = -1;
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    bool enabled = false;
    int penStyle = 1; // Qt::PenStyle: 1 solid to 5 dash-dot-dot
    int width = 1;
    QColor color;
};

#endif

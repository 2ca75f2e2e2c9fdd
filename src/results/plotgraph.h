#ifndef TARVEL_PLOTGRAPH_H
#define TARVEL_PLOTGRAPH_H

// One curve of the plot: X and Y value vectors that others own (the
// project's output fields), the factors every value is multiplied by, the
// pen and the legend title.

#include <QList>
#include <QPen>
#include <QString>

struct PlotGraph
{
    const QList<float>* x = nullptr;
    const QList<float>* y = nullptr;
    QString title;
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    QPen pen;
};

#endif

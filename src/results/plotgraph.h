#ifndef TARVEL_PLOTGRAPH_H
#define TARVEL_PLOTGRAPH_H

// One curve of the plot: X and Y value vectors that others own (the
// project's output fields), the factors every value is multiplied by, the
// pen, the legend title, the Y axis it is read on, and the names of its
// fields, which the axes take as their titles unless told otherwise.

#include <QList>
#include <QPen>
#include <QString>

struct PlotGraph
{
    enum YAxis { Left = 0, Right = 1 };

    const QList<float>* x = nullptr;
    const QList<float>* y = nullptr;
    QString title;
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    QPen pen;
    int axis = Left;
    QString xName;
    QString yName;
};

#endif

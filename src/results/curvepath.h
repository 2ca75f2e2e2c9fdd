#ifndef TARVEL_CURVEPATH_H
#define TARVEL_CURVEPATH_H

// Turns a curve's values into the line segments worth drawing: points are
// mapped to whole pixels of the plot frame, a point on the same pixel as the
// last kept one is dropped, and a segment whose bounding box misses the
// frame is left out. A run of 200,000 time steps on an 800-pixel plot draws
// a few thousand segments instead of 200,000.

#include "plotaxis.h"
#include "plotframe.h"

#include <QLine>
#include <QList>
#include <QPoint>
#include <QPolygon>

class CurvePath
{
public:
    CurvePath(const PlotAxis& xAxis, const PlotAxis& yAxis, const PlotFrame& frame);

    // The pixel (upwards) of a plotted, i.e. already scaled, value pair.
    QPoint map(double x, double y) const;
    // The curve as runs of joined segments, in order: a run ends where a
    // segment is left out. Drawn as polylines, so that a dashed pen's pattern
    // runs on along the curve instead of starting again at every segment.
    // Empty for a scale of 0 or an empty vector; a Y vector shorter than X
    // ends the curve early.
    QList<QPolygon> polylines(const QList<float>& x, const QList<float>& y, float scaleX, float scaleY) const;
    // The same segments one by one.
    QList<QLine> segments(const QList<float>& x, const QList<float>& y, float scaleX, float scaleY) const;

    double kx() const { return m_kx; }
    double ky() const { return m_ky; }

private:
    bool touchesFrame(const QPoint& a, const QPoint& b) const;

    double m_xMin = 0.0;
    double m_yMin = 0.0;
    double m_kx = 0.0;
    double m_ky = 0.0;
    PlotFrame m_frame;
};

#endif

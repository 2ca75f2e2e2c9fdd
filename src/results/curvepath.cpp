#include "curvepath.h"

#include <algorithm>
#include <cmath>

namespace {

// Far outside any picture, yet far from int's limits: a curve zoomed deep
// into one of its points still maps to pixels that can be compared and
// clipped, instead of overflowing.
constexpr double kPixelLimit = 1.0e8;

int toPixel(double value)
{
    if (std::isnan(value))
        return 0;
    return int(std::lround(std::clamp(value, -kPixelLimit, kPixelLimit)));
}

} // namespace

CurvePath::CurvePath(const PlotAxis& xAxis, const PlotAxis& yAxis, const PlotFrame& frame)
    : m_xMin(xAxis.min)
    , m_yMin(yAxis.min)
    , m_frame(frame)
{
    if (xAxis.max != xAxis.min)
        m_kx = frame.width() / (xAxis.max - xAxis.min);
    if (yAxis.max != yAxis.min)
        m_ky = frame.height() / (yAxis.max - yAxis.min);
}

QPoint CurvePath::map(double x, double y) const
{
    return QPoint(toPixel((x - m_xMin) * m_kx + m_frame.left), toPixel((y - m_yMin) * m_ky + m_frame.bottom));
}

bool CurvePath::touchesFrame(const QPoint& a, const QPoint& b) const
{
    return std::max(a.x(), b.x()) >= m_frame.left && std::min(a.x(), b.x()) <= m_frame.right
           && std::max(a.y(), b.y()) >= m_frame.bottom && std::min(a.y(), b.y()) <= m_frame.top;
}

QList<QPolygon> CurvePath::polylines(const QList<float>& x, const QList<float>& y, float scaleX,
                                     float scaleY) const
{
    QList<QPolygon> runs;
    const qsizetype count = std::min(x.size(), y.size());
    if (scaleX == 0.0f || scaleY == 0.0f || count == 0)
        return runs;
    const double sx = scaleX;
    const double sy = scaleY;
    QPolygon run;
    QPoint kept = map(sx * x.at(0), sy * y.at(0));
    for (qsizetype i = 1; i < count; ++i) {
        const QPoint point = map(sx * x.at(i), sy * y.at(i));
        if (point == kept)
            continue;
        if (touchesFrame(kept, point)) {
            if (run.isEmpty())
                run << kept;
            run << point;
        } else if (!run.isEmpty()) {
            runs << run;
            run.clear();
        }
        kept = point;
    }
    if (!run.isEmpty())
        runs << run;
    return runs;
}

QList<QLine> CurvePath::segments(const QList<float>& x, const QList<float>& y, float scaleX, float scaleY) const
{
    QList<QLine> lines;
    for (const QPolygon& run : polylines(x, y, scaleX, scaleY)) {
        for (qsizetype i = 1; i < run.size(); ++i)
            lines.append(QLine(run.at(i - 1), run.at(i)));
    }
    return lines;
}

#include "curvereduction.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

inline bool isFinite(double value)
{
    return std::fabs(value) <= DBL_MAX;
}

// The smallest float not below the value: for a float x, x >= d exactly when
// x >= ceilToFloat(d), and x < d exactly when x < ceilToFloat(d).
inline float ceilToFloat(double value)
{
    const float nearest = float(value);
    return double(nearest) < value ? std::nextafter(nearest, std::numeric_limits<float>::infinity()) : nearest;
}

bool sameAxis(const PlotAxis& a, const PlotAxis& b)
{
    return a.min == b.min && a.max == b.max && a.logarithmic == b.logarithmic;
}

// Far enough that a segment cut there crosses the rectangle within a
// thousandth of a pixel of where it really does, near enough that clipping
// does not lose the rectangle in the rounding of a coordinate like 1e31.
constexpr double kFarAway = 1e7;

QPointF nearer(const QPointF& point, const QRectF& rect)
{
    return QPointF(std::clamp(point.x(), rect.left() - kFarAway, rect.right() + kFarAway),
                   std::clamp(point.y(), rect.top() - kFarAway, rect.bottom() + kFarAway));
}

// Liang-Barsky: the part of the segment a-b inside the rectangle, if any.
bool clipSegment(QPointF& a, QPointF& b, const QRectF& rect)
{
    a = nearer(a, rect);
    b = nearer(b, rect);
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    double t0 = 0.0;
    double t1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - rect.left(), rect.right() - a.x(), a.y() - rect.top(), rect.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    const QPointF start(a.x() + t0 * dx, a.y() + t0 * dy);
    const QPointF end(a.x() + t1 * dx, a.y() + t1 * dy);
    a = start;
    b = end;
    return true;
}

} // namespace

template<typename Number, typename Read>
qsizetype CurveReduction::stayIn(qsizetype begin, qsizetype end, Number from, Number to, Read read, Column& column)
{
    // The points that stay in the open column, the bulk of a long curve:
    // two comparisons place each. All in locals, so that they live in
    // registers. (Branches, not conditional moves, for the lowest and
    // highest: the moves chain every point to the one before and measured
    // slower, even on noise.)
    Number lowValue = Number(column.lowValue);
    Number highValue = Number(column.highValue);
    qsizetype low = column.low;
    qsizetype high = column.high;
    qsizetype j = begin;
    for (; j < end; ++j) {
        Number v = 0;
        Number w = 0;
        if (!(read(j, v, w) && v >= from && v < to))
            break;
        if (w < lowValue) {
            lowValue = w;
            low = j;
        } else if (w > highValue) {
            highValue = w;
            high = j;
        }
    }
    column.lowValue = lowValue;
    column.highValue = highValue;
    column.low = low;
    column.high = high;
    return j;
}

bool CurveReduction::Mapping::sameAs(const Mapping& other) const
{
    return sameAxis(x, other.x) && sameAxis(y, other.y) && frame.left == other.frame.left
           && frame.right == other.frame.right && frame.bottom == other.frame.bottom && frame.top == other.frame.top
           && resolution == other.resolution;
}

CurveReduction::CurveReduction(const QList<float>* x, const QList<float>* y, float scaleX, float scaleY,
                               const Mapping& mapping)
    : m_x(x)
    , m_y(y)
    , m_scaleX(scaleX)
    , m_scaleY(scaleY)
    , m_mapping(mapping)
{
    // The axes' ends on the frame's first and last pixels, as their ticks.
    if (mapping.x.max != mapping.x.min)
        m_kx = (mapping.frame.right - mapping.frame.left) / (mapping.x.max - mapping.x.min);
    if (mapping.y.max != mapping.y.min)
        m_ky = (mapping.frame.top - mapping.frame.bottom) / (mapping.y.max - mapping.y.min);
    // A few pixels beyond the frame on either side are columns of their
    // own, so that a curve enters and leaves the frame at the right slope;
    // everything farther out is one column on each side.
    m_firstColumn = long(std::floor((mapping.frame.left - 2) * mapping.resolution));
    m_lastColumn = long(std::floor((mapping.frame.right + 3) * mapping.resolution));
}

bool CurveReduction::isFor(const QList<float>* x, const QList<float>* y, float scaleX, float scaleY,
                           const Mapping& mapping) const
{
    return x == m_x && y == m_y && scaleX == m_scaleX && scaleY == m_scaleY && mapping.sameAs(m_mapping);
}

void CurveReduction::reset()
{
    m_points.clear();
    m_hasOpen = false;
    m_openEmitted = 0;
    m_processed = 0;
}

void CurveReduction::update()
{
    if (!m_x || !m_y || m_kx == 0.0 || m_ky == 0.0)
        return;
    const qsizetype count = std::min(m_x->size(), m_y->size());
    // Only appended values extend the reduction: a vector that shrank, or
    // whose values read so far are not the same (another run in the same
    // memory), is reduced from its start.
    if (count < m_processed
        || (m_processed > 0
            && (std::memcmp(&m_fingerprint[0], &m_x->at(0), sizeof(float)) != 0
                || std::memcmp(&m_fingerprint[1], &m_y->at(0), sizeof(float)) != 0
                || std::memcmp(&m_fingerprint[2], &m_x->at(m_processed - 1), sizeof(float)) != 0
                || std::memcmp(&m_fingerprint[3], &m_y->at(m_processed - 1), sizeof(float)) != 0)))
        reset();
    if (count == m_processed)
        return;
    if (m_processed == 0)
        ++m_rebuilds;
    // The last column may grow with the new points: it is taken back and
    // emitted again once they are in.
    if (m_hasOpen)
        m_points.resize(m_points.size() - m_openEmitted);
    reduce(m_processed, count);
    m_processed = count;
    m_fingerprint[0] = m_x->at(0);
    m_fingerprint[1] = m_y->at(0);
    m_fingerprint[2] = m_x->at(count - 1);
    m_fingerprint[3] = m_y->at(count - 1);
    m_openEmitted = m_hasOpen ? emitColumn(m_open) : 0;
}

bool CurveReduction::openColumn(double scaledX, Column& column) const
{
    const double at = m_mapping.x.toAxis(scaledX);
    if (!isFinite(at))
        return false;
    const double resolution = m_mapping.resolution;
    const double left = m_mapping.frame.left;
    const double pixel = ((at - m_mapping.x.min) * m_kx + left + PixelMiddle) * resolution;
    // The x extent of a column, so that the points after it are placed by
    // two comparisons instead of a mapping each.
    auto valueAt = [&](double devicePixel) {
        return m_mapping.x.fromAxis(m_mapping.x.min + (devicePixel / resolution - PixelMiddle - left) / m_kx);
    };
    // Zero and below have no place on a logarithmic axis: outside every column.
    const double low = m_mapping.x.logarithmic ? std::numeric_limits<double>::denorm_min() : -kInfinity;
    if (!(pixel >= double(m_firstColumn))) {
        column.index = m_firstColumn - 1;
        column.from = low;
        column.to = valueAt(double(m_firstColumn));
    } else if (!(pixel < double(m_lastColumn + 1))) {
        column.index = m_lastColumn + 1;
        column.from = valueAt(double(m_lastColumn + 1));
        column.to = kInfinity;
    } else {
        column.index = long(std::floor(pixel));
        column.from = valueAt(double(column.index));
        column.to = valueAt(double(column.index + 1));
    }
    // A negative scale runs the values the other way.
    if (column.from > column.to)
        std::swap(column.from, column.to);
    // Rounding may put the point itself just outside the extent computed
    // back from its column: the column then takes it in.
    column.from = std::min(column.from, scaledX);
    column.to = std::max(column.to, std::nextafter(scaledX, kInfinity));
    return true;
}

void CurveReduction::reduce(qsizetype begin, qsizetype end)
{
    const float* xs = m_x->constData();
    const float* ys = m_y->constData();
    const double sx = m_scaleX;
    const double sy = m_scaleY;
    const bool logY = m_mapping.y.logarithmic;
    // Factors of 1 on a linear Y axis, the common case: the values can be
    // compared as the floats they are.
    const bool unitScale = m_scaleX == 1.0f && m_scaleY == 1.0f && !logY;
    Column column = m_open;
    bool open = m_hasOpen;
    qsizetype i = begin;
    while (i < end) {
        if (open) {
            const qsizetype j = unitScale ? stayFloat(xs, ys, i, end, column) : stayDouble(xs, ys, i, end, column);
            if (j > i)
                column.last = j - 1;
            i = j;
            if (i == end)
                break;
        }
        // A point that leaves the column: the next column, or a gap.
        const double v = sx * double(xs[i]);
        const double w = sy * double(ys[i]);
        Column next;
        if (!isFinite(w) || (logY && !(w > 0.0)) || !isFinite(v) || !openColumn(v, next)) {
            if (open)
                emitColumn(column);
            open = false;
            emitGap();
            ++i;
            continue;
        }
        if (open && next.index == column.index) {
            // Rounding put it just outside the extent computed for the
            // column: the column takes it in.
            column.from = std::min(column.from, next.from);
            column.to = std::max(column.to, next.to);
            continue;
        }
        if (open)
            emitColumn(column);
        column = next;
        column.first = column.last = column.low = column.high = i;
        column.lowValue = column.highValue = w;
        open = true;
        ++i;
    }
    m_open = column;
    m_hasOpen = open;
}

qsizetype CurveReduction::stayDouble(const float* xs, const float* ys, qsizetype begin, qsizetype end,
                                     Column& column) const
{
    const double sx = m_scaleX;
    const double sy = m_scaleY;
    const bool logY = m_mapping.y.logarithmic;
    auto read = [=](qsizetype j, double& v, double& w) {
        v = sx * double(xs[j]);
        w = sy * double(ys[j]);
        return isFinite(w) && (!logY || w > 0.0);
    };
    return stayIn(begin, end, column.from, column.to, read, column);
}

qsizetype CurveReduction::stayFloat(const float* xs, const float* ys, qsizetype begin, qsizetype end,
                                    Column& column) const
{
    // As stayDouble(), without a conversion or a product per value: 1.8 ms
    // instead of 3.1 for a million points. The column's extent as the
    // floats that bound it the same way.
    auto read = [=](qsizetype j, float& v, float& w) {
        v = xs[j];
        w = ys[j];
        return std::fabs(w) <= FLT_MAX;
    };
    return stayIn(begin, end, ceilToFloat(column.from), ceilToFloat(column.to), read, column);
}

int CurveReduction::emitColumn(const Column& column)
{
    qsizetype kept[4] = {column.first, column.low, column.high, column.last};
    std::sort(kept, kept + 4);
    // The lowest and highest points between the first and the last stand
    // for all the points in between: drawn at the middle of the column, the
    // line between them covers the column as all of those points' segments
    // together do, rather than half of it and half of the next one.
    const bool inside = column.index >= m_firstColumn && column.index <= m_lastColumn;
    const double middle = (double(column.index) + 0.5) / m_mapping.resolution - PixelMiddle;
    int emitted = 0;
    for (int k = 0; k < 4; ++k) {
        if (k > 0 && kept[k] == kept[k - 1])
            continue;
        QPointF point = pointAt(kept[k]);
        if (inside && kept[k] != column.first && kept[k] != column.last)
            point.setX(middle);
        m_points.append(point);
        ++emitted;
    }
    return emitted;
}

void CurveReduction::emitGap()
{
    if (!m_points.isEmpty() && !std::isnan(m_points.last().x()))
        m_points.append(QPointF(std::nan(""), std::nan("")));
}

QPointF CurveReduction::pointAt(qsizetype i) const
{
    const double v = double(m_scaleX) * double(m_x->at(i));
    const double w = double(m_scaleY) * double(m_y->at(i));
    return QPointF((m_mapping.x.toAxis(v) - m_mapping.x.min) * m_kx + m_mapping.frame.left,
                   (m_mapping.y.toAxis(w) - m_mapping.y.min) * m_ky + m_mapping.frame.bottom);
}

QList<QPolygonF> CurveReduction::visibleRuns(const QRectF& clip) const
{
    QList<QPolygonF> runs;
    QPolygonF run;
    auto finish = [&]() {
        if (run.size() > 1)
            runs.append(run);
        run.clear();
    };
    for (qsizetype i = 1; i < m_points.size(); ++i) {
        QPointF a = m_points.at(i - 1);
        QPointF b = m_points.at(i);
        if (std::isnan(a.x()) || std::isnan(b.x()) || !clipSegment(a, b, clip)) {
            finish();
            continue;
        }
        if (run.isEmpty() || run.last() != a) {
            finish();
            run.append(a);
        }
        run.append(b);
    }
    finish();
    return runs;
}

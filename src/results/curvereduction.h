#ifndef TARVEL_CURVEREDUCTION_H
#define TARVEL_CURVEREDUCTION_H

// A curve reduced to what its picture needs: of every run of consecutive
// points that fall into one device pixel column, the first, the lowest, the
// highest and the last are kept, in their order (the lowest and highest at
// the column's middle). The segments between them cover the same pixels as
// all of the run's segments, so the picture is the same but for the
// antialiasing of single pixels, while a million points on an 800-pixel plot
// draw as a few thousand.
//
// The reduction is kept for as long as the mapping (axes, frame, pixel
// resolution) stays: points appended to the vectors extend it, costing only
// the new points; any other change rebuilds it. Values that are not finite,
// and values that are not positive on a logarithmic axis, leave a gap.

#include "plotaxis.h"
#include "plotframe.h"

#include <QList>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>

class CurveReduction
{
public:
    // How a value pair becomes a point of the plot (upwards from the bottom).
    struct Mapping
    {
        PlotAxis x;
        PlotAxis y;
        PlotFrame frame;
        double resolution = 1.0; // device pixels per plot pixel

        bool sameAs(const Mapping& other) const;
    };

    // The painter draws the plot coordinate x through the middle of pixel
    // x (half a pixel in): the device column of a point is the one under
    // x + PixelMiddle.
    static constexpr double PixelMiddle = 0.5;

    CurveReduction(const QList<float>* x, const QList<float>* y, float scaleX, float scaleY, const Mapping& mapping);

    bool isFor(const QList<float>* x, const QList<float>* y, float scaleX, float scaleY, const Mapping& mapping) const;

    // Brings the reduction up to the vectors' length.
    void update();

    // The kept points in order; a point with NaN coordinates marks a gap.
    const QList<QPointF>& points() const { return m_points; }
    qsizetype processed() const { return m_processed; }
    // How often update() had to start from the first point.
    int rebuilds() const { return m_rebuilds; }

    // The kept points as polylines clipped to the rectangle: a polyline
    // ends at a gap and where the curve leaves the rectangle.
    QList<QPolygonF> visibleRuns(const QRectF& clip) const;

private:
    struct Column
    {
        long index = 0; // the pixel column; also the two off-plot ones
        qsizetype first = -1;
        qsizetype last = -1;
        qsizetype low = -1;
        qsizetype high = -1;
        double lowValue = 0.0;
        double highValue = 0.0;
        double from = 0.0; // its x extent in scaled values, [from, to)
        double to = 0.0;
    };

    void reset();
    void reduce(qsizetype begin, qsizetype end);
    // The index of the first point from `begin` that leaves the open
    // column; the column's lowest and highest taken on the way.
    qsizetype stayDouble(const float* xs, const float* ys, qsizetype begin, qsizetype end, Column& column) const;
    qsizetype stayFloat(const float* xs, const float* ys, qsizetype begin, qsizetype end, Column& column) const;
    // Both: `read` gives point j's x and y as Number and whether y can be
    // drawn at all.
    template<typename Number, typename Read>
    static qsizetype stayIn(qsizetype begin, qsizetype end, Number from, Number to, Read read, Column& column);
    bool openColumn(double scaledX, Column& column) const;
    int emitColumn(const Column& column);
    void emitGap();
    QPointF pointAt(qsizetype i) const;

    const QList<float>* m_x = nullptr;
    const QList<float>* m_y = nullptr;
    float m_scaleX = 1.0f;
    float m_scaleY = 1.0f;
    Mapping m_mapping;
    double m_kx = 0.0;
    double m_ky = 0.0;
    long m_firstColumn = 0; // columns below and above are one column each
    long m_lastColumn = 0;

    QList<QPointF> m_points;
    Column m_open;
    bool m_hasOpen = false;
    int m_openEmitted = 0;
    qsizetype m_processed = 0;
    float m_fingerprint[4] = {};
    int m_rebuilds = 0;
};

#endif

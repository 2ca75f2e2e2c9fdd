// The plot's frame time on large data: 10 curves of 1,000,000 points each,
// smooth and noisy, drawn by the plot widget into an 800 x 450 picture, next
// to two baselines measured in the same run on the same data:
//   - every segment drawn as its own antialiased line (what drawing without
//     a reduction costs), and
//   - a bare reduction to the minimum and maximum of every pixel column,
//     with the x range known beforehand and nothing drawn: the least any
//     picture of all the points can cost, the limit the widget is held to.
// The widget is timed three ways: a first frame (nothing kept: extents,
// reduction and drawing), a repaint with nothing changed, and a repaint
// after 1,000 points were appended to every curve.
//
// Run with QT_QPA_PLATFORM=offscreen; the figures are medians.

#include "graph2d.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

namespace {

constexpr int kCurves = 10;
constexpr int kPoints = 1000000;
constexpr int kWidth = 800;
constexpr int kHeight = 450;
// The frame of the picture's plot: about what the widget leaves for it.
constexpr int kColumns = 720;

struct Data
{
    QList<float> time;
    std::vector<QList<float>> curves;
};

Data makeData(bool noisy)
{
    Data data;
    std::mt19937 random(29);
    std::normal_distribution<float> noise(0.0f, 5.0f);
    data.time.reserve(kPoints);
    for (int i = 0; i < kPoints; ++i)
        data.time << 1e-7f * float(i);
    for (int c = 0; c < kCurves; ++c) {
        QList<float> values;
        values.reserve(kPoints + 1000);
        const float centre = 0.02f + 0.007f * float(c);
        for (int i = 0; i < kPoints; ++i) {
            // An ignition: slow heating, a steep rise, then equilibrium.
            const float t = data.time.at(i);
            float v = 1000.0f + 100.0f * float(c) + 1400.0f / (1.0f + std::exp(-(t - centre) * 2000.0f));
            if (noisy)
                v += noise(random);
            values << v;
        }
        data.curves.push_back(values);
    }
    return data;
}

double median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double timeMs(const std::function<void()>& work, int repeats)
{
    std::vector<double> times;
    for (int i = 0; i < repeats; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return median(times);
}

QColor colour(int c)
{
    return QColor::fromHsv((c * 62) % 360, 255, 200);
}

// Every segment of every curve, mapped as the plot maps it, antialiased.
void drawEverySegment(QImage& image, const Data& data)
{
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const double xMax = data.time.last();
    const double kx = kColumns / xMax;
    const double ky = 380.0 / 2500.0;
    for (int c = 0; c < kCurves; ++c) {
        painter.setPen(QPen(colour(c), 1));
        const QList<float>& y = data.curves[size_t(c)];
        QPointF previous(40.0, 420.0 - (y.at(0) - 900.0) * ky);
        for (qsizetype i = 1; i < y.size(); ++i) {
            const QPointF point(40.0 + data.time.at(i) * kx, 420.0 - (y.at(i) - 900.0) * ky);
            painter.drawLine(previous, point);
            previous = point;
        }
    }
}

// The limit: each point's column from the known x range, the minimum and
// maximum of the points in a row that share a column kept in registers and
// stored when the column changes. Returns a checksum so that nothing is
// optimised away.
double bareReduction(const Data& data, double xMin, double xMax)
{
    std::vector<float> low(kColumns + 1);
    std::vector<float> high(kColumns + 1);
    double checksum = 0.0;
    const float k = float(kColumns / (xMax - xMin));
    const float origin = float(xMin);
    for (const QList<float>& y : data.curves) {
        const float* xs = data.time.constData();
        const float* ys = y.constData();
        int current = int((xs[0] - origin) * k);
        float lo = ys[0];
        float hi = ys[0];
        for (qsizetype i = 1; i < y.size(); ++i) {
            const int column = int((xs[i] - origin) * k);
            const float v = ys[i];
            if (column != current) {
                low[size_t(current)] = lo;
                high[size_t(current)] = hi;
                current = column;
                lo = hi = v;
            } else {
                lo = std::min(lo, v);
                hi = std::max(hi, v);
            }
        }
        low[size_t(current)] = lo;
        high[size_t(current)] = hi;
        checksum += double(low[kColumns / 2]) + double(high[kColumns / 3]);
    }
    return checksum;
}

void addCurves(Graph2d& plot, const Data& data)
{
    for (int c = 0; c < kCurves; ++c) {
        PlotGraph graph;
        graph.x = &data.time;
        graph.y = &data.curves[size_t(c)];
        graph.title = QStringLiteral("curve %1").arg(c);
        graph.pen = QPen(colour(c), 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        plot.addGraph(graph);
    }
}

void run(const char* name, Data data)
{
    Graph2d plot;
    plot.resize(kWidth, kHeight);
    addCurves(plot, data);
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    auto paint = [&] {
        image.fill(Qt::white);
        plot.render(&image);
    };
    // The first frame and the limit in turns, so that both meet the same
    // load of the machine; the ratio is taken pair by pair.
    const double xMin = data.time.first();
    const double xMax = data.time.last();
    double checksum = 0.0;
    std::vector<double> firsts;
    std::vector<double> bares;
    std::vector<double> ratios;
    for (int r = 0; r < 7; ++r) {
        const double bare = timeMs([&] { checksum += bareReduction(data, xMin, xMax); }, 1);
        const double first = timeMs(
            [&] {
                plot.forgetCurves();
                paint();
            },
            1);
        bares.push_back(bare);
        firsts.push_back(first);
        ratios.push_back(first / bare);
    }
    const double first = median(firsts);
    const double bare = median(bares);
    paint();
    const double cached = timeMs(paint, 9);
    // 1,000 points more on every curve between two paints, as a run's poll
    // brings them (the vectors keep their places: capacity was reserved).
    int appended = 0;
    const double grown = timeMs(
        [&] {
            for (int k = 0; k < 1000; ++k) {
                data.time << data.time.last();
                for (QList<float>& y : data.curves)
                    y << y.last();
            }
            ++appended;
            paint();
        },
        5);
    qsizetype kept = 0;
    for (int c = 0; c < kCurves; ++c)
        kept += plot.reduction(c) ? plot.reduction(c)->points().size() : 0;

    QImage every(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    const double everyMs = timeMs([&] { drawEverySegment(every, data); }, 1);

    std::printf("%s (%d curves x %d points, %lld points kept to draw)\n", name, kCurves, kPoints,
                static_cast<long long>(kept));
    std::printf("  widget, first frame          %9.1f ms   %5.2fx the bare reduction (median of the pairs)\n", first,
                median(ratios));
    std::printf("  widget, repaint              %9.1f ms\n", cached);
    std::printf("  widget, 1,000 points more    %9.1f ms\n", grown);
    std::printf("  bare min/max per column      %9.1f ms   (the limit)\n", bare);
    std::printf("  every segment drawn          %9.1f ms   %5.1fx the widget's first frame\n", everyMs,
                everyMs / first);
    if (checksum == 0.123)
        std::printf("\n");
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    std::printf("%d x %d picture, medians (every segment: one run)\n", kWidth, kHeight);
    run("smooth", makeData(false));
    run("noisy", makeData(true));
    return 0;
}

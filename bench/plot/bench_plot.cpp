// The plot's paint cost on a long run: 200,000 time steps drawn into the
// 800 x 450 export image, by the plot (points on the same pixel and segments
// outside the frame skipped) and, in the same run, by drawing every segment
// with the same pen, mapping and clip. Run with QT_QPA_PLATFORM=offscreen.

#include "curvepath.h"
#include "graph2d.h"
#include "plotaxis.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <random>

namespace {

constexpr int kPoints = 200000;
constexpr int kWidth = 800;
constexpr int kHeight = 450;
constexpr int kRepeats = 7;

QPen curvePen(Qt::PenStyle style = Qt::SolidLine)
{
    return QPen(QColor(200, 0, 0), 1, style, Qt::RoundCap, Qt::RoundJoin);
}

double medianMs(const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < kRepeats; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Every segment, mapped as the plot maps it, in the plot's logical window.
void drawEverySegment(QImage& image, const QList<float>& x, const QList<float>& y, Qt::PenStyle style)
{
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setWindow(0, kHeight, kWidth - 1, -kHeight);
    PlotFrame frame;
    frame.left = 40;
    frame.bottom = 30;
    frame.right = frame.left + (kWidth - 80) - 1;
    frame.top = frame.bottom + (kHeight - 60) - 1;
    const auto [xLo, xHi] = std::minmax_element(x.cbegin(), x.cend());
    const auto [yLo, yHi] = std::minmax_element(y.cbegin(), y.cend());
    const PlotAxis xAxis = PlotAxis::compute(*xLo, *xHi, frame.width(), true);
    const PlotAxis yAxis = PlotAxis::compute(*yLo, *yHi, frame.height(), true);
    const CurvePath path(xAxis, yAxis, frame);
    painter.setClipRect(QRect(frame.left, frame.bottom, frame.width(), frame.height()));
    painter.setPen(curvePen(style));
    QPoint previous = path.map(x.at(0), y.at(0));
    for (qsizetype i = 1; i < x.size(); ++i) {
        const QPoint point = path.map(x.at(i), y.at(i));
        painter.drawLine(previous, point);
        previous = point;
    }
}

void run(const char* name, const QList<float>& x, const QList<float>& y, Qt::PenStyle style = Qt::SolidLine)
{
    Graph2d plot;
    plot.addGraph(&x, &y, QStringLiteral("curve"), 1.0f, 1.0f, curvePen(style));
    QImage image(kWidth, kHeight, QImage::Format_ARGB32);
    const double plotMs = medianMs([&] {
        image.fill(Qt::white);
        if (!plot.renderToImage(image))
            qFatal("the plot drew nothing");
    });
    QImage baseline(kWidth, kHeight, QImage::Format_ARGB32);
    const double naiveMs = medianMs([&] { drawEverySegment(baseline, x, y, style); });

    PlotFrame frame;
    frame.left = 40;
    frame.bottom = 30;
    frame.right = frame.left + (kWidth - 80) - 1;
    frame.top = frame.bottom + (kHeight - 60) - 1;
    const auto [xLo, xHi] = std::minmax_element(x.cbegin(), x.cend());
    const auto [yLo, yHi] = std::minmax_element(y.cbegin(), y.cend());
    const CurvePath path(PlotAxis::compute(*xLo, *xHi, frame.width(), true),
                         PlotAxis::compute(*yLo, *yHi, frame.height(), true), frame);
    const qsizetype kept = path.segments(x, y, 1.0f, 1.0f).size();

    std::printf("%-28s plot %8.2f ms (%6lld segments)   every segment %8.2f ms (%d segments)   %6.1fx\n", name,
                plotMs, static_cast<long long>(kept), naiveMs, kPoints - 1, naiveMs / plotMs);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QList<float> time;
    QList<float> temperature;
    QList<float> noisy;
    std::mt19937 random(29);
    std::normal_distribution<float> noise(0.0f, 5.0f);
    for (int i = 0; i < kPoints; ++i) {
        const float t = 1e-6f * float(i);
        time << t;
        // An ignition: slow heating, a steep rise, then equilibrium.
        temperature << 1000.0f + 1400.0f / (1.0f + std::exp(-(t - 0.1f) * 200.0f));
        noisy << temperature.last() + noise(random);
    }
    std::printf("%d points into a %d x %d image, median of %d paints\n", kPoints, kWidth, kHeight, kRepeats);
    // What every picture costs whatever its curve: background, axes, labels, grid.
    {
        const QList<float> two{0.0f, 1.0f};
        Graph2d plot;
        plot.addGraph(&two, &two, QStringLiteral("curve"), 1.0f, 1.0f, curvePen());
        QImage image(kWidth, kHeight, QImage::Format_ARGB32);
        const double frameMs = medianMs([&] {
            image.fill(Qt::white);
            plot.renderToImage(image);
        });
        std::printf("%-28s plot %8.2f ms (axes, labels and grid of every picture)\n", "frame only", frameMs);
    }
    run("smooth ignition curve", time, temperature);
    run("same curve with noise", time, noisy);
    run("smooth, dashed pen", time, temperature, Qt::DashLine);
    run("noise, dashed pen", time, noisy, Qt::DashLine);
    return 0;
}

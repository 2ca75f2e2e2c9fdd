#ifndef TARVEL_GRAPHEXPORT_H
#define TARVEL_GRAPHEXPORT_H

// Writes the plot's picture to a file, the format taken from the file
// name's extension: SVG and PDF as vectors, or an image format this Qt can
// write. The picture is the screen's (the same ranges, the same rules),
// 800 x 450 pixels; in a vector file the curves are paths, reduced as the
// screen reduces them, so that a long run makes a small file.

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

class Graph2d;
class QPaintDevice;

class GraphExport
{
public:
    static constexpr int Width = 800;
    static constexpr int Height = 450;

    // The extensions a file may have, lower case: "png", "svg", "pdf", then
    // the other image formats.
    static QStringList suffixes();
    // The file dialog's filter of them.
    static QString filter();
    // The name with ".png" added when it has no extension.
    static QString withSuffix(const QString& fileName);
    // The picture as pixels; a null image when the plot draws nothing.
    static QImage image(Graph2d& plot);
    [[nodiscard]] static bool write(Graph2d& plot, const QString& fileName);

private:
    // The picture on a vector device, at the device's resolution of 96.
    static bool paint(Graph2d& plot, QPaintDevice* device);
    static bool writeSvg(Graph2d& plot, const QString& fileName);
    static bool writePdf(Graph2d& plot, const QString& fileName);
};

#endif

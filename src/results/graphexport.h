#ifndef TARVEL_GRAPHEXPORT_H
#define TARVEL_GRAPHEXPORT_H

// Writes the plot's picture to a file, the format taken from the file
// name's extension: the image formats this Qt can write. The picture is the
// screen's (the same ranges, the same rules), 800 x 450 pixels.

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

class Graph2d;

class GraphExport
{
public:
    static constexpr int Width = 800;
    static constexpr int Height = 450;

    // The extensions a file may have, lower case, "png" first.
    static QStringList suffixes();
    // The file dialog's filter of them.
    static QString filter();
    // The name with ".png" added when it has no extension.
    static QString withSuffix(const QString& fileName);
    // The picture as pixels; a null image when the plot draws nothing.
    static QImage image(Graph2d& plot);
    [[nodiscard]] static bool write(Graph2d& plot, const QString& fileName);
};

#endif

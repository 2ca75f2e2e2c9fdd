#include "graphexport.h"

#include "graph2d.h"

#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

namespace {

// The picture's pixels are the screen's: at 96 per inch its texts, in
// points, come out the size they have on the screen.
constexpr int kResolution = 96;

} // namespace

bool GraphExport::paint(Graph2d& plot, QPaintDevice* device)
{
    QPainter painter;
    if (!painter.begin(device))
        return false;
    const bool drawn = plot.renderTo(painter, QSizeF(Width, Height), 1.0);
    return painter.end() && drawn;
}

QStringList GraphExport::suffixes()
{
    // What this Qt can write, not a fixed list: TIFF, say, needs a plugin
    // that may not be there, and offering it would only end in a failure.
    QStringList result{QStringLiteral("png"), QStringLiteral("svg"), QStringLiteral("pdf")};
    for (const QByteArray& format : QImageWriter::supportedImageFormats()) {
        const QString suffix = QString::fromLatin1(format).toLower();
        if (!result.contains(suffix))
            result.append(suffix);
    }
    return result;
}

QString GraphExport::filter()
{
    QStringList patterns;
    for (const QString& suffix : suffixes())
        patterns.append(QStringLiteral("*.") + suffix);
    return QStringLiteral("Images (%1)").arg(patterns.join(QLatin1Char(' ')));
}

QString GraphExport::withSuffix(const QString& fileName)
{
    const QString trimmed = fileName.trimmed();
    return QFileInfo(trimmed).suffix().isEmpty() ? trimmed + QStringLiteral(".png") : trimmed;
}

QImage GraphExport::image(Graph2d& plot)
{
    QImage picture(Width, Height, QImage::Format_ARGB32);
    picture.fill(Qt::white);
    return plot.renderToImage(picture) ? picture : QImage();
}

bool GraphExport::write(Graph2d& plot, const QString& fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (!suffixes().contains(suffix))
        return false;
    // A vector file begun but not drawn is no picture: it goes again.
    if (suffix == QLatin1String("svg") || suffix == QLatin1String("pdf")) {
        const bool written = suffix == QLatin1String("svg") ? writeSvg(plot, fileName) : writePdf(plot, fileName);
        if (!written)
            QFile::remove(fileName);
        return written;
    }
    const QImage picture = image(plot);
    return !picture.isNull() && picture.save(fileName, suffix.toLatin1().constData());
}

bool GraphExport::writeSvg(Graph2d& plot, const QString& fileName)
{
    QSvgGenerator generator;
    generator.setFileName(fileName);
    generator.setSize(QSize(Width, Height));
    generator.setViewBox(QRect(0, 0, Width, Height));
    generator.setResolution(kResolution);
    generator.setTitle(QStringLiteral("Tarvel GUI graph"));
    return paint(plot, &generator);
}

bool GraphExport::writePdf(Graph2d& plot, const QString& fileName)
{
    QPdfWriter writer(fileName);
    writer.setResolution(kResolution);
    writer.setPageSize(QPageSize(QSizeF(Width * 72.0 / kResolution, Height * 72.0 / kResolution), QPageSize::Point,
                                 QString(), QPageSize::ExactMatch));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setCreator(QStringLiteral("Tarvel GUI"));
    return paint(plot, &writer);
}

#include "graphexport.h"

#include "graph2d.h"

#include <QFileInfo>
#include <QImageWriter>

QStringList GraphExport::suffixes()
{
    // What this Qt can write, not a fixed list: TIFF, say, needs a plugin
    // that may not be there, and offering it would only end in a failure.
    QStringList result{QStringLiteral("png")};
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
    const QImage picture = image(plot);
    return !picture.isNull() && picture.save(fileName, suffix.toLatin1().constData());
}

// The plot's export by file name: images in the formats this Qt writes,
// SVG and PDF as vectors, the same picture as the screen's, and small files
// however long the curves.

#include "filebytes.h"
#include "graph2d.h"
#include "graphexport.h"

#include <QImageWriter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <cmath>
#include <vector>

namespace {

const QColor kColours[3] = {QColor(200, 0, 0), QColor(0, 0, 200), QColor(0, 150, 0)};

// The strokes of the SVG's polylines and paths, each with its number of
// points; a stroke may stand on the element or on a group around it.
QList<std::pair<QString, int>> strokes(const QByteArray& svg, QString* viewBox)
{
    QList<std::pair<QString, int>> result;
    QXmlStreamReader reader(svg);
    QStringList inherited{QString()};
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            const QXmlStreamAttributes attributes = reader.attributes();
            const QString stroke = attributes.hasAttribute(QStringLiteral("stroke"))
                                       ? attributes.value(QStringLiteral("stroke")).toString()
                                       : inherited.last();
            inherited.append(stroke);
            if (reader.name() == QLatin1String("svg"))
                *viewBox = attributes.value(QStringLiteral("viewBox")).toString();
            if (reader.name() == QLatin1String("polyline") || reader.name() == QLatin1String("path")) {
                const QString points = attributes.value(QStringLiteral("points")).toString()
                                       + attributes.value(QStringLiteral("d")).toString();
                result.append({stroke, int(points.count(QLatin1Char(',')))});
            }
        } else if (reader.isEndElement()) {
            inherited.removeLast();
        }
    }
    if (reader.hasError())
        qFatal("the SVG is no XML: %s", qPrintable(reader.errorString()));
    return result;
}

int pages(const QByteArray& pdf)
{
    return int(QString::fromLatin1(pdf).count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))));
}

} // namespace

class TestGraphExport : public QObject
{
    Q_OBJECT

private slots:
    void formats();
    void svgHoldsTheCurves();
    void pdfIsOnePage();
    void longCurvesMakeSmallFiles();
};

void TestGraphExport::formats()
{
    const QStringList suffixes = GraphExport::suffixes();
    QCOMPARE(suffixes.mid(0, 3), (QStringList{"png", "svg", "pdf"}));
    for (const QByteArray& format : QImageWriter::supportedImageFormats())
        QVERIFY(suffixes.contains(QString::fromLatin1(format).toLower()));
    QVERIFY(GraphExport::filter().startsWith(QStringLiteral("Images (*.png *.svg *.pdf ")));
    QCOMPARE(GraphExport::withSuffix(QStringLiteral(" /tmp/graph ")), QStringLiteral("/tmp/graph.png"));
    QCOMPARE(GraphExport::withSuffix(QStringLiteral("/tmp/graph.SVG")), QStringLiteral("/tmp/graph.SVG"));

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QList<float> line{0.0f, 1.0f, 2.0f};
    Graph2d empty;
    // Nothing to draw: nothing written, in any format.
    for (const char* name : {"e.png", "e.svg", "e.pdf"}) {
        QVERIFY(!GraphExport::write(empty, dir.filePath(QString::fromLatin1(name))));
        QVERIFY(!QFile::exists(dir.filePath(QString::fromLatin1(name))));
    }
    Graph2d plot;
    plot.addGraph(&line, &line, QString(), 1.0f, 1.0f, QPen(kColours[0]));
    QVERIFY(!GraphExport::write(plot, dir.filePath(QStringLiteral("graph.xyz"))));
    QVERIFY(GraphExport::write(plot, dir.filePath(QStringLiteral("graph.png"))));
    // The image is the picture the plot paints at 800 x 450.
    const QImage written(dir.filePath(QStringLiteral("graph.png")));
    QCOMPARE(written.size(), QSize(GraphExport::Width, GraphExport::Height));
    QCOMPARE(written.convertToFormat(QImage::Format_RGB32),
             GraphExport::image(plot).convertToFormat(QImage::Format_RGB32));
}

void TestGraphExport::svgHoldsTheCurves()
{
    std::vector<QList<float>> curves(3);
    QList<float> x;
    for (int i = 0; i < 2000; ++i) {
        x << float(i) * 1e-3f;
        for (int c = 0; c < 3; ++c)
            curves[size_t(c)] << float(std::sin(i * 3e-3 + c) + c);
    }
    Graph2d plot;
    plot.setLegendOn(true);
    for (int c = 0; c < 3; ++c)
        plot.addGraph(&x, &curves[size_t(c)], QStringLiteral("curve %1").arg(c), 1.0f, 1.0f, QPen(kColours[c], 2));
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("graph.svg"));
    QVERIFY(GraphExport::write(plot, file));
    const QByteArray svg = FileBytes::read(file);
    QString viewBox;
    const QList<std::pair<QString, int>> found = strokes(svg, &viewBox);
    QCOMPARE(viewBox, QStringLiteral("0 0 800 450"));
    // Each curve is a path of many points in its colour (its legend sample
    // one of two points beside it).
    for (const QColor& colour : kColours) {
        int longest = 0;
        for (const auto& [stroke, points] : found) {
            if (stroke.compare(colour.name(), Qt::CaseInsensitive) == 0)
                longest = std::max(longest, points);
        }
        QVERIFY2(longest > 100, qPrintable(colour.name() + QLatin1Char(' ') + QString::number(longest)));
    }
    // The texts are texts.
    QVERIFY(svg.contains(">curve 1<"));
}

void TestGraphExport::pdfIsOnePage()
{
    const QList<float> x{0.0f, 1.0f, 2.0f, 3.0f};
    const QList<float> y{1.0f, 3.0f, 2.0f, 4.0f};
    Graph2d plot;
    plot.addGraph(&x, &y, QStringLiteral("T"), 1.0f, 1.0f, QPen(kColours[0]));
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("graph.pdf"));
    QVERIFY(GraphExport::write(plot, file));
    const QByteArray pdf = FileBytes::read(file);
    QVERIFY(pdf.startsWith("%PDF-1."));
    QVERIFY(pdf.trimmed().endsWith("%%EOF"));
    QCOMPARE(pages(pdf), 1);
    // A page the picture's size: 800 x 450 pixels at 96 per inch, 600 x
    // 337.5 points (the writer rounds to whole points).
    const QRegularExpression mediaBox(QStringLiteral("/MediaBox \\[0 0 600(\\.0*)? 33(7\\.5|8(\\.0*)?)\\]"));
    QVERIFY2(mediaBox.match(QString::fromLatin1(pdf)).hasMatch(), pdf.left(2000).constData());
}

void TestGraphExport::longCurvesMakeSmallFiles()
{
    // 10 curves of a million points: reduced as on screen, so the vector
    // files stay under 2 MB.
    constexpr int kPoints = 1000000;
    QList<float> x;
    x.reserve(kPoints);
    for (int i = 0; i < kPoints; ++i)
        x << float(i) * 1e-7f;
    std::vector<QList<float>> curves(10);
    Graph2d plot;
    for (int c = 0; c < 10; ++c) {
        QList<float>& y = curves[size_t(c)];
        y.reserve(kPoints);
        for (int i = 0; i < kPoints; ++i)
            y << float(1000.0 + 100.0 * c + 1400.0 / (1.0 + std::exp(-(i * 1e-7 - 0.02 - 0.007 * c) * 2000.0))
                       + 5.0 * std::sin(i * 0.37));
        plot.addGraph(&x, &y, QStringLiteral("curve %1").arg(c), 1.0f, 1.0f, QPen(QColor::fromHsv(c * 36, 255, 200)));
    }
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    for (const char* name : {"big.svg", "big.pdf"}) {
        const QString file = dir.filePath(QString::fromLatin1(name));
        QVERIFY(GraphExport::write(plot, file));
        const qint64 size = QFileInfo(file).size();
        QVERIFY2(size > 10000 && size < 2 * 1024 * 1024,
                 qPrintable(QStringLiteral("%1: %2 bytes").arg(name).arg(size)));
    }
}

QTEST_MAIN(TestGraphExport)
#include "tst_graphexport.moc"

#ifndef TARVEL_PLOTTEXT_H
#define TARVEL_PLOTTEXT_H

// The plot's fonts and how its texts are measured and drawn. The fonts are
// the application's family at sizes derived from the application font, so
// that the plot follows the user's font settings and the screen's scale; a
// label may carry a raised superscript (the power of "10").

#include <QFont>
#include <QFontMetricsF>
#include <QPointF>
#include <QString>

class QPaintDevice;
class QPainter;

class PlotText
{
public:
    // Metrics for the device the plot is drawn on (its resolution decides
    // how many pixels a point is).
    explicit PlotText(QPaintDevice* device);

    const QFont& labelFont() const { return m_label; }
    const QFont& titleFont() const { return m_title; }
    const QFont& legendFont() const { return m_legend; }
    const QFontMetricsF& label() const { return m_labelMetrics; }
    const QFontMetricsF& title() const { return m_titleMetrics; }
    const QFontMetricsF& legend() const { return m_legendMetrics; }

    // A label and its superscript in the label font.
    double width(const QString& text, const QString& superscript) const;
    // Drawn with the left end of the text's baseline at `baseline`.
    void draw(QPainter& painter, const QPointF& baseline, const QString& text, const QString& superscript) const;
    // How far a superscript's baseline sits above the label's.
    double rise() const { return m_labelMetrics.ascent() * 0.45; }

private:
    QFont m_label;
    QFont m_small;
    QFont m_title;
    QFont m_legend;
    QFontMetricsF m_labelMetrics;
    QFontMetricsF m_smallMetrics;
    QFontMetricsF m_titleMetrics;
    QFontMetricsF m_legendMetrics;
};

#endif

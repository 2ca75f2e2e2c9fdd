#include "plottext.h"

#include <QGuiApplication>
#include <QPainter>

#include <algorithm>

namespace {

// The application font scaled; a font given in pixels stays in pixels.
QFont derived(double factor)
{
    QFont font = QGuiApplication::font();
    if (font.pointSizeF() > 0.0)
        font.setPointSizeF(font.pointSizeF() * factor);
    else if (font.pixelSize() > 0)
        font.setPixelSize(std::max(1, int(font.pixelSize() * factor + 0.5)));
    return font;
}

} // namespace

PlotText::PlotText(QPaintDevice* device)
    : m_label(derived(0.9))
    , m_small(derived(0.7))
    , m_title(derived(1.0))
    , m_legend(derived(0.9))
    , m_labelMetrics(m_label, device)
    , m_smallMetrics(m_small, device)
    , m_titleMetrics(m_title, device)
    , m_legendMetrics(m_legend, device)
{
}

double PlotText::width(const QString& text, const QString& superscript) const
{
    double result = m_labelMetrics.horizontalAdvance(text);
    if (!superscript.isEmpty())
        result += m_smallMetrics.horizontalAdvance(superscript) + 1.0;
    return result;
}

void PlotText::draw(QPainter& painter, const QPointF& baseline, const QString& text, const QString& superscript) const
{
    painter.setFont(m_label);
    painter.drawText(baseline, text);
    if (superscript.isEmpty())
        return;
    painter.setFont(m_small);
    painter.drawText(QPointF(baseline.x() + m_labelMetrics.horizontalAdvance(text) + 1.0, baseline.y() - rise()),
                     superscript);
    painter.setFont(m_label);
}

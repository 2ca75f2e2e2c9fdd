#ifndef TARVEL_LINEDELEGATE_H
#define TARVEL_LINEDELEGATE_H

// Draws a pen style as a sample line: the entries of the line-type
// drop-down, whose values are the toolkit's pen-style numbers.

#include <QColor>
#include <QStyledItemDelegate>

class LineDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit LineDelegate(QObject* parent = nullptr);

    void setColor(const QColor& color) { m_color = color; }
    QColor color() const { return m_color; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    QColor m_color = Qt::black;
};

#endif

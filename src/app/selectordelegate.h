#ifndef TARVEL_SELECTORDELEGATE_H
#define TARVEL_SELECTORDELEGATE_H

// Draws the page selector's entries: a large icon above a centred caption,
// filled with the highlight when selected, greyed when disabled; and its
// separators as a thin grey line.

#include <QItemDelegate>

class SelectorDelegate : public QItemDelegate
{
    Q_OBJECT

public:
    static constexpr int MaximumIconSide = 48;
    static constexpr int MaximumIconHeight = 52; // icon and its 4-pixel margin

    explicit SelectorDelegate(QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    static bool isSeparator(const QModelIndex& index);
};

#endif

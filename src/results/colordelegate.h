#ifndef TARVEL_COLORDELEGATE_H
#define TARVEL_COLORDELEGATE_H

// Draws a colour cell as a pill-shaped swatch and edits it with a modal
// colour dialog, opened by a double click, F2, Return or Space.

#include <QStyledItemDelegate>

class ColorDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit ColorDelegate(QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;
    // None: the colour is chosen in editorEvent().
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

#endif

#ifndef TARVEL_LISTDELEGATE_H
#define TARVEL_LISTDELEGATE_H

// Paints list items as the start page's gradient bars and puts clickable
// bars (ListDelegateEditor) on them. Return and Enter only press a bar, so a
// key held down shows it pressed; they never click it.

#include <QItemDelegate>

class ListDelegate : public QItemDelegate
{
    Q_OBJECT

public:
    // How a bar looks.
    enum State { Normal = 0, Focused = 1, Pressed = 2, UnderMouse = 3 };

    explicit ListDelegate(QObject* parent = nullptr);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // One bar: a vertical gradient over the rectangle, the text left-aligned
    // and vertically centred 20 pixels in from either side.
    static void paintBar(QPainter* painter, const QRect& rect, const QString& text, const QFont& font, int state);

    // Installed on the bars the start page puts on its items.
    bool eventFilter(QObject* object, QEvent* event) override;

signals:
    void activated();
};

#endif

#ifndef TARVEL_COMBODELEGATE_H
#define TARVEL_COMBODELEGATE_H

// Shows an integer cell as the text of the item with that value, or a grey
// placeholder when none has it, and edits it with a drop-down list of the
// items; choosing an item commits it at once. A cell that names what it wants
// but has no item for it (a field the data lacks) shows that name from its
// UnmatchedTextRole, in the cell's foreground colour when it has one.

#include <QList>
#include <QPair>
#include <QString>
#include <QStyledItemDelegate>

class ComboDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using Item = QPair<QString, int>; // text, value
    static constexpr int UnmatchedTextRole = Qt::UserRole + 1;

    explicit ComboDelegate(QObject* parent = nullptr);

    void setItems(const QList<Item>& items, const QString& placeholder);
    const QList<Item>& items() const { return m_items; }
    QString placeholder() const { return m_placeholder; }
    // Draws the drop-down's entries; not owned.
    void setPopupDelegate(QAbstractItemDelegate* delegate) { m_popupDelegate = delegate; }
    QAbstractItemDelegate* popupDelegate() const { return m_popupDelegate; }

    // The text a cell of this value shows.
    QString textFor(int value, bool* matched = nullptr) const;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

private:
    QList<Item> m_items;
    QString m_placeholder;
    QAbstractItemDelegate* m_popupDelegate = nullptr;
};

#endif

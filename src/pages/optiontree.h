#ifndef TARVEL_OPTIONTREE_H
#define TARVEL_OPTIONTREE_H

// The tree widget that hosts option editors as cell widgets. It keeps the
// widgets it was given and deletes them at once when their rows go, so that
// no editor outlives the value string it is bound to; and it keeps a minimal
// width per column for when the widths follow the contents.

#include <QList>
#include <QPointer>
#include <QTreeWidget>

class OptionTree : public QTreeWidget
{
    Q_OBJECT

public:
    explicit OptionTree(QWidget* parent = nullptr);
    ~OptionTree() override;

    // Hide the base class's versions, which are not virtual.
    void setItemWidget(QTreeWidgetItem* item, int column, QWidget* widget);
    void removeItemWidget(QTreeWidgetItem* item, int column);
    void setColumnCount(int columns);

    bool moveItem(QTreeWidgetItem* item, QTreeWidgetItem* newParent);
    void removeItem(QTreeWidgetItem* item);
    void setColumnMinimalWidth(int column, int width);
    int columnMinimalWidth(int column) const;
    int ownedWidgetCount() const;

public slots:
    void clear();
    void updateSizes();

signals:
    void accepted();
    void rejected();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void removeItemWidgets(QTreeWidgetItem* item);
    void deleteOwnedWidgets();

    QList<QPointer<QWidget>> m_widgets;
    QList<int> m_minimalWidths;
};

#endif

#ifndef TARVEL_OPTBUTTON_H
#define TARVEL_OPTBUTTON_H

// A full-width, checkable button that stands for a group row of a tree and
// expands (checked) or collapses (unchecked) that row. Painted by hand: a
// gradient by hover and focus, the group's text and a white arrow.

#include <QPixmap>
#include <QPushButton>

class QTreeWidgetItem;

class OptButton : public QPushButton
{
    Q_OBJECT

public:
    explicit OptButton(QWidget* parent = nullptr);

    void setItem(QTreeWidgetItem* item) { m_item = item; }
    QTreeWidgetItem* item() const { return m_item; }
    void setText(const QString& text);
    QString text() const { return m_text; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void applyToItem(bool expanded);
    void paintArrow(QPainter& painter, int shift) const;

    QTreeWidgetItem* m_item = nullptr;
    QPixmap m_pixmap;
    QString m_text;
};

#endif

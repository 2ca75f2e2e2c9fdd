#ifndef TARVEL_LISTDELEGATEEDITOR_H
#define TARVEL_LISTDELEGATEEDITOR_H

// A clickable gradient bar of the start page: shows a text and hands out its
// data value with each click.

#include <QAbstractButton>
#include <QVariant>

class ListDelegateEditor : public QAbstractButton
{
    Q_OBJECT

public:
    explicit ListDelegateEditor(QWidget* parent = nullptr);

    QVariant data;

    // The look it paints now (ListDelegate::State).
    int state() const;

signals:
    void clicked(QVariant& data);

public slots:
    void hasClick();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
};

#endif

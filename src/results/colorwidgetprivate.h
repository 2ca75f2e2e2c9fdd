#ifndef TARVEL_COLORWIDGETPRIVATE_H
#define TARVEL_COLORWIDGETPRIVATE_H

// The swatch of a colour widget: paints its owner's colour as a rounded
// rectangle and nothing else.

#include <QColor>
#include <QWidget>

class ColorWidgetPrivate : public QWidget
{
    Q_OBJECT

public:
    ColorWidgetPrivate(const QColor* color, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const QColor* m_color; // the owner's; lives as long as the owner
};

#endif

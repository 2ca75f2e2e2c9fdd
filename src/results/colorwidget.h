#ifndef TARVEL_COLORWIDGET_H
#define TARVEL_COLORWIDGET_H

// A small colour chooser: a swatch of the colour and a palette button that
// opens a colour dialog.

#include <QColor>
#include <QWidget>

class ColorWidgetPrivate;
class QColorDialog;
class QPushButton;

class ColorWidget : public QWidget
{
    Q_OBJECT

public:
    explicit ColorWidget(QWidget* parent = nullptr);

    QColor color() const { return m_color; }
    void setColor(const QColor& color);

    ColorWidgetPrivate* swatch() const { return m_swatch; }
    QPushButton* button() const { return m_button; }
    QColorDialog* dialog() const { return m_dialog; }

public slots:
    void onColorChange(const QColor& newColor);

private:
    QColor m_color = Qt::white;
    ColorWidgetPrivate* m_swatch = nullptr;
    QPushButton* m_button = nullptr;
    QColorDialog* m_dialog = nullptr;
};

#endif

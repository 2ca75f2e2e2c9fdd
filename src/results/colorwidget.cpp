#include "colorwidget.h"

#include "colorwidgetprivate.h"

#include <QColorDialog>
#include <QGridLayout>
#include <QIcon>
#include <QPushButton>

ColorWidget::ColorWidget(QWidget* parent)
    : QWidget(parent)
{
    m_swatch = new ColorWidgetPrivate(&m_color, this);
    m_button = new QPushButton(QIcon(QStringLiteral(":/images/palette.png")), QString(), this);
    m_button->setMaximumWidth(40);
    m_dialog = new QColorDialog(this);
    m_dialog->setModal(false);
    QColorDialog::setCustomColor(0, QColor(255, 0, 0, 255));
    auto* layout = new QGridLayout(this);
    layout->addWidget(m_swatch, 0, 0);
    layout->addWidget(m_button, 0, 1);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 0);
    connect(m_button, &QPushButton::clicked, m_dialog, &QColorDialog::show);
    connect(m_dialog, &QColorDialog::colorSelected, this, &ColorWidget::onColorChange);
}

void ColorWidget::onColorChange(const QColor& newColor)
{
    m_color = newColor;
    m_swatch->update();
}

void ColorWidget::setColor(const QColor& color)
{
    if (color == m_color)
        return;
    m_color = color;
    m_dialog->setCurrentColor(color);
    m_swatch->update();
}

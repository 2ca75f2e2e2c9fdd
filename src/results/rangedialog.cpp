#include "rangedialog.h"

#include "translation.h"

#include <QDoubleValidator>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

RangeDialog::RangeDialog(double xMin, double xMax, double yMin, double yMax, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Set Range"));
    setModal(true);
    m_validator = new QDoubleValidator(this);
    // Numbers as the labels write them, with a point, whatever the locale.
    m_validator->setLocale(QLocale::c());
    m_grid = new QGridLayout;
    addRow(0, "Min X:", xMin, "Max X:", xMax);
    addRow(1, "Min Y:", yMin, "Max Y:", yMax);
    m_apply = new QPushButton(translate("APPLY"), this);
    m_apply->setDefault(true);
    connect(m_apply, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_apply);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(m_grid);
    layout->addLayout(buttons);
}

void RangeDialog::addRow(int row, const char* minLabel, double min, const char* maxLabel, double max)
{
    const char* labels[2] = {minLabel, maxLabel};
    const double values[2] = {min, max};
    for (int i = 0; i < 2; ++i) {
        QLineEdit* field = new QLineEdit(QString::number(values[i], 'g', 6), this);
        field->setValidator(m_validator);
        m_fields[2 * row + i] = field;
        m_grid->addWidget(new QLabel(QString::fromLatin1(labels[i]), this), row, 2 * i);
        m_grid->addWidget(field, row, 2 * i + 1);
    }
}

void RangeDialog::addRightAxis(double min, double max)
{
    if (!m_fields[4])
        addRow(2, "Min right Y:", min, "Max right Y:", max);
}

double RangeDialog::number(int index) const
{
    return m_fields[index] ? QLocale::c().toDouble(m_fields[index]->text().trimmed()) : 0.0;
}

// A minimum typed above its maximum means the same range, not a mirrored plot.
double RangeDialog::xMin() const
{
    return std::min(number(0), number(1));
}

double RangeDialog::xMax() const
{
    return std::max(number(0), number(1));
}

double RangeDialog::yMin() const
{
    return std::min(number(2), number(3));
}

double RangeDialog::yMax() const
{
    return std::max(number(2), number(3));
}

double RangeDialog::rightMin() const
{
    return std::min(number(4), number(5));
}

double RangeDialog::rightMax() const
{
    return std::max(number(4), number(5));
}

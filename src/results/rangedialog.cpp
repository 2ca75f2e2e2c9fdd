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
    auto* validator = new QDoubleValidator(this);
    // Numbers as the labels write them, with a point, whatever the locale.
    validator->setLocale(QLocale::c());
    auto* grid = new QGridLayout;
    const char* labels[4] = {"Min X:", "Max X:", "Min Y:", "Max Y:"};
    const double values[4] = {xMin, xMax, yMin, yMax};
    for (int i = 0; i < 4; ++i) {
        m_fields[i] = new QLineEdit(QString::number(values[i], 'g', 6), this);
        m_fields[i]->setValidator(validator);
        grid->addWidget(new QLabel(QString::fromLatin1(labels[i]), this), i / 2, (i % 2) * 2);
        grid->addWidget(m_fields[i], i / 2, (i % 2) * 2 + 1);
    }
    m_apply = new QPushButton(translate("APPLY"), this);
    m_apply->setDefault(true);
    connect(m_apply, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_apply);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
}

double RangeDialog::number(int index) const
{
    return QLocale::c().toDouble(m_fields[index]->text().trimmed());
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

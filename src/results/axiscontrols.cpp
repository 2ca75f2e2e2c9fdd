#include "axiscontrols.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

AxisControls::AxisControls(QWidget* parent)
    : QWidget(parent)
{
    const char* names[AxisCount] = {"X axis:", "Y axis:", "Right Y axis:"};
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 0);
    for (int axis = 0; axis < AxisCount; ++axis) {
        m_titles[axis] = new QLineEdit(this);
        m_titles[axis]->setToolTip(tr("The axis title; empty for the field name of its first curve"));
        m_titles[axis]->setClearButtonEnabled(true);
        m_logs[axis] = new QCheckBox(QStringLiteral("log"), this);
        m_logs[axis]->setToolTip(tr("Logarithmic axis"));
        if (axis > 0)
            layout->addSpacing(12);
        layout->addWidget(new QLabel(QString::fromLatin1(names[axis]), this));
        layout->addWidget(m_titles[axis], 1);
        layout->addWidget(m_logs[axis]);
        connect(m_titles[axis], &QLineEdit::textEdited, this,
                [this, axis](const QString& text) { emit titleChanged(axis, text.trimmed()); });
        connect(m_logs[axis], &QCheckBox::toggled, this, [this, axis](bool on) { emit logarithmicChanged(axis, on); });
    }
}

void AxisControls::setTitle(int axis, const QString& title)
{
    if (m_titles[axis]->text() != title)
        m_titles[axis]->setText(title);
}

void AxisControls::setDefaultTitle(int axis, const QString& title)
{
    m_titles[axis]->setPlaceholderText(title);
}

void AxisControls::setLogarithmic(int axis, bool on)
{
    const QSignalBlocker quiet(m_logs[axis]);
    m_logs[axis]->setChecked(on);
}

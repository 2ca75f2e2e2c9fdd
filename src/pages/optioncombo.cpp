#include "optioncombo.h"

#include "diagnostic.h"
#include "translation.h"
#include "ooption.h"
#include "wheelpass.h"

#include <QWheelEvent>

OptionCombo::OptionCombo(OOption* option, QString* value, QWidget* parent)
    : QComboBox(parent)
    , m_option(option)
    , m_value(value)
{
    if (!m_option)
        tFatal() << "OptionCombo Constucor. 'opt' is a NULL Pointer";
    if (!m_value)
        tFatal() << "OptionCombo Constucor. 'rec' is a NULL Pointer";

    int current = -1;
    for (const OValue& choice : m_option->values) {
        addItem(choice.text, choice.value);
        setItemData(count() - 1, choice.detail, Qt::ToolTipRole);
        if (current < 0 && choice.value == *m_value)
            current = count() - 1;
    }
    if (current < 0 && !m_option->values.isEmpty()) {
        // Shown as "off" it would look switched off while the input file
        // has it on with this value.
        addItem(translate("UNKNOW_VAL"), *m_value);
        setItemData(count() - 1, *m_value, Qt::ToolTipRole);
        current = count() - 1;
    }
    setCurrentIndex(current);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QComboBox::currentIndexChanged, this, &OptionCombo::onChange);
}

void OptionCombo::onChange()
{
    const int index = currentIndex();
    const QString chosen = index >= 0 ? itemData(index).toString() : m_option->defaultValue;
    if (chosen == *m_value)
        return;
    *m_value = chosen;
    emit valueEdited();
}

void OptionCombo::wheelEvent(QWheelEvent* event)
{
    // Scrolling the tree over a drop-down must not turn it.
    if (!hasFocus()) {
        (void)WheelPass::toScrollArea(this, event);
        return;
    }
    QComboBox::wheelEvent(event);
}

#include "optioncombo.h"

#include "diagnostic.h"
#include "ooption.h"

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
    // A value no item offers shows the last item, which every catalogue
    // option has: the "off" value.
    setCurrentIndex(current >= 0 ? current : count() - 1);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QComboBox::currentIndexChanged, this, &OptionCombo::onChange);
}

void OptionCombo::onChange()
{
    const int index = currentIndex();
    const QString chosen = index >= 0 ? itemData(index).toString() : m_option->defaultValue;
    if (chosen != *m_value)
        *m_value = chosen;
}

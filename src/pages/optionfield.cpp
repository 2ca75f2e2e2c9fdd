#include "optionfield.h"

#include "diagnostic.h"
#include "ooption.h"

OptionField::OptionField(OOption* option, QString* value, QWidget* parent)
    : QLineEdit(parent)
    , m_option(option)
    , m_value(value)
{
    if (!m_option)
        tFatal() << "OptionField Constucor. 'opt' is a NULL Pointer";
    if (!m_value)
        tFatal() << "OptionField Constucor. 'rec' is a NULL Pointer";
    init();
    connect(this, &QLineEdit::editingFinished, this, &OptionField::onChange);
}

OptionField::OptionField(OOption* option, QWidget* parent)
    : QLineEdit(parent)
    , m_option(option)
{
    if (!m_option)
        tFatal() << "OptionField Constucor. 'opt' is a NULL Pointer";
    m_value = &m_option->value;
    init();
}

void OptionField::init()
{
    setText(*m_value);
    setFocusPolicy(Qt::StrongFocus);
}

void OptionField::focusInEvent(QFocusEvent* event)
{
    setInputMask(m_option->inputMask);
    QLineEdit::focusInEvent(event);
}

void OptionField::focusOutEvent(QFocusEvent* event)
{
    // The base class finishes the edit (editingFinished() stores an accepted
    // text) before the mask goes; whatever was not accepted is then replaced
    // by the stored value.
    QLineEdit::focusOutEvent(event);
    setInputMask(QString());
    setText(*m_value);
}

void OptionField::onChange()
{
    const QString trimmed = text().trimmed();
    if (trimmed != *m_value)
        *m_value = trimmed;
}

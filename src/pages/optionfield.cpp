#include "optionfield.h"

#include "diagnostic.h"
#include "translation.h"
#include "ooption.h"
#include "wheelpass.h"
#include "numbervalidator.h"

#include <QWheelEvent>

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
    setReadOnly(true);
}

// Losing the focus inside ~QWidget emits editingFinished once more, when
// this object's own part and possibly the node it edits are gone.
OptionField::~OptionField()
{
    disconnect(this, &QLineEdit::editingFinished, this, &OptionField::onChange);
}

void OptionField::init()
{
    // The input file cuts a condition's value to its column and an option's
    // to two characters: a longer number would be written cut.
    const int length =
        m_option->kind == OOption::Option ? NumberValidator::OptionLength : NumberValidator::ConditionLength;
    m_validator = new NumberValidator(length, this);
    // No mask, ever: a mask rewrites what it cannot show ("500" became
    // "500.E"). The stored value is shown as it is, even when it is longer
    // or not a number; only typing is checked.
    setValidator(m_validator);
    const QString off = translate("OFF");
    setPlaceholderText(off);
    setText(*m_value == off ? QString() : *m_value);
    setModified(false);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QLineEdit::textChanged, this, &OptionField::showValidity);
    showValidity();
}

void OptionField::showValidity()
{
    // Only what the user typed can be not taken; a stored value on show is
    // what the input file holds.
    const bool invalid = isModified() && !hasAcceptableInput();
    if (invalid == m_invalid)
        return;
    m_invalid = invalid;
    if (invalid) {
        m_toolTip = toolTip();
        setStyleSheet(QStringLiteral("OptionField { border: 2px solid #d00000; }"));
        setToolTip(m_validator->expectation());
    } else {
        setStyleSheet(QString());
        setToolTip(m_toolTip);
    }
}

void OptionField::onChange()
{
    if (isReadOnly() || !isModified() || !hasAcceptableInput())
        return;
    const QString typed = text().trimmed();
    const QString chosen = typed.isEmpty() ? translate("OFF") : typed;
    setModified(false);
    showValidity();
    if (chosen == *m_value)
        return;
    *m_value = chosen;
    emit valueEdited();
}

void OptionField::wheelEvent(QWheelEvent* event)
{
    // The wheel over a field the user is not in scrolls the tree around it.
    if (!hasFocus()) {
        (void)WheelPass::toScrollArea(this, event);
        return;
    }
    QLineEdit::wheelEvent(event);
}

#ifndef TARVEL_OPTIONFIELD_H
#define TARVEL_OPTIONFIELD_H

// The editor of a "field" option: a line edit bound to one option and to one
// value string, which it reads and writes in place. The option's input mask
// applies only while the editor has the focus, so that a stored value the
// mask cannot show is displayed as it is.

#include <QLineEdit>

struct OOption;

class OptionField : public QLineEdit
{
    Q_OBJECT

public:
    OptionField(OOption* option, QString* value, QWidget* parent = nullptr);
    // Bound to the option's own current value; the owner decides when to
    // store (no editingFinished() connection).
    explicit OptionField(OOption* option, QWidget* parent = nullptr);

    OOption* option() const { return m_option; }
    QString* value() const { return m_value; }

public slots:
    void onChange();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void init();

    OOption* m_option = nullptr;
    QString* m_value = nullptr;
};

#endif

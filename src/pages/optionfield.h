#ifndef TARVEL_OPTIONFIELD_H
#define TARVEL_OPTIONFIELD_H

// The editor of a "field" option: a line edit bound to one option and to one
// value string, which it reads and writes in place. It takes numbers as a
// scientist types them (NumberValidator), no longer than the input file's
// column; an empty field is the "off" value. Only typed text that parses is
// stored: other text stays on show, framed red with a tool tip saying what
// is expected, and the stored value stays as it was. Focus alone, without
// typing, never changes the value.

#include <QLineEdit>

class NumberValidator;
struct OOption;

class OptionField : public QLineEdit
{
    Q_OBJECT

public:
    OptionField(OOption* option, QString* value, QWidget* parent = nullptr);
    // Bound to the option's own current value and read-only: the catalogue
    // shown for reference.
    explicit OptionField(OOption* option, QWidget* parent = nullptr);
    ~OptionField() override;

    OOption* option() const { return m_option; }
    QString* value() const { return m_value; }
    // Whether the text on show is not taken (framed red).
    bool isShownInvalid() const { return m_invalid; }
    const NumberValidator* numberValidator() const { return m_validator; }

public slots:
    // Stores text the user typed, when it parses.
    void onChange();

signals:
    // The bound value has been changed by the user.
    void valueEdited();

protected:
    void wheelEvent(QWheelEvent* event) override;

private:
    void init();
    void showValidity();

    OOption* m_option = nullptr;
    QString* m_value = nullptr;
    NumberValidator* m_validator = nullptr;
    QString m_toolTip;
    bool m_invalid = false;
};

#endif

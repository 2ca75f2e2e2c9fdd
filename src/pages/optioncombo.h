#ifndef TARVEL_OPTIONCOMBO_H
#define TARVEL_OPTIONCOMBO_H

// The editor of a "menu" option: a drop-down of the option's values, bound
// to the option and to one value string that it writes in place. A stored
// value that none of the option's values matches is offered as an "unknown
// value" item carrying it, so that what is shown is what is written. The
// wheel turns it only while it has the focus.

#include <QComboBox>

struct OOption;

class OptionCombo : public QComboBox
{
    Q_OBJECT

public:
    OptionCombo(OOption* option, QString* value, QWidget* parent = nullptr);

    OOption* option() const { return m_option; }
    QString* value() const { return m_value; }

public slots:
    void onChange();

signals:
    // The bound value has been changed by the user.
    void valueEdited();

protected:
    void wheelEvent(QWheelEvent* event) override;

private:
    OOption* m_option = nullptr;
    QString* m_value = nullptr;
};

#endif

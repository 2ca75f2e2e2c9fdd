#ifndef TARVEL_STEPVALIDATOR_H
#define TARVEL_STEPVALIDATOR_H

// The validator of the time-step field: integers from 0 to the last step.
// Unlike QIntValidator it lets a number beyond the range be typed and pulls
// it into the range when editing finishes, so that typing 500 with 120 steps
// selects the last step instead of silently refusing the keystroke (or, for
// a number of as many digits as the top, leaving the field unacceptable so
// that Return does nothing).

#include <QValidator>

class StepValidator : public QValidator
{
    Q_OBJECT

public:
    explicit StepValidator(int bottom, int top, QObject* parent = nullptr);

    void setRange(int bottom, int top);
    void setTop(int top) { setRange(m_bottom, top); }
    int bottom() const { return m_bottom; }
    int top() const { return m_top; }

    State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;

    // The number of the text clamped into the range; the bottom for a text
    // that is not a number.
    int clamped(const QString& text) const;

private:
    int m_bottom = 0;
    int m_top = 0;
};

#endif

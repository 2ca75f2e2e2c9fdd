#ifndef TARVEL_NUMBERVALIDATOR_H
#define TARVEL_NUMBERVALIDATOR_H

// What a number field takes: a number as a scientist writes it, with an
// optional sign, decimal point and exponent (E or the Fortran D), no longer
// than the input file's column holds. Text on the way to such a number is
// "intermediate": shown, not stored. An empty field is acceptable and means
// "off".

#include <QRegularExpression>
#include <QValidator>

class NumberValidator : public QValidator
{
    Q_OBJECT

public:
    static constexpr int ConditionLength = 10; // the input file's value column
    static constexpr int OptionLength = 2; // an option's value in the OPTIONS block

    NumberValidator(int maxLength, QObject* parent = nullptr);

    int maxLength() const { return m_maxLength; }
    State validate(QString& input, int& position) const override;
    // What the field expects, in words: the tool tip of a field whose text
    // is not taken.
    QString expectation() const;

private:
    int m_maxLength;
    QRegularExpression m_number;
};

#endif

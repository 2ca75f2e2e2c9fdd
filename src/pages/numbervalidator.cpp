#include "numbervalidator.h"

NumberValidator::NumberValidator(int maxLength, QObject* parent)
    : QValidator(parent)
    , m_maxLength(maxLength)
    , m_number(QRegularExpression::anchoredPattern(QStringLiteral(R"([+-]?(\d+\.?\d*|\.\d+)([EeDd][+-]?\d{1,3})?)")))
{
}

QValidator::State NumberValidator::validate(QString& input, int&) const
{
    if (input.size() > m_maxLength)
        return Invalid;
    if (input.isEmpty())
        return Acceptable;
    const QRegularExpressionMatch match = m_number.match(input, 0, QRegularExpression::PartialPreferCompleteMatch);
    if (match.hasMatch())
        return Acceptable;
    return match.hasPartialMatch() ? Intermediate : Invalid;
}

QString NumberValidator::expectation() const
{
    return tr("Not taken: expected a number of at most %1 characters, digits with an optional sign, "
              "decimal point and exponent (such as 8, 1100, 2.5E-4 or 1.0D-03), or nothing for off.")
        .arg(m_maxLength);
}

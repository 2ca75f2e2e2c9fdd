#include "stepvalidator.h"

#include <algorithm>

namespace {

// Ten digits hold every step count an int can; more cannot be a step.
constexpr int kMaxDigits = 10;

} // namespace

StepValidator::StepValidator(int bottom, int top, QObject* parent)
    : QValidator(parent)
{
    setRange(bottom, top);
}

void StepValidator::setRange(int bottom, int top)
{
    if (top < bottom)
        top = bottom;
    if (bottom == m_bottom && top == m_top)
        return;
    m_bottom = bottom;
    m_top = top;
    emit changed();
}

QValidator::State StepValidator::validate(QString& input, int&) const
{
    const QString text = input.trimmed();
    if (text.isEmpty() || text == QLatin1String("-"))
        return Intermediate;
    const int digitsFrom = text.startsWith(QLatin1Char('-')) ? 1 : 0;
    if (text.size() - digitsFrom > kMaxDigits)
        return Invalid;
    for (int i = digitsFrom; i < text.size(); ++i) {
        if (!text.at(i).isDigit() || text.at(i).unicode() > '9')
            return Invalid;
    }
    bool ok = false;
    const qlonglong value = text.toLongLong(&ok);
    if (!ok)
        return Invalid;
    return value >= m_bottom && value <= m_top ? Acceptable : Intermediate;
}

void StepValidator::fixup(QString& input) const
{
    input = QString::number(clamped(input));
}

int StepValidator::clamped(const QString& text) const
{
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok);
    if (!ok)
        return m_bottom;
    return int(std::clamp<qlonglong>(value, m_bottom, m_top));
}

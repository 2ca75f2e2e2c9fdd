#include "nasapolynomial.h"

#include <cmath>

namespace tarvelsim {

NasaPolynomial::NasaPolynomial(double lowTemperature, double commonTemperature, double highTemperature,
                               const Coefficients &lowRange, const Coefficients &highRange)
    : m_low(lowTemperature), m_common(commonTemperature), m_high(highTemperature), m_lowRange(lowRange),
      m_highRange(highRange)
{
}

void NasaPolynomial::evaluate(double t, double &cp, double &h, double &s) const
{
    const Coefficients &a = rangeFor(t);
    cp = a[0] + t * (a[1] + t * (a[2] + t * (a[3] + t * a[4])));
    h = a[0] + t * (a[1] / 2 + t * (a[2] / 3 + t * (a[3] / 4 + t * a[4] / 5))) + a[5] / t;
    s = a[0] * std::log(t) + t * (a[1] + t * (a[2] / 2 + t * (a[3] / 3 + t * a[4] / 4))) + a[6];
}

double NasaPolynomial::cpOverR(double t) const
{
    const Coefficients &a = rangeFor(t);
    return a[0] + t * (a[1] + t * (a[2] + t * (a[3] + t * a[4])));
}

double NasaPolynomial::enthalpyOverRT(double t) const
{
    const Coefficients &a = rangeFor(t);
    return a[0] + t * (a[1] / 2 + t * (a[2] / 3 + t * (a[3] / 4 + t * a[4] / 5))) + a[5] / t;
}

double NasaPolynomial::entropyOverR(double t) const
{
    const Coefficients &a = rangeFor(t);
    return a[0] * std::log(t) + t * (a[1] + t * (a[2] / 2 + t * (a[3] / 3 + t * a[4] / 4))) + a[6];
}

bool NasaPolynomial::operator==(const NasaPolynomial &other) const
{
    return m_low == other.m_low && m_common == other.m_common && m_high == other.m_high
        && m_lowRange == other.m_lowRange && m_highRange == other.m_highRange;
}

} // namespace tarvelsim

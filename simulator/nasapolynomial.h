#pragma once

#include <array>

namespace tarvelsim {

// The NASA 7-coefficient fit of one species: two temperature ranges joined at
// the common temperature. Outside [low, high] the nearer range is extrapolated,
// as the classic codes do, so that a solver's trial state never fails here.
class NasaPolynomial
{
public:
    using Coefficients = std::array<double, 7>;

    NasaPolynomial() = default;
    NasaPolynomial(double lowTemperature, double commonTemperature, double highTemperature,
                   const Coefficients &lowRange, const Coefficients &highRange);

    double lowTemperature() const { return m_low; }
    double commonTemperature() const { return m_common; }
    double highTemperature() const { return m_high; }
    const Coefficients &lowRange() const { return m_lowRange; }
    const Coefficients &highRange() const { return m_highRange; }

    // Dimensionless cp/R, h/(R T) and s/R at T.
    void evaluate(double temperature, double &cpOverR, double &enthalpyOverRT, double &entropyOverR) const;
    double cpOverR(double temperature) const;
    double enthalpyOverRT(double temperature) const;
    double entropyOverR(double temperature) const;

    bool operator==(const NasaPolynomial &other) const;

private:
    const Coefficients &rangeFor(double temperature) const
    {
        return temperature < m_common ? m_lowRange : m_highRange;
    }

    double m_low = 300.0;
    double m_common = 1000.0;
    double m_high = 5000.0;
    Coefficients m_lowRange{};
    Coefficients m_highRange{};
};

} // namespace tarvelsim

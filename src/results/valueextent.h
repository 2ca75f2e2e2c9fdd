#ifndef TARVEL_VALUEEXTENT_H
#define TARVEL_VALUEEXTENT_H

// The extent of one value vector, kept up to date as the vector grows: the
// smallest and largest finite values and, for logarithmic axes, the positive
// and negative values closest to zero. A run that appends a time step costs
// one more value here, not a new scan of its history.

#include <QList>

#include <utility>

class ValueExtent
{
public:
    // Reads what was appended since the last call; a vector that shrank or
    // whose values read so far changed (another run in the same memory) is
    // read again from its start.
    void update(const QList<float>& values);

    bool hasFinite() const { return m_min <= m_max; }
    double min() const { return m_min; }
    double max() const { return m_max; }
    qsizetype counted() const { return m_counted; }

    // The range of factor x value over the finite values, ends in order;
    // false when there is none. With `positive`, over the products above 0
    // only, which is what a logarithmic axis can show.
    bool scaled(double factor, bool positive, std::pair<double, double>* range) const;

private:
    void reset();
    void take(const float* begin, const float* end);

    double m_min = 1.0;
    double m_max = -1.0;
    double m_minPositive = 0.0; // 0: none
    double m_maxPositive = 0.0;
    double m_minNegative = 0.0; // the negative farthest from 0
    double m_maxNegative = 0.0; // the negative closest to 0
    qsizetype m_counted = 0;
    float m_firstValue = 0.0f;
    float m_lastValue = 0.0f;
};

#endif

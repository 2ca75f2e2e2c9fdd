#pragma once

#include <string>
#include <vector>

namespace tarvelsim {

class Reactor;

// The reactor's equations on CVODE: BDF with Newton iterations and a dense
// direct solver, with the reactor's analytic Jacobian or CVODE's own
// difference quotients.
class Integrator
{
public:
    enum class JacobianKind { Analytic, DifferenceQuotient };

    struct Statistics
    {
        long steps = 0;
        long rhsEvaluations = 0;      // including those of difference quotients
        long jacobianEvaluations = 0;
        long errorTestFailures = 0;
        long convergenceFailures = 0;
    };

    Integrator(Reactor &reactor, JacobianKind jacobian);
    ~Integrator();
    Integrator(const Integrator &) = delete;
    Integrator &operator=(const Integrator &) = delete;

    // firstStep 0 lets CVODE choose. The integration never steps past stopTime.
    [[nodiscard]] bool start(const std::vector<double> &initial, double relativeTolerance, double absoluteTolerance,
                             double firstStep, double stopTime);
    // One internal step; time is where it ended. False on a solver failure.
    [[nodiscard]] bool step(double &time);
    // The solution (derivative 0) or its time derivative (1) at a time inside
    // the last step, from CVODE's interpolating polynomial.
    [[nodiscard]] bool interpolate(double time, int derivative, std::vector<double> &values);
    const double *state() const;
    double lastStep() const;
    Statistics statistics() const;
    // Why the last call failed, in CVODE's words.
    const std::string &failure() const { return m_failure; }

private:
    void release();

    Reactor &m_reactor;
    JacobianKind m_jacobian;
    void *m_context = nullptr;
    void *m_memory = nullptr;
    void *m_state = nullptr;
    void *m_scratch = nullptr;
    void *m_matrix = nullptr;
    void *m_solver = nullptr;
    std::string m_failure;
    double m_stopTime = 0.0;

    friend struct IntegratorCallbacks;
};

} // namespace tarvelsim

#pragma once

#include <memory>
#include <string>
#include <vector>

namespace tarvelsim {

class NewtonLinearSolver;
class Reactor;

// The reactor's equations on CVODE: BDF with Newton iterations. The Newton
// systems are solved with the reactor's analytic Jacobian, either dense by LU
// (with CVODE's own difference quotients as the alternative) or as a sparse
// matrix by KLU plus the Jacobian's rank-two part (see NewtonLinearSolver).
class Integrator
{
public:
    enum class JacobianKind { Analytic, DifferenceQuotient };
    enum class LinearAlgebra { Automatic, Dense, Sparse };

    // From this many species on, Automatic chooses the sparse solver.
    // bench_simulator measures the linear algebra per step at RTOL 1e-6,
    // ATOL 1e-12: on h2 (10 species) both take under a microsecond, within
    // the scatter of repeated runs; on GRI-Mech 3.0 (53) KLU takes 5 to 10 us
    // against 30 to 45 us for dense LU. With the dense cost growing as n^3
    // and the sparse one about as n, the two meet at 21 to 24 species.
    static constexpr size_t sparseFromSpecies = 24;

    struct Statistics
    {
        long steps = 0;
        long rhsEvaluations = 0;      // including those of difference quotients
        long jacobianEvaluations = 0;
        long factorisations = 0;
        long linearSolves = 0;
        long errorTestFailures = 0;
        long convergenceFailures = 0;
        bool sparse = false;
        // Time spent in each part, s.
        double rhsSeconds = 0.0;
        double jacobianSeconds = 0.0;
        double factorisationSeconds = 0.0;
        double solveSeconds = 0.0;
    };

    Integrator(Reactor& reactor, JacobianKind jacobian, LinearAlgebra algebra = LinearAlgebra::Automatic);
    ~Integrator();
    Integrator(const Integrator &) = delete;
    Integrator &operator=(const Integrator &) = delete;

    // Whether the sparse solver is in use for this reactor.
    bool sparse() const { return m_sparse; }

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
    bool m_sparse = false;
    void *m_context = nullptr;
    void *m_memory = nullptr;
    void *m_state = nullptr;
    void *m_scratch = nullptr;
    void *m_matrix = nullptr;
    std::unique_ptr<NewtonLinearSolver> m_solver;
    std::string m_failure;
    double m_stopTime = 0.0;
    double m_rhsSeconds = 0.0;
    double m_jacobianSeconds = 0.0;

    friend struct IntegratorCallbacks;
};

} // namespace tarvelsim

#include "newtonlinearsolver.h"

#include "stopwatch.h"

#include <cvode/cvode.h>
#include <nvector/nvector_serial.h>

#include <cmath>
#include <utility>

namespace tarvelsim {

namespace {

// Inverts a small row-major matrix in place by Gauss-Jordan elimination with
// partial pivoting. False when it is singular.
bool invert(std::vector<double>& a, size_t n)
{
    std::vector<double> inverse(n * n, 0.0);
    for (size_t i = 0; i < n; ++i)
        inverse[i * n + i] = 1.0;
    for (size_t column = 0; column < n; ++column) {
        size_t pivot = column;
        for (size_t row = column + 1; row < n; ++row) {
            if (std::fabs(a[row * n + column]) > std::fabs(a[pivot * n + column]))
                pivot = row;
        }
        if (!(std::fabs(a[pivot * n + column]) > 0))
            return false;
        for (size_t k = 0; k < n; ++k) {
            std::swap(a[pivot * n + k], a[column * n + k]);
            std::swap(inverse[pivot * n + k], inverse[column * n + k]);
        }
        const double scale = 1.0 / a[column * n + column];
        for (size_t k = 0; k < n; ++k) {
            a[column * n + k] *= scale;
            inverse[column * n + k] *= scale;
        }
        for (size_t row = 0; row < n; ++row) {
            const double factor = a[row * n + column];
            if (row == column || factor == 0.0)
                continue;
            for (size_t k = 0; k < n; ++k) {
                a[row * n + k] -= factor * a[column * n + k];
                inverse[row * n + k] -= factor * inverse[column * n + k];
            }
        }
    }
    a = std::move(inverse);
    return true;
}

} // namespace

// SUNDIALS' C operations reach the object through the solver's content.
struct NewtonLinearSolverCallbacks
{
    static NewtonLinearSolver* self(SUNLinearSolver solver)
    {
        return static_cast<NewtonLinearSolver*>(solver->content);
    }
    static SUNLinearSolver_Type type(SUNLinearSolver) { return SUNLINEARSOLVER_DIRECT; }
    static SUNLinearSolver_ID id(SUNLinearSolver) { return SUNLINEARSOLVER_CUSTOM; }
    static int initialize(SUNLinearSolver solver) { return SUNLinSolInitialize(self(solver)->m_direct); }
    static int setup(SUNLinearSolver solver, SUNMatrix matrix) { return self(solver)->setup(matrix); }
    static int solve(SUNLinearSolver solver, SUNMatrix matrix, N_Vector x, N_Vector b, sunrealtype tolerance)
    {
        return self(solver)->solve(matrix, x, b, tolerance);
    }
    static sunindextype lastFlag(SUNLinearSolver solver) { return SUNLinSolLastFlag(self(solver)->m_direct); }
    // The object owns the shell and frees it itself.
    static int release(SUNLinearSolver) { return SUNLS_SUCCESS; }
};

NewtonLinearSolver::NewtonLinearSolver(SUNLinearSolver direct, size_t size, size_t rank, SUNContext context)
    : m_direct(direct)
    , m_size(size)
    , m_rank(rank)
    , m_u(size * rank)
    , m_v(size * rank)
    , m_small(rank * rank)
    , m_w(rank)
{
    if (!direct)
        return;
    for (size_t r = 0; r < rank; ++r)
        m_z.push_back(N_VNew_Serial(static_cast<sunindextype>(size), context));
    m_scratch = N_VNew_Serial(static_cast<sunindextype>(size), context);
    for (N_Vector z : m_z) {
        if (!z)
            return;
    }
    if (!m_scratch)
        return;
    SUNLinearSolver solver = SUNLinSolNewEmpty(context);
    if (!solver)
        return;
    solver->content = this;
    solver->ops->gettype = &NewtonLinearSolverCallbacks::type;
    solver->ops->getid = &NewtonLinearSolverCallbacks::id;
    solver->ops->initialize = &NewtonLinearSolverCallbacks::initialize;
    solver->ops->setup = &NewtonLinearSolverCallbacks::setup;
    solver->ops->solve = &NewtonLinearSolverCallbacks::solve;
    solver->ops->lastflag = &NewtonLinearSolverCallbacks::lastFlag;
    solver->ops->free = &NewtonLinearSolverCallbacks::release;
    m_solver = solver;
}

NewtonLinearSolver::~NewtonLinearSolver()
{
    if (m_solver)
        SUNLinSolFreeEmpty(m_solver);
    for (N_Vector z : m_z) {
        if (z)
            N_VDestroy(z);
    }
    if (m_scratch)
        N_VDestroy(m_scratch);
    if (m_direct)
        SUNLinSolFree(m_direct);
}

int NewtonLinearSolver::setup(SUNMatrix matrix)
{
    Stopwatch watch(m_counters.factorisationSeconds);
    ++m_counters.factorisations;
    const int flag = SUNLinSolSetup(m_direct, matrix);
    if (flag != SUNLS_SUCCESS || m_rank == 0)
        return flag;
    sunrealtype gamma = 0.0;
    if (!m_cvode || CVodeGetCurrentGamma(m_cvode, &gamma) != CV_SUCCESS)
        return SUNLS_PACKAGE_FAIL_UNREC;
    m_gamma = gamma;
    for (size_t r = 0; r < m_rank; ++r) {
        double* b = N_VGetArrayPointer(m_scratch);
        for (size_t i = 0; i < m_size; ++i)
            b[i] = m_u[r * m_size + i];
        const int solved = SUNLinSolSolve(m_direct, matrix, m_z[r], m_scratch, 0.0);
        if (solved != SUNLS_SUCCESS)
            return solved;
    }
    // I - gamma V^T Z
    for (size_t i = 0; i < m_rank; ++i) {
        const double* v = m_v.data() + i * m_size;
        for (size_t j = 0; j < m_rank; ++j) {
            const double* z = N_VGetArrayPointer(m_z[j]);
            double dot = 0.0;
            for (size_t k = 0; k < m_size; ++k)
                dot += v[k] * z[k];
            m_small[i * m_rank + j] = (i == j ? 1.0 : 0.0) - gamma * dot;
        }
    }
    // A singular correction is a bad Jacobian: CVODE retries with a new one
    // or a smaller step.
    return invert(m_small, m_rank) ? SUNLS_SUCCESS : SUNLS_LUFACT_FAIL;
}

int NewtonLinearSolver::solve(SUNMatrix matrix, N_Vector x, N_Vector b, double tolerance)
{
    Stopwatch watch(m_counters.solveSeconds);
    ++m_counters.solves;
    const int flag = SUNLinSolSolve(m_direct, matrix, x, b, tolerance);
    if (flag != SUNLS_SUCCESS || m_rank == 0)
        return flag;
    double* y = N_VGetArrayPointer(x);
    std::vector<double>& w = m_w;
    for (size_t r = 0; r < m_rank; ++r) {
        const double* v = m_v.data() + r * m_size;
        double dot = 0.0;
        for (size_t k = 0; k < m_size; ++k)
            dot += v[k] * y[k];
        w[r] = m_gamma * dot;
    }
    for (size_t r = 0; r < m_rank; ++r) {
        double s = 0.0;
        for (size_t j = 0; j < m_rank; ++j)
            s += m_small[r * m_rank + j] * w[j];
        const double* z = N_VGetArrayPointer(m_z[r]);
        for (size_t k = 0; k < m_size; ++k)
            y[k] += s * z[k];
    }
    return SUNLS_SUCCESS;
}

} // namespace tarvelsim

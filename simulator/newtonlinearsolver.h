#pragma once

#include <sundials/sundials_linearsolver.h>
#include <sundials/sundials_nvector.h>

#include <vector>

namespace tarvelsim {

// The linear solver of CVODE's Newton iterations, (I - gamma J) x = b, for a
// Jacobian J = S + U V^T whose part S CVODE holds as its matrix (dense or
// sparse) and whose part U V^T of small rank is kept here. A direct solver
// (dense LU or KLU) factors I - gamma S; the Woodbury formula adds the rest:
//
//   x = y + Z (I - gamma V^T Z)^-1 gamma V^T y,  y = A^-1 b,  Z = A^-1 U,
//
// with A = I - gamma S, so the rank-r part costs r more solves per
// factorisation and a few dot products per solve, and the fill-in of the
// factors stays that of the reactions' own pattern. With rank 0 it is the
// direct solver alone. It also counts and times the factorisations and solves.
class NewtonLinearSolver
{
public:
    struct Counters
    {
        long factorisations = 0;
        long solves = 0;
        double factorisationSeconds = 0.0; // including the rank-r solves
        double solveSeconds = 0.0;
    };

    // Takes ownership of direct, a solver for the matrix CVODE assembles.
    NewtonLinearSolver(SUNLinearSolver direct, size_t size, size_t rank, SUNContext context);
    ~NewtonLinearSolver();
    NewtonLinearSolver(const NewtonLinearSolver&) = delete;
    NewtonLinearSolver& operator=(const NewtonLinearSolver&) = delete;

    bool valid() const { return m_solver != nullptr; }
    SUNLinearSolver solver() const { return m_solver; }
    void setCvodeMemory(void* memory) { m_cvode = memory; }
    // Where the Jacobian writes U and V: size x rank each, column-major.
    double* u() { return m_u.data(); }
    double* v() { return m_v.data(); }
    const Counters& counters() const { return m_counters; }

private:
    int setup(SUNMatrix matrix);
    int solve(SUNMatrix matrix, N_Vector x, N_Vector b, double tolerance);

    SUNLinearSolver m_direct = nullptr;
    SUNLinearSolver m_solver = nullptr;
    void* m_cvode = nullptr;
    size_t m_size;
    size_t m_rank;
    std::vector<double> m_u;
    std::vector<double> m_v;
    std::vector<N_Vector> m_z; // A^-1 U, one vector per column
    N_Vector m_scratch = nullptr;
    std::vector<double> m_small; // (I - gamma V^T Z)^-1, rank x rank, row-major
    std::vector<double> m_w;
    double m_gamma = 0.0;
    Counters m_counters;

    friend struct NewtonLinearSolverCallbacks;
};

} // namespace tarvelsim

#pragma once

#include "integrator.h"
#include "mechanism.h"
#include "reactormodel.h"

#include <functional>
#include <string>
#include <vector>

namespace tarvelsim {

// The reactor's state as the output files carry it.
struct ReactorState
{
    double temperature = 0.0;           // K
    double pressure = 0.0;              // bar
    double volume = 0.0;                // m^3
    std::vector<double> massFractions;  // mechanism order
};

struct SimulationSettings
{
    ReactorModel model;
    double startTime = 0.0;       // TSTA, s
    double endTime = 0.0;         // TEND, s
    // NT: outputs evenly spaced from TSTA to TEND; negative: every |NT|-th
    // internal step.
    int outputSteps = 20;
    double firstStep = 0.0;       // STEP; 0 lets the solver choose
    double relativeTolerance = 1.0e-4;
    double absoluteTolerance = 1.0e-9;
    int inductionSpecies = -1;    // TIGN as a species index, or -1
    Integrator::JacobianKind jacobian = Integrator::JacobianKind::Analytic;
    Integrator::LinearAlgebra linearAlgebra = Integrator::LinearAlgebra::Automatic;
};

struct Sample
{
    double time = 0.0;
    double lastStep = 0.0;
    ReactorState state;
};

struct SimulationResult
{
    bool ignited = false;
    double ignitionTime = 0.0;  // T first 200 K above its initial value
    bool induction = false;
    double inductionTime = 0.0; // steepest rise of the TIGN species' mole fraction
    ReactorState final;
    Integrator::Statistics statistics;
    int samples = 0;
    std::string failure;
};

// One run of the reactor from an initial state to the end time, handing every
// output sample to a callback as soon as it is known.
class Simulation
{
public:
    // Returning false from the callback stops the run (e.g. a disk full).
    using Output = std::function<bool(const Sample &)>;

    Simulation(const Mechanism &mechanism, const SimulationSettings &settings);

    // The state the run starts from: the given one, with the temperature and
    // the volume of the imposed profiles at time 0 where there are any.
    static ReactorState startingState(const ReactorState& initial, const ReactorModel& model);

    [[nodiscard]] bool run(const ReactorState &initial, const Output &output, SimulationResult &result);

    // A temperature rise this large above the initial temperature marks
    // ignition, the criterion of the classic closed-reactor codes.
    static constexpr double ignitionRise = 200.0;

private:
    const Mechanism &m_mechanism;
    SimulationSettings m_settings;
};

} // namespace tarvelsim

#include "profileresult.h"

QString profileResultMessage(ProfileResult result)
{
    switch (result) {
    case ProfileResult::Created:
        return QStringLiteral("created");
    case ProfileResult::NoData:
        return QStringLiteral("no output data, no time steps or an empty computation text");
    case ProfileResult::NoComputationData:
        return QStringLiteral("the project holds no computation data (COMPUT_DATA)");
    case ProfileResult::StepNotFound:
        return QStringLiteral("the time step is out of range or its profile block was not found");
    case ProfileResult::MissingInput:
        return QStringLiteral("missing input");
    case ProfileResult::MarkersNotSet:
        return QStringLiteral("the catalogue's profile markers are not set or are equal");
    case ProfileResult::EmptyName:
        return QStringLiteral("the name is empty");
    case ProfileResult::RunInProgress:
        return QStringLiteral("a simulation is running; wait until it has finished");
    case ProfileResult::NoSingleStep:
        return QStringLiteral("all time steps are shown; choose one time step first");
    }
    return QStringLiteral("unknown result");
}

#ifndef TARVEL_PROFILERESULT_H
#define TARVEL_PROFILERESULT_H

// What became of a request to save a time step as a profile. The numbers are
// the result codes the command-line tool prints; they never change meaning.

#include <QString>

enum class ProfileResult {
    Created = 0,
    NoData = 1, // no output fields, no time steps or an empty computation text
    NoComputationData = 2, // the project holds no computation data
    StepNotFound = 3, // the step is out of range or its block is not in the computation text
    MissingInput = 9,
    MarkersNotSet = 10, // the catalogue's profile markers are not set, or are equal
    EmptyName = 11,
    RunInProgress = 12,
    NoSingleStep = 13, // all steps are shown, not one
};

// The result in words, for a message to the user.
QString profileResultMessage(ProfileResult result);

#endif

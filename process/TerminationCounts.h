// How the ending of the processes of one image went: how many of them ended
// in each way. The termination of every instance fills it; the result window
// turns it into its text. All counts zero means none ran from the image.
#pragma once

#include "process/TerminateOutcome.h"

struct TerminationCounts {
    int endedNormally;    // exited within the time limit after WM_CLOSE
    int endedByForce;     // ended with TerminateProcess after the time limit
    int endedByWowMethod; // 32-bit build: 16-bit tasks ended the NTVDM way
    int leftRunning;      // still running at the time limit, and not to be forced
    int failed;           // not opened for termination, or TerminateProcess refused

    // Counts one process (or task) that ended with outcome; NotFound and
    // FatalError count nothing.
    void Add(TerminateOutcome outcome);
    int Total() const;
};

// The outcome of a termination that ended one process at most, as the
// single-target termination reports it: NotFound when nothing was counted.
// A process left running has no outcome of its own and gives Failed.
TerminateOutcome OutcomeOfOne(const TerminationCounts& counts);

// The result of one termination; the result window turns it into its text.
#pragma once

enum class TerminateOutcome : int {
    FatalError = 0,       // never returned by the engine
    NotFound = 1,         // no process runs from the image
    Failed = 2,           // not opened for termination, or TerminateProcess refused
    EndedNormally = 3,    // exited within the time limit after WM_CLOSE
    EndedByForce = 4,     // ended with TerminateProcess after the time limit
    EndedByWowMethod = 5, // 32-bit build: a 16-bit task ended the NTVDM way
};

// The enumerator's name ("NotFound", ...), or "?" for a value outside 0 to 5.
const char* TerminateOutcomeName(TerminateOutcome outcome);

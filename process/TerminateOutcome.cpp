#include "process/TerminateOutcome.h"

const char* TerminateOutcomeName(TerminateOutcome outcome)
{
    switch (outcome) {
    case TerminateOutcome::FatalError:
        return "FatalError";
    case TerminateOutcome::NotFound:
        return "NotFound";
    case TerminateOutcome::Failed:
        return "Failed";
    case TerminateOutcome::EndedNormally:
        return "EndedNormally";
    case TerminateOutcome::EndedByForce:
        return "EndedByForce";
    case TerminateOutcome::EndedByWowMethod:
        return "EndedByWowMethod";
    }
    return "?";
}

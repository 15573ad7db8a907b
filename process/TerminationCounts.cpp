#include "process/TerminationCounts.h"

void TerminationCounts::Add(TerminateOutcome outcome)
{
    switch (outcome) {
    case TerminateOutcome::EndedNormally:
        ++endedNormally;
        return;
    case TerminateOutcome::EndedByForce:
        ++endedByForce;
        return;
    case TerminateOutcome::EndedByWowMethod:
        ++endedByWowMethod;
        return;
    case TerminateOutcome::Failed:
        ++failed;
        return;
    case TerminateOutcome::FatalError:
    case TerminateOutcome::NotFound:
        return;
    }
}

int TerminationCounts::Total() const
{
    return endedNormally + endedByForce + endedByWowMethod + leftRunning + failed;
}

TerminateOutcome OutcomeOfOne(const TerminationCounts& counts)
{
    if (counts.endedByWowMethod > 0)
        return TerminateOutcome::EndedByWowMethod;
    if (counts.endedNormally > 0)
        return TerminateOutcome::EndedNormally;
    if (counts.endedByForce > 0)
        return TerminateOutcome::EndedByForce;
    if (counts.failed > 0 || counts.leftRunning > 0)
        return TerminateOutcome::Failed;
    return TerminateOutcome::NotFound;
}

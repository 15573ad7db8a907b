// 64-bit build: a process running under WOW64 is a 32-bit process, any other
// a 64-bit one; undetermined when IsWow64Process fails.
#include "process/ProcessBitness.h"

BitnessKind ReadProcessBitness(HANDLE process)
{
    BOOL isWow = FALSE;
    if (!IsWow64Process(process, &isWow))
        return BitnessKind::Unknown;
    return isWow ? BitnessKind::Bits32 : BitnessKind::Bits64;
}

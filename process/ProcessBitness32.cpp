// 32-bit build: it refuses to run under WOW64, so every process it sees is a
// 32-bit process.
#include "process/ProcessBitness.h"

BitnessKind ReadProcessBitness(HANDLE)
{
    return BitnessKind::Bits32;
}

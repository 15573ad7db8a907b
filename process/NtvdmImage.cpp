// IsNtvdmImage: whether a listed process is an NTVDM process, inside which
// the 32-bit build finds 16-bit tasks.
#include "process/ProcessSnapshot.h"

bool IsNtvdmImage(const WideString& path)
{
    // A path shorter than ten characters gives "" and so never matches.
    return lstrcmpW(path.Right(10).ToUpper().CStr(), L"\\NTVDM.EXE") == 0;
}

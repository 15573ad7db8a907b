// Failure reports: a failed system call is shown at once in a message box
// that names the call by a short label and gives the system's error code;
// then the caller goes on as if the call had succeeded. There is no log.
#pragma once

#include <windows.h>

// Shows "<label> Error Code =<GetLastError() as signed decimal>" when result
// is 0. Pass the failing call's result directly: the last-error value is
// read first thing. A success shows nothing and leaves the last error alone.
void ReportApiFailure(INT_PTR result, const char* label);

// For calls that return a handle or pointer (null means failure).
template <typename T> void ReportApiFailure(T* result, const char* label)
{
    ReportApiFailure(reinterpret_cast<INT_PTR>(result), label);
}

// Shows "<label> Error Code =0x<hresult as 8 hex digits>" when FAILED(hr).
void ReportComFailure(HRESULT hr, const char* label);

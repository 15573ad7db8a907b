#include "core/FailureReport.h"

#include "core/MessageBoxes.h"
#include "core/WideString.h"

namespace {

// Labels are short ASCII names of at most 26 characters, so every report fits.
const int kReportTextCapacity = 200;

void ShowReport(const wchar_t* text)
{
    ShowTarnwickBox(nullptr, WideString(text), MB_ICONERROR);
}

} // namespace

void ReportApiFailure(INT_PTR result, const char* label)
{
    if (result != 0)
        return;
    DWORD error = GetLastError();
    wchar_t text[kReportTextCapacity];
    wsprintfW(text, L"%hs Error Code =%d", label, static_cast<int>(error));
    ShowReport(text);
}

void ReportComFailure(HRESULT hr, const char* label)
{
    if (!FAILED(hr))
        return;
    wchar_t text[kReportTextCapacity];
    wsprintfW(text, L"%hs Error Code =0x%08x", label, static_cast<unsigned>(hr));
    ShowReport(text);
}

#include "app/CommandLineSplit.h"

#include "core/PathString.h"

void SplitCommandLine(WideString& programPath, WideString& argumentText, const WideString& source)
{
    WideString line = source.Length() > 0 ? source : WideString(GetCommandLineW());

    if (line.CStr()[0] == L'"') {
        // The program path runs to the next quote; the arguments start right
        // behind it, with or without a space.
        WideString afterQuote = line.Mid(1);
        int closing = afterQuote.Find(L"\"");
        programPath = PathString(afterQuote.Left(closing));
        argumentText = line.Mid(closing + 2).Trim();
        return;
    }

    int space = line.Find(L" ");
    if (space == -1) {
        programPath = PathString(line);
        argumentText = WideString();
        return;
    }
    programPath = PathString(line.Left(space));
    argumentText = line.Mid(space + 1).Trim();
}

// The two splits of the command line: program path and argument text, then
// the argument text into options and target.
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

namespace {

const DWORD kDefaultTimeLimitMs = 10000;
const int kMaxWaitSeconds = 3600;
const wchar_t kWaitPrefix[] = L"/wait:";
const int kWaitPrefixLength = 6;

// Compares without regard to case, character by character (no word rules).
bool SameOption(const wchar_t* token, const wchar_t* option)
{
    return CompareStringOrdinal(token, -1, option, -1, TRUE) == CSTR_EQUAL;
}

// The seconds of a "/wait:" value: ASCII digits only, 1 to 3600; 0 for
// anything else, however long.
int ParseWaitSeconds(const wchar_t* digits)
{
    int seconds = 0;
    for (const wchar_t* digit = digits; *digit; ++digit) {
        if (*digit < L'0' || *digit > L'9')
            return 0;
        seconds = seconds * 10 + (*digit - L'0');
        if (seconds > kMaxWaitSeconds)
            return 0;
    }
    return seconds;
}

// Applies one token that begins with "/" to the request.
OptionError ApplyOption(const WideString& token, CommandLineRequest& request)
{
    if (SameOption(token.CStr(), L"/all")) {
        request.allInstances = true;
        return OptionError::None;
    }
    if (SameOption(token.CStr(), L"/noforce")) {
        request.force = false;
        return OptionError::None;
    }
    if (SameOption(token.CStr(), L"/wait"))
        return OptionError::BadWait;
    if (!SameOption(token.Left(kWaitPrefixLength).CStr(), kWaitPrefix))
        return OptionError::UnknownOption;
    int seconds = ParseWaitSeconds(token.CStr() + kWaitPrefixLength);
    if (seconds == 0)
        return OptionError::BadWait;
    request.timeoutMs = static_cast<DWORD>(seconds) * 1000;
    return OptionError::None;
}

} // namespace

CommandLineRequest SplitOptions(const WideString& argumentText)
{
    CommandLineRequest request = {argumentText,      false,       false, kDefaultTimeLimitMs, true,
                                  OptionError::None, WideString()};
    WideString rest = argumentText.Trim();
    WideString lastOption;
    while (rest.CStr()[0] == L'/') {
        int space = rest.Find(L" ");
        WideString token = space == -1 ? rest : rest.Left(space);
        request.hasOptions = true;
        request.error = ApplyOption(token, request);
        if (request.error != OptionError::None) {
            request.target = WideString();
            request.badToken = token;
            return request;
        }
        lastOption = token;
        rest = space == -1 ? WideString() : rest.Mid(space + 1).Trim();
    }
    if (!request.hasOptions)
        return request;

    request.target = rest;
    // A target that cleans to nothing, such as "", is no target either.
    if (PathString(rest).Length() == 0) {
        request.error = OptionError::NoTarget;
        request.badToken = lastOption;
    }
    return request;
}

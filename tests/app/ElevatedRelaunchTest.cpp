// The decision of the elevated relaunch. Under Wine every token is elevated,
// so the relaunch itself never happens in the end-to-end tests; here each
// combination of argument and elevation is decided on its own.
#include "app/ElevatedRelaunch.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ElevatedRelaunch, OnlyLowerCaseMarkerWithFilteredAdministratorToken)
{
    struct Case {
        const wchar_t* argument;
        ElevationKind elevation;
        bool relaunch;
        const wchar_t* parameters;
    } cases[] = {
        {L"runas C:\\Tools\\app.exe", ElevationKind::Limited, true, L"C:\\Tools\\app.exe"},
        {L"runas \"C:\\Program Files\\app.exe\"", ElevationKind::Limited, true,
         L"\"C:\\Program Files\\app.exe\""},
        {L"runas    C:\\Tools\\app.exe", ElevationKind::Limited, true, L"   C:\\Tools\\app.exe"},
        {L"runas x", ElevationKind::Limited, true, L"x"},
        {L"runas C:\\Tools\\app.exe", ElevationKind::Default, false, L""},
        {L"runas C:\\Tools\\app.exe", ElevationKind::Elevated, false, L""},
        {L"runas", ElevationKind::Limited, false, L""},
        {L"RUNAS C:\\Tools\\app.exe", ElevationKind::Limited, false, L""},
        {L"Runas C:\\Tools\\app.exe", ElevationKind::Limited, false, L""},
        {L"runas\tC:\\Tools\\app.exe", ElevationKind::Limited, false, L""},
        {L"xrunas C:\\Tools\\app.exe", ElevationKind::Limited, false, L""},
        {L"C:\\runas C:\\Tools\\app.exe", ElevationKind::Limited, false, L""},
        {L"C:\\Tools\\app.exe", ElevationKind::Limited, false, L""},
        {L"", ElevationKind::Limited, false, L""},
    };
    for (const Case& c : cases) {
        WideString parameters;
        bool relaunch = WantsElevatedRelaunch(WideString(c.argument), c.elevation, parameters);
        EXPECT_EQ(relaunch, c.relaunch) << c.argument << L" elevation " << static_cast<int>(c.elevation);
        EXPECT_EQ(std::wstring(parameters.CStr()), c.parameters) << c.argument;
    }
}

} // namespace

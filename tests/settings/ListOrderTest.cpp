// The texts and the order of the settings window's rows, on snapshots made
// by hand: the attribute text of every bitness and elevation, the comparison
// of every column in both directions, and the caption by elevation.
#include "settings/ProcessListView.h"
#include "settings/SettingsDialog.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

TEST(AttributeText, BitnessThenElevation)
{
    struct Case {
        BitnessKind bitness;
        ElevationKind elevation;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {BitnessKind::Task16, ElevationKind::Default, L"16bit"},
        {BitnessKind::Task16, ElevationKind::Elevated, L"16bit 昇格"},
        {BitnessKind::Bits32, ElevationKind::Limited, L"32bit"},
        {BitnessKind::Bits32, ElevationKind::Elevated, L"32bit 昇格"},
        {BitnessKind::Bits64, ElevationKind::Default, L"64bit"},
        {BitnessKind::Bits64, ElevationKind::Elevated, L"64bit 昇格"},
        {BitnessKind::Unknown, ElevationKind::Elevated, L" 昇格"},
        {BitnessKind::Unknown, ElevationKind::Limited, L""},
        {static_cast<BitnessKind>(7), ElevationKind::Default, L""},
    };
    for (const Case& c : cases) {
        ProcessEntry entry{100, c.bitness, c.elevation, true};
        EXPECT_EQ(std::wstring(AttributeText(entry).CStr()), c.expected)
            << static_cast<int>(c.bitness) << "/" << static_cast<int>(c.elevation);
    }
}

TEST(SettingsCaption, OnlyAnElevatedProgramSaysSo)
{
    EXPECT_STREQ(SettingsCaption(ElevationKind::Default), L"Tarnwick の設定");
    EXPECT_STREQ(SettingsCaption(ElevationKind::Limited), L"Tarnwick の設定");
    EXPECT_STREQ(SettingsCaption(ElevationKind::Elevated), L"Tarnwick の設定(昇格中)");
}

int Sign(int value)
{
    return value > 0 ? 1 : value < 0 ? -1 : 0;
}

TEST(CompareSnapshotRows, EveryColumnBothWays)
{
    ProcessSnapshot snapshot;
    // Paths are compared as the list shows them: trimmed and unquoted.
    snapshot.Add(WideString(L"C:\\b\\beta.exe"), 20, BitnessKind::Bits64, ElevationKind::Elevated, true); // 0
    snapshot.Add(WideString(L"\"C:\\a\\alpha.exe\""), 30, BitnessKind::Bits32, ElevationKind::Default,
                 true); // 1
    snapshot.Add(WideString(L"  C:\\c\\alpha.exe  "), 10, BitnessKind::Bits64, ElevationKind::Elevated,
                 true);                                                                                   // 2
    snapshot.Add(WideString(L"C:\\a\\gamma.exe"), -5, BitnessKind::Task16, ElevationKind::Default, true); // 3
    snapshot.Add(WideString(L"C:\\d\\delta.exe"), 0, BitnessKind::Bits64, ElevationKind::Default, true);  // 4

    struct Case {
        int first;
        int second;
        int key;
        int expected; // sign of the result
    };
    const Case cases[] = {
        // Image name.
        {1, 0, 1, -1},
        {1, 0, -1, 1},
        {0, 1, 1, 1},
        {1, 2, 1, 0}, // the same name in two directories
        {1, 2, -1, 0},
        // Attributes: never equal, -1 for an equal pair, whichever comes first.
        {1, 0, 2, -1},
        {0, 1, 2, 1},
        {0, 1, -2, -1},
        {0, 2, 2, -1},
        {2, 0, 2, -1},
        {0, 2, -2, 1},
        // PID: below 0 counts as 0; equal ids are never equal either.
        {2, 0, 3, -1},
        {0, 2, 3, 1},
        {0, 2, -3, -1},
        {3, 2, 3, -1},
        {3, 4, 3, -1},
        {4, 3, 3, -1},
        {3, 4, -3, 1},
        // Directory.
        {0, 1, 4, 1},
        {0, 1, -4, -1},
        {1, 3, 4, 0},
        {1, 3, -4, 0},
        // No column: every pair is equal.
        {0, 1, 0, 0},
        {0, 1, 5, 0},
        {0, 1, -5, 0},
        {0, 1, INT_MAX, 0},
        {0, 1, INT_MIN, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Sign(CompareSnapshotRows(snapshot, c.first, c.second, c.key)), c.expected)
            << "rows " << c.first << ", " << c.second << ", key " << c.key;
    }
}

} // namespace

// PathString::FitToWidth measured with a real device context: every limit
// in these tables is a width measured in the same context, so that each case
// sits exactly on or just beside the edge it tests.
#include "core/PathString.h"
#include "tests/support/BoxAnswerer.h"
#include "tests/support/WideStringChecks.h"

#include <gtest/gtest.h>

#include <string>

using twk_test::BoxAnswerer;
using twk_test::ExpectSoundWideString;

namespace {

const wchar_t kInvalid[] = L"不正なファイル名";

std::wstring Text(const WideString& s)
{
    return std::wstring(s.CStr());
}

// A memory device context with the progress dialog's font selected.
class MeasuringContext : public ::testing::Test {
protected:
    void SetUp() override
    {
        dc = CreateCompatibleDC(nullptr);
        ASSERT_NE(dc, nullptr);
        font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"ＭＳ Ｐゴシック");
        ASSERT_NE(font, nullptr);
        oldFont = SelectObject(dc, font);
    }
    void TearDown() override
    {
        SelectObject(dc, oldFont);
        DeleteObject(font);
        DeleteDC(dc);
    }

    int Width(const std::wstring& text)
    {
        SIZE size = {};
        EXPECT_TRUE(GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size));
        return size.cx;
    }

    std::wstring Fit(const std::wstring& path, int maxWidth)
    {
        PathString p;
        p.Assign(path.c_str());
        WideString fitted = p.FitToWidth(dc, maxWidth);
        ExpectSoundWideString(fitted);
        return Text(fitted);
    }

    HDC dc = nullptr;
    HFONT font = nullptr;
    HGDIOBJ oldFont = nullptr;
};

struct Case {
    const wchar_t* path;
    const wchar_t* limitText; // the limit is the width of this text plus extra; null: extra alone
    int extra;
    const wchar_t* fitted;
};

TEST_F(MeasuringContext, DriveAndNetworkPathsLoseWholeLevelsFromTheLeft)
{
    const wchar_t* drive = L"C:\\Program Files\\Vendor\\Tool\\bin\\tool.exe";
    const wchar_t* drive1 = L"C:\\...\\Vendor\\Tool\\bin\\tool.exe";
    const wchar_t* drive2 = L"C:\\...\\Tool\\bin\\tool.exe";
    const wchar_t* drive4 = L"C:\\...\\tool.exe";
    const wchar_t* net = L"\\\\fileserver\\public share\\Applications\\Vendor\\tool.exe";
    const wchar_t* net1 = L"\\\\fileserver\\public share\\...\\Vendor\\tool.exe";
    const wchar_t* net2 = L"\\\\fileserver\\public share\\...\\tool.exe";
    const Case cases[] = {
        {drive, drive, 1, drive},  // narrower than the limit: unchanged
        {drive, drive, 0, drive1}, // as wide as the limit counts as too wide
        {drive, drive1, 1, drive1},
        {drive, drive1, 0, drive2},
        {drive, drive4, 1, drive4},
        {drive, drive4, 0, L"...\\tool.exe"},
        {drive, nullptr, 1, L"...\\tool.exe"}, // the last form is not measured
        {drive, nullptr, 0, L"...\\tool.exe"},
        {drive, nullptr, -100, L"...\\tool.exe"},
        {net, net, 1, net},
        {net, net, 0, net1},
        {net, net1, 0, net2},
        {net, net2, 1, net2},
        {net, net2, 0, L"...\\tool.exe"},
        {L"?:\\dir\\x.exe", nullptr, 1, L"...\\x.exe"}, // the drive letter is not examined
        {L"?:\\directory\\x.exe", L"?:\\...\\x.exe", 1, L"?:\\...\\x.exe"},
    };
    for (const Case& c : cases) {
        int limit = (c.limitText ? Width(c.limitText) : 0) + c.extra;
        EXPECT_EQ(Fit(c.path, limit), c.fitted) << c.path << L" limit " << limit;
    }
}

TEST_F(MeasuringContext, RootFilesAndTrailingBackslashes)
{
    const Case cases[] = {
        {L"C:\\file.txt", L"C:\\file.txt", 1, L"C:\\file.txt"},
        {L"C:\\file.txt", L"C:\\file.txt", 0, L"...\\file.txt"}, // even if that is wider
        {L"C:\\", L"C:\\", 0, L"...\\"},
        {L"C:\\dir\\", L"C:\\dir\\", 0, L"C:\\...\\"},
        {L"\\\\server\\share\\file.txt", nullptr, 1, L"...\\file.txt"},
        {L"\\\\server\\share\\", nullptr, 1, L"...\\"},
        {L"\\\\server\\share\\file.txt", L"\\\\server\\share\\file.txt", 1, L"\\\\server\\share\\file.txt"},
    };
    for (const Case& c : cases) {
        int limit = (c.limitText ? Width(c.limitText) : 0) + c.extra;
        EXPECT_EQ(Fit(c.path, limit), c.fitted) << c.path << L" limit " << limit;
    }
}

TEST_F(MeasuringContext, TextThatIsNoAbsolutePathIsInvalidOnlyWhenTooWide)
{
    const wchar_t* texts[] = {
        L"dir\\sub\\file.txt", L"file.txt", L"hello world", L"/usr/local/bin/tool", L"\\\\server\\share",
        L"\\\\server",         L"\\\\",     L"\\file.txt",  L"C:file.txt",          L"C:/dir/file.txt",
        L"runas C:\\x.exe",
    };
    for (const wchar_t* text : texts) {
        int width = Width(text);
        EXPECT_EQ(Fit(text, width + 1), text) << "a narrow text is returned unchanged";
        EXPECT_EQ(Fit(text, width), kInvalid) << text;
    }
    EXPECT_EQ(Fit(L"", 1), L"");
}

TEST_F(MeasuringContext, TextOfAnyLength)
{
    const int limit = 300;

    std::wstring noSeparator(100000, L'x');
    EXPECT_EQ(Fit(noSeparator, limit), kInvalid);

    std::wstring deep = L"C:";
    for (int level = 0; level < 2000; ++level)
        deep += L"\\d" + std::to_wstring(level % 10);
    deep += L"\\file.txt";
    std::wstring fitted = Fit(deep, limit);
    const std::wstring prefix = L"C:\\...\\";
    ASSERT_EQ(fitted.rfind(prefix, 0), 0u) << fitted;
    EXPECT_LT(Width(fitted), limit);
    std::wstring rest = fitted.substr(prefix.size());
    ASSERT_EQ(deep.compare(deep.size() - rest.size(), rest.size(), rest), 0) << "a tail of whole levels";
    size_t restStart = deep.size() - rest.size();
    ASSERT_EQ(deep[restStart - 1], L'\\');
    std::wstring oneLevelMore = prefix + deep.substr(deep.rfind(L'\\', restStart - 2) + 1);
    EXPECT_GE(Width(oneLevelMore), limit) << "the form with one level more did not fit";

    std::wstring longName = L"C:\\dir\\" + std::wstring(50000, L'n') + L".exe";
    EXPECT_EQ(Fit(longName, limit), L"...\\" + std::wstring(50000, L'n') + L".exe");
}

TEST(FitToWidthFailure, FailedMeasurementIsReportedAndCountsAsTooWide)
{
    BoxAnswerer answerer;
    HDC deleted = CreateCompatibleDC(nullptr);
    ASSERT_NE(deleted, nullptr);
    DeleteDC(deleted);

    PathString path;
    path.Assign(L"C:\\dir\\sub\\file.txt");
    EXPECT_EQ(Text(path.FitToWidth(deleted, 100000)), L"...\\file.txt");
    PathString relative;
    relative.Assign(L"file.txt");
    EXPECT_EQ(Text(relative.FitToWidth(deleted, 100000)), kInvalid);

    std::vector<twk_test::SeenBox> boxes = answerer.Boxes();
    ASSERT_EQ(boxes.size(), 4u) << "the whole path, two shortened forms, the relative text";
    for (const twk_test::SeenBox& box : boxes)
        EXPECT_EQ(box.text.rfind(L"GTEP32 Error Code =", 0), 0u) << box.text;
}

} // namespace

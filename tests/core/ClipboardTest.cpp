// WideString::CopyToClipboard on the real clipboard: the text read back as
// CF_UNICODETEXT, and a clipboard that another thread holds open.
#include "core/WideString.h"
#include "tests/support/Clipboard.h"

#include <gtest/gtest.h>

#include <string>

using namespace twk_test;

namespace {

TEST(CopyToClipboard, PutsTheWholeTextOnTheClipboard)
{
    const wchar_t* texts[] = {
        L"\"C:\\Program Files\\Tarnwick\\TWK64.exe\" runas C:\\Program Files\\設定 テスト\\アプリ.exe",
        L"",
        L"x",
    };
    for (const wchar_t* text : texts) {
        ASSERT_TRUE(WideString(text).CopyToClipboard());
        EXPECT_EQ(ClipboardText(), text);
    }
    std::wstring longText(100000, L'あ');
    ASSERT_TRUE(WideString(longText.c_str()).CopyToClipboard());
    EXPECT_EQ(ClipboardText(), longText);
}

TEST(CopyToClipboard, ClipboardHeldOpenElsewhereFailsAndLeavesItAsItWas)
{
    ASSERT_TRUE(WideString(L"before").CopyToClipboard());
    {
        ClipboardHolder holder;
        EXPECT_FALSE(WideString(L"lost").CopyToClipboard());
    }
    EXPECT_EQ(ClipboardText(), L"before");
    // And the clipboard works as before once it is free again.
    ASSERT_TRUE(WideString(L"after").CopyToClipboard());
    EXPECT_EQ(ClipboardText(), L"after");
}

} // namespace

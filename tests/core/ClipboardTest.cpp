// WideString::CopyToClipboard on the real clipboard: the text read back as
// CF_UNICODETEXT, and a clipboard that another thread holds open.
#include "core/WideString.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

namespace {

// The clipboard's Unicode text, or "<none>".
std::wstring ClipboardText()
{
    std::wstring text = L"<none>";
    for (int attempt = 0; attempt < 50 && !OpenClipboard(nullptr); ++attempt)
        Sleep(20);
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (data) {
        const wchar_t* chars = static_cast<const wchar_t*>(GlobalLock(data));
        if (chars)
            text = chars;
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

// Opens the clipboard on a thread of its own and keeps it open, as another
// program would, until the holder goes. It opens it for a window of its
// own: Wine lets two openers without a window share the clipboard.
class ClipboardHolder {
public:
    ClipboardHolder() : opened(false), release(false), thread([this] { Hold(); })
    {
        while (!opened)
            Sleep(5);
    }
    ~ClipboardHolder()
    {
        release = true;
        thread.join();
    }

private:
    void Hold()
    {
        HWND owner = CreateWindowExW(0, L"STATIC", L"holder", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                     nullptr);
        while (!OpenClipboard(owner))
            Sleep(5);
        opened = true;
        while (!release)
            Sleep(5);
        CloseClipboard();
        DestroyWindow(owner);
    }

    std::atomic<bool> opened;
    std::atomic<bool> release;
    std::thread thread;
};

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

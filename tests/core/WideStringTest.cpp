// WideString: contents, exact capacities and the growth policy.
#include "core/WideString.h"
#include "tests/support/WideStringChecks.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using twk_test::ExpectSoundWideString;

namespace {

std::wstring Text(const WideString& s)
{
    return std::wstring(s.CStr());
}

TEST(WideStringConstruction, CapacitiesOfEachConstructor)
{
    WideString empty;
    EXPECT_EQ(Text(empty), L"");
    EXPECT_EQ(empty.Capacity(), 30);

    WideString fromText(L"abcdef");
    EXPECT_EQ(Text(fromText), L"abcdef");
    EXPECT_EQ(fromText.Capacity(), 7);

    WideString grown;
    grown.Assign(L"0123456789012345678901234567890123"); // 34 characters: capacity 64
    WideString copy(grown);
    EXPECT_EQ(Text(copy), Text(grown));
    EXPECT_EQ(copy.Capacity(), 64) << "a copy keeps the other string's capacity";
    EXPECT_NE(copy.CStr(), grown.CStr()) << "a copy owns a buffer of its own";
    ExpectSoundWideString(copy);
}

TEST(WideStringConstruction, FromIntWritesDecimalText)
{
    struct Case {
        int value;
        const wchar_t* text;
    } cases[] = {
        {0, L"0"}, {42, L"42"}, {-7, L"-7"}, {2147483647, L"2147483647"}, {-2147483647 - 1, L"-2147483648"}};
    for (const Case& c : cases) {
        WideString s = WideString::FromInt(c.value);
        EXPECT_EQ(Text(s), c.text);
        EXPECT_EQ(s.Capacity(), 15);
        ExpectSoundWideString(s);
    }
}

TEST(WideStringConstruction, FromAnsiConvertsAndSizesToTheConverter)
{
    WideString s = WideString::FromAnsi("C:\\DOS\\APP.EXE");
    EXPECT_EQ(Text(s), L"C:\\DOS\\APP.EXE");
    EXPECT_EQ(s.Capacity(), 15);
    WideString empty = WideString::FromAnsi("");
    EXPECT_EQ(Text(empty), L"");
    EXPECT_EQ(empty.Capacity(), 1);
}

TEST(WideStringConstruction, DuplicateOutlivesTheString)
{
    wchar_t* copy = nullptr;
    {
        WideString s(L"kept");
        copy = s.CStr(true);
        EXPECT_NE(copy, s.CStr());
    }
    EXPECT_STREQ(copy, L"kept");
    delete[] copy;
}

TEST(WideStringInPlace, AssignGrowsOnlyWhenTheTextDoesNotFit)
{
    WideString s;
    const wchar_t* original = s.CStr();
    s.Assign(std::wstring(29, L'x').c_str());
    EXPECT_EQ(s.CStr(), original) << "29 characters fit a capacity of 30";
    EXPECT_EQ(s.Capacity(), 30);
    s.Assign(std::wstring(30, L'y').c_str());
    EXPECT_EQ(s.Capacity(), 60);
    EXPECT_EQ(Text(s), std::wstring(30, L'y'));
    s.Assign(L"ab");
    EXPECT_EQ(s.Capacity(), 60) << "the capacity never shrinks";
    EXPECT_EQ(Text(s), L"ab");
    ExpectSoundWideString(s);
}

TEST(WideStringInPlace, AssignOfOwnTextLeavesItUnchanged)
{
    WideString s(L"same text");
    s.Assign(s.CStr());
    EXPECT_EQ(Text(s), L"same text");
    s.Assign(s.CStr() + 5); // the tail of its own buffer
    EXPECT_EQ(Text(s), L"text");
    ExpectSoundWideString(s);
}

TEST(WideStringInPlace, AppendGrowsToNewLengthPlusThirty)
{
    WideString s(L"0123456789"); // length 10, capacity 11
    s.Append(L"abcde");
    EXPECT_EQ(Text(s), L"0123456789abcde");
    EXPECT_EQ(s.Length(), 15);
    EXPECT_EQ(s.Capacity(), 45);
    s.Append(L"xyz"); // fits: no new buffer
    EXPECT_EQ(s.Capacity(), 45);
    EXPECT_EQ(Text(s), L"0123456789abcdexyz");
    s.Append(s.CStr()); // its own text, which still fits
    EXPECT_EQ(Text(s), L"0123456789abcdexyz0123456789abcdexyz");
    EXPECT_EQ(s.Capacity(), 45);
    s.Append(s.CStr()); // its own text, which no longer fits: 72 + 30
    EXPECT_EQ(s.Length(), 72);
    EXPECT_EQ(s.Capacity(), 102);
    EXPECT_EQ(Text(s).substr(36), L"0123456789abcdexyz0123456789abcdexyz");
    ExpectSoundWideString(s);
}

TEST(WideStringInPlace, SetAtStoresOrCuts)
{
    WideString s(L"abcdef");
    EXPECT_TRUE(s.SetAt(0, L'X'));
    EXPECT_EQ(Text(s), L"Xbcdef");
    EXPECT_TRUE(s.SetAt(3, L'\0'));
    EXPECT_EQ(Text(s), L"Xbc");
    EXPECT_EQ(s.Length(), 3);
    WideString t(L"abcdef");
    EXPECT_FALSE(t.SetAt(6, L'x'));
    EXPECT_FALSE(t.SetAt(-1, L'x'));
    EXPECT_EQ(Text(t), L"abcdef");
}

TEST(WideStringNew, ConcatInBothOrders)
{
    WideString s(L"abc");
    WideString tail = s.Concat(L"def");
    EXPECT_EQ(Text(tail), L"abcdef");
    EXPECT_EQ(tail.Capacity(), 7);
    WideString head = Concat(L"xy", s);
    EXPECT_EQ(Text(head), L"xyabc");
    EXPECT_EQ(head.Capacity(), 6);
    EXPECT_EQ(Text(s), L"abc");
}

TEST(WideStringNew, CuttingWithinAndOutOfRange)
{
    WideString s(L"abcdef");
    struct Case {
        const char* what;
        WideString result;
        const wchar_t* text;
        int capacity;
    } cases[] = {
        {"Left 2", s.Left(2), L"ab", 3},
        {"Left length", s.Left(6), L"abcdef", 7},
        {"Left 0", s.Left(0), L"", 1},
        {"Left length+1", s.Left(7), L"", 1},
        {"Left -1", s.Left(-1), L"", 1},
        {"Right 2", s.Right(2), L"ef", 3},
        {"Right length", s.Right(6), L"abcdef", 7},
        {"Right -1", s.Right(-1), L"", 1},
        {"Right length+1", s.Right(7), L"", 1},
        {"Mid 0", s.Mid(0), L"abcdef", 7},
        {"Mid 4", s.Mid(4), L"ef", 3},
        {"Mid length", s.Mid(6), L"", 1},
        {"Mid -1", s.Mid(-1), L"", 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Text(c.result), c.text) << c.what;
        EXPECT_EQ(c.result.Capacity(), c.capacity) << c.what;
    }
}

TEST(WideStringNew, QuoteStrippingSteps)
{
    WideString two(L"\"\"");
    EXPECT_EQ(Text(two.Mid(1).Left(0)), L"");
    WideString one(L"\"");
    EXPECT_EQ(Text(one.Mid(1).Left(-1)), L"");
}

TEST(WideStringNew, TrimRemovesSpacesOnly)
{
    struct Case {
        const wchar_t* source;
        const wchar_t* trimmed;
    } cases[] = {{L"  word  ", L"word"},     {L"", L""},         {L"    ", L""},
                 {L"\tword\t", L"\tword\t"}, {L" a b ", L"a b"}, {L"x", L"x"}};
    for (const Case& c : cases) {
        WideString source(c.source);
        WideString trimmed = source.Trim();
        EXPECT_EQ(Text(trimmed), c.trimmed) << "source [" << Text(source).size() << " chars]";
        EXPECT_EQ(trimmed.Capacity(), source.Length() + 1);
        ExpectSoundWideString(trimmed);
    }
}

TEST(WideStringNew, ToUpperChangesAsciiLettersOnly)
{
    WideString s(L"c:\\ntvdm.exe äöü ｗｉｄｅ");
    WideString upper = s.ToUpper();
    EXPECT_EQ(Text(upper), L"C:\\NTVDM.EXE äöü ｗｉｄｅ");
    EXPECT_EQ(upper.Capacity(), s.Capacity());
}

TEST(WideStringQueries, FindAndReverseFind)
{
    WideString s(L"C:\\dir\\file.txt");
    EXPECT_EQ(s.Find(L"dir"), 3);
    EXPECT_EQ(s.Find(L"\\"), 2);
    EXPECT_EQ(s.Find(L"absent"), -1);
    EXPECT_EQ(s.Find(L""), 0);
    EXPECT_EQ(s.ReverseFind(L'\\'), 6);
    EXPECT_EQ(WideString(L"no separator").ReverseFind(L'\\'), -1);
    EXPECT_EQ(WideString().Find(L"x"), -1);
}

TEST(WideStringQueries, AssignmentCopiesText)
{
    WideString a(L"first");
    WideString b(L"a much longer second text than the first");
    a = b;
    EXPECT_EQ(Text(a), Text(b));
    EXPECT_NE(a.CStr(), b.CStr());
    a = a;
    EXPECT_EQ(Text(a), Text(b));
}

// Random operations on random texts (spaces, quotes, tabs, backslashes and
// non-ASCII characters) against a std::wstring model.
TEST(WideStringRandomized, OperationsKeepInvariantsAndMatchTheModel)
{
    std::mt19937 random(20261210);
    const std::wstring alphabet = L"  \"\"\t\\a:Zé日本ｘ";
    const int last = static_cast<int>(alphabet.size()) - 1;
    auto randomText = [&](int maxLength) {
        std::wstring text;
        int n = std::uniform_int_distribution<int>(0, maxLength)(random);
        for (int i = 0; i < n; ++i)
            text += alphabet[std::uniform_int_distribution<int>(0, last)(random)];
        return text;
    };

    for (int round = 0; round < 300; ++round) {
        std::wstring model = randomText(40);
        WideString s(model.c_str());
        for (int step = 0; step < 40; ++step) {
            int length = static_cast<int>(model.size());
            int n = std::uniform_int_distribution<int>(-2, length + 2)(random);
            switch (std::uniform_int_distribution<int>(0, 7)(random)) {
            case 0: {
                std::wstring t = randomText(70);
                s.Assign(t.c_str());
                model = t;
                break;
            }
            case 1: {
                std::wstring t = randomText(50);
                s.Append(t.c_str());
                model += t;
                break;
            }
            case 2:
                if (s.SetAt(n, L'q'))
                    model[n] = L'q';
                else
                    EXPECT_TRUE(n < 0 || n >= length);
                break;
            case 3: {
                WideString left = s.Left(n);
                ExpectSoundWideString(left);
                EXPECT_EQ(Text(left), n < 0 || n > length ? L"" : model.substr(0, n));
                break;
            }
            case 4: {
                WideString mid = s.Mid(n);
                ExpectSoundWideString(mid);
                EXPECT_EQ(Text(mid), n < 0 || n >= length ? L"" : model.substr(n));
                break;
            }
            case 5: {
                WideString trimmed = s.Trim();
                ExpectSoundWideString(trimmed);
                size_t first = model.find_first_not_of(L' ');
                std::wstring expected = first == std::wstring::npos
                                            ? L""
                                            : model.substr(first, model.find_last_not_of(L' ') - first + 1);
                EXPECT_EQ(Text(trimmed), expected);
                break;
            }
            case 6: {
                WideString right = s.Right(n);
                ExpectSoundWideString(right);
                EXPECT_EQ(Text(right), n < 0 || n > length ? L"" : model.substr(length - n));
                break;
            }
            default: {
                std::wstring part = randomText(3);
                size_t at = model.find(part);
                EXPECT_EQ(s.Find(part.c_str()), at == std::wstring::npos ? -1 : static_cast<int>(at));
                break;
            }
            }
            ExpectSoundWideString(s);
            ASSERT_EQ(Text(s), model);
        }
    }
}

} // namespace

#include "ui/core/ui_string.h"

#include <gtest/gtest.h>

#include <string>

#include "ui/core/text_convert.h"

namespace {

using SkinUI::UiChar;
using SkinUI::UiString;

std::string U8(const UiString& s) {
    return SkinUI::UiToUtf8(s.Data());
}

TEST(UiString, InlineAndHeapStorage) {
    UiString s;
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_EQ(s.Data()[0], 0);
    for (int i = 0; i < 200; ++i) s += UiChar('a' + i % 26);
    EXPECT_EQ(s.Length(), 200);
    EXPECT_EQ(s.At(199), UiChar('a' + 199 % 26));
    EXPECT_EQ(s.At(200), 0);
    EXPECT_EQ(s.At(-1), 0);
    UiString copy = s;
    UiString moved = std::move(copy);
    EXPECT_EQ(moved, s);
    EXPECT_TRUE(copy.IsEmpty());
    s = s.Data() + 150;  // assigning a piece of itself
    EXPECT_EQ(s.Length(), 50);
    s.Append(s.Data(), 10);
    EXPECT_EQ(s.Length(), 60);
    s.Empty();
    EXPECT_EQ(s.Length(), 0);
}

TEST(UiString, CompareFindAndPieces) {
    UiString s(UI_TEXT("Hello, World"));
    EXPECT_EQ(s.Compare(UI_TEXT("Hello, World")), 0);
    EXPECT_LT(s.Compare(UI_TEXT("Hello, world")), 0);
    EXPECT_EQ(s.CompareNoCase(UI_TEXT("HELLO, WORLD")), 0);
    EXPECT_EQ(s.Find(UiChar('o')), 4);
    EXPECT_EQ(s.Find(UiChar('o'), 5), 8);
    EXPECT_EQ(s.Find(UI_TEXT("World")), 7);
    EXPECT_EQ(s.Find(UI_TEXT("world")), -1);
    EXPECT_EQ(s.ReverseFind(UiChar('o')), 8);
    EXPECT_EQ(U8(s.Mid(7)), "World");
    EXPECT_EQ(U8(s.Mid(7, 2)), "Wo");
    EXPECT_EQ(U8(s.Mid(50, 2)), "");
    EXPECT_EQ(U8(s.Left(5)), "Hello");
    EXPECT_EQ(U8(s.Right(5)), "World");
    EXPECT_EQ(U8(s.Right(99)), "Hello, World");
    s.MakeUpper();
    EXPECT_EQ(U8(s), "HELLO, WORLD");
    s.MakeLower();
    EXPECT_EQ(U8(s), "hello, world");
}

TEST(UiString, ReplaceAll) {
    struct Case {
        const UiChar* in;
        const UiChar* from;
        const UiChar* to;
        const char* out;
        int count;
    } cases[] = {
        {UI_TEXT("a-b-c"), UI_TEXT("-"), UI_TEXT("--"), "a--b--c", 2},
        {UI_TEXT("aaa"), UI_TEXT("aa"), UI_TEXT("b"), "ba", 1},
        {UI_TEXT("abc"), UI_TEXT(""), UI_TEXT("x"), "abc", 0},
        {UI_TEXT("abc"), UI_TEXT("c"), UI_TEXT(""), "ab", 1},
        {UI_TEXT("abc"), UI_TEXT("z"), UI_TEXT("y"), "abc", 0},
    };
    for (const Case& c : cases) {
        UiString s(c.in);
        EXPECT_EQ(s.Replace(c.from, c.to), c.count);
        EXPECT_EQ(U8(s), c.out);
    }
}

TEST(UiString, Format) {
    UiString s;
    s.Format(UI_TEXT("%d|%5d|%-4d|%05d|%u|%x|%X|%c|%s|%.2s|%%|%q"), -12, 34, 5, -7, 4000000000u, 255, 255,
             UiChar('z'), UI_TEXT("str"), UI_TEXT("long"));
    EXPECT_EQ(U8(s), "-12|   34|5   |-0007|4000000000|ff|FF|z|str|lo|%|%q");
    s.Format(UI_TEXT("%s"), static_cast<const UiChar*>(nullptr));
    EXPECT_EQ(U8(s), "(null)");
}

TEST(UiString, AnsiText) {
    UiString s = UiString::FromAnsi("plain");
    EXPECT_EQ(U8(s), "plain");
    s.AssignAnsi("abcdef", 3);
    EXPECT_EQ(U8(s), "abc");
    s.AssignAnsi(nullptr);
    EXPECT_TRUE(s.IsEmpty());
}

TEST(TextConvert, Utf8Decoding) {
    struct Case {
        const char* utf8;
        std::u16string utf16;
    } cases[] = {
        {"abc", u"abc"},
        {u8"安装", u"安装"},
        {"\xF0\x9F\x98\x80", u"\U0001F600"},
        {"\xC3\x28", u"\uFFFD("},
        {"\xE0\x80\x80", u"\uFFFD\uFFFD\uFFFD"},
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"a\xE6\xB1", u"a\uFFFD\uFFFD"},
    };
    for (const Case& c : cases) {
        std::string in = c.utf8;
        std::u16string out(in.size(), u'\0');
        size_t n = SkinUI::DecodeUtf8(in.data(), in.size(), reinterpret_cast<SkinUI::UiChar*>(&out[0]));
        out.resize(n);
        EXPECT_EQ(out, c.utf16) << c.utf8;
        EXPECT_EQ(SkinUI::DecodedUtf8Length(in.data(), in.size()), n) << c.utf8;
    }
    EXPECT_EQ(SkinUI::UiToUtf8(reinterpret_cast<const SkinUI::UiChar*>(u"\U0001F600\u5B89")),
              "\xF0\x9F\x98\x80\xE5\xAE\x89");
}

}  // namespace

#include "ui/core/language_tokens.h"

#include <gtest/gtest.h>

#include <string>

#include "ui/core/text_convert.h"

namespace {

using SkinUI::UiChar;
using SkinUI::UiString;

TEST(LanguageTokens, Expansion) {
    UiString s12(UI_TEXT("ab")), s0(UI_TEXT("zero")), self(UI_TEXT("<%{7}>"));
    SkinUI::StringPtrMap strings;
    strings.Insert(UI_TEXT("12"), &s12);
    strings.Insert(UI_TEXT("0"), &s0);
    strings.Insert(UI_TEXT("7"), &self);
    struct Case {
        const UiChar* in;
        const char* out;
    } cases[] = {
        {UI_TEXT("x%{12}y%{12}"), "xabyab"},
        {UI_TEXT("%{13} stays"), "%{13} stays"},
        {UI_TEXT("%{} is id 0"), "zero is id 0"},
        {UI_TEXT("100%"), "100%"},
        {UI_TEXT("%%{12}"), "%ab"},
        {UI_TEXT("%{12"), "%{12"},
        {UI_TEXT("%{1x}"), "%{1x}"},
        {UI_TEXT("%{012}"), "ab"},
        {UI_TEXT("%{7}%{7}"), "<%{7}><%{7}>"},  // a string holding its own token ends
        {UI_TEXT(""), ""},
    };
    for (const Case& c : cases) {
        UiString text(c.in);
        SkinUI::ExpandLanguageTokens(&text, strings);
        EXPECT_EQ(SkinUI::UiToUtf8(text.Data()), c.out);
    }
}

}  // namespace

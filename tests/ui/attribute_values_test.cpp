#include "ui/controls/attribute_values.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/core/delegate.h"
#include "ui/core/text_convert.h"

namespace SkinUI {
namespace {

UiString U(const char* text) {
    return UiString::FromAnsi(text);
}

TEST(AttributeValues, Decimal) {
    struct Case {
        const char* text;
        int32_t value;
        int used;
    } cases[] = {
        {"42", 42, 2},
        {"-7,", -7, 2},
        {"+3", 3, 2},
        {"  12x", 12, 4},
        {"", 0, 0},
        {"abc", 0, 0},
        {"-", 0, 0},
        {"357", 357, 3},
        {"99999999999", INT32_MAX, 11},
        {"-99999999999", INT32_MIN, 12},
    };
    for (const Case& c : cases) {
        UiString text = U(c.text);
        const UiChar* end = nullptr;
        EXPECT_EQ(ParseDecimal(text, &end), c.value) << c.text;
        EXPECT_EQ(end - text.Data(), c.used) << c.text;
    }
}

TEST(AttributeValues, NumberListsSkipOneSeparatorAndStopAtTheEnd) {
    struct Case {
        const char* text;
        std::vector<int32_t> values;
        int read;
    } cases[] = {
        {"1,2,3,4", {1, 2, 3, 4}, 4},
        {"1, 2, 3, 4", {1, 2, 3, 4}, 4},  // blanks are white space before a number
        {"10 20 30 40", {10, 20, 30, 40}, 4},
        {"1,2", {1, 2, 0, 0}, 2},  // missing numbers are 0, never read past the end
        {"0,296,32,210", {0, 296, 32, 210}, 4},
        {"1,,3,4", {1, 0, 3, 4}, 3},  // ",," : the second number is missing (0), the third follows
        {"", {0, 0, 0, 0}, 0},
    };
    for (const Case& c : cases) {
        int32_t out[4] = {7, 7, 7, 7};
        EXPECT_EQ(ParseNumberList(U(c.text), out, 4), c.read) << c.text;
        EXPECT_EQ(std::vector<int32_t>(out, out + 4), c.values) << c.text;
    }
}

TEST(AttributeValues, Colours) {
    struct Case {
        const char* text;
        bool skipBlanks;
        uint32_t value;
    } cases[] = {
        {"#FF666666", false, 0xFF666666u},
        {"FF666666", false, 0xFF666666u},
        {"0xFF666666", false, 0xFF666666u},
        {"#0xFF666666", false, 0xFF666666u},
        {"#666666", false, 0x00666666u},
        {"#ff00aaZZ", false, 0xFF00AAu},
        {"  #FF000000", true, 0xFF000000u},
        {"  #FF000000", false, 0u},
        {"", false, 0u},
        {"#", false, 0u},
        {"xyz", false, 0u},
        {"#1FFFFFFFFF", false, 0xFFFFFFFFu},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseHexColor(U(c.text), c.skipBlanks), c.value) << c.text;
}

TEST(AttributeValues, FractionsAndBooleans) {
    double shares[4];
    ParseFractionList(U("0.5,0,1,0.25"), shares);
    EXPECT_DOUBLE_EQ(shares[0], 0.5);
    EXPECT_DOUBLE_EQ(shares[2], 1.0);
    EXPECT_DOUBLE_EQ(shares[3], 0.25);
    ParseFractionList(U("1e-1,.5"), shares);
    EXPECT_DOUBLE_EQ(shares[0], 0.1);
    EXPECT_DOUBLE_EQ(shares[1], 0.5);
    EXPECT_DOUBLE_EQ(shares[2], 0.0);
    EXPECT_TRUE(ParseTrue(U("true")));
    EXPECT_FALSE(ParseTrue(U("True")));
    EXPECT_FALSE(ParseTrue(U("1")));
}

TEST(AttributeValues, AttributeStringPairs) {
    struct Case {
        const char* text;
        std::vector<std::string> pairs;
    } cases[] = {
        {"text=\"x\" width=\"10\"", {"text=x", "width=10"}},
        {"a=\"1\"  b=\"2\"", {"a=1", " b=2"}},  // exactly one blank separates; a second joins the name
        {"a=\"1\",b=\"2\"", {"a=1"}},           // no blank after the quote: stop
        {"a=1 b=\"2\"", {}},                    // no quote after "="
        {"a=\"unterminated", {}},
        {"noequals", {}},
        {"empty=\"\" x=\"<n>\"", {"empty=", "x=<n>"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> got;
        ForEachAttributePair(U(c.text), [&](const UiString& name, const UiString& value) {
            got.push_back(UiToUtf8(name.Data()) + "=" + UiToUtf8(value.Data()));
        });
        EXPECT_EQ(got, c.pairs) << c.text;
    }
}

int g_calls = 0;
bool CountTrue(void*) {
    ++g_calls;
    return true;
}
bool StopHere(void*) {
    ++g_calls;
    return false;
}

TEST(ListenerList, KeepsOneCopyPerDelegateAndStopsOnFalse) {
    ListenerList list;
    EXPECT_TRUE(list.FireListeners(nullptr));  // empty: true
    list.AddListener(MakeDelegate(CountTrue));
    list.AddListener(MakeDelegate(CountTrue));  // equal: not added again
    EXPECT_EQ(list.Count(), 1);
    list.AddListener(MakeDelegate(StopHere));
    list.AddListener(MakeDelegate(CountTrue));
    g_calls = 0;
    EXPECT_FALSE(list.FireListeners(nullptr));
    EXPECT_EQ(g_calls, 2);
    EXPECT_TRUE(list.RemoveListener(MakeDelegate(StopHere)));
    EXPECT_FALSE(list.RemoveListener(MakeDelegate(StopHere)));
    g_calls = 0;
    EXPECT_TRUE(list.FireListeners(nullptr));
    EXPECT_EQ(g_calls, 1);
}

}  // namespace
}  // namespace SkinUI

#include "app/copydata_report.h"

#include <gtest/gtest.h>

#include <string>

namespace kelo {
namespace {

TEST(ReportPayloadText, NeverReadsPastTheGivenSize) {
    EXPECT_EQ(ReportPayloadText(nullptr, 0), "");
    EXPECT_EQ(ReportPayloadText(nullptr, 64), "");
    EXPECT_EQ(ReportPayloadText("abc", 0), "");
    EXPECT_EQ(ReportPayloadText("abc", 4), "abc");
    EXPECT_EQ(ReportPayloadText("a\0bc", 4), "a");
    // A buffer with no NUL at all: the text is exactly its bytes. Under
    // AddressSanitizer a read past the end would be reported.
    const std::string exact = "42";
    EXPECT_EQ(ReportPayloadText(exact.data(), 2), "42");
    char heap[3] = {'9', '9', '9'};
    EXPECT_EQ(ReportPayloadText(heap, sizeof heap), "999");
    EXPECT_EQ(ReportPayloadText("\0\0", 2), "");
}

TEST(ReportPercent, ReadsLikeAtoiWithinTheScale) {
    struct Case {
        const char* text;
        int percent;
    } cases[] = {
        {"0", 0},
        {"37", 37},
        {"100", 100},
        {"", 0},
        {"abc", 0},
        {"  12", 12},
        {"\t\n\v\f\r7", 7},
        {"+8", 8},
        {"42%", 42},
        {"4 2", 4},
        {"0x20", 0},
        {"-0", 0},
        {"-5", 0},
        {"101", 100},
        {"007", 7},
        {"+-3", 0},
        {"- 3", 0},
        {"2147483648", 100},
        {"99999999999999999999999999", 100},
    };
    for (const Case& c : cases) EXPECT_EQ(ReportPercent(c.text), c.percent) << '"' << c.text << '"';
}

TEST(InstallProgressBarValue, SecondHalfOfTheBar) {
    struct Case {
        int percent;
        int bar;
    } cases[] = {{0, 50}, {1, 50}, {2, 51}, {37, 68}, {99, 99}, {100, 100}};
    for (const Case& c : cases) EXPECT_EQ(InstallProgressBarValue(c.percent), c.bar) << c.percent;
}

}  // namespace
}  // namespace kelo

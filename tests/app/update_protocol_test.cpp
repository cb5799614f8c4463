#include "app/update_protocol.h"

#include <gtest/gtest.h>

namespace kelo {
namespace {

const char kMd5[] = "0123456789abcdef0123456789abcdef";

// Past the JSON reader's nesting limit, where it throws instead of failing.
std::string DeeplyNested(const std::string& open, int depth = 1100) {
    std::string text;
    for (int i = 0; i < depth; ++i) text += open;
    return text;
}

std::string DownloadDoc(const std::string& members) {
    return std::string("{\"size\": 1000, \"md5\": \"") + kMd5 + "\"" +
           (members.empty() ? "" : ", " + members) + "}";
}

TEST(UpdateProtocol, JoinsUrlsWithoutSeparators) {
    struct Case {
        const char* path;
        const char* info;
        const char* info64;
        bool wow64;
        const char* expected;
    } cases[] = {
        {"/pl/", "x.json", "x64.json", false, "https://b/pl/x.json"},
        {"/pl/", "x.json", "x64.json", true, "https://b/pl/x64.json"},
        {"", "x.json", "", false, "https://bx.json"},
        {"/a", "b", "", false, "https://b/ab"},
    };
    for (const Case& c : cases) {
        VersionInfo v;
        v.updatePath = c.path;
        v.info = c.info;
        v.info64 = c.info64;
        EXPECT_EQ(DownloadInfoUrl("https://b", v, c.wow64), c.expected) << c.path << c.info;
    }
    EXPECT_EQ(VersionUrl("https://h"), "https://h/pl/version_dl.html");
}

TEST(UpdateProtocol, VersionDocumentMembers) {
    VersionInfo v;
    ASSERT_TRUE(ParseVersionInfo(
        "/* comment */ "
        "{\"update_path\":\"/pl/\",\"info\":\"a.json\",\"info_64\":\"b.json\",\"version\":\"1.2\"}",
        v));
    EXPECT_EQ(v.updatePath, "/pl/");
    EXPECT_EQ(v.info, "a.json");
    EXPECT_EQ(v.info64, "b.json");
    EXPECT_EQ(v.version, "1.2");

    ASSERT_TRUE(ParseVersionInfo("{\"info\":\"a.json\",\"update_path\":null}", v));
    EXPECT_EQ(v.updatePath, "");
    EXPECT_EQ(v.info64, "");
}

TEST(UpdateProtocol, RefusedVersionDocuments) {
    const std::string bodies[] = {
        "",
        "<html><body>404 Not Found</body></html>",
        "{\"info\": \"a\"",
        "[1, 2]",
        "\"text\"",
        "{\"info\": 5}",
        "{\"update_path\": {\"a\": 1}}",
        "{\"info_64\": [\"x\"]}",
        DeeplyNested("["),
        DeeplyNested("{\"a\":"),
        "{\"info\": " + DeeplyNested("[") + "}",
        DeeplyNested("[", 1100) + std::string(1100, ']'),
    };
    for (const std::string& body : bodies) {
        VersionInfo v;
        v.info = "kept";
        EXPECT_FALSE(ParseVersionInfo(body, v)) << body.substr(0, 60);
        EXPECT_EQ(v.info, "kept") << body.substr(0, 60);
    }
}

TEST(UpdateProtocol, SourceListOrder) {
    struct Case {
        std::string members;
        std::vector<std::string> sources;
    } cases[] = {
        {"\"updater\": \"u0\"", {"u0"}},
        {"\"updater\": \"u0\", \"backupupdater\": null", {"u0"}},
        {"\"backupupdater\": [{\"updater\": \"m1\"}]", {"", "m1"}},
        {"\"updater\": \"u0\", \"backupupdater\": [{\"updater\": \"m1\"}, {}, {\"updater\": null}, null, "
         "{\"updater\": \"m2\", \"x\": 1}]",
         {"u0", "m1", "m2"}},
        {"\"updater\": \"u0\", \"backupupdater\": []", {"u0"}},
    };
    for (const Case& c : cases) {
        DownloadInfo info;
        ASSERT_TRUE(ParseDownloadInfo(DownloadDoc(c.members), info)) << c.members;
        EXPECT_EQ(info.sources, c.sources) << c.members;
        EXPECT_EQ(info.size, 1000);
        EXPECT_EQ(info.md5, kMd5);
    }
}

TEST(UpdateProtocol, SizeReadsAsSigned32Bit) {
    DownloadInfo info;
    ASSERT_TRUE(ParseDownloadInfo(std::string("{\"md5\":\"") + kMd5 + "\"}", info));
    EXPECT_EQ(info.size, 0);  // absent reads as 0; the downloader then refuses the task
    ASSERT_TRUE(ParseDownloadInfo(std::string("{\"size\": 2147483647, \"md5\":\"") + kMd5 + "\"}", info));
    EXPECT_EQ(info.size, 2147483647);
    ASSERT_TRUE(ParseDownloadInfo(std::string("{\"size\": -5, \"md5\":\"") + kMd5 + "\"}", info));
    EXPECT_EQ(info.size, -5);
}

TEST(UpdateProtocol, RefusedDownloadDocuments) {
    const std::string md5 = kMd5;
    const std::string bodies[] = {
        "<html>error</html>",
        "[]",
        "{\"size\": \"1000\", \"md5\": \"" + md5 + "\"}",
        "{\"size\": 2147483648, \"md5\": \"" + md5 + "\"}",
        "{\"size\": 10.5, \"md5\": \"" + md5 + "\"}",
        "{\"size\": 10}",
        "{\"size\": 10, \"md5\": \"\"}",
        "{\"size\": 10, \"md5\": \"0123456789abcdef0123456789abcde\"}",
        "{\"size\": 10, \"md5\": \"0123456789abcdef0123456789abcdef0\"}",
        "{\"size\": 10, \"md5\": \"..\\\\..\\\\evil0123456789abcdef012345\"}",
        "{\"size\": 10, \"md5\": \"0123456789abcdeg0123456789abcdef\"}",
        "{\"size\": 10, \"md5\": 5}",
        "{\"size\": 10, \"md5\": \"" + md5 + "\", \"backupupdater\": {\"updater\": \"m\"}}",
        "{\"size\": 10, \"md5\": \"" + md5 + "\", \"backupupdater\": [5]}",
        "{\"size\": 10, \"md5\": \"" + md5 + "\", \"backupupdater\": [{\"updater\": 7}]}",
        "{\"size\": 10, \"md5\": \"" + md5 + "\", \"updater\": [\"u\"]}",
        DeeplyNested("["),
        "{\"size\": 10, \"md5\": \"" + md5 + "\", \"backupupdater\": " + DeeplyNested("[{\"updater\":"),
        "{\"size\": 10, \"md5\": \"" + md5 + "\", \"backupupdater\": " + DeeplyNested("[") +
            std::string(1100, ']') + "}",
    };
    for (const std::string& body : bodies) {
        DownloadInfo info;
        EXPECT_FALSE(ParseDownloadInfo(body, info)) << body.substr(0, 60);
    }
}

TEST(UpdateProtocol, UpperCaseMd5IsAcceptedAsText) {
    // It becomes a file name and later fails verification against the lower-case digest.
    DownloadInfo info;
    ASSERT_TRUE(ParseDownloadInfo("{\"size\": 1, \"md5\": \"0123456789ABCDEF0123456789ABCDEF\"}", info));
    EXPECT_EQ(InstallerFileName(info.md5), "Kelo_0123456789ABCDEF0123456789ABCDEF.exe");
}

TEST(UpdateProtocol, PercentTruncatesTowardZero) {
    struct Case {
        int32_t received, total;
        int percent;
    } cases[] = {
        {0, 1000, 0},
        {9, 1000, 0},
        {10, 1000, 1},
        {999, 1000, 99},
        {1000, 1000, 100},
        {512000, 1000000, 51},
        {2147483647, 2147483647, 100},
        {1, 0, 0},
        {5, -1, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DownloadPercent(c.received, c.total), c.percent) << c.received << "/" << c.total;
    }
    EXPECT_DOUBLE_EQ(Megabytes(50 * 1024 * 1024), 50.0);
}

}  // namespace
}  // namespace kelo

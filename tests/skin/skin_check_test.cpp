// The skin checker over folders, archives and programs.
#include "tools/skin-check/skin_check.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/skin/image_fixtures.h"
#include "tests/skin/pe_builder.h"
#include "tests/skin/test_text.h"
#include "tests/skin/zip_builder.h"
#include "tools/skin-check/pe_resource.h"

namespace {

using kelo_test::W;

class SkinCheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = ::testing::TempDir() + "skin_check_test/";
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_ + "skin/png");
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    void Write(const std::string& name, const std::string& bytes) {
        ASSERT_TRUE(kelo_test::WriteFile(dir_ + name, bytes));
    }
    // Runs the checker; returns its exit code and puts its output in *text.
    int Run(const std::string& source, std::string* text) {
        const std::string outPath = dir_ + "out.txt";
        FILE* out = std::fopen(outPath.c_str(), "wb");
        int code = skin_check::CheckSkinSource(W(source), out);
        std::fclose(out);
        std::ifstream in(outPath, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        *text = ss.str();
        return code;
    }
    std::string dir_;
};

const char kGoodXml[] = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?><Window><Label/></Window>";

TEST_F(SkinCheckTest, FolderReportsEveryFile) {
    Write("skin/form.xml", kGoodXml);
    Write("skin/bad.xml", "<a>\n<b></c></a>");
    Write("skin/png/ok.png", kelo_test::PngOf(2, 2, {1, 2, 3, 4}));
    Write("skin/png/broken.png", "not a png");
    Write("skin/notes.txt", "ignored");
    std::string text;
    EXPECT_EQ(Run(dir_ + "skin", &text), 1);
    EXPECT_EQ(text,
              "bad.xml: Unmatched closing tag at \"c></a>\"\n"
              "form.xml: ok\n"
              "png/broken.png: Could not decode image\n"
              "png/ok.png: ok\n");
    std::filesystem::remove(dir_ + "skin/bad.xml");
    std::filesystem::remove(dir_ + "skin/png/broken.png");
    EXPECT_EQ(Run(dir_ + "skin", &text), 0);
    EXPECT_EQ(text, "form.xml: ok\npng/ok.png: ok\n");
}

TEST_F(SkinCheckTest, ArchiveAndProgram) {
    const std::string zip = kelo_test::ZipBuilder()
                                .Add("install_form.xml", kGoodXml)
                                .Add("png/", "")
                                .Add("png/bk.png", kelo_test::PngOf(3, 3, {9, 9, 9, 255}))
                                .Add("big.xml", "<a>" + std::string(4194305, ' ') + "</a>")
                                .Add("empty.xml", "")
                                .Build();
    Write("skin.zip", zip);
    std::string text;
    EXPECT_EQ(Run(dir_ + "skin.zip", &text), 1);
    EXPECT_EQ(text,
              "install_form.xml: ok\n"
              "png/bk.png: ok\n"
              "big.xml: File too large\n"
              "empty.xml: File is empty\n");

#ifndef _WIN32
    // Natively a program's resource is read by the portable PE reader.
    const std::string good = kelo_test::ZipBuilder().Add("install_form.xml", kGoodXml).Build();
    Write("setup.exe", kelo_test::PeWithResource("ZIP", 200, good));
    EXPECT_EQ(Run(dir_ + "setup.exe", &text), 0);
    EXPECT_EQ(text, "install_form.xml: ok\n");
    Write("other.exe", kelo_test::PeWithResource("ZIP", 201, good));
    EXPECT_EQ(Run(dir_ + "other.exe", &text), 1);
    EXPECT_NE(text.find("no \"ZIP\" resource 200"), std::string::npos) << text;
#endif
}

TEST_F(SkinCheckTest, UnreadableSources) {
    std::string text;
    Write("junk.zip", "this is no archive");
    EXPECT_EQ(Run(dir_ + "junk.zip", &text), 1);
    EXPECT_EQ(text, dir_ + "junk.zip: not a ZIP archive, or a corrupt one (0x700)\n");
    EXPECT_EQ(Run(dir_ + "missing.zip", &text), 1);
    EXPECT_EQ(text, dir_ + "missing.zip: cannot open the file\n");
    std::string damaged = kelo_test::ZipBuilder().Add("a.xml", "<a/>").Build();
    damaged[damaged.size() - 22 + 8] = 5;  // entry counts differ
    Write("damaged.zip", damaged);
    EXPECT_EQ(Run(dir_ + "damaged.zip", &text), 1);
    EXPECT_EQ(text, dir_ + "damaged.zip: not a ZIP archive, or a corrupt one (0x700)\n");
    EXPECT_EQ(Run(dir_ + "skin", &text), 1) << "an empty folder holds no skin";
}

TEST(PeResource, FindsTheResourceAndRejectsDamage) {
    const std::string data = "resource bytes";
    const std::string pe = kelo_test::PeWithResource("ZIP", 200, data);
    const auto* bytes = reinterpret_cast<const unsigned char*>(pe.data());
    size_t offset = 0, size = 0;
    std::string error;
    ASSERT_TRUE(skin_check::FindPeResource(bytes, pe.size(), u"zip", 200, &offset, &size, &error)) << error;
    EXPECT_EQ(pe.substr(offset, size), data);
    EXPECT_FALSE(skin_check::FindPeResource(bytes, pe.size(), u"PNG", 200, &offset, &size, &error));
    EXPECT_FALSE(skin_check::FindPeResource(bytes, pe.size(), u"ZIP", 7, &offset, &size, &error));
    // Every truncation fails cleanly (checked under ASan in the sanitizer build).
    for (size_t cut = 0; cut < pe.size(); cut += 7) {
        std::vector<unsigned char> part(bytes, bytes + cut);
        EXPECT_FALSE(
            skin_check::FindPeResource(part.data(), part.size(), u"ZIP", 200, &offset, &size, &error))
            << cut;
    }
    // Damage to single bytes gives an answer, never a read outside the file.
    for (size_t at = 0; at < pe.size(); ++at) {
        std::vector<unsigned char> damaged(bytes, bytes + pe.size());
        damaged[at] ^= 0xFF;
        if (skin_check::FindPeResource(damaged.data(), damaged.size(), u"ZIP", 200, &offset, &size, &error)) {
            EXPECT_LE(offset + size, damaged.size());
        }
    }
}

}  // namespace

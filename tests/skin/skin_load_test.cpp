// Loading skin text: encodings, the skin folder, the skin archive, the limits
// and the skin-location settings.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/skin/test_text.h"
#include "tests/skin/zip_builder.h"
#include "ui/skin/skin_sources.h"
#include "ui/skin/skin_xml.h"

namespace {

using kelo_test::U8;
using kelo_test::W;
using kelo_test::ZipBuilder;
using SkinUI::CSkinXml;
using SkinUI::SkinSources;
using SkinUI::SkinTextEncoding;

const char kDocument[] = u8"<Window caption=\"安装\"><Label text=\"a&amp;b\"/></Window>";

void ExpectDocument(const CSkinXml& doc, const std::string& context) {
    ASSERT_TRUE(doc.RootNode().IsValid()) << context << ": " << U8(doc.ErrorMessageText());
    EXPECT_EQ(U8(doc.RootNode().AttributeValue(UI_TEXT("caption"))), u8"安装") << context;
    EXPECT_EQ(U8(doc.RootNode().FirstChild().AttributeValue(UI_TEXT("text"))), "a&b") << context;
}

std::string Utf16Bytes(const std::string& utf8, bool bigEndian) {
    SkinUI::UiString wide = W(utf8);
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (int i = 0; i < wide.Length(); ++i) {
        unsigned c = static_cast<uint16_t>(wide.At(i));
        char hi = static_cast<char>(c >> 8), lo = static_cast<char>(c & 0xFF);
        out += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
    }
    return out;
}

TEST(SkinXmlParseBytes, Encodings) {
    struct Case {
        const char* what;
        std::string bytes;
        SkinTextEncoding encoding;
    } cases[] = {
        {"utf-8", kDocument, SkinTextEncoding::kUtf8},
        {"utf-8 with mark", std::string("\xEF\xBB\xBF") + kDocument, SkinTextEncoding::kUtf8},
        {"utf-16 le", Utf16Bytes(kDocument, false), SkinTextEncoding::kUtf16},
        {"utf-16 be", Utf16Bytes(kDocument, true), SkinTextEncoding::kUtf16},
        {"utf-16 le, odd trailing byte", Utf16Bytes(kDocument, false) + "x", SkinTextEncoding::kUtf16},
    };
    for (const Case& c : cases) {
        CSkinXml doc;
        EXPECT_TRUE(doc.ParseBytes(c.bytes.data(), c.bytes.size(), c.encoding)) << c.what;
        ExpectDocument(doc, c.what);
    }
#ifndef _WIN32
    // Natively the ANSI code page is UTF-8.
    CSkinXml ansi;
    EXPECT_TRUE(ansi.ParseBytes(kDocument, sizeof(kDocument) - 1, SkinTextEncoding::kAnsi));
    ExpectDocument(ansi, "ansi");
#endif
}

TEST(SkinXmlParseBytes, RejectedInputs) {
    CSkinXml doc;
    const std::string noMark = Utf16Bytes("<a/>", false).substr(2);
    EXPECT_FALSE(doc.ParseBytes(noMark.data(), noMark.size(), SkinTextEncoding::kUtf16));
    EXPECT_FALSE(doc.ParseBytes("\xFF", 1, SkinTextEncoding::kUtf16));
    // A byte-order mark alone is an empty document.
    EXPECT_TRUE(doc.ParseBytes("\xFF\xFE", 2, SkinTextEncoding::kUtf16));
    EXPECT_FALSE(doc.RootNode().IsValid());
    // Two bytes are too few to hold the mark: they are text.
    EXPECT_FALSE(doc.ParseBytes("\xEF\xBB", 2, SkinTextEncoding::kUtf8));
    EXPECT_EQ(U8(doc.ErrorMessageText()), "Expected start tag");
    EXPECT_TRUE(doc.ParseBytes("\xEF\xBB\xBF", 3, SkinTextEncoding::kUtf8));
    EXPECT_FALSE(doc.RootNode().IsValid());
    EXPECT_TRUE(doc.ParseBytes("\xEF\xBB\xBF<a/>", 7, SkinTextEncoding::kUtf8));
    EXPECT_EQ(U8(doc.RootNode().Name()), "a");
    // A failed parse clears the document.
    EXPECT_FALSE(doc.ParseBytes("<a x>", 5));
    EXPECT_FALSE(doc.RootNode().IsValid());
    EXPECT_EQ(U8(doc.ErrorMessageText()), "Error while parsing attributes");
    // Invalid UTF-8 does not stop the conversion.
    const char invalid[] = "<a v=\"\xC3\x28\xFF\"/>";
    EXPECT_TRUE(doc.ParseBytes(invalid, sizeof(invalid) - 1));
    EXPECT_EQ(doc.RootNode().AttributeValue(UI_TEXT("v"))[0], 0xFFFD);
}

class SkinFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        SkinSources::Reset();
        folder_ = ::testing::TempDir() + "skin_load_test_" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override {
        SkinSources::Reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    void Write(const std::string& name, const std::string& bytes) {
        ASSERT_TRUE(kelo_test::WriteFile(folder_ + name, bytes));
    }
    std::string Load(const char* name) {
        CSkinXml doc;
        if (doc.ParseFile(W(name))) return "ok:" + U8(doc.RootNode().Name());
        std::string location = U8(doc.ErrorLocationText());
        return U8(doc.ErrorMessageText()) + (location.empty() ? "" : " @ " + location);
    }
    std::string folder_;
};

// A document of exactly size bytes.
std::string DocumentOfSize(size_t size) {
    std::string doc = "<big>";
    doc += std::string(size - doc.size() - 6, 'x');
    return doc + "</big>";
}

TEST_F(SkinFileTest, FromTheSkinFolder) {
    Write("form.xml", std::string("\xEF\xBB\xBF") + kDocument);
    Write("plain.xml", kDocument);
    Write("empty.xml", "");
    Write("max.xml", DocumentOfSize(4194304));
    Write("over.xml", DocumentOfSize(4194305));
    Write("bad.xml", "<a></b>");
    SkinSources::SetSkinFolderPath(W(folder_));
    EXPECT_EQ(Load("form.xml"), "ok:Window");
    EXPECT_EQ(Load("plain.xml"), "ok:Window");
    EXPECT_EQ(Load("missing.xml"), "Error opening file");
    EXPECT_EQ(Load("empty.xml"), "File is empty");
    EXPECT_EQ(Load("max.xml"), "ok:big");
    EXPECT_EQ(Load("over.xml"), "File too large");
    EXPECT_EQ(Load("bad.xml"), "Unmatched closing tag @ b>");
}

TEST_F(SkinFileTest, FromTheSkinArchive) {
    const std::string zip = ZipBuilder()
                                .Add("install_form.xml", std::string("\xEF\xBB\xBF") + kDocument)
                                .Add("nomark.xml", kDocument)
                                .Add("empty.xml", "")
                                .Add("max.xml", DocumentOfSize(4194304))
                                .Add("over.xml", DocumentOfSize(4194305))
                                .Build();
    Write("skin.zip", zip);
    SkinSources::SetSkinFolderPath(W(folder_));
    for (bool keepOpen : {true, false}) {
        SkinSources::UseSkinArchiveFile(UI_TEXT("skin.zip"), keepOpen);
        EXPECT_EQ(SkinSources::OpenSkinArchive() != nullptr, keepOpen);
        EXPECT_EQ(Load("install_form.xml"), "ok:Window") << keepOpen;
        EXPECT_EQ(Load("INSTALL_FORM.XML"), "ok:Window") << keepOpen;
        EXPECT_EQ(Load("nomark.xml"), "ok:Window") << keepOpen;
        EXPECT_EQ(Load("missing.xml"), "Could not find ziped file") << keepOpen;
        EXPECT_EQ(Load("empty.xml"), "File is empty") << keepOpen;
        EXPECT_EQ(Load("max.xml"), "ok:big") << keepOpen;
        EXPECT_EQ(Load("over.xml"), "File too large") << keepOpen;
    }
    SkinSources::UseSkinArchiveFile(UI_TEXT("absent.zip"), false);
    EXPECT_EQ(Load("install_form.xml"), "Error opening zip file");
    SkinSources::UseSkinArchiveFile(UI_TEXT("absent.zip"), true);
    EXPECT_EQ(Load("install_form.xml"), "Error opening zip file");
}

TEST_F(SkinFileTest, DamagedArchiveEntryCannotBeUnzipped) {
    std::string zip = ZipBuilder().Add("form.xml", kDocument).Build();
    const size_t central = kelo_test::CentralDirectoryOffset(zip);
    kelo_test::PutLe32(&zip, central + 16, kelo_test::GetLe32(zip, central + 16) + 1);
    kelo_test::PutLe32(&zip, 14, kelo_test::GetLe32(zip, 14) + 1);
    SkinSources::UseSkinArchiveMemory(zip.data(), zip.size());
    EXPECT_EQ(Load("form.xml"), "Could not unzip file");
}

TEST_F(SkinFileTest, DeclaredSizeBeyondWhatDeflateCanProduce) {
    std::string zip = ZipBuilder().Add("img.png", std::string(100, 'x')).Build();
    const size_t central = kelo_test::CentralDirectoryOffset(zip);
    kelo_test::PutLe32(&zip, central + 24, 0xFFFFFF00);
    kelo_test::PutLe32(&zip, 22, 0xFFFFFF00);
    SkinUI::SkinArchivePtr archive(SkinUI::CSkinArchive::OpenMemory(zip.data(), zip.size()));
    std::vector<unsigned char> bytes;
    EXPECT_EQ(SkinUI::ReadArchiveEntry(archive.get(), UI_TEXT("img.png"), 0, &bytes),
              SkinUI::SkinFileStatus::kReadFailed);
    EXPECT_TRUE(bytes.empty());
}

TEST_F(SkinFileTest, MemoryArchive) {
    const std::string zip = ZipBuilder().Add("install_form.xml", kDocument).Build();
    const std::string other = ZipBuilder().Add("other.xml", "<o/>").Build();
    SkinSources::UseSkinArchiveMemory(zip.data(), zip.size());
    EXPECT_EQ(U8(SkinSources::SkinArchiveName().Data()), "membuffer");
    EXPECT_EQ(Load("install_form.xml"), "ok:Window");
    SkinUI::CSkinArchive* first = SkinSources::OpenSkinArchive();
    // A second call keeps the first archive.
    SkinSources::UseSkinArchiveMemory(other.data(), other.size());
    EXPECT_EQ(SkinSources::OpenSkinArchive(), first);
    EXPECT_EQ(Load("install_form.xml"), "ok:Window");
    EXPECT_EQ(Load("other.xml"), "Could not find ziped file");
    // Kept open off: every load opens the archive by name, and there is no
    // file called "membuffer".
    SkinSources::UseSkinArchiveFile(UI_TEXT("membuffer"), false);
    EXPECT_EQ(SkinSources::OpenSkinArchive(), nullptr);
    EXPECT_EQ(Load("install_form.xml"), "Error opening zip file");
}

TEST_F(SkinFileTest, ArchiveSettingChangesOnlyWhenNameOrFlagChanges) {
    Write("a.zip", ZipBuilder().Add("x.xml", "<a/>").Build());
    Write("b.zip", ZipBuilder().Add("x.xml", "<b/>").Build());
    SkinSources::SetSkinFolderPath(W(folder_));
    SkinSources::UseSkinArchiveFile(UI_TEXT("a.zip"), true);
    SkinUI::CSkinArchive* a = SkinSources::OpenSkinArchive();
    ASSERT_NE(a, nullptr);
    SkinSources::UseSkinArchiveFile(UI_TEXT("a.zip"), true);
    EXPECT_EQ(SkinSources::OpenSkinArchive(), a);
    SkinSources::UseSkinArchiveFile(UI_TEXT("b.zip"), true);
    EXPECT_EQ(Load("x.xml"), "ok:b");
    SkinSources::UseSkinArchiveFile(UI_TEXT("b.zip"), false);
    EXPECT_FALSE(SkinSources::IsSkinArchiveKeptOpen());
    EXPECT_EQ(Load("x.xml"), "ok:b");
}

TEST(SkinSourcesFolder, PathEndings) {
    struct Case {
        const char* in;
        const char* stored;
    } cases[] = {
        {"C:\\skins", "C:\\skins\\"},
        {"C:\\skins\\", "C:\\skins\\"},
        {"/skins/", "/skins/"},
        {"", ""},
        {"a", "a\\"},
    };
    for (const Case& c : cases) {
        SkinSources::SetSkinFolderPath(W(c.in));
        EXPECT_EQ(U8(SkinSources::SkinFolderPath().Data()), c.stored) << c.in;
    }
    SkinSources::Reset();
}

}  // namespace

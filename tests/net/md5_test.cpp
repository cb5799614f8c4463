#include "net/md5.h"

#include "tests/net/test_server.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace kelo {
namespace {

std::string PseudoRandomBytes(size_t size, unsigned seed) {
    std::mt19937 generator(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(generator() & 0xff);
    return bytes;
}

TEST(Md5, MatchesTheReferenceSuite) {
    const struct {
        std::string input;
        const char* hex;
    } cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
        {std::string(1000000, 'a'), "7707d6ae4e027c70eea2a935c2296f21"},
        // Padding edges: 55, 56 and 64 bytes.
        {std::string(55, 'x'), "04364420e25c512fd958a70738aa8f72"},
        {std::string(56, 'x'), "668a72d5ba17f08e62dabcafad6db14b"},
        {std::string(64, 'x'), "c1bb4f81d892b2d57947682aeb252456"},
    };
    for (const auto& c : cases) {
        Md5 md5(c.input);
        EXPECT_EQ(md5.HexDigest(), c.hex) << "input of " << c.input.size() << " bytes";
    }
}

TEST(Md5, PiecewiseFeedingEqualsOneFeed) {
    const std::string bytes = PseudoRandomBytes(5000, 7);
    const std::string whole = Md5(bytes).HexDigest();
    const size_t pieces[] = {1, 3, 63, 64, 65, 127, 128, 1000};
    for (size_t piece : pieces) {
        Md5 md5;
        for (size_t at = 0; at < bytes.size(); at += piece) md5.Update(bytes.substr(at, piece));
        EXPECT_EQ(md5.HexDigest(), whole) << "pieces of " << piece;
    }
}

TEST(Md5, DigestIsStableAndHexIsLowerCase) {
    Md5 md5(std::string("The quick brown fox jumps over the lazy dog"));
    const Md5::DigestBytes first = md5.Digest();
    EXPECT_EQ(md5.Digest(), first);
    const std::string hex = md5.HexDigest();
    EXPECT_EQ(hex, "9e107d9d372bb6826bd81d3542a419d6");
    EXPECT_EQ(hex.find_first_not_of("0123456789abcdef"), std::string::npos);
}

TEST(Md5, UpdateFromFileReadsWholeFilesAndClosesThem) {
    test::TempDir dir;
    // Around the 102400-byte chunk: one chunk, one chunk plus one byte, ...
    const size_t sizes[] = {0, 1, 102399, 102400, 102401, 204800, 250000};
    for (size_t size : sizes) {
        const std::string bytes = PseudoRandomBytes(size, static_cast<unsigned>(size));
        const std::string path = dir.Path("f" + std::to_string(size));
        test::WriteFile(path, bytes);
        std::ifstream file(path, std::ios::binary);
        ASSERT_TRUE(file.is_open());
        Md5 md5;
        md5.UpdateFromFile(file);
        EXPECT_FALSE(file.is_open()) << size;
        EXPECT_EQ(md5.HexDigest(), Md5(bytes).HexDigest()) << size;
    }
}

TEST(Md5, StreamThatIsNotOpenIsLeftAlone) {
    std::ifstream file;
    const std::ios::iostate before = file.rdstate();
    Md5 md5(file);
    EXPECT_EQ(file.rdstate(), before);
    EXPECT_EQ(md5.HexDigest(), "d41d8cd98f00b204e9800998ecf8427e");
}

}  // namespace
}  // namespace kelo

#include "net/md5.h"

#include <cassert>
#include <cstring>
#include <memory>

namespace kelo {

namespace {

inline uint32_t RotateLeft(uint32_t x, int n) {
    return (x << n) | (x >> (32 - n));
}

inline uint32_t LoadLittle(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

inline void StoreLittle(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

// The four auxiliary functions, in the forms that need the fewest operations.
inline uint32_t F(uint32_t x, uint32_t y, uint32_t z) {
    return z ^ (x & (y ^ z));
}
inline uint32_t G(uint32_t x, uint32_t y, uint32_t z) {
    return y ^ (z & (x ^ y));
}
inline uint32_t H(uint32_t x, uint32_t y, uint32_t z) {
    return x ^ y ^ z;
}
inline uint32_t I(uint32_t x, uint32_t y, uint32_t z) {
    return y ^ (x | ~z);
}

#define KELO_MD5_STEP(f, a, b, c, d, x, s, t) \
    a += f(b, c, d) + (x) + (t);              \
    a = RotateLeft(a, s) + b

}  // namespace

Md5::Md5() {
    state_[0] = 0x67452301u;
    state_[1] = 0xefcdab89u;
    state_[2] = 0x98badcfeu;
    state_[3] = 0x10325476u;
    count_[0] = count_[1] = 0;
    std::memset(buffer_, 0, sizeof buffer_);
}

Md5::Md5(const void* data, size_t length) : Md5() {
    Update(data, length);
}
Md5::Md5(const std::string& bytes) : Md5() {
    Update(bytes);
}
Md5::Md5(std::ifstream& file) : Md5() {
    UpdateFromFile(file);
}

void Md5::Transform(const uint8_t* blocks, size_t count) {
    uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];
    for (; count > 0; --count, blocks += 64) {
        uint32_t x[16];
        for (int i = 0; i < 16; ++i) x[i] = LoadLittle(blocks + 4 * i);
        const uint32_t aa = a, bb = b, cc = c, dd = d;

        KELO_MD5_STEP(F, a, b, c, d, x[0], 7, 0xd76aa478u);
        KELO_MD5_STEP(F, d, a, b, c, x[1], 12, 0xe8c7b756u);
        KELO_MD5_STEP(F, c, d, a, b, x[2], 17, 0x242070dbu);
        KELO_MD5_STEP(F, b, c, d, a, x[3], 22, 0xc1bdceeeu);
        KELO_MD5_STEP(F, a, b, c, d, x[4], 7, 0xf57c0fafu);
        KELO_MD5_STEP(F, d, a, b, c, x[5], 12, 0x4787c62au);
        KELO_MD5_STEP(F, c, d, a, b, x[6], 17, 0xa8304613u);
        KELO_MD5_STEP(F, b, c, d, a, x[7], 22, 0xfd469501u);
        KELO_MD5_STEP(F, a, b, c, d, x[8], 7, 0x698098d8u);
        KELO_MD5_STEP(F, d, a, b, c, x[9], 12, 0x8b44f7afu);
        KELO_MD5_STEP(F, c, d, a, b, x[10], 17, 0xffff5bb1u);
        KELO_MD5_STEP(F, b, c, d, a, x[11], 22, 0x895cd7beu);
        KELO_MD5_STEP(F, a, b, c, d, x[12], 7, 0x6b901122u);
        KELO_MD5_STEP(F, d, a, b, c, x[13], 12, 0xfd987193u);
        KELO_MD5_STEP(F, c, d, a, b, x[14], 17, 0xa679438eu);
        KELO_MD5_STEP(F, b, c, d, a, x[15], 22, 0x49b40821u);

        KELO_MD5_STEP(G, a, b, c, d, x[1], 5, 0xf61e2562u);
        KELO_MD5_STEP(G, d, a, b, c, x[6], 9, 0xc040b340u);
        KELO_MD5_STEP(G, c, d, a, b, x[11], 14, 0x265e5a51u);
        KELO_MD5_STEP(G, b, c, d, a, x[0], 20, 0xe9b6c7aau);
        KELO_MD5_STEP(G, a, b, c, d, x[5], 5, 0xd62f105du);
        KELO_MD5_STEP(G, d, a, b, c, x[10], 9, 0x02441453u);
        KELO_MD5_STEP(G, c, d, a, b, x[15], 14, 0xd8a1e681u);
        KELO_MD5_STEP(G, b, c, d, a, x[4], 20, 0xe7d3fbc8u);
        KELO_MD5_STEP(G, a, b, c, d, x[9], 5, 0x21e1cde6u);
        KELO_MD5_STEP(G, d, a, b, c, x[14], 9, 0xc33707d6u);
        KELO_MD5_STEP(G, c, d, a, b, x[3], 14, 0xf4d50d87u);
        KELO_MD5_STEP(G, b, c, d, a, x[8], 20, 0x455a14edu);
        KELO_MD5_STEP(G, a, b, c, d, x[13], 5, 0xa9e3e905u);
        KELO_MD5_STEP(G, d, a, b, c, x[2], 9, 0xfcefa3f8u);
        KELO_MD5_STEP(G, c, d, a, b, x[7], 14, 0x676f02d9u);
        KELO_MD5_STEP(G, b, c, d, a, x[12], 20, 0x8d2a4c8au);

        KELO_MD5_STEP(H, a, b, c, d, x[5], 4, 0xfffa3942u);
        KELO_MD5_STEP(H, d, a, b, c, x[8], 11, 0x8771f681u);
        KELO_MD5_STEP(H, c, d, a, b, x[11], 16, 0x6d9d6122u);
        KELO_MD5_STEP(H, b, c, d, a, x[14], 23, 0xfde5380cu);
        KELO_MD5_STEP(H, a, b, c, d, x[1], 4, 0xa4beea44u);
        KELO_MD5_STEP(H, d, a, b, c, x[4], 11, 0x4bdecfa9u);
        KELO_MD5_STEP(H, c, d, a, b, x[7], 16, 0xf6bb4b60u);
        KELO_MD5_STEP(H, b, c, d, a, x[10], 23, 0xbebfbc70u);
        KELO_MD5_STEP(H, a, b, c, d, x[13], 4, 0x289b7ec6u);
        KELO_MD5_STEP(H, d, a, b, c, x[0], 11, 0xeaa127fau);
        KELO_MD5_STEP(H, c, d, a, b, x[3], 16, 0xd4ef3085u);
        KELO_MD5_STEP(H, b, c, d, a, x[6], 23, 0x04881d05u);
        KELO_MD5_STEP(H, a, b, c, d, x[9], 4, 0xd9d4d039u);
        KELO_MD5_STEP(H, d, a, b, c, x[12], 11, 0xe6db99e5u);
        KELO_MD5_STEP(H, c, d, a, b, x[15], 16, 0x1fa27cf8u);
        KELO_MD5_STEP(H, b, c, d, a, x[2], 23, 0xc4ac5665u);

        KELO_MD5_STEP(I, a, b, c, d, x[0], 6, 0xf4292244u);
        KELO_MD5_STEP(I, d, a, b, c, x[7], 10, 0x432aff97u);
        KELO_MD5_STEP(I, c, d, a, b, x[14], 15, 0xab9423a7u);
        KELO_MD5_STEP(I, b, c, d, a, x[5], 21, 0xfc93a039u);
        KELO_MD5_STEP(I, a, b, c, d, x[12], 6, 0x655b59c3u);
        KELO_MD5_STEP(I, d, a, b, c, x[3], 10, 0x8f0ccc92u);
        KELO_MD5_STEP(I, c, d, a, b, x[10], 15, 0xffeff47du);
        KELO_MD5_STEP(I, b, c, d, a, x[1], 21, 0x85845dd1u);
        KELO_MD5_STEP(I, a, b, c, d, x[8], 6, 0x6fa87e4fu);
        KELO_MD5_STEP(I, d, a, b, c, x[15], 10, 0xfe2ce6e0u);
        KELO_MD5_STEP(I, c, d, a, b, x[6], 15, 0xa3014314u);
        KELO_MD5_STEP(I, b, c, d, a, x[13], 21, 0x4e0811a1u);
        KELO_MD5_STEP(I, a, b, c, d, x[4], 6, 0xf7537e82u);
        KELO_MD5_STEP(I, d, a, b, c, x[11], 10, 0xbd3af235u);
        KELO_MD5_STEP(I, c, d, a, b, x[2], 15, 0x2ad7d2bbu);
        KELO_MD5_STEP(I, b, c, d, a, x[9], 21, 0xeb86d391u);

        a += aa;
        b += bb;
        c += cc;
        d += dd;
    }
    state_[0] = a;
    state_[1] = b;
    state_[2] = c;
    state_[3] = d;
}

#undef KELO_MD5_STEP

void Md5::Update(const void* data, size_t length) {
    digestCurrent_ = false;
    if (length == 0) return;
    const auto* input = static_cast<const uint8_t*>(data);
    size_t used = (count_[0] >> 3) & 63;
    const uint64_t bits =
        (static_cast<uint64_t>(count_[1]) << 32 | count_[0]) + (static_cast<uint64_t>(length) << 3);
    count_[0] = static_cast<uint32_t>(bits);
    count_[1] = static_cast<uint32_t>(bits >> 32);

    if (used > 0) {
        const size_t take = 64 - used < length ? 64 - used : length;
        std::memcpy(buffer_ + used, input, take);
        used += take;
        input += take;
        length -= take;
        if (used < 64) return;
        Transform(buffer_, 1);
    }
    if (length >= 64) {
        Transform(input, length / 64);
        input += length & ~static_cast<size_t>(63);
        length &= 63;
    }
    if (length > 0) std::memcpy(buffer_, input, length);
}

void Md5::UpdateFromFile(std::ifstream& file) {
    if (!file.is_open()) return;
    file.seekg(0, std::ios::end);
    std::streamoff remaining = file.tellg();
    file.seekg(0, std::ios::beg);
    if (remaining > 0) {
        std::unique_ptr<char[]> chunk(new char[kFileChunk]);
        while (remaining > 0) {
            const size_t want = remaining < static_cast<std::streamoff>(kFileChunk)
                                    ? static_cast<size_t>(remaining)
                                    : kFileChunk;
            file.read(chunk.get(), static_cast<std::streamsize>(want));
            const std::streamsize got = file.gcount();
            // A file that shrank under us ends the digest at what could be read.
            if (got <= 0) break;
            Update(chunk.get(), static_cast<size_t>(got));
            remaining -= got;
        }
    }
    file.close();
}

const Md5::DigestBytes& Md5::Digest() {
    if (digestCurrent_) return digest_;
    uint8_t lengthBytes[8];
    StoreLittle(lengthBytes, count_[0]);
    StoreLittle(lengthBytes + 4, count_[1]);
    const size_t used = (count_[0] >> 3) & 63;
    static const uint8_t kPadding[64] = {0x80};
    Update(kPadding, used < 56 ? 56 - used : 120 - used);
    Update(lengthBytes, 8);
    for (int i = 0; i < 4; ++i) StoreLittle(digest_.data() + 4 * i, state_[i]);
    digestCurrent_ = true;
    return digest_;
}

std::string Md5::HexDigest() {
    static const char kHex[] = "0123456789abcdef";
    const DigestBytes& bytes = Digest();
    std::string text(32, '0');
    for (size_t i = 0; i < bytes.size(); ++i) {
        text[2 * i] = kHex[bytes[i] >> 4];
        text[2 * i + 1] = kHex[bytes[i] & 15];
    }
    return text;
}

}  // namespace kelo

#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

namespace kelo {

// RFC 1321 message digest, rendered as lower-case hexadecimal text.
class Md5 {
public:
    using DigestBytes = std::array<uint8_t, 16>;

    Md5();
    Md5(const void* data, size_t length);
    explicit Md5(const std::string& bytes);
    // Feeds the whole file and closes the stream (see UpdateFromFile).
    explicit Md5(std::ifstream& file);

    void Update(const void* data, size_t length);
    void Update(const std::string& bytes) { Update(bytes.data(), bytes.size()); }

    // Feeds the whole file in 102400-byte chunks, then closes the stream.
    // A stream that is not open is left alone and nothing is fed.
    void UpdateFromFile(std::ifstream& file);

    // Finalises on the first call after the last feed; later calls return the
    // stored digest. Feeding after reading the digest is not supported.
    const DigestBytes& Digest();
    // 32 characters from "0123456789abcdef", high nibble first.
    std::string HexDigest();

    static constexpr size_t kFileChunk = 102400;

private:
    void Transform(const uint8_t* blocks, size_t count);

    uint32_t state_[4];
    uint32_t count_[2];  // bits fed so far, low word first
    uint8_t buffer_[64];
    DigestBytes digest_{};
    bool digestCurrent_ = false;
};

}  // namespace kelo

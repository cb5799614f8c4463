#include "bench/skin/minizip_memory.h"

#include <cstdio>
#include <cstring>

namespace skin_bench {

namespace {

struct MemoryStream {
    const unsigned char* data;
    size_t length;
    size_t position;
};

voidpf Open(voidpf opaque, const void*, int) {
    MemoryStream* s = static_cast<MemoryStream*>(opaque);
    s->position = 0;
    return s;
}

uLong Read(voidpf, voidpf stream, void* buffer, uLong size) {
    MemoryStream* s = static_cast<MemoryStream*>(stream);
    size_t left = s->length - s->position;
    size_t n = size < left ? size : left;
    std::memcpy(buffer, s->data + s->position, n);
    s->position += n;
    return static_cast<uLong>(n);
}

uLong Write(voidpf, voidpf, const void*, uLong) {
    return 0;
}

ZPOS64_T Tell(voidpf, voidpf stream) {
    return static_cast<MemoryStream*>(stream)->position;
}

long Seek(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    MemoryStream* s = static_cast<MemoryStream*>(stream);
    ZPOS64_T base = origin == ZLIB_FILEFUNC_SEEK_SET   ? 0
                    : origin == ZLIB_FILEFUNC_SEEK_CUR ? s->position
                                                       : s->length;
    if (base + offset > s->length) return -1;
    s->position = static_cast<size_t>(base + offset);
    return 0;
}

int Close(voidpf, voidpf) {
    return 0;
}
int Error(voidpf, voidpf) {
    return 0;
}

}  // namespace

unzFile OpenMinizipMemory(const void* block, size_t length) {
    // One stream per handle; the benchmark opens one archive at a time.
    static MemoryStream stream;
    stream = MemoryStream{static_cast<const unsigned char*>(block), length, 0};
    zlib_filefunc64_def functions = {Open, Read, Write, Tell, Seek, Close, Error, &stream};
    return unzOpen2_64("memory", &functions);
}

}  // namespace skin_bench

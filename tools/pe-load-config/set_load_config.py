#!/usr/bin/env python3
"""Points the PE load configuration directory of a linked executable at the
structure compiled into its ".kelolc" section (app/load_config.cpp). The
MinGW linker in use does not fill in that directory itself.

  set_load_config.py EXE

The directory's size is 64 for 32-bit images, as Windows requires for them,
and the structure's own size for 64-bit images. The optional header's
checksum is recomputed when the linker wrote one. Running it twice changes
nothing more.
"""
import os
import struct
import sys

SECTION = b".kelolc"
LOAD_CONFIG = 10


def pe_checksum(data, checksum_at):
    total = 0
    padded = data + (b"\0" if len(data) % 2 else b"")
    for (word,) in struct.iter_unpack("<H", padded):
        total += word
        total = (total & 0xFFFF) + (total >> 16)
    # The checksum field itself counts as zero.
    for (word,) in struct.iter_unpack("<H", data[checksum_at:checksum_at + 4]):
        total -= word
        if total < 0:
            total += 0xFFFF
    total = (total & 0xFFFF) + (total >> 16)
    total = (total & 0xFFFF) + (total >> 16)
    return (total + len(data)) & 0xFFFFFFFF


def patch(data):
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise ValueError("no PE signature")
    sections, opt_size = struct.unpack_from("<H", data, pe + 6)[0], struct.unpack_from("<H", data, pe + 20)[0]
    opt = pe + 24
    magic = struct.unpack_from("<H", data, opt)[0]
    if magic not in (0x10B, 0x20B):
        raise ValueError("unknown optional header %#x" % magic)
    directories = opt + (96 if magic == 0x10B else 112)
    for i in range(sections):
        s = opt + opt_size + 40 * i
        if data[s:s + 8].rstrip(b"\0") == SECTION:
            va, raw = struct.unpack_from("<I", data, s + 12)[0], struct.unpack_from("<I", data, s + 20)[0]
            break
    else:
        raise ValueError("no %s section: is app/load_config.cpp linked in?" % SECTION.decode())
    size = struct.unpack_from("<I", data, raw)[0]
    directory_size = 64 if magic == 0x10B else size
    out = bytearray(data)
    struct.pack_into("<II", out, directories + 8 * LOAD_CONFIG, va, directory_size)
    checksum_at = opt + 64
    if struct.unpack_from("<I", out, checksum_at)[0] != 0:
        struct.pack_into("<I", out, checksum_at, pe_checksum(bytes(out), checksum_at))
    return bytes(out)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    path = sys.argv[1]
    with open(path, "rb") as f:
        data = f.read()
    try:
        patched = patch(data)
    except ValueError as error:
        sys.exit("%s: %s" % (path, error))
    if patched != data:
        temporary = path + ".load-config"
        with open(temporary, "wb") as f:
            f.write(patched)
        os.replace(temporary, path)


if __name__ == "__main__":
    main()

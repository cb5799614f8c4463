#!/usr/bin/env python3
"""Checks a built installer executable the way Windows will see it: machine
and PE kind, GUI subsystem, imports only from system DLLs (everything else is
linked in), dependent load flags that keep those imports in the system
folder, the application manifest, the version resource and the skin archive
("ZIP" resource 200).

  check_shipped_exe.py EXE --arch x86|x64 [--stripped]
"""
import argparse
import io
import pathlib
import struct
import sys
import unittest
import zipfile

SYSTEM_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll", "ole32.dll", "oleaut32.dll",
    "comctl32.dll", "comdlg32.dll", "msimg32.dll", "ws2_32.dll", "crypt32.dll", "secur32.dll", "bcrypt.dll",
    "normaliz.dll", "msvcrt.dll", "shlwapi.dll", "uuid.dll", "gdiplus.dll", "winmm.dll", "imm32.dll",
    "version.dll", "wldap32.dll", "iphlpapi.dll", "userenv.dll", "rpcrt4.dll", "ntdll.dll", "winhttp.dll",
}
RT_VERSION, RT_MANIFEST = 16, 24
LOAD_LIBRARY_SEARCH_SYSTEM32 = 0x800


class PeImage:
    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE signature")
        self.machine, sections, _, self.symbols_at, self.symbols, opt_size, _ = struct.unpack_from(
            "<HHIIIHH", data, pe + 4)
        opt = pe + 24
        self.magic = struct.unpack_from("<H", data, opt)[0]
        self.checksum_at = opt + 64
        self.checksum = struct.unpack_from("<I", data, self.checksum_at)[0]
        self.subsystem = struct.unpack_from("<H", data, opt + 68)[0]
        dirs = opt + (96 if self.magic == 0x10B else 112)
        self.directories = [struct.unpack_from("<II", data, dirs + 8 * i) for i in range(16)]
        self.sections = []
        for i in range(sections):
            s = opt + opt_size + 40 * i
            vsize, va, rsize, raw = struct.unpack_from("<IIII", data, s + 8)
            self.sections.append((va, max(vsize, rsize), raw))

    def offset(self, rva):
        for va, size, raw in self.sections:
            if va <= rva < va + size:
                return raw + rva - va
        raise ValueError("rva %#x outside every section" % rva)

    def cstring(self, rva):
        at = self.offset(rva)
        return self.data[at:self.data.index(b"\0", at)].decode("ascii")

    def imports(self):
        rva, size = self.directories[1]
        names, at = [], self.offset(rva)
        while True:
            entry = struct.unpack_from("<IIIII", self.data, at)
            if not any(entry):
                return names
            names.append(self.cstring(entry[3]).lower())
            at += 20

    def resources(self):
        """{(type, name): bytes} of the first language of every resource."""
        rva, _ = self.directories[2]
        base = self.offset(rva)
        found = {}

        def entries(table):
            named, ids = struct.unpack_from("<HH", self.data, base + table + 12)
            for i in range(named + ids):
                key, target = struct.unpack_from("<II", self.data, base + table + 16 + 8 * i)
                if key & 0x80000000:
                    at = base + (key & 0x7FFFFFFF)
                    length = struct.unpack_from("<H", self.data, at)[0]
                    key = self.data[at + 2:at + 2 + 2 * length].decode("utf-16-le")
                yield key, target

        for rtype, t in entries(0):
            for name, n in entries(t & 0x7FFFFFFF):
                _, leaf = next(entries(n & 0x7FFFFFFF))
                data_rva, size = struct.unpack_from("<II", self.data, base + leaf)
                at = self.offset(data_rva)
                found[(rtype, name)] = self.data[at:at + size]
        return found


class ShippedExe(unittest.TestCase):
    exe = None
    arch = "x86"
    stripped = False

    @classmethod
    def setUpClass(cls):
        with open(cls.exe, "rb") as f:
            cls.image = PeImage(f.read())
        cls.res = cls.image.resources()

    def test_machine_and_kind(self):
        if self.arch == "x86":
            self.assertEqual(self.image.machine, 0x14C)
            self.assertEqual(self.image.magic, 0x10B, "PE32")
        else:
            self.assertEqual(self.image.machine, 0x8664)
            self.assertEqual(self.image.magic, 0x20B, "PE32+")
        self.assertEqual(self.image.subsystem, 2, "Windows GUI subsystem")

    def test_imports_only_system_dlls(self):
        imports = self.image.imports()
        self.assertIn("kernel32.dll", imports)
        self.assertEqual([d for d in imports if d not in SYSTEM_DLLS and not d.startswith("api-ms-")], [])

    def test_dependent_load_flags(self):
        # Windows 10 (1607) and later then resolve the program's imports from
        # the system folder only, never from the folder it was started from.
        rva, size = self.image.directories[10]
        self.assertNotEqual(rva, 0, "no load configuration directory")
        at = self.image.offset(rva)
        struct_size = struct.unpack_from("<I", self.image.data, at)[0]
        if self.arch == "x86":
            self.assertEqual(size, 64, "32-bit images need a directory size of 64")
            self.assertGreaterEqual(struct_size, 0x48)
            flags_at, cookie_at, seh_at = 0x36, 0x3C, 0x40
            cookie = struct.unpack_from("<I", self.image.data, at + cookie_at)[0]
            seh = struct.unpack_from("<II", self.image.data, at + seh_at)
            self.assertEqual(seh, (0, 0), "no SafeSEH table is claimed")
        else:
            self.assertEqual(size, struct_size)
            self.assertGreaterEqual(struct_size, 0x70)
            flags_at, cookie_at = 0x4E, 0x58
            cookie = struct.unpack_from("<Q", self.image.data, at + cookie_at)[0]
        self.assertEqual(struct.unpack_from("<H", self.image.data, at + flags_at)[0], LOAD_LIBRARY_SEARCH_SYSTEM32)
        self.assertEqual(cookie, 0, "no security cookie for the loader to write")

    def test_checksum(self):
        if self.image.checksum:
            sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[2] / "tools" / "pe-load-config"))
            from set_load_config import pe_checksum
            self.assertEqual(self.image.checksum, pe_checksum(self.image.data, self.image.checksum_at))

    def test_stripped(self):
        if self.stripped:
            self.assertEqual(self.image.symbols, 0, "symbol table left in")

    def test_manifest(self):
        manifest = self.res.get((RT_MANIFEST, 1))
        self.assertIsNotNone(manifest, "no manifest resource 1")
        text = manifest.decode("utf-8")
        self.assertRegex(text, r'requestedExecutionLevel\s+level="requireAdministrator"\s+uiAccess="false"')
        arch = "x86" if self.arch == "x86" else "amd64"
        self.assertRegex(text, r'name="Microsoft\.Windows\.Common-Controls"\s+version="6\.0\.0\.0"\s+'
                               r'processorArchitecture="%s"' % arch)
        for os_id in ("e2011457-1546-43c5-a5fe-008deee3d3f0", "35138b9a-5d96-4fbd-8e2d-a2440225f93a",
                      "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38", "1f676c76-80e1-4239-95bb-83d0f6d0da78",
                      "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"):
            self.assertIn(os_id, text)

    def test_version_resource(self):
        version = self.res.get((RT_VERSION, 1))
        self.assertIsNotNone(version)
        self.assertIn("KeloVoiceSetup.exe".encode("utf-16-le"), version)

    def test_skin_archive(self):
        skin = self.res.get(("ZIP", 200))
        self.assertIsNotNone(skin, '"ZIP" resource 200 missing')
        with zipfile.ZipFile(io.BytesIO(skin)) as archive:
            self.assertIsNone(archive.testzip())
            names = archive.namelist()
            for skin_file in ("install_form.xml", "os_error.xml", "png/banner.png"):
                self.assertIn(skin_file, names)
            # Only the packed skin ships: its image sources stay out of the program.
            self.assertFalse([n for n in names if n.endswith(".svg")])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("exe")
    parser.add_argument("--arch", choices=["x86", "x64"], default="x86")
    parser.add_argument("--stripped", action="store_true")
    args = parser.parse_args()
    ShippedExe.exe, ShippedExe.arch, ShippedExe.stripped = args.exe, args.arch, args.stripped
    result = unittest.TextTestRunner(verbosity=2).run(unittest.defaultTestLoader.loadTestsFromTestCase(ShippedExe))
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Packs a skin folder (XML files and png/ images) into a deflated ZIP archive."""
import os
import sys
import zipfile


def main(argv):
    if len(argv) != 3:
        print("usage: pack_skin.py SKIN_FOLDER OUT.zip", file=sys.stderr)
        return 2
    folder, out = argv[1], argv[2]
    names = []
    for root, _dirs, files in os.walk(folder):
        for name in files:
            path = os.path.join(root, name)
            names.append(os.path.relpath(path, folder).replace(os.sep, "/"))
    names.sort()  # a stable order gives a reproducible archive
    tmp = out + ".tmp"
    with zipfile.ZipFile(tmp, "w", compression=zipfile.ZIP_DEFLATED) as archive:
        for name in names:
            info = zipfile.ZipInfo(name, date_time=(2020, 1, 1, 0, 0, 0))
            info.compress_type = zipfile.ZIP_DEFLATED
            with open(os.path.join(folder, name), "rb") as src:
                archive.writestr(info, src.read())
    os.replace(tmp, out)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

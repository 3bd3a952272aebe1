#!/usr/bin/python3
"""The built .gau as the simulator and Windows load it, read from the file
alone (nothing is run, so this holds on any machine): a Windows library of
the expected machine whose export directory is named after the file and holds
Linkage and ImportTable and nothing else, importing only from the system DLLs
FS9's folder has, and carrying every bitmap of resources/bitmaps as an
RT_BITMAP resource of its number, byte for byte.

Usage: gau_static_test.py FILE.gau i686|x64 BITMAP_DIR
"""
import os
import sys

import pefile

MACHINES = {"i686": 0x14C, "x64": 0x8664}
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "shlwapi.dll", "dsound.dll", "msvcrt.dll"}
RT_BITMAP = 2
BITMAP_FILE_HEADER_BYTES = 14


def check(gau, arch, bitmap_dir):
    faults = []
    pe = pefile.PE(gau)
    if pe.FILE_HEADER.Machine != MACHINES[arch]:
        faults.append(f"machine 0x{pe.FILE_HEADER.Machine:x}, expected the {arch} library")
    if not pe.is_dll():
        faults.append("not a library")

    exports = getattr(pe, "DIRECTORY_ENTRY_EXPORT", None)
    if exports is None:
        return faults + ["no export directory"]
    name = exports.name.decode()
    if name != os.path.basename(gau):
        faults.append(f"export directory named {name}, not {os.path.basename(gau)}")
    names = sorted(symbol.name.decode() for symbol in exports.symbols if symbol.name)
    if names != ["ImportTable", "Linkage"] or len(exports.symbols) != 2:
        faults.append(f"exports {names}, expected ImportTable and Linkage only")

    for entry in getattr(pe, "DIRECTORY_ENTRY_IMPORT", []):
        dll = entry.dll.decode()
        if dll.lower() not in SYSTEM_DLLS:
            faults.append(f"imports {dll}, which FS9's folder does not have")

    faults += check_bitmaps(pe, bitmap_dir)
    return faults


def bitmap_resources(pe):
    resources = {}
    if not hasattr(pe, "DIRECTORY_ENTRY_RESOURCE"):
        return resources
    for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if kind.id != RT_BITMAP:
            continue
        for entry in kind.directory.entries:
            for language in entry.directory.entries:
                data = language.data.struct
                resources[entry.id] = pe.get_data(data.OffsetToData, data.Size)
    return resources


def check_bitmaps(pe, bitmap_dir):
    faults = []
    resources = bitmap_resources(pe)
    files = {int(f[:-4]): f for f in os.listdir(bitmap_dir) if f.endswith(".bmp")}
    for number in sorted(set(files) - set(resources)):
        faults.append(f"bitmap {number} is not among the resources")
    for number in sorted(set(resources) - set(files)):
        faults.append(f"resource bitmap {number} has no file in {bitmap_dir}")
    for number in sorted(set(files) & set(resources)):
        with open(os.path.join(bitmap_dir, files[number]), "rb") as f:
            expected = f.read()[BITMAP_FILE_HEADER_BYTES:]
        if resources[number] != expected:
            faults.append(f"bitmap {number} differs from {files[number]}")
    return faults


def main():
    if len(sys.argv) != 4 or sys.argv[2] not in MACHINES:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    gau, arch, bitmap_dir = sys.argv[1:]
    faults = check(gau, arch, bitmap_dir)
    for fault in faults:
        print(f"{gau}: {fault}", file=sys.stderr)
    if faults:
        return 1
    print(f"{gau}: {os.path.getsize(gau)} bytes; exports ImportTable and Linkage; {len(os.listdir(bitmap_dir))} bitmaps")
    return 0


if __name__ == "__main__":
    sys.exit(main())

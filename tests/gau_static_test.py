#!/usr/bin/python3
"""The built .gau as the simulator and Windows load it, read from the file
alone (nothing is run, so this holds on any machine): a Windows library of
the expected machine whose export directory is named after the file and holds
Linkage and ImportTable and nothing else, importing only from system DLLs that
Windows XP SP3 ships and none of the functions that came after it, and
carrying every bitmap of resources/bitmaps as an RT_BITMAP resource of its
number, byte for byte. For the i686 product also its records as the simulator
reads them: every record (gauge header, element, element list, needle table,
mouse list) has the simulator's size to itself, and every byte that is the
simulator's is zero in the file.

Usage: gau_static_test.py FILE.gau i686|x64 BITMAP_DIR
"""
import os
import struct
import sys

import pefile

MACHINES = {"i686": 0x14C, "x64": 0x8664}
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "shlwapi.dll", "dsound.dll", "msvcrt.dll"}
# Functions of those DLLs that Windows XP SP3 does not export (Vista and
# later): the loader would refuse the module with "entry point not found".
AFTER_XP = {
    "GetTickCount64", "GetSystemTimePreciseAsFileTime", "GetCurrentProcessorNumber", "GetErrorMode",
    "InitializeCriticalSectionEx", "InitializeSRWLock", "AcquireSRWLockExclusive", "AcquireSRWLockShared",
    "ReleaseSRWLockExclusive", "ReleaseSRWLockShared", "TryAcquireSRWLockExclusive", "TryAcquireSRWLockShared",
    "InitializeConditionVariable", "SleepConditionVariableCS", "SleepConditionVariableSRW",
    "WakeConditionVariable", "WakeAllConditionVariable", "InitOnceInitialize", "InitOnceExecuteOnce",
    "InitOnceBeginInitialize", "InitOnceComplete", "FlsAlloc", "FlsFree", "FlsGetValue", "FlsSetValue",
    "CreateEventExA", "CreateEventExW", "CreateMutexExA", "CreateMutexExW", "CreateSemaphoreExA",
    "CreateSemaphoreExW", "CreateWaitableTimerExW", "GetFinalPathNameByHandleA", "GetFinalPathNameByHandleW",
    "GetFileInformationByHandleEx", "SetFileInformationByHandle", "CreateSymbolicLinkA", "CreateSymbolicLinkW",
    "QueryFullProcessImageNameA", "QueryFullProcessImageNameW", "CancelIoEx", "GetQueuedCompletionStatusEx",
    "LCMapStringEx", "CompareStringEx", "GetLocaleInfoEx", "GetUserDefaultLocaleName", "GetDateFormatEx",
    "GetTimeFormatEx", "EnumSystemLocalesEx", "IsValidLocaleName", "LocaleNameToLCID", "LCIDToLocaleName",
    "GetLogicalProcessorInformationEx", "GetThreadId", "WaitOnAddress", "WakeByAddressSingle", "WakeByAddressAll",
    "RaiseFailFastException", "GetCurrentThreadStackLimits", "SetThreadStackGuarantee",
}
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
        for function in entry.imports:
            name = function.name.decode() if function.name else f"ordinal {function.ordinal}"
            if name in AFTER_XP:
                faults.append(f"imports {name} from {dll}, which Windows XP does not have")

    faults += check_bitmaps(pe, bitmap_dir)
    if arch == "i686":
        faults += check_records(pe, exports)
    return faults


# The simulator's record sizes on its 32-bit target.
GAUGE_HEADER_BYTES = 252
ELEMENT_BYTES = {0: 96, 1: 236, 2: 324, 4: 140}
MOUSE_RECT_BYTES = 44
NEEDLE_POINT_BYTES = 24
GAUGE_COUNT = 39
# Byte ranges [start, end) that are the simulator's: zero in the module's data.
HEADER_SIMULATOR_BYTES = [(40, 44), (48, 80), (88, GAUGE_HEADER_BYTES)]
ELEMENT_SIMULATOR_BYTES = [(16, 24), (36, 40), (44, 48), (52, 60)]
KIND_SIMULATOR_BYTES = {
    0: [(60, 96)],
    1: [(60, 112), (124, 224), (228, 236)],
    2: [(60, 192), (200, 208), (220, 248), (294, 312), (316, 324)],
    4: [(60, 112), (116, 132), (136, 140)],
}
NEEDLE_POINT_SIMULATOR_BYTES = (16, 24)


class Image:
    """The library's data at the addresses its pointers hold."""

    def __init__(self, pe):
        self.pe = pe
        self.base = pe.OPTIONAL_HEADER.ImageBase

    def read(self, address, size):
        data = self.pe.get_data(address - self.base, size)
        if len(data) != size:
            raise ValueError(f"0x{address:x}: {size} bytes are not in the file")
        return data

    def word(self, address):
        return struct.unpack("<I", self.read(address, 4))[0]

    def pointer_list(self, address):
        """A null-terminated list of pointers, and its length in bytes."""
        pointers = []
        while address and self.word(address + 4 * len(pointers)) != 0:
            pointers.append(self.word(address + 4 * len(pointers)))
        return pointers, 4 * (len(pointers) + 1)


def check_records(pe, exports):
    image = Image(pe)
    linkage = next(image.base + s.address for s in exports.symbols if s.name == b"Linkage")
    records = []  # (start, extent, what)
    faults = []

    def zero(address, ranges, what):
        data = image.read(address, max(end for _, end in ranges))
        for start, end in ranges:
            if any(data[start:end]):
                faults.append(f"{what}: the simulator's bytes {start}-{end - 1} are not zero")

    gauges, _ = image.pointer_list(linkage + 24)
    if len(gauges) != GAUGE_COUNT:
        faults.append(f"Linkage lists {len(gauges)} gauges, expected {GAUGE_COUNT}")
    for number, header in enumerate(gauges, 1):
        name = f"gauge {number}"
        records.append((header, GAUGE_HEADER_BYTES, f"{name} header"))
        zero(header, HEADER_SIMULATOR_BYTES, f"{name} header")
        elements, extent = image.pointer_list(image.word(header + 8))
        records.append((image.word(header + 8), extent, f"{name} element list"))
        mouse = image.word(header + 80)
        areas = 1
        while image.word(mouse + MOUSE_RECT_BYTES * (areas - 1)) != 0:
            areas += 1
        records.append((mouse, MOUSE_RECT_BYTES * areas, f"{name} mouse list"))
        walked = 0
        while elements:
            element = elements.pop(0)
            walked += 1
            what = f"{name} element {walked}"
            kind = image.word(element)
            if kind not in ELEMENT_BYTES:
                faults.append(f"{what}: kind {kind}")
                continue
            records.append((element, ELEMENT_BYTES[kind], what))
            zero(element, ELEMENT_SIMULATOR_BYTES + KIND_SIMULATOR_BYTES[kind], what)
            children, extent = image.pointer_list(image.word(element + 40))
            if image.word(element + 40):
                records.append((image.word(element + 40), extent, f"{what} children"))
            elements = children + elements
            if kind == 1:
                points, count = image.word(element + 112), image.word(element + 116)
                records.append((points, NEEDLE_POINT_BYTES * count, f"{what} needle points"))
                for i in range(count):
                    zero(points + NEEDLE_POINT_BYTES * i, [NEEDLE_POINT_SIMULATOR_BYTES], f"{what} needle point {i}")

    records = sorted(set(records))
    for before, after in zip(records, records[1:]):
        if after[:2] == before[:2]:
            continue  # one record reached twice: two needles of one pivot share a table
        if after[0] < before[0] + before[1]:
            faults.append(f"{after[2]} starts inside {before[2]} ({before[1]} bytes)")
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

#!/usr/bin/env python3
"""Reads a Windows executable straight from the file, without running anything.

    pe_info.py version FILE
        the version resource, as Explorer's Details page shows it, one line per item:
            FILEVERSION 1.1.0.0        (the fixed part, VS_FIXEDFILEINFO)
            PRODUCTVERSION 1.1.0.0
            FileVersion=1.1.0.0        (every string of every StringFileInfo table)
    pe_info.py header FILE
        what the loader reads before the program runs, one line per item:
            MACHINE i386               (or x86_64)
            SUBSYSTEM gui 6.1          (kind and version; OS 6.1 likewise)
            OS 6.1
            LARGE_ADDRESS_AWARE 1
            IMPORTS COMCTL32.DLL GDI32.DLL ...   (the DLLs it imports, upper case, sorted)

Fails with a message when the file is not a PE image or lacks what is asked for.
"""
import struct
import sys

kRtVersion = 16
kImportDirectory = 1  # indices in the optional header's data directories
kResourceDirectory = 2
kFixedSignature = 0xFEEF04BD


class Pe:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise ValueError("no MZ header")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE signature")
        sections, optionalSize = struct.unpack_from("<H12xH", data, pe + 6)
        optional = pe + 24
        magic = struct.unpack_from("<H", data, optional)[0]
        directories = {0x10B: 96, 0x20B: 112}.get(magic)
        if directories is None:
            raise ValueError("unknown optional header 0x%x" % magic)
        self.machine, _, _, _, _, _, self.characteristics = struct.unpack_from("<HHIIIHH", data, pe + 4)
        self.osVersion = struct.unpack_from("<HH", data, optional + 40)
        self.subsystemVersion = struct.unpack_from("<HH", data, optional + 48)
        self.subsystem = struct.unpack_from("<H", data, optional + 68)[0]
        self.resourceRva = struct.unpack_from(
            "<I", data, optional + directories + 8 * kResourceDirectory)[0]
        self.importRva = struct.unpack_from("<I", data, optional + directories + 8 * kImportDirectory)[0]
        self.sections = []
        table = optional + optionalSize
        for i in range(sections):
            virtualSize, rva, rawSize, raw = struct.unpack_from("<8xIIII", data, table + 40 * i)
            self.sections.append((rva, max(virtualSize, rawSize), raw))
        self.resourceBase = self.Offset(self.resourceRva) if self.resourceRva else None

    # The names of the DLLs the image imports.
    def Imports(self):
        names = []
        entry = self.Offset(self.importRva) if self.importRva else None
        while entry is not None:
            nameRva = struct.unpack_from("<12xI", self.data, entry)[0]
            if not nameRva:
                break
            start = self.Offset(nameRva)
            names.append(self.data[start:self.data.index(b"\0", start)].decode("ascii"))
            entry += 20
        return names

    def Offset(self, rva):
        for start, size, raw in self.sections:
            if start <= rva < start + size:
                return raw + rva - start
        raise ValueError("RVA 0x%x lies in no section" % rva)

    # The entries of one resource directory: (name or id, is-subdirectory, offset).
    def Entries(self, offset):
        named, ids = struct.unpack_from("<12xHH", self.data, self.resourceBase + offset)
        for i in range(named + ids):
            name, target = struct.unpack_from("<II", self.data,
                                              self.resourceBase + offset + 16 + 8 * i)
            yield (None if name & 0x80000000 else name,
                   bool(target & 0x80000000), target & 0x7FFFFFFF)

    def VersionResource(self):
        if self.resourceBase is None:
            raise ValueError("no resources")
        for typeId, isDir, typeDir in self.Entries(0):
            if typeId != kRtVersion or not isDir:
                continue
            for _, _, nameDir in self.Entries(typeDir):
                for _, isLangDir, leaf in self.Entries(nameDir):
                    if isLangDir:
                        continue
                    rva, size = struct.unpack_from("<II", self.data, self.resourceBase + leaf)
                    start = self.Offset(rva)
                    return self.data[start:start + size]
        raise ValueError("no version resource")


def Align4(n):
    return (n + 3) & ~3


# One node of the version tree: (key, value bytes, text flag, children), read at offset.
def Node(block, offset):
    length, valueLength, textType = struct.unpack_from("<HHH", block, offset)
    end = offset + length
    keyEnd = offset + 6
    while block[keyEnd:keyEnd + 2] != b"\0\0":
        keyEnd += 2
    key = block[offset + 6:keyEnd].decode("utf-16-le")
    value = Align4(keyEnd + 2)
    valueBytes = valueLength * 2 if textType == 1 else valueLength
    children = []
    child = Align4(value + valueBytes)
    while child < end:
        node, childEnd = Node(block, child)
        children.append(node)
        child = Align4(childEnd)
    return (key, block[value:value + valueBytes], textType == 1, children), end


def Numbers(ms, ls):
    return "%d.%d.%d.%d" % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)


def Header(path):
    with open(path, "rb") as f:
        pe = Pe(f.read())
    print("MACHINE", {0x14C: "i386", 0x8664: "x86_64"}.get(pe.machine, "0x%x" % pe.machine))
    print("SUBSYSTEM", {2: "gui", 3: "console"}.get(pe.subsystem, str(pe.subsystem)), "%d.%d" % pe.subsystemVersion)
    print("OS", "%d.%d" % pe.osVersion)
    print("LARGE_ADDRESS_AWARE", 1 if pe.characteristics & 0x20 else 0)
    print("IMPORTS", " ".join(sorted(name.upper() for name in pe.Imports())))


def Version(path):
    with open(path, "rb") as f:
        block = Pe(f.read()).VersionResource()
    (key, fixed, _, children), _ = Node(block, 0)
    if key != "VS_VERSION_INFO" or len(fixed) < 52:
        raise ValueError("the version resource has no fixed part")
    signature, _, fileMs, fileLs, productMs, productLs = struct.unpack_from("<6I", fixed)
    if signature != kFixedSignature:
        raise ValueError("the fixed part's signature is 0x%x" % signature)
    print("FILEVERSION", Numbers(fileMs, fileLs))
    print("PRODUCTVERSION", Numbers(productMs, productLs))
    for name, _, _, tables in children:
        if name != "StringFileInfo":
            continue
        for _, _, _, strings in tables:
            for stringKey, value, _, _ in strings:
                print("%s=%s" % (stringKey, value.decode("utf-16-le").rstrip("\0")))


if __name__ == "__main__":
    commands = {"version": Version, "header": Header}
    if len(sys.argv) != 3 or sys.argv[1] not in commands:
        sys.exit("usage: pe_info.py version|header FILE")
    try:
        commands[sys.argv[1]](sys.argv[2])
    except (OSError, ValueError, struct.error) as e:
        sys.exit("%s: %s" % (sys.argv[2], e))

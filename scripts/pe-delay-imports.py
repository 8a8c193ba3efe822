#!/usr/bin/env python3
"""Prints the DLLs that a PE file delay-loads, one a line. objdump does not
list them, and GNU ld leaves the delay import directory (data directory 13)
empty: each delay-import library brings its own descriptor. So besides that
directory, every section is searched for descriptors: attributes 1 (RVAs),
a DLL name that ends in ".dll", its module handle, address table and name
table inside the image, and a first name-table entry that names a function
or an ordinal. Exits 1, saying why, on a file that is not a PE file.
  scripts/pe-delay-imports.py EXE"""
import re
import struct
import sys


def fail(message):
    print(f"pe-delay-imports: {message}", file=sys.stderr)
    sys.exit(1)


class Image:
    def __init__(self, path):
        try:
            self.data = open(path, "rb").read()
        except OSError as error:
            fail(f"cannot read {path}: {error.strerror}")
        data = self.data
        if len(data) < 0x40 or data[:2] != b"MZ":
            fail(f"{path} is not a PE file")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe : pe + 4] != b"PE\0\0":
            fail(f"{path} is not a PE file")
        count, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
        optional = pe + 24
        self.wide = struct.unpack_from("<H", data, optional)[0] == 0x20B
        self.directories = optional + (112 if self.wide else 96)
        self.directory_count = struct.unpack_from("<I", data, self.directories - 4)[0]
        table = optional + optional_size
        # (virtual address, virtual size, file offset, size in the file)
        self.sections = []
        for i in range(count):
            size, address, raw_size, raw = struct.unpack_from("<8xIIII", data, table + 40 * i)
            self.sections.append((address, max(size, raw_size), raw, raw_size))

    def offset(self, rva):
        for address, size, raw, raw_size in self.sections:
            if address <= rva < address + min(size, raw_size):
                return raw + rva - address
        return None

    def inside(self, rva):
        return any(address <= rva < address + size for address, size, _, _ in self.sections)

    def string(self, rva):
        at = self.offset(rva)
        if at is None:
            return None
        end = self.data.find(b"\0", at, at + 260)
        return self.data[at:end] if end > at else None


def descriptor_at(image, at):
    """The DLL name of a delay import descriptor at file offset `at`, or None."""
    attributes, name, module, iat, names, _, _, stamp = struct.unpack_from("<8I", image.data, at)
    if attributes != 1 or stamp != 0 or not all(map(image.inside, (module, iat, names))):
        return None
    dll = image.string(name)
    if dll is None or not re.fullmatch(rb"[\x21-\x7e]+\.dll", dll, re.IGNORECASE):
        return None
    first = image.offset(names)
    if first is None:
        return None
    thunk = struct.unpack_from("<Q" if image.wide else "<I", image.data, first)[0]
    ordinal = 1 << (63 if image.wide else 31)
    if not thunk & ordinal:
        function = image.string(thunk + 2) if image.inside(thunk) else None
        if function is None or not re.fullmatch(rb"[A-Za-z_?@$][\x21-\x7e]*", function):
            return None
    return dll.decode("ascii")


def main(path):
    image = Image(path)
    found = []
    if image.directory_count > 13:
        rva = struct.unpack_from("<I", image.data, image.directories + 13 * 8)[0]
        at = image.offset(rva) if rva else None
        while at is not None and at + 32 <= len(image.data):
            dll = descriptor_at(image, at)
            if dll is None:
                break
            found.append(dll)
            at += 32
    for address, size, raw, raw_size in image.sections:
        for at in range(raw, raw + min(size, raw_size) - 31, 4):
            dll = descriptor_at(image, at)
            if dll is not None:
                found.append(dll)
    for dll in sorted(set(found), key=str.lower):
        print(dll)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        fail("usage: pe-delay-imports.py EXE")
    main(sys.argv[1])

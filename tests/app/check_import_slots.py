#!/usr/bin/env python3
"""Fails when a built program has an import slot that nothing fills.

A call into another library goes through an import slot (the symbol __imp_NAME). The loader fills
the slots that an import descriptor lists; a delay-loaded slot holds the address of its loading
stub until the first call. A slot outside every descriptor that holds 0 makes the first call jump
to address 0: the program crashes on any Windows. This reads the program as a file, so it guards
both architectures on every host.

Usage: check_import_slots.py PROGRAM...   (programs with their symbol table, as the build makes them)
"""
import struct
import sys


class Image:
    def __init__(self, path):
        with open(path, "rb") as f:
            self.data = f.read()
        data = self.data
        if data[:2] != b"MZ":
            raise ValueError("not a Windows program (no MZ header)")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("not a Windows program (no PE signature)")
        (self.machine, sections, _, self.symbol_table, self.symbol_count, optional_size, _) = \
            struct.unpack_from("<HHIIIHH", data, pe + 4)
        optional = pe + 24
        magic = struct.unpack_from("<H", data, optional)[0]
        if magic == 0x10B:
            self.slot_size, self.image_base = 4, struct.unpack_from("<I", data, optional + 28)[0]
            directories = optional + 96
        elif magic == 0x20B:
            self.slot_size, self.image_base = 8, struct.unpack_from("<Q", data, optional + 24)[0]
            directories = optional + 112
        else:
            raise ValueError("unknown optional header magic %#x" % magic)
        self.size_of_image = struct.unpack_from("<I", data, optional + 56)[0]
        self.import_rva, self.import_size = struct.unpack_from("<II", data, directories + 8)
        self.sections = []
        table = optional + optional_size
        for i in range(sections):
            entry = table + 40 * i
            name = data[entry:entry + 8].rstrip(b"\0").decode("ascii", "replace")
            virtual_size, rva, raw_size, raw_offset = struct.unpack_from("<IIII", data, entry + 8)
            self.sections.append((name, rva, max(virtual_size, raw_size), raw_offset, raw_size))

    def offset(self, rva):
        for _, start, size, raw_offset, raw_size in self.sections:
            if start <= rva < start + size:
                if rva - start >= raw_size:
                    return None  # in memory only: zero-filled
                return raw_offset + rva - start
        raise ValueError("address %#x lies in no section" % rva)

    def slot(self, rva):
        at = self.offset(rva)
        if at is None:
            return 0
        return int.from_bytes(self.data[at:at + self.slot_size], "little")

    def descriptor_slots(self):
        """The slots the loader fills: every import descriptor's address table."""
        filled = set()
        if not self.import_rva:
            return filled
        descriptor = self.import_rva
        while True:
            lookup, _, _, name, first_thunk = struct.unpack_from("<IIIII", self.data, self.offset(descriptor))
            if not (lookup or name or first_thunk):
                return filled
            rva = first_thunk
            while self.slot(rva):
                filled.add(rva)
                rva += self.slot_size
            descriptor += 20

    def import_slot_symbols(self):
        """(name, rva) of every __imp_ symbol of the COFF symbol table."""
        if not self.symbol_table or not self.symbol_count:
            raise ValueError("the program has no symbol table: check the build tree's program, not a stripped copy")
        strings = self.symbol_table + 18 * self.symbol_count
        found = []
        index = 0
        while index < self.symbol_count:
            entry = self.symbol_table + 18 * index
            raw_name = self.data[entry:entry + 8]
            value, section, _, _, aux = struct.unpack_from("<IhHBB", self.data, entry + 8)
            if raw_name[:4] == b"\0\0\0\0":
                start = strings + struct.unpack_from("<I", raw_name, 4)[0]
                name = self.data[start:self.data.index(b"\0", start)].decode("ascii", "replace")
            else:
                name = raw_name.rstrip(b"\0").decode("ascii", "replace")
            if name.startswith(("__imp_", "__imp__")) and section > 0:
                found.append((name, self.sections[section - 1][1] + value))
            index += 1 + aux
        return found


def unfilled_slots(path):
    image = Image(path)
    filled = image.descriptor_slots()
    symbols = image.import_slot_symbols()
    if not symbols:
        raise ValueError("no import slot symbols found")
    faults = []
    for name, rva in symbols:
        if rva in filled:
            continue
        target = image.slot(rva)
        # A slot no descriptor fills must already point into the program (a delay stub, or data the
        # program imports from itself).
        if not image.image_base <= target < image.image_base + image.size_of_image:
            faults.append("%s at %#x holds %#x and no import descriptor fills it" % (name, rva, target))
    return len(symbols), faults


def main(paths):
    failed = False
    for path in paths:
        try:
            count, faults = unfilled_slots(path)
        except (ValueError, OSError, struct.error) as error:
            print("%s: cannot check: %s" % (path, error))
            failed = True
            continue
        for fault in faults:
            print("%s: %s" % (path, fault))
        failed |= bool(faults)
        print("%s: %d import slots, %d unfilled" % (path, count, len(faults)))
    return 1 if failed else 0


if __name__ == "__main__":
    if len(sys.argv) < 2:
        print(__doc__)
        sys.exit(2)
    sys.exit(main(sys.argv[1:]))

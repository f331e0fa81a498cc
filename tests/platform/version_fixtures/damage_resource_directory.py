#!/usr/bin/env python3
"""Writes a copy of a fixture image whose resource directory is damaged in one way, then reads
the copy back and fails unless it really is damaged that way.

usage: damage_resource_directory.py <damage> <input image> <output image>

The damages are those of files met in the wild that crashed readers trusting the directory:
a resource whose data lies past the end of the file, whose size reaches past the file or past
its section, a directory that contains itself, and a file cut inside the directory. The resource
damaged is the version resource, or the manifest in an image that has no version resource.
"""
import struct
import sys

from patch_version_block import patch_image

RT_VERSION = 16
RT_MANIFEST = 24
# The id of both: VS_VERSION_INFO, and the manifest the loader reads for a program.
RESOURCE_ID = 1
SUBDIRECTORY = 0x80000000
HUGE = 0x7FFFFFF0
# Trailing bytes after the last section, as installers and signed files carry.
OVERLAY_SIZE = 0x1000


def fail(message):
    sys.exit(f"damage_resource_directory.py: {message}")


class Image:
    """The PE headers, the section table and the path root -> type -> 1 -> first language of the
    resource directory, the type being RT_VERSION, or RT_MANIFEST where the image has no version
    resource. Offsets are file offsets. The damages change `data` in place."""

    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            fail("not an MZ image")
        nt = self.dword(0x3C)
        if data[nt:nt + 4] != b"PE\0\0":
            fail("no PE signature")
        section_count = self.word(nt + 6)
        optional_size = self.word(nt + 20)
        optional = nt + 24
        directories = {0x10B: 96, 0x20B: 112}[self.word(optional)]
        resource_rva = self.dword(optional + directories + 2 * 8)
        self.sections = []
        for index in range(section_count):
            header = optional + optional_size + 40 * index
            virtual_size, virtual_address, raw_size, raw_pointer = struct.unpack_from(
                "<IIII", data, header + 8)
            self.sections.append((virtual_address, virtual_size, raw_pointer, raw_size))
        self.root = self.offset_of(resource_rva)
        resource_type = RT_VERSION if self.has_entry(self.root, RT_VERSION) else RT_MANIFEST
        self.type_entry = self.entry_with_id(self.root, resource_type)
        self.names = self.root + (self.dword(self.type_entry + 4) & ~SUBDIRECTORY)
        self.name_entry = self.entry_with_id(self.names, RESOURCE_ID)
        self.languages = self.root + (self.dword(self.name_entry + 4) & ~SUBDIRECTORY)
        self.data_entry = self.root + self.dword(self.languages + 16 + 4)

    def word(self, at):
        return struct.unpack_from("<H", self.data, at)[0]

    def dword(self, at):
        return struct.unpack_from("<I", self.data, at)[0]

    def set_dword(self, at, value):
        struct.pack_into("<I", self.data, at, value)

    def section_of(self, rva):
        for section in self.sections:
            virtual_address, virtual_size, _, raw_size = section
            if virtual_address <= rva < virtual_address + min(virtual_size, raw_size):
                return section
        return None

    def offset_of(self, rva):
        section = self.section_of(rva)
        if section is None:
            fail(f"rva {rva:#x} lies in no section")
        return section[2] + rva - section[0]

    def find_entry(self, directory, wanted):
        named, numbered = struct.unpack_from("<HH", self.data, directory + 12)
        for index in range(named, named + numbered):
            entry = directory + 16 + 8 * index
            if self.dword(entry) == wanted:
                return entry
        return None

    def has_entry(self, directory, wanted):
        return self.find_entry(directory, wanted) is not None

    def entry_with_id(self, directory, wanted):
        entry = self.find_entry(directory, wanted)
        if entry is None:
            fail(f"no entry {wanted} in the directory at {directory:#x}")
        return entry

    def resource_data(self):
        """RVA and size of the resource's data."""
        return self.dword(self.data_entry), self.dword(self.data_entry + 4)


def data_past_end(image):
    image.set_dword(image.data_entry, HUGE)
    rva, _ = image.resource_data()
    if image.section_of(rva) is not None or rva < len(image.data):
        fail("the data still lies inside the file")


def size_past_end(image):
    image.set_dword(image.data_entry + 4, HUGE)
    rva, size = image.resource_data()
    if image.offset_of(rva) + size <= len(image.data):
        fail("the size still ends inside the file")


def size_past_section(image):
    rva, _ = image.resource_data()
    virtual_address, _, raw_pointer, raw_size = image.section_of(rva)
    image.data += b"\xCC" * OVERLAY_SIZE
    size = virtual_address + raw_size - rva + 0x100
    image.set_dword(image.data_entry + 4, size)
    end = image.offset_of(rva) + size
    if not (raw_pointer + raw_size < end <= len(image.data) and size <= 0xFFFF):
        fail("the size does not end between its section's end and the file's end")


def directory_loop(image):
    image.set_dword(image.name_entry + 4, SUBDIRECTORY | (image.names - image.root))
    if image.root + (image.dword(image.name_entry + 4) & ~SUBDIRECTORY) != image.names:
        fail("the entry does not point at its own directory")


def cut_directory(image):
    # Inside the first entry of the directory of version resources.
    cut = image.name_entry + 4
    del image.data[cut:]
    if not image.root < len(image.data) < image.name_entry + 8:
        fail("the file does not end inside the resource directory")


DAMAGES = {
    "data-past-end": data_past_end,
    "size-past-end": size_past_end,
    "size-past-section": size_past_section,
    "directory-loop": directory_loop,
    "cut-directory": cut_directory,
}


if __name__ == "__main__":
    patch_image(DAMAGES, Image, __doc__)

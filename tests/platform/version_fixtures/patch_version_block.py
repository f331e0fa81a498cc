#!/usr/bin/env python3
"""Writes a copy of a fixture image whose version block is changed in one way.

usage: patch_version_block.py <change> <input image> <output image>

The changes mimic files met in the wild: a text holding a NUL, and sizes and lengths that
do not match the bytes the block has.
"""
import struct
import sys


def utf16z(text):
    return (text + "\0").encode("utf-16-le")


def find_once(image, pattern, start=0):
    at = image.find(pattern, start)
    if at < 0 or image.find(pattern, at + 1) >= 0:
        sys.exit(f"expected exactly one {pattern!r} in the image")
    return at


class VersionBlock:
    """Entries of the version block, found by key: each is a 6-byte header
    (wLength, wValueLength, wType) followed by its key, then its value on a 4-byte boundary."""

    def __init__(self, image):
        self.image = image
        self.root = find_once(image, utf16z("VS_VERSION_INFO")) - 6

    def header(self, key):
        return find_once(self.image, utf16z(key), self.root) - 6

    def value(self, key):
        end_of_key = self.header(key) + 6 + len(utf16z(key))
        return self.root + ((end_of_key - self.root + 3) & ~3)

    def word(self, at):
        return struct.unpack_from("<H", self.image, at)[0]

    def set_word(self, at, value, expected=None):
        if expected is not None and self.word(at) != expected:
            sys.exit(f"unexpected word {self.word(at):#x} at {at:#x}, expected {expected:#x}")
        struct.pack_into("<H", self.image, at, value)

    def set_value_length(self, key, length, expected):
        self.set_word(self.header(key) + 2, length, expected)


def embedded_nul(block):
    # "Before|After" becomes "Before", NUL, "After"; its length still counts all of it.
    at = find_once(block.image, "|".encode("utf-16-le"), block.value("FileDescription"))
    block.set_word(at, 0)


def inflated_block(block):
    block.set_word(block.root, 0xFFFF)


def string_beyond_block(block):
    block.set_value_length("CompanyName", 0x7FFF, expected=len("Company") + 1)


def value_without_nul(block):
    terminator = block.value("ProductName") + 2 * len("Product")
    block.set_word(terminator, ord("X"), expected=0)


def empty_translation(block):
    block.set_value_length("Translation", 0, expected=4)


def short_translation(block):
    block.set_value_length("Translation", 2, expected=4)


def translation_beyond_block(block):
    block.set_value_length("Translation", 0xFFFF, expected=4)


def short_fixed_record(block):
    # The fixed record claims 48 of its 52 bytes, so the entries after it are misplaced too.
    block.set_word(block.root + 2, 48, expected=52)


CHANGES = {
    "embedded-nul": embedded_nul,
    "inflated-block": inflated_block,
    "string-beyond-block": string_beyond_block,
    "value-without-nul": value_without_nul,
    "empty-translation": empty_translation,
    "short-translation": short_translation,
    "translation-beyond-block": translation_beyond_block,
    "short-fixed-record": short_fixed_record,
}


def main():
    if len(sys.argv) != 4 or sys.argv[1] not in CHANGES:
        sys.exit(__doc__)
    change, source, target = sys.argv[1:]
    with open(source, "rb") as f:
        image = bytearray(f.read())
    CHANGES[change](VersionBlock(image))
    with open(target, "wb") as f:
        f.write(image)


if __name__ == "__main__":
    main()

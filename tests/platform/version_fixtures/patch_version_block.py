#!/usr/bin/env python3
"""Writes a copy of a fixture image whose version block is changed in one way.

usage: patch_version_block.py <change> <input image> <output image>

The changes mimic files met in the wild: a text holding a NUL, sizes and lengths that do
not match the bytes the block has, and a block of the 16-bit format in a 32-bit image.
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


def block_16(key, value=b"", children=b""):
    """A block of the 16-bit format: wLength, wValueLength and an ANSI key, then the value and
    the children, each on a 4-byte boundary."""
    body = struct.pack("<HH", 0, len(value)) + key.encode("ascii") + b"\0"
    body += b"\0" * (-len(body) % 4) + value
    body += b"\0" * (-len(body) % 4) + children
    return struct.pack("<H", len(body)) + body[2:]


def sixteen_bit_block(block):
    # The same entries in the format of 16-bit programs, claiming 64 KB: converting its texts,
    # the system writes them past the end of the buffer it asked for.
    fixed = struct.pack("<13I", 0xFEEF04BD, 0x10000, 1, 0, 1, 0, 0x3F, 1, 0x40004, 1, 0, 0, 0)
    strings = block_16("040904B0", children=block_16("CompanyName", b"Company\0"))
    translation = block_16("Translation", struct.pack("<HH", 0x0409, 0x04B0))
    old = block.word(block.root)
    new = bytearray(block_16("VS_VERSION_INFO", fixed, block_16("StringFileInfo", children=strings)
                             + block_16("VarFileInfo", children=translation)))
    if len(new) > old:
        sys.exit("the 16-bit block does not fit in place of the original")
    block.image[block.root:block.root + len(new)] = new
    block.set_word(block.root, 0xFFFF)


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
    "sixteen-bit-block": sixteen_bit_block,
}


def patch_image(changes, view, usage):
    """Runs the command line <change> <input image> <output image>: the change gets the input's
    bytes through `view` and changes them in place."""
    if len(sys.argv) != 4 or sys.argv[1] not in changes:
        sys.exit(usage)
    change, source, target = sys.argv[1:]
    with open(source, "rb") as f:
        image = bytearray(f.read())
    changes[change](view(image))
    with open(target, "wb") as f:
        f.write(image)


if __name__ == "__main__":
    patch_image(CHANGES, VersionBlock, __doc__)

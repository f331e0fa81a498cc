#!/usr/bin/env python3
"""Reads the packages of one architecture as a user gets them: the names of the zip and of the
setup program, the zip's folder and files, and the architecture of what is in them.

Usage: check_packages.py --version V --arch x86|x64 --zip ZIP --setup SETUP
                         --settings SETTINGS_DB --program NAME=BUILT_FILE [--program ...]
"""
import argparse
import os
import struct
import sys
import zipfile

MACHINES = {"x86": 0x014C, "x64": 0x8664}
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
    return condition


def pe_machine(data):
    """The machine field of a PE image, or None when the bytes are no PE image."""
    if len(data) < 0x40 or data[:2] != b"MZ":
        return None
    offset = struct.unpack_from("<I", data, 0x3C)[0]
    if data[offset:offset + 4] != b"PE\0\0":
        return None
    return struct.unpack_from("<H", data, offset + 4)[0]


def check_readme(text, version):
    check(text.endswith(b"\r\n"), "README.txt does not end with CR LF")
    lines = text.split(b"\r\n")
    check(not any(b"\n" in line or b"\r" in line for line in lines),
          "README.txt has a line end other than CR LF")
    check(f"version {version}".encode() in text, f"README.txt does not name version {version}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--version", required=True)
    parser.add_argument("--arch", required=True, choices=sorted(MACHINES))
    parser.add_argument("--zip", required=True)
    parser.add_argument("--setup", required=True)
    parser.add_argument("--settings", required=True)
    parser.add_argument("--program", action="append", required=True)
    args = parser.parse_args()
    base = f"xpvestrim-{args.version}-{args.arch}"
    machine = MACHINES[args.arch]

    check(os.path.basename(args.zip) == base + ".zip", f"the zip is named {os.path.basename(args.zip)}")
    check(os.path.basename(args.setup) == base + "-setup.exe",
          f"the setup program is named {os.path.basename(args.setup)}")
    with open(args.setup, "rb") as setup:
        check(pe_machine(setup.read()) == machine, f"the setup program is no {args.arch} program")

    expected = {"settings.db": args.settings, "README.txt": None}
    for program in args.program:
        name, built = program.split("=", 1)
        expected[name] = built
    check("xpvestrim.exe" in expected, "xpvestrim.exe is not among the shipped programs")

    with zipfile.ZipFile(args.zip) as archive:
        check(archive.testzip() is None, "the zip is damaged")
        files = {}
        for entry in archive.infolist():
            if entry.is_dir():
                check(entry.filename == base + "/", f"the zip holds the folder {entry.filename}")
                continue
            folder, _, name = entry.filename.rpartition("/")
            if check(folder == base, f"{entry.filename} is not in the folder {base}"):
                files[name] = archive.read(entry)
    check(sorted(files) == sorted(expected),
          f"the zip holds {sorted(files)}, not {sorted(expected)}")

    for name, source in expected.items():
        if name not in files:
            continue
        if source is not None:
            with open(source, "rb") as built:
                check(files[name] == built.read(), f"{name} in the zip is not the one built")
        if name.lower().endswith(".exe"):
            check(pe_machine(files[name]) == machine, f"{name} in the zip is no {args.arch} program")
    if "README.txt" in files:
        check_readme(files["README.txt"], args.version)

    for failure in failures:
        print("FAILED:", failure)
    if not failures:
        print(f"{base}.zip and {base}-setup.exe: {len(files)} files as built")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

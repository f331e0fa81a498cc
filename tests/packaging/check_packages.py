#!/usr/bin/env python3
"""Reads the packages of one architecture as a user gets them: the names of the zip, the setup
program and the Windows Installer package, the files the zip and the MSI hold, the architecture
of what is in them, that its programs are the ones built without their debug sections, and where
the MSI installs.

Usage: check_packages.py --version V --arch x86|x64 --zip ZIP --setup SETUP --msi MSI
                         --settings SETTINGS_DB --program NAME=BUILT_FILE [--program ...]
"""
import argparse
import os
import struct
import subprocess
import sys
import tempfile
import zipfile

MACHINES = {"x86": 0x014C, "x64": 0x8664}
# Where each architecture's MSI installs, and the platform its summary names.
MSI_PROGRAM_FILES = {"x86": "ProgramFilesFolder", "x64": "ProgramFiles64Folder"}
MSI_PLATFORMS = {"x86": "Intel", "x64": "x64"}
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


def pe_sections(data):
    """The sections of a PE image: name to raw bytes. Names longer than eight characters (the
    .debug_* ones) are kept in the COFF string table, which the header points at."""
    offset = struct.unpack_from("<I", data, 0x3C)[0]
    count, = struct.unpack_from("<H", data, offset + 6)
    symbols, symbol_count = struct.unpack_from("<II", data, offset + 12)
    optional_size, = struct.unpack_from("<H", data, offset + 20)
    strings = symbols + symbol_count * 18
    sections = {}
    header = offset + 24 + optional_size
    for index in range(count):
        raw_name, = struct.unpack_from("8s", data, header + index * 40)
        name = raw_name.rstrip(b"\0").decode("ascii", "replace")
        if name.startswith("/") and symbols:
            start = strings + int(name[1:])
            name = data[start:data.index(b"\0", start)].decode("ascii", "replace")
        raw_size, raw_pointer = struct.unpack_from("<II", data, header + index * 40 + 16)
        sections[name] = data[raw_pointer:raw_pointer + raw_size]
    return sections


def check_shipped_program(name, shipped, built_file, where):
    """A shipped program is the built one without its debug sections: no .debug_* section, and
    every other section byte for byte as built."""
    sections = pe_sections(shipped)
    debug = sorted(section for section in sections if section.startswith(".debug"))
    check(not debug, f"{name} in {where} carries debug sections {debug}")
    with open(built_file, "rb") as built:
        kept = {section: content for section, content in pe_sections(built.read()).items()
                if not section.startswith(".debug")}
    check(sections.keys() - set(debug) == kept.keys(),
          f"{name} in {where} has the sections {sorted(sections)}, not {sorted(kept)}")
    for section, content in kept.items():
        if section in sections:
            # The last page of raw data may be padded differently.
            check(sections[section].rstrip(b"\0") == content.rstrip(b"\0"),
                  f"the section {section} of {name} in {where} is not the one built")


def msi_table(msi, table):
    """The rows of an MSI table, as msiinfo exports them (after its three header lines)."""
    text = subprocess.run(["msiinfo", "export", msi, table], check=True, capture_output=True,
                          text=True).stdout
    return [line.split("\t") for line in text.splitlines()[3:]]


def check_msi(msi, arch, version, files):
    """Where the MSI installs and for whom, its version, and that it holds exactly the zip's files."""
    properties = dict(row[:2] for row in msi_table(msi, "Property"))
    check(properties.get("ProductVersion") == version,
          f"the MSI's ProductVersion is {properties.get('ProductVersion')}")
    check(properties.get("ALLUSERS") == "1", "the MSI does not install for all users")
    check(properties.get("Manufacturer") == "Orlek", "the MSI's Manufacturer is not Orlek")
    parents = {row[0]: row[1] for row in msi_table(msi, "Directory")}
    check(parents.get("INSTALLDIR") == MSI_PROGRAM_FILES[arch],
          f"the MSI installs under {parents.get('INSTALLDIR')}, not {MSI_PROGRAM_FILES[arch]}")
    summary = subprocess.run(["msiinfo", "suminfo", msi], check=True, capture_output=True,
                             text=True).stdout
    check(f"Template: {MSI_PLATFORMS[arch]};" in summary, f"the MSI's summary is for another platform:\n{summary}")
    with tempfile.TemporaryDirectory() as folder:
        subprocess.run(["msiextract", "-C", folder, os.path.abspath(msi)], check=True, capture_output=True)
        extracted = {}
        for root, _, names in os.walk(folder):
            for name in names:
                with open(os.path.join(root, name), "rb") as file:
                    extracted[name] = file.read()
    check(sorted(extracted) == sorted(files), f"the MSI holds {sorted(extracted)}, not {sorted(files)}")
    for name, content in extracted.items():
        check(files.get(name) == content, f"{name} in the MSI is not the one in the zip")


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
    parser.add_argument("--msi", required=True)
    parser.add_argument("--settings", required=True)
    parser.add_argument("--program", action="append", required=True)
    args = parser.parse_args()
    base = f"xpvestrim-{args.version}-{args.arch}"
    machine = MACHINES[args.arch]

    check(os.path.basename(args.zip) == base + ".zip", f"the zip is named {os.path.basename(args.zip)}")
    check(os.path.basename(args.setup) == base + "-setup.exe",
          f"the setup program is named {os.path.basename(args.setup)}")
    check(os.path.basename(args.msi) == base + ".msi", f"the MSI is named {os.path.basename(args.msi)}")
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
        if name.lower().endswith(".exe"):
            if check(pe_machine(files[name]) == machine, f"{name} in the zip is no {args.arch} program"):
                check_shipped_program(name, files[name], source, "the zip")
        elif source is not None:
            with open(source, "rb") as built:
                check(files[name] == built.read(), f"{name} in the zip is not the one built")
    if "README.txt" in files:
        check_readme(files["README.txt"], args.version)
    check_msi(args.msi, args.arch, args.version, files)

    for failure in failures:
        print("FAILED:", failure)
    if not failures:
        print(f"{base}.zip, {base}.msi and {base}-setup.exe: {len(files)} files as built, without debug sections")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

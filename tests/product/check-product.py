#!/usr/bin/env python3
"""Checks the shipped Brumweld.exe on the host, without running it: its stripped size,
that it imports only system DLLs at load time, and that it carries exactly the resources
compiled from the resource script (the tests under Wine check what those resources say).
usage: check-product.py Brumweld.exe Brumweld.res STRIP OBJDUMP"""
import os
import struct
import subprocess
import sys
import tempfile

SIZE_LIMIT = 52 * 1024
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "shell32.dll", "comctl32.dll", "comdlg32.dll",
               "msvcrt.dll"}
RT_ICON, RT_DIALOG, RT_STRING, RT_GROUP_ICON = 3, 5, 6, 14


def pe_resources(image):
    """{(type, name, language): bytes} from the resource directory of a PE image."""
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    if image[pe:pe + 4] != b"PE\0\0":
        raise ValueError("not a PE image")
    sections, optional_size = struct.unpack_from("<H12xH", image, pe + 6)
    optional = pe + 24
    magic = struct.unpack_from("<H", image, optional)[0]
    directories = optional + (96 if magic == 0x10B else 112)
    rva = struct.unpack_from("<I", image, directories + 2 * 8)[0]
    table = optional + optional_size
    spans = [struct.unpack_from("<8xIIII", image, table + 40 * i) for i in range(sections)]

    def offset(address):
        for virtual_size, virtual, raw_size, raw in spans:
            if virtual <= address < virtual + max(virtual_size, raw_size):
                return raw + address - virtual
        raise ValueError("address 0x%x outside every section" % address)

    base = offset(rva)

    def entries(at):
        named, ids = struct.unpack_from("<12xHH", image, base + at)
        for i in range(named + ids):
            key, target = struct.unpack_from("<II", image, base + at + 16 + 8 * i)
            if key & 0x80000000:
                length = struct.unpack_from("<H", image, base + (key & 0x7FFFFFFF))[0]
                start = base + (key & 0x7FFFFFFF) + 2
                key = image[start:start + 2 * length].decode("utf-16-le").upper()
            yield key, target

    found = {}
    for kind, names in entries(0):
        for name, languages in entries(names & 0x7FFFFFFF):
            for language, leaf in entries(languages & 0x7FFFFFFF):
                data_rva, size = struct.unpack_from("<II", image, base + leaf)
                start = offset(data_rva)
                found[(kind, name, language)] = image[start:start + size]
    return found


def res_resources(res):
    """{(type, name, language): bytes} from a compiled .res file."""
    found, at = {}, 0

    def name_or_id(position):
        if struct.unpack_from("<H", res, position)[0] == 0xFFFF:
            return struct.unpack_from("<H", res, position + 2)[0], position + 4
        end = position
        while res[end:end + 2] != b"\0\0":
            end += 2
        return res[position:end].decode("utf-16-le").upper(), end + 2

    while at + 8 <= len(res):
        data_size, header_size = struct.unpack_from("<II", res, at)
        kind, position = name_or_id(at + 8)
        name, position = name_or_id(position)
        position = (position + 3) & ~3
        language = struct.unpack_from("<6xH", res, position)[0]
        if data_size:
            found[(kind, name, language)] = res[at + header_size:at + header_size + data_size]
        at = (at + header_size + data_size + 3) & ~3
    return found


def strings_of_block(data):
    texts, at = [], 0
    for _ in range(16):
        length = struct.unpack_from("<H", data, at)[0]
        texts.append(data[at + 2:at + 2 + 2 * length].decode("utf-16-le"))
        at += 2 + 2 * length
    return texts


def main():
    exe, res, strip, objdump = sys.argv[1:5]
    failures = []

    with tempfile.TemporaryDirectory() as folder:
        stripped = os.path.join(folder, "Brumweld.exe")
        subprocess.run([strip, "-o", stripped, exe], check=True)
        size = os.path.getsize(stripped)
        print("size: %d bytes stripped (limit %d)" % (size, SIZE_LIMIT))
        if size > SIZE_LIMIT:
            failures.append("stripped size %d bytes is over %d" % (size, SIZE_LIMIT))
        dump = subprocess.run([objdump, "-p", stripped], check=True, capture_output=True, text=True).stdout
    imports = [line.split("DLL Name:")[1].strip() for line in dump.splitlines() if "DLL Name:" in line]
    print("imports: " + ", ".join(imports))
    if not imports:
        failures.append("no import table found")
    foreign = [name for name in imports if name.lower() not in SYSTEM_DLLS]
    if foreign:
        failures.append("imports DLLs that are not the system's: " + ", ".join(foreign))

    shipped = pe_resources(open(exe, "rb").read())
    compiled = res_resources(open(res, "rb").read())
    print("resources: %d in the program, %d compiled from the script" % (len(shipped), len(compiled)))
    for key in sorted(set(shipped) | set(compiled), key=str):
        if key not in shipped:
            failures.append("resource %s is missing from the program" % (key,))
        elif key not in compiled:
            failures.append("resource %s is in the program but not in the script" % (key,))
        elif shipped[key] != compiled[key]:
            failures.append("resource %s differs from the compiled script" % (key,))

    kinds = {(kind, name) for kind, name, _ in shipped}
    for kind, name, what in [(RT_DIALOG, 101, "dialog template 101"), (RT_GROUP_ICON, 102, "icon group 102"),
                             (RT_STRING, 1, "string block of entries 1 to 15")]:
        if (kind, name) not in kinds:
            failures.append(what + " is missing")
    for (kind, name, _), data in shipped.items():
        if kind == RT_STRING and name == 1:
            texts = strings_of_block(data)
            empty = [n for n in (1, 2, 3, 10) if not texts[n]]
            if empty:
                failures.append("string entries %s are empty" % empty)
        if kind == RT_GROUP_ICON:
            count = struct.unpack_from("<4xH", data)[0]
            for i in range(count):
                icon = struct.unpack_from("<H", data, 6 + 14 * i + 12)[0]
                if (RT_ICON, icon) not in kinds:
                    failures.append("icon group %s names icon %d, which is missing" % (name, icon))

    for failure in failures:
        print("FAILED: " + failure)
    if not failures:
        print("PASSED: Brumweld.exe is small, imports only system DLLs and carries the script's resources")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

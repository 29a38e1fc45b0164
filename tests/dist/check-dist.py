#!/usr/bin/env python3
"""Checks the release on the host: Brumweld.exe relinked later into another folder is the same,
`tools/dist package` makes the same zip twice with exactly the shipped files, and its readme.txt
is cp932 with CR LF line ends and names every button and check box of the dialog template and
the first line of every box the window shows.
usage: check-dist.py Brumweld.exe APP_BUILD_FOLDER"""
import os
import re
import shlex
import subprocess
import sys
import tempfile
import time
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def relink(app_folder, output):
    """Runs the program's link command again with its outputs sent to another folder."""
    command = shlex.split(open(os.path.join(app_folder, "CMakeFiles/Brumweld.dir/link.txt")).read().splitlines()[-1])
    command[command.index("-o") + 1] = os.path.join(output, "Brumweld.exe")
    command = [re.sub(r"--out-implib,\S+", "--out-implib," + os.path.join(output, "implib.a"), w) for w in command]
    subprocess.run(command, cwd=app_folder, check=True)
    return open(os.path.join(output, "Brumweld.exe"), "rb").read()


def package(exe, folder):
    os.mkdir(folder)
    subprocess.run(["bash", os.path.join(ROOT, "tools/dist"), "package", exe, folder], check=True,
                   stdout=subprocess.DEVNULL)
    return os.path.join(folder, os.listdir(folder)[0])


def template_names():
    """Texts of the template's push buttons and check boxes, without & markers."""
    names = []
    for line in open(os.path.join(ROOT, "ui/main/Brumweld.rc"), encoding="utf-8"):
        found = re.match(r'\s*(PUSHBUTTON|DEFPUSHBUTTON|AUTOCHECKBOX|CONTROL)\s+"([^"]*)"', line)
        if found and (found.group(1) != "CONTROL" or ('"Button"' in line and "BS_AUTOCHECKBOX" in line)):
            names.append(found.group(2).replace("&", ""))
    return names


def box_texts():
    """Each text the main window shows in a box, its named texts and its table of outcomes, as
    (first line, whether other lines follow)."""
    texts = []
    for line in open(os.path.join(ROOT, "ui/main/MainDialog.cpp"), encoding="utf-8"):
        found = re.match(r'(?:const wchar_t k\w+\[\] = |\s*\{(?:[\w:]+, )+)L"((?:[^"\\]|\\.)*)"', line)
        if found and "\\0" not in found.group(1):
            lines = found.group(1).split("\\r\\n")
            texts.append((lines[0].replace("\\\\", "\\"), len(lines) > 1))
    return texts


def main():
    exe, app_folder = sys.argv[1:3]
    program = open(exe, "rb").read()
    failures = []
    with tempfile.TemporaryDirectory() as folder:
        # The link stamps no time: a second later, elsewhere, the bytes are the same.
        time.sleep(1.1)
        os.mkdir(os.path.join(folder, "relinked"))
        if relink(app_folder, os.path.join(folder, "relinked")) != program:
            failures.append("Brumweld.exe relinked into another folder differs from the build's")
        zips = [package(exe, os.path.join(folder, name)) for name in ("a", "b")]
        if open(zips[0], "rb").read() != open(zips[1], "rb").read():
            failures.append("two zips of the same program differ")
        with zipfile.ZipFile(zips[0]) as archive:
            names = archive.namelist()
            if names != ["Brumweld.exe", "LICENSE.txt", "readme.txt"]:
                failures.append("the zip holds %s" % names)
            if any(info.extra for info in archive.infolist()):
                failures.append("the zip's entries carry extra fields")
            if archive.read("Brumweld.exe") != program:
                failures.append("the zip's Brumweld.exe is not the build's")
            readme, licence = archive.read("readme.txt"), archive.read("LICENSE.txt")
    print("zip: %s" % names)

    if licence != open(os.path.join(ROOT, "LICENSE"), "rb").read().replace(b"\n", b"\r\n"):
        failures.append("LICENSE.txt is not LICENSE with CR LF line ends")
    if re.search(rb"\r(?!\n)|(?<!\r)\n", readme):
        failures.append("readme.txt has a line end that is not CR LF")
    try:
        text = readme.decode("cp932")
    except UnicodeDecodeError as error:
        failures.append("readme.txt is not cp932: %s" % error)
        text = ""
    version = open(os.path.join(ROOT, "VERSION")).read().strip()
    if "Brumweld " + version not in text:
        failures.append("readme.txt does not give the version %s" % version)
    names = template_names()
    print("buttons and check boxes: " + " / ".join(names))
    failures += ["readme.txt does not name %r" % name for name in names if name not in text]
    if not names:
        failures.append("no buttons or check boxes found in the template")
    # Each box's first line whole on one line of the readme, so a search in Notepad finds it.
    boxes = box_texts()
    print("boxes: %d" % len(boxes))
    lines = text.split("\r\n")
    failures += ["readme.txt has no line that names the box %r" % box for box, _ in boxes
                 if not any(box in line for line in lines)]
    if len(boxes) < 20:
        failures.append("only %d box texts found in the main window" % len(boxes))
    # The program's own texts end a first line that others follow with 。 and no other; the one
    # text the program was designed with stays as it was given.
    failures += ["the box %r ends its first line %s" % (box, "without 。" if more else "with 。")
                 for box, more in boxes if box != "ファイル名を指定してください" and box.endswith("。") != more]

    for failure in failures:
        print("FAILED: " + failure)
    if not failures:
        print("PASSED: the release is reproducible and its readme names every button, check box and box")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

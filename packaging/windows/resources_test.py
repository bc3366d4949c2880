#!/usr/bin/python3
"""Reads tessoral.exe's resources back from the file and compares them with version.cmake:
the version record string by string, the icon's size and depth, the manifest's settings, and
that the program imports nothing but system DLLs.

    resources_test.py TESSORAL_EXE VERSION_CMAKE
"""

import re
import sys

import pefile

exe, version_cmake = sys.argv[1:3]
values = dict(re.findall(r'set\((TSRL_\w+) "([^"]*)"\)', open(version_cmake).read()))
language = values["TSRL_LANGUAGE"]
expected_strings = {
    "FileDescription": values["TSRL_FILE_DESCRIPTION"],
    "FileVersion": values["TSRL_FILE_VERSION"],
    "InternalName": values["TSRL_EXECUTABLE_NAME"],
    "LegalCopyright": values["TSRL_COPYRIGHT"],
    "OriginalFilename": values["TSRL_EXECUTABLE_NAME"] + ".exe",
    "ProductName": values["TSRL_PRODUCT_NAME"],
    "ProductVersion": values["TSRL_PRODUCT_VERSION"],
}
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "msvcrt.dll"}

pe = pefile.PE(exe)
failures = []


def check(what, seen, wanted):
    if seen != wanted:
        failures.append("%s: %r, expected %r" % (what, seen, wanted))


tables = {}
translations = []
for info in pe.FileInfo[0]:
    if info.Key == b"StringFileInfo":
        for table in info.StringTable:
            tables[table.LangID.decode()] = {k.decode(): v.decode() for k, v in table.entries.items()}
    elif info.Key == b"VarFileInfo":
        translations += [var.entry[b"Translation"] for var in info.Var]
check("string blocks", list(tables), [language])
check("strings", tables.get(language), expected_strings)
check("translation", translations, ["0x%s 0x%s" % (language[:4], language[4:].lower())])


def resources(kind):
    for entry in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if entry.id == kind:
            for item in entry.directory.entries:
                for lang in item.directory.entries:
                    data = lang.data.struct
                    yield pe.get_data(data.OffsetToData, data.Size)


icons = list(resources(pefile.RESOURCE_TYPE["RT_ICON"]))
check("icon images", len(icons), 1)
for icon in icons:
    width, height, _, bits = (int.from_bytes(icon[o:o + n], "little")
                              for o, n in ((4, 4), (8, 4), (12, 2), (14, 2)))
    check("icon size and depth", (width, height // 2, bits), (32, 32, 4))

manifest = b"".join(resources(pefile.RESOURCE_TYPE["RT_MANIFEST"])).decode()
for setting in ("PerMonitorV2", "Microsoft.Windows.Common-Controls", 'version="6.0.0.0"'):
    if setting not in manifest:
        failures.append("manifest lacks %s" % setting)

imports = {entry.dll.decode().lower() for entry in pe.DIRECTORY_ENTRY_IMPORT}
check("DLLs beyond the system's", sorted(imports - SYSTEM_DLLS), [])

if failures:
    sys.exit("\n".join(failures))
print("version record, icon, manifest and imports as expected")

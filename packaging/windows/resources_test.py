#!/usr/bin/python3
"""Reads tessoral.exe's resources back and compares them with version.cmake: the version record
string by string, the icon's size and depth, the manifest's settings, and that the program
imports nothing but system DLLs.

    resources_test.py TESSORAL_EXE VERSION_CMAKE
"""

import re
import sys

import pefile

exe, version_cmake = sys.argv[1:3]
values = dict(re.findall(r'set\((TSRL_\w+) "([^"]*)"\)', open(version_cmake).read()))
for key, value in values.items():  # in file order, so what a value names is already expanded
    values[key] = re.sub(r"\$\{(\w+)\}", lambda m: values.get(m.group(1), m.group(0)), value)
language, name = values["TSRL_LANGUAGE"], values["TSRL_EXECUTABLE_NAME"]
expected_strings = {
    "FileDescription": values["TSRL_FILE_DESCRIPTION"], "FileVersion": values["TSRL_FILE_VERSION"],
    "InternalName": name, "LegalCopyright": values["TSRL_COPYRIGHT"],
    "OriginalFilename": name + ".exe", "ProductName": values["TSRL_PRODUCT_NAME"],
    "ProductVersion": values["TSRL_PRODUCT_VERSION"],
}
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "msvcrt.dll", "ole32.dll"}
pe = pefile.PE(exe)
failures = []


def check(what, seen, wanted):
    if seen != wanted:
        failures.append("%s: %r, expected %r" % (what, seen, wanted))


def resources(kind):
    for entry in (e for e in pe.DIRECTORY_ENTRY_RESOURCE.entries if e.id == kind):
        for lang in (lang for item in entry.directory.entries for lang in item.directory.entries):
            yield pe.get_data(lang.data.struct.OffsetToData, lang.data.struct.Size)


tables, translations = {}, []
for info in pe.FileInfo[0]:
    for table in getattr(info, "StringTable", []):
        tables[table.LangID.decode()] = {k.decode(): v.decode() for k, v in table.entries.items()}
    translations += [var.entry[b"Translation"] for var in getattr(info, "Var", [])]
check("string blocks", list(tables), [language])
check("strings", tables.get(language), expected_strings)
check("translation", translations, ["0x%s 0x%s" % (language[:4], language[4:].lower())])

icons = list(resources(pefile.RESOURCE_TYPE["RT_ICON"]))
check("icon images", len(icons), 1)
for icon in icons:  # its BITMAPINFOHEADER: width, twice the height, planes, bits per pixel
    fields = [int.from_bytes(icon[o:o + n], "little") for o, n in ((4, 4), (8, 4), (14, 2))]
    check("icon size and depth", (fields[0], fields[1] // 2, fields[2]), (32, 32, 4))

manifest = b"".join(resources(pefile.RESOURCE_TYPE["RT_MANIFEST"])).decode()
for setting in ("PerMonitorV2", "Microsoft.Windows.Common-Controls", 'version="6.0.0.0"'):
    check("manifest has " + setting, setting in manifest, True)
imports = {entry.dll.decode().lower() for entry in pe.DIRECTORY_ENTRY_IMPORT}
check("DLLs beyond the system's", sorted(imports - SYSTEM_DLLS), [])

if failures:
    sys.exit("\n".join(failures))
print("version record, icon, manifest and imports as expected")

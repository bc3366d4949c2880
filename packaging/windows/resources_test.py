#!/usr/bin/python3
"""Reads tessoral.exe's resources back and compares them with version.cmake: the version record
string by string, the icon's sizes and depths, the manifest's settings, and that the program
imports nothing but system DLLs.

    resources_test.py TESSORAL_EXE VERSION_CMAKE
"""

import re
import struct
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
# width, height, bits a pixel: the classic 16-colour images and a 256 one in PNG
ICON_IMAGES = [(16, 16, 4), (32, 32, 4), (48, 48, 4), (256, 256, 32)]
WINDOWS_10 = "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"  # and 11: the oldest the program runs on
PNG = b"\x89PNG\r\n\x1a\n"
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "msvcrt.dll", "ole32.dll"}
pe = pefile.PE(exe)
failures = []


def check(what, seen, wanted):
    if seen != wanted:
        failures.append("%s: %r, expected %r" % (what, seen, wanted))


def resources(kind):
    for entry in (e for e in pe.DIRECTORY_ENTRY_RESOURCE.entries if e.id == kind):
        for item in entry.directory.entries:
            for lang in item.directory.entries:
                yield item.id, pe.get_data(lang.data.struct.OffsetToData, lang.data.struct.Size)


tables, translations = {}, []
for info in pe.FileInfo[0]:
    for table in getattr(info, "StringTable", []):
        tables[table.LangID.decode()] = {k.decode(): v.decode() for k, v in table.entries.items()}
    translations += [var.entry[b"Translation"] for var in getattr(info, "Var", [])]
check("string blocks", list(tables), [language])
check("strings", tables.get(language), expected_strings)
check("translation", translations, ["0x%s 0x%s" % (language[:4], language[4:].lower())])


def image_size(image):
    if image.startswith(PNG):  # IHDR: width, height, bit depth, colour type (6 is RGBA)
        width, height, depth, kind = struct.unpack_from(">IIBB", image, 16)
        return width, height, depth * 4 if kind == 6 else depth
    width, twice_height, _, bits = struct.unpack_from("<iiHH", image, 4)  # BITMAPINFOHEADER
    return width, twice_height // 2, bits


# The icon group's images as its directory lists them (a side of 256 is 0 there), and as each
# image's own header says.
icons = dict(resources(pefile.RESOURCE_TYPE["RT_ICON"]))
group = next(resources(pefile.RESOURCE_TYPE["RT_GROUP_ICON"]))[1]
entries = [struct.unpack_from("<BBBBHHIH", group, 6 + 14 * i)
           for i in range(struct.unpack_from("<H", group, 4)[0])]
check("icon group", [(e[0] or 256, e[1] or 256, e[5]) for e in entries], ICON_IMAGES)
check("icon images", [image_size(icons[e[7]]) for e in entries], ICON_IMAGES)

manifest = b"".join(data for _, data in resources(pefile.RESOURCE_TYPE["RT_MANIFEST"])).decode()
for setting in ("PerMonitorV2", "Microsoft.Windows.Common-Controls", 'version="6.0.0.0"'):
    check("manifest has " + setting, setting in manifest, True)
check("systems supported", re.findall(r'supportedOS Id="([^"]+)"', manifest), [WINDOWS_10])
imports = {entry.dll.decode().lower() for entry in pe.DIRECTORY_ENTRY_IMPORT}
check("DLLs beyond the system's", sorted(imports - SYSTEM_DLLS), [])

if failures:
    sys.exit("\n".join(failures))
print("version record, icon sizes, manifest and imports as expected")

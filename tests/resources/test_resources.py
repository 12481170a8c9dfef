#!/usr/bin/env python3
"""Reads the dialog templates and icons back out of a built setup.exe and compares every field
with what the dialog procedures and the shell rely on.

    test_resources.py <setup.exe> <icon dir> --version <TNP_VERSION> [--machine i386|amd64]

The icon dir holds the .ico files the build drew, so each group can be matched to its picture.
"""
import os
import re
import struct
import sys
import unittest
from xml.etree import ElementTree

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pe_resources import (RT_DIALOG, RT_GROUP_ICON, RT_ICON, RT_VERSION, parse_dialog,  # noqa: E402
                          parse_group_icon, parse_icon_image, parse_version_info, read_resources)

EXE = ICON_DIR = MACHINE = VERSION = None
ENGLISH_US = 1033
BUTTON, EDIT, STATIC = 0x80, 0x81, 0x82

SEARCH_STATUS = ("Setup is now searching for a directory where a previous release release is "
                 "installed.  Please Wait...")
# (id, class, text, style, x, y, cx, cy) in template order
SEARCH_CONTROLS = [
    (1028, STATIC, "", 0x50000003, 5, 5, 20, 20),
    (-1, STATIC, "Directory:", 0x50020000, 5, 30, 195, 10),
    (1029, STATIC, "", 0x50020000, 5, 40, 195, 30),
    (1031, STATIC, SEARCH_STATUS, 0x50020000, 30, 5, 170, 25),
    (2, BUTTON, "Continue", 0x58010001, 80, 75, 40, 15),
]
SELECT_CONTROLS = [
    (-1, STATIC, "Files Install Size in Kilobytes:", 0x50020000, 5, 5, 95, 10),
    (-1, STATIC, "D&irectory on PC to install files into:", 0x50020000, 5, 20, 135, 10),
    (1024, EDIT, "", 0x50810080, 5, 30, 175, 12),
    (1026, BUTTON, "...", 0x50010000, 180, 30, 12, 12),
    (1025, BUTTON, "Cr&eate Shortcut on Desktop", 0x50010003, 5, 50, 185, 10),
    (1, BUTTON, "OK", 0x50010001, 85, 65, 50, 14),
    (2, BUTTON, "Cancel", 0x50010000, 140, 65, 50, 14),
    (1027, STATIC, "", 0x50020000, 105, 5, 35, 10),
]
# icon group -> image id
ICON_GROUPS = {"AAAAAA": 5, "SEARCH1": 4, "SEARCH2": 2, "SEARCH3": 3, "SEARCH4": 1}
PALETTE_16 = [0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
              0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF]
ICON_IMAGE_SIZE = 744


class BuiltResources(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.image, cls.resources = read_resources(EXE)

    def of_type(self, type_):
        return [r for r in self.resources if r["type"] == type_]

    def one(self, type_, name):
        found = [r for r in self.resources if r["type"] == type_ and r["name"] == name]
        self.assertEqual(len(found), 1, "resource %r of type %r" % (name, type_))
        return found[0]

    def test_module_is_the_expected_architecture(self):
        if MACHINE == "i386":
            self.assertEqual((self.image.machine, self.image.magic), (0x14C, 0x10B))
        elif MACHINE == "amd64":
            self.assertEqual((self.image.machine, self.image.magic), (0x8664, 0x20B))

    def test_every_resource_is_english_us(self):
        self.assertTrue(self.resources)
        for r in self.resources:
            self.assertEqual(r["language"], ENGLISH_US, "%r/%r" % (r["type"], r["name"]))

    def test_only_the_two_dialogs_and_five_icons_exist(self):
        self.assertEqual([r["name"] for r in self.of_type(RT_DIALOG)], ["SEARCH", "SELECT"])
        self.assertEqual([r["name"] for r in self.of_type(RT_ICON)], [1, 2, 3, 4, 5])
        # The shell shows the first group of the sorted directory for the program file.
        self.assertEqual([r["name"] for r in self.of_type(RT_GROUP_ICON)],
                         ["AAAAAA", "SEARCH1", "SEARCH2", "SEARCH3", "SEARCH4"])

    def check_controls(self, dialog, expected):
        self.assertEqual(len(dialog["controls"]), len(expected))
        for i, (c, (id_, class_, text, style, x, y, cx, cy)) in enumerate(zip(dialog["controls"], expected)):
            where = "control %d (id %d)" % (i, id_)
            self.assertEqual(c["id"], id_, where)
            self.assertEqual(c["class"], class_, where)
            self.assertEqual(c["text"], text, where)
            self.assertEqual(hex(c["style"]), hex(style), where)
            self.assertEqual(c["ex_style"], 0, where)
            self.assertEqual(c["rect"], (x, y, cx, cy), where)
            self.assertEqual(c["extra"], 0, where)
            if dialog["extended"]:
                self.assertEqual(c["help_id"], 0, where)

    def check_ends_with_last_control(self, raw, dialog):
        # Nothing but alignment padding may follow the last control.
        self.assertLessEqual(dialog["length"], len(raw))
        self.assertEqual(raw[dialog["length"]:], b"\0" * (len(raw) - dialog["length"]))
        self.assertLess(len(raw) - dialog["length"], 4)

    def test_search_template(self):
        raw = self.one(RT_DIALOG, "SEARCH")["bytes"]
        d = parse_dialog(raw)
        self.assertFalse(d["extended"], "SEARCH must be a classic DLGTEMPLATE")
        self.assertEqual(hex(d["style"]), hex(0x80C008C0))
        self.assertEqual(d["ex_style"], 0)
        self.assertEqual(d["rect"], (0, 0, 205, 95))
        self.assertEqual((d["menu"], d["class"]), ("", ""))
        self.assertEqual(d["caption"], "Searching for release...")
        self.assertEqual(d["font"], {"points": 8, "weight": None, "italic": None, "charset": None,
                                     "face": "MS Sans Serif"})
        self.check_controls(d, SEARCH_CONTROLS)
        self.check_ends_with_last_control(raw, d)

    def test_select_template(self):
        raw = self.one(RT_DIALOG, "SELECT")["bytes"]
        d = parse_dialog(raw)
        self.assertTrue(d["extended"], "SELECT must be a DLGTEMPLATEEX")
        self.assertEqual(d["help_id"], 0)
        self.assertEqual(hex(d["style"]), hex(0x90C80AC0))
        self.assertEqual(d["ex_style"], 0)
        self.assertEqual(d["rect"], (0, 0, 197, 85))
        self.assertEqual((d["menu"], d["class"]), ("", ""))
        self.assertEqual(d["caption"], "Tone Pilot Setup")
        self.assertEqual(d["font"], {"points": 8, "weight": 0, "italic": 0, "charset": 1,
                                     "face": "MS Sans Serif"})
        self.check_controls(d, SELECT_CONTROLS)
        self.check_ends_with_last_control(raw, d)

    def test_icon_groups_and_images(self):
        for group_name, image_id in ICON_GROUPS.items():
            group = parse_group_icon(self.one(RT_GROUP_ICON, group_name)["bytes"])
            self.assertEqual((group["reserved"], group["type"]), (0, 1), group_name)
            self.assertEqual(group["entries"], [{"width": 32, "height": 32, "colours": 16, "reserved": 0,
                                                 "planes": 1, "bits": 4, "size": ICON_IMAGE_SIZE,
                                                 "id": image_id}], group_name)
            raw = self.one(RT_ICON, image_id)["bytes"]
            self.assertEqual(len(raw), ICON_IMAGE_SIZE, group_name)
            header = parse_icon_image(raw)
            self.assertEqual((header["header_size"], header["width"], header["height"], header["planes"],
                              header["bits"], header["compression"]), (40, 32, 64, 1, 4, 0), group_name)
            self.assertEqual([hex(c) for c in header["palette"]], [hex(c) for c in PALETTE_16], group_name)
            # 40 header + 64 palette + 512 colour bits + 128 mask bits
            self.assertEqual(40 + 16 * 4 + 32 * 32 // 2 + 32 * 32 // 8, ICON_IMAGE_SIZE)
            with open(os.path.join(ICON_DIR, group_name.lower() + ".ico"), "rb") as f:
                drawn = f.read()
            self.assertEqual(raw, drawn[22:], "%s does not carry %s.ico" % (group_name, group_name.lower()))

    def test_search_frames_are_four_different_pictures(self):
        frames = [self.one(RT_ICON, ICON_GROUPS["SEARCH%d" % n])["bytes"] for n in range(1, 5)]
        self.assertEqual(len(set(frames)), 4)
        self.assertNotIn(self.one(RT_ICON, ICON_GROUPS["AAAAAA"])["bytes"], frames)

    def test_version_resource_names_the_setup_and_its_version_only(self):
        numbers = [int(n) for n in VERSION.split(".")] + [0, 0, 0]
        version = struct.pack("<4H", numbers[1], numbers[0], numbers[3], numbers[2])
        # signature, structure version, file and product version, flags mask and flags, OS
        # VOS__WINDOWS32, type VFT_APP, subtype, date
        fixed = struct.pack("<II", 0xFEEF04BD, 0x10000) + version * 2 + struct.pack("<7I", 0x3F, 0, 4, 1, 0, 0, 0)
        table = "VS_VERSION_INFO/StringFileInfo/040904E4"
        strings = [("FileDescription", "Tone Pilot Setup"), ("FileVersion", VERSION), ("InternalName", "setup"),
                   ("OriginalFilename", "setup.exe"), ("ProductName", "Tone Pilot"), ("ProductVersion", VERSION)]
        self.assertEqual(parse_version_info(self.one(RT_VERSION, 1)["bytes"]),
                         [("VS_VERSION_INFO", fixed), ("VS_VERSION_INFO/StringFileInfo", ""), (table, "")]
                         + [(table + "/" + key, value) for key, value in strings]
                         + [("VS_VERSION_INFO/VarFileInfo", ""),
                            ("VS_VERSION_INFO/VarFileInfo/Translation", struct.pack("<HH", 1033, 1252))])

    def test_manifest_asks_for_administrator_rights_and_nothing_else(self):
        raw = self.one(24, 1)["bytes"].decode("utf-8")  # RT_MANIFEST, the process's own
        v1, v3 = "{urn:schemas-microsoft-com:asm.v1}", "{urn:schemas-microsoft-com:asm.v3}"
        self.assertEqual([(e.tag, e.attrib) for e in ElementTree.fromstring(raw).iter()],
                         [(v1 + "assembly", {"manifestVersion": "1.0"}), (v3 + "trustInfo", {}), (v3 + "security", {}),
                          (v3 + "requestedPrivileges", {}),
                          (v3 + "requestedExecutionLevel", {"level": "requireAdministrator", "uiAccess": "false"})])
        for tag in re.findall(r"<[^>]*>", raw):  # XP SP2 restarts on a namespace declared twice in one tag
            names = re.findall(r'xmlns(?::\w+)?="([^"]*)"', tag)
            self.assertEqual(len(names), len(set(names)), tag)


def main():
    global EXE, ICON_DIR, MACHINE, VERSION
    args = sys.argv[1:]
    if "--machine" in args:
        at = args.index("--machine")
        MACHINE = args[at + 1]
        del args[at:at + 2]
    if "--version" in args:
        at = args.index("--version")
        VERSION = args[at + 1]
        del args[at:at + 2]
    if len(args) != 2 or VERSION is None:
        sys.exit(__doc__)
    EXE, ICON_DIR = args
    unittest.main(argv=[sys.argv[0], "-v"])


if __name__ == "__main__":
    main()

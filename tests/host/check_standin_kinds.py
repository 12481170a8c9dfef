#!/usr/bin/env python3
"""Checks that the generated stand-ins are files of the product's kinds: readable text, a help
contents file, a help file with its header, a PE program, a PE library, an MZ+NE library.

    check_standin_kinds.py <folder of the six stand-in files>
"""
import struct, sys
d = sys.argv[1]
read = lambda n: open(d + "/" + n, "rb").read()
bad = []
text = read("TNPRead.txt")
if not all(32 <= b < 127 or b in (13, 10) for b in text) or b"Tone Pilot" not in text:
    bad.append("TNPRead.txt is not readable text")
if not read("tnp.cnt").startswith(b":Base tnp.hlp"):
    bad.append("tnp.cnt is not a help contents file")
if read("tnp.hlp")[:4] != b"\x3f\x5f\x03\x00" or struct.unpack("<I", read("tnp.hlp")[12:16])[0] != 171532:
    bad.append("tnp.hlp has no help file header")
for name, flags in (("tnp.exe", 0), ("tnp32hlp.dll", 0x2000)):
    data = read(name)
    pe = struct.unpack("<I", data[0x3C:0x40])[0]
    if data[:2] != b"MZ" or data[pe:pe + 4] != b"PE\0\0":
        bad.append(name + " is not a PE file"); continue
    characteristics = struct.unpack("<H", data[pe + 22:pe + 24])[0]
    if characteristics & 0x2000 != flags:
        bad.append(name + " has the wrong DLL flag")
data = read("tnp16hlp.dll")
ne = struct.unpack("<I", data[0x3C:0x40])[0]
if data[:2] != b"MZ" or data[ne:ne + 2] != b"NE" or b"TNP16HLP" not in data:
    bad.append("tnp16hlp.dll is not an NE library")
for b in bad:
    print("FAIL: " + b)
sys.exit(1 if bad else 0)

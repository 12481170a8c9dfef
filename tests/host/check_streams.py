#!/usr/bin/env python3
"""Checks packed payload streams against the files they were made from: each a complete zlib
stream with the header 0x78 0x9C, decompressing to exactly the file with nothing after it, a
right Adler-32, and named in payload.rc as a ZPK resource.

    check_streams.py <folder of the six files> <zpack output folder>
"""
import os, sys, zlib
inputs, out = sys.argv[1], sys.argv[2]
pairs = [("TNPREAD.TXT", "TNPRead.txt"), ("TNP.HLP", "tnp.hlp"), ("TNP.CNT", "tnp.cnt"),
         ("TNP.EXE", "tnp.exe"), ("TNP32HLP.DLL", "tnp32hlp.dll"), ("TNP16HLP.DLL", "tnp16hlp.dll")]
script = open(os.path.join(out, "payload.rc")).read()
bad = 0
for resource, name in pairs:
    stream = open(os.path.join(out, resource + ".zpk"), "rb").read()
    original = open(os.path.join(inputs, name), "rb").read()
    if stream[:2] != b"\x78\x9c":
        print("FAIL: %s starts with %r" % (resource, stream[:2])); bad += 1
    d = zlib.decompressobj()
    try:
        back = d.decompress(stream) + d.flush()
    except zlib.error as e:
        print("FAIL: %s: %s" % (resource, e)); bad += 1; continue
    if back != original or not d.eof or d.unused_data:
        print("FAIL: %s does not decompress to exactly %s" % (resource, name)); bad += 1
    if int.from_bytes(stream[-4:], "big") != zlib.adler32(original):
        print("FAIL: %s: wrong Adler-32" % resource); bad += 1
    if '%s ZPK "%s/%s.zpk"' % (resource, out, resource) not in script:
        print("FAIL: payload.rc does not name %s" % resource); bad += 1
sys.exit(1 if bad else 0)

#!/usr/bin/env python3
"""Makes a spoilt copy of the packed payload for the damaged-store tests: TNP.HLP with one
byte of its deflate data changed, TNP.EXE cut to half its length, no TNP.CNT at all; the other
streams as packed. Writes the streams and a resource script naming them.

    spoil_payload.py <packed payload folder> <output folder>
"""
import os
import sys
import zlib

source, out = sys.argv[1], sys.argv[2]
os.makedirs(out, exist_ok=True)
script = ["LANGUAGE 9, 1"]
for name in ["TNPREAD.TXT", "TNP.HLP", "TNP.EXE", "TNP32HLP.DLL", "TNP16HLP.DLL"]:
    with open(os.path.join(source, name + ".zpk"), "rb") as f:
        stream = bytearray(f.read())
    if name == "TNP.HLP":
        stream[len(stream) // 2] ^= 0x55
    elif name == "TNP.EXE":
        stream = stream[: len(stream) // 2]
    if name in ("TNP.HLP", "TNP.EXE"):
        try:
            zlib.decompress(bytes(stream))
            sys.exit("spoil_payload: %s still decompresses" % name)
        except zlib.error:
            pass
    path = os.path.join(out, name + ".zpk")
    with open(path, "wb") as f:
        f.write(stream)
    script.append('%s ZPK "%s"' % (name, path))
with open(os.path.join(out, "payload.rc"), "w") as f:
    f.write("\n".join(script) + "\n")

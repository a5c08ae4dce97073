#!/usr/bin/env python3
"""Writes a solid blue 160x120 JPEG (encoded by cjpeg) as a C++ source.

Usage: make_soak_jpeg.py CJPEG OUTPUT.cpp
"""
import os
import subprocess
import sys
import tempfile

W, H = 160, 120
cjpeg, output = sys.argv[1], sys.argv[2]
with tempfile.TemporaryDirectory() as tmp:
    src = os.path.join(tmp, "in.ppm")
    with open(src, "wb") as f:
        f.write(b"P6\n%d %d\n255\n" % (W, H) + bytes((0, 0, 255)) * (W * H))
    data = subprocess.run([cjpeg, "-quality", "90", src], check=True, stdout=subprocess.PIPE).stdout
with open(output, "w") as out:
    out.write("// Written by make_soak_jpeg.py.\n")
    out.write("extern const unsigned char kSoakJpeg[] = {\n")
    for i in range(0, len(data), 16):
        out.write("  " + ", ".join("0x%02x" % b for b in data[i:i + 16]) + ",\n")
    out.write("};\n")
    out.write("extern const unsigned long kSoakJpegSize = %d;\n" % len(data))

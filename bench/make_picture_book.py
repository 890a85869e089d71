"""Writes the workbook pictures_bench.cpp carries through: a sheet of 1,000 rows and ten pictures
of 2 MB each (valid PNG files made larger by an ancillary chunk of noise, which no compressor
can shrink), written with openpyxl.
Usage: make_picture_book.py PATH"""
import os
import struct
import sys
import zlib

from openpyxl import Workbook

# openpyxl's picture without its imaging library, as the test corpus writes it.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "files"))
from make_feature_books import RawImage  # noqa: E402


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)


def png(extra):
    raw = b"".join(b"\0" + b"\xff\0\0" * 2 for _ in range(2))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 2, 2, 8, 2, 0, 0, 0)) +
            chunk(b"teZt", extra) + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


wb = Workbook()
ws = wb.active
ws.title = "Data"
for i in range(1, 1001):
    ws.append(["item %d" % i, i * 1.5, "topic %d" % (i % 37)])
for p in range(10):
    ws.add_image(RawImage(png(os.urandom(2 << 20)), "E%d" % (2 + 20 * p)))
wb.save(sys.argv[1])

#!/usr/bin/env python3
"""Writes the damaged vocabulary files in damaged/: one file per way a file can be broken.

Run from this folder: ./make_damaged.py. What Tallyfold must make of each file is checked by
tests/app/damaged_files_test.cpp.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
FIELDS = [("DEUTSCH", "C", 64), ("UEBERSETZT", "C", 64), ("KASTEN", "C", 1),
          ("ALTER", "N", 4), ("GEWUSST", "N", 5), ("UNBEKANNT", "N", 5)]


def header(records, fields=FIELDS):
    length = 32 * (len(fields) + 1) + 1
    width = 1 + sum(f[2] for f in fields)
    out = bytearray(struct.pack("<BBBBIHH", 3, 126, 12, 8, records, length, width)) + bytes(20)
    for name, kind, size in fields:
        d = bytearray(32)
        d[0:len(name)] = name.encode()
        d[11] = ord(kind)
        d[16] = size
        d[20] = 1
        out += d
    return out + b"\x0d"


def record(question, answer, letter=b"A", known=b"    0", unknown=b"    0"):
    return (b" " + question.ljust(64, b" ") + answer.ljust(64, b" ") + letter + b"   1" +
            known.rjust(5, b" ") + unknown.rjust(5, b" "))


def table(records):
    return header(len(records)) + b"".join(records) + b"\x1a"


GOOD = table([record(b"eins", b"one"), record(b"zwei", b"two"), record(b"drei", b"three")])

FILES = {
    "truncated-header.vok": GOOD[:10],
    "truncated-descriptors.vok": GOOD[:150],
    "truncated-record.vok": GOOD[:225 + 2 * 144 + 40],
    "header-length-past-end.vok": GOOD[:8] + struct.pack("<H", 4000) + GOOD[10:],
    "header-length-too-small.vok": GOOD[:8] + struct.pack("<H", 20) + GOOD[10:],
    "record-length-zero.vok": GOOD[:10] + struct.pack("<H", 0) + GOOD[12:],
    "fields-overlap.vok": GOOD[:10] + struct.pack("<H", 100) + GOOD[12:],
    "field-length-zero.vok": GOOD[:32 + 16] + b"\x00" + GOOD[32 + 17:],
    "record-count-lies.vok": GOOD[:4] + struct.pack("<I", 0xFFFFFFF0) + GOOD[8:],
    # An append interrupted before the count was written: three records, a count of 0.
    "records-beyond-count.vok": GOOD[:4] + struct.pack("<I", 0) + GOOD[8:],
    # A count too large, the end marker, and junk behind it.
    "junk-after-end-marker.vok": GOOD[:4] + struct.pack("<I", 40) + GOOD[8:] + b"junk" * 80,
    # As other dBASE tools write it: zero bytes between the terminator and the records.
    "padded-header.vok": (GOOD[:8] + struct.pack("<H", 225 + 31) + GOOD[10:225] + bytes(31) +
                          GOOD[225:]),
    # Records of one byte, as a table without fields has them: no card fits in one.
    "tiny-records.vok": header(1000, fields=[]) + b" " * 1000 + b"\x1a",
    "non-numeric-numbers.vok": table([record(b"Haus", b"house", b"B", b"abcde", b"-x7")]),
    "control-bytes.vok": table([record(bytes(range(1, 32)), b"\x07\x08\x1b text", b"C")]),
    "empty.vok": b"",
}


if __name__ == "__main__":
    folder = os.path.join(HERE, "damaged")
    os.makedirs(folder, exist_ok=True)
    for name, data in FILES.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)

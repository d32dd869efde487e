#!/usr/bin/env python3
"""Writes the seed corpus of the fuzz targets: small valid and damaged inputs, one file each.

Run from this folder: ./make_seeds.py. The files are committed; fuzzing grows its own corpus
from them (and what adds coverage is minimised and committed beside them).
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

VOK_FIELDS = [("DEUTSCH", "C", 64), ("UEBERSETZT", "C", 64), ("KASTEN", "C", 1),
              ("ALTER", "N", 4), ("GEWUSST", "N", 5), ("UNBEKANNT", "N", 5)]


def header(fields, records, date=(126, 12, 8)):
    length = 32 * (len(fields) + 1) + 1
    record = 1 + sum(f[2] for f in fields)
    out = bytearray(struct.pack("<BBBBIHH", 3, *date, records, length, record)) + bytes(20)
    for name, kind, width in fields:
        d = bytearray(32)
        d[0:len(name)] = name.encode()
        d[11] = ord(kind)
        d[16] = width
        d[20] = 1
        out += d
    return out + b"\x0d"


def record(fields, values, flag=b" "):
    out = bytearray(flag)
    for (name, kind, width), value in zip(fields, values):
        value = value if isinstance(value, bytes) else value.encode("cp1252")
        out += value[:width].ljust(width, b" ") if kind == "C" else value[:width].rjust(width, b" ")
    return out


def table(fields, rows):
    return header(fields, len(rows)) + b"".join(record(fields, r) for r in rows) + b"\x1a"


def write(folder, name, data):
    path = os.path.join(HERE, folder)
    os.makedirs(path, exist_ok=True)
    with open(os.path.join(path, name), "wb") as f:
        f.write(data)


def vok_seeds():
    rows = [[b"Haus", b"house", b"A", b"1", b"0", b"0"],
            [b"Gr\x81\xe1e", b"greetings", b"Z", b"1", b"99999", b"7"],
            [b"back\\slash", b"C:\\", b"X", b"1", b"**", b"-3"],
            [b"g", b"g", b"G", b"", b"", b""],
            [b"lower", b"lower", b"a", b"", b"", b""],
            [b"w" * 64, b"v" * 62 + b" x", b"H", b"", b"", b""]]
    good = table(VOK_FIELDS, rows)
    seeds = {
        "empty.vok": table(VOK_FIELDS, []),
        "cards.vok": good,
        "deleted.vok": header(VOK_FIELDS, 1) + record(VOK_FIELDS, rows[0], b"*") + b"\x1a",
        "other_order.vok": table([("KASTEN", "C", 1), ("EXTRA", "C", 3), ("DEUTSCH", "C", 20),
                                  ("GEWUSST", "N", 3)], [[b"B", b"xyz", b"Baum", b" 4"]]),
        "truncated_header.vok": good[:100],
        "truncated_record.vok": good[:225 + 144 + 60],
        "header_too_long.vok": good[:8] + struct.pack("<H", 60000) + good[10:],
        "record_length_zero.vok": good[:10] + struct.pack("<H", 0) + good[12:],
        "record_count_lies.vok": good[:4] + struct.pack("<I", 0x7FFFFFFF) + good[8:],
        "fields_overlap.vok": good[:10] + struct.pack("<H", 100) + good[12:],
        "control_bytes.vok": table(VOK_FIELDS, [[bytes(range(1, 33)), bytes(range(200, 256)), b"A",
                                                 b"x", b"+-", b"--5"]]),
        "no_fields.vok": header([], 0) + b"\x1a",
        "zero_bytes.vok": b"",
    }
    for name, data in seeds.items():
        write("vok_roundtrip_fuzzer", name, data)
        write("dbf_fuzzer", name, data)


def import_seeds():
    seeds = {
        "crlf.txt": b"Haus;house\r\nBaum;tree\r\n",
        "lf_no_last_end.txt": b"Haus;house\nBaum;tree",
        "errors.txt": b"words only\n   ;no question\nno answer;   \n\tskipped\n\n",
        "cp1252.txt": b"\xc4pfel;apples\nStra\xdfe;street\n",
        "utf8.txt": "\u00c4pfel;apples\nStra\u00dfe;street\n".encode("utf-8"),
        "utf8_bom.txt": b"\xef\xbb\xbf" + "M\u00fccke;midge\n".encode("utf-8"),
        "unmappable.txt": "\u4e2d\u6587;Chinese\n\u20ac;euro\n".encode("utf-8"),
        "escapes.txt": b"M\\\"adchen;girl\n\\0cut;x\nend\\;\\\\\n",
        "long.txt": b"q;" + b"a" * 5000 + b"\n",
        "duplicates.txt": b"a;b\na;b\na;c\nHaus;house\n",
    }
    for name, data in seeds.items():
        write("import_fuzzer", name, data)


def long_line_seeds():
    # 0xFF repeats the byte before it 4,096 times the next byte's value.
    seeds = {
        "one-long-line": b"x\xff\x40;answer\nnext;line\n",
        "mac-line-ends": b"a;b\rc;d\r\xff\x10\re;f",
        "crlf-across-pieces": b"q;\xff\xff\r\nz;y\r\n",
        "utf16": b"\xff\xfeH\x00a\x00;\x00b\x00\n\x00" + b"x\x00\xff\x20",
        "utf8-long": b"\xc3\x84\xff\x30;\xe2\x82\xac\n",
        "no-line-end": b"abc\xff\xf0",
        # Three megabytes of lines ended by a carriage return alone.
        "mac-many-lines": b"a;b\r" + b"\xff\xff" * 3,
    }
    for name, data in seeds.items():
        write("long_line_fuzzer", name, data)


def charset_seeds():
    seeds = {
        "escapes": b"\\\"a\\\"A\\,c\\\xb4e\\\xefe\\\xb0a\\\xf8A\\L\\?\\=Y\\~n\\ae\\AE",
        "backslashes": b"\\\\\\q\\",
        "zero": b"x\\0y",
        "high": bytes(range(0x80, 0x100)),
        "plain": b"The quick brown fox",
    }
    for name, data in seeds.items():
        write("charset_fuzzer", name, data)


def text_seeds():
    """Card texts in many scripts, typed precomposed and with combining marks, emoji sequences,
    and bytes that are no UTF-8."""
    seeds = {
        "german": "Haus", "combining": "cafe\u0301", "polish": "gęś", "turkish": "ışık",
        "czech": "řeka", "russian": "ёлка", "greek": "Ελληνικά", "hebrew": "שלום",
        "arabic": "مرحبا", "hindi": "हिंदी", "conjunct": "\u0915\u094d\u0937",
        "chinese": "中文", "japanese": "日本語", "korean": "한국어",
        "jamo": "\u1112\u1161\u11ab", "thumb": "👍🏽", "flags": "🇩🇪🇫", "family": "👨‍👩‍👧",
        "marks-out-of-order": "s\u0307\u0323", "crlf": "a\r\nb",
    }
    for name, text in seeds.items():
        write("text_fuzzer", name, text.encode("utf-8"))
    write("text_fuzzer", "not-utf8", b"a\xff\xc3")


UNICODE_FIELDS = [("FRAGE", "C", 24), ("ANTWORT", "C", 12), ("KASTEN", "C", 1),
                  ("ALTER", "N", 4), ("GEWUSST", "N", 5), ("UNBEKANNT", "N", 5)]


def unicode_vok_seeds():
    """Records for the Unicode load: two bytes that give the field widths, then the records'
    bytes (the fuzzer makes the table); and whole Unicode files for the round trip."""
    def records(question_width, answer_width, rows):
        out = bytearray([question_width - 1, answer_width - 1])
        for question, answer, letter in rows:
            out += question.encode("utf-8").ljust(question_width, b" ")[:question_width]
            out += answer.encode("utf-8").ljust(answer_width, b" ")[:answer_width]
            out += letter
        return bytes(out)
    seeds = {
        "scripts": records(24, 12, [("gęś", "goose", b"A"), ("слово", "word", b"B"),
                                    ("中文", "Chinese", b"X"), ("👍🏽", "up", b"Z")]),
        "marks": records(200, 4, [("e\u0301" * 70, "many", b"C")]),
        "cut-inside-a-character": records(4, 4, [("ab中", "x", b"A")]),
        "not-utf8": records(8, 8, [("Gr\xfc\xdfe", "x", b"A")]).replace(b"Gr\xc3\xbc\xc3\x9fe",
                                                                          b"Gr\xfc\xdfe  "),
        "zero-inside": records(8, 8, [("a\0b", "c", b"X")]),
    }
    for name, data in seeds.items():
        write("unicode_vok_fuzzer", name, data)
    rows = [["слово".encode("utf-8"), b"word", b"B", b"1", b"3", b"1"],
            ["中".encode("utf-8"), b"middle", b"X", b"1", b"0", b"0"]]
    write("vok_roundtrip_fuzzer", "unicode.vok", table(UNICODE_FIELDS, rows))
    write("dbf_fuzzer", "unicode.vok", table(UNICODE_FIELDS, rows))


if __name__ == "__main__":
    vok_seeds()
    import_seeds()
    long_line_seeds()
    charset_seeds()
    text_seeds()
    unicode_vok_seeds()

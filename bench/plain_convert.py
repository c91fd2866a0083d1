#!/usr/bin/env python3
"""A plain Korrin-to-Sample-List converter: the reference for korr2ld's CPU time.

    bench/plain_convert.py EXPORT LIST DATA_FILE MS_METHOD INLET_METHOD MACRO

Reads the tab-delimited export, makes the same 4262-byte records as
`korr2ld-cli convert` (one per fraction of each sample line; plain first
record, bracketed later ones; "[]" in the untouched fields from the second
sample line on) and inserts them in one transaction into a new SQLite file
of the Sample List schema and page size (docs/sample-list-format.md).
Python 3 standard library only, written the way one would write it without
thinking of speed: no checks, no temporary name, no report. LIST must not
exist. bench/convert.sh times it against korr2ld-cli on the same export.
"""
import re
import sqlite3
import struct
import sys

RECORD_SIZE = 4262
APPLICATION_ID = 0x4658534C
PAGE_SIZE = 65536

# Every text field the converter presets to "[]" (offset, span).
PRESET_FIELDS = (
    [(0, 260), (260, 120), (380, 260), (640, 260), (900, 260), (1160, 273), (1433, 20),
     (1453, 51), (1504, 51), (1555, 19), (1574, 51), (1625, 255), (1880, 24), (1904, 51)]
    + [(1955 + 30 * i, 30) for i in range(20)]
    + [(2555 + 16 * i, 16) for i in range(6)]
)
# The view's columns (name, offset, span).
VIEW_FIELDS = [
    ("data_file", 0, 260), ("fraction", 260, 120), ("ms_method", 380, 260),
    ("inlet_method", 640, 260), ("macro", 1160, 273), ("running_number", 1433, 20),
    ("column5_text", 1904, 51), ("column5_value", 1955, 30),
]

DECIMAL = re.compile(rb"[ \t\n\v\f\r]*[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?")
INTEGER = re.compile(rb"[ \t\n\v\f\r]*[+-]?\d+")


def decimal(text):
    match = DECIMAL.match(text)
    return float(match.group(0)) if match else 0.0


def as_float32(value):
    return struct.unpack("f", struct.pack("f", value))[0]


def integer(text):
    match = INTEGER.match(text)
    if not match:
        return 0
    return max(-2**31, min(2**31 - 1, int(match.group(0))))


def put(record, offset, text, span, fill):
    """Writes TEXT and a zero at OFFSET; FILL zeroes the rest of the span."""
    text = text[:span - 1]
    record[offset:offset + len(text) + 1] = text + b"\0"
    if fill:
        record[offset + len(text) + 1:offset + span] = bytes(span - len(text) - 1)


# A record as every sample line after the first starts: "[]" in every text field.
PRESET_RECORD = bytearray(RECORD_SIZE)
for _offset, _span in PRESET_FIELDS:
    put(PRESET_RECORD, _offset, b"[]", _span, True)
PRESET_RECORD = bytes(PRESET_RECORD)


def first_field(fields):
    """The first field without its marker, as the delimited reader gives it."""
    first = fields[0]
    if first[:1] in (b";", b"{", b"}"):
        return first[1:]
    if first[:1] == b"[" and b"]" in first:
        return first[1:first.index(b"]")]
    return first


def records(export, base, names):
    number = 0
    with open(export, "rb") as source:
        for line in source:
            line = line.rstrip(b"\n")
            if line.endswith(b"\r"):
                line = line[:-1]
            fields = [field for field in line.split(b"\t") if field]
            if not fields or decimal(first_field(fields)) == 0.0:
                continue
            fields += [b""] * (8 - len(fields))
            column3 = as_float32(decimal(fields[2]))
            column4 = as_float32(decimal(fields[3]))
            column5 = fields[4]
            m = column5.rfind(b"M")
            text5, value5 = (column5, 0.0) if m < 0 else (column5[:m], decimal(column5[m + 1:]))
            value = b"%.3f" % as_float32(value5)
            column6 = fields[5]
            first_colon = column6.find(b":")
            if first_colon < 0:
                first_fraction = last_fraction = 0
            else:
                first_fraction = integer(column6[first_colon + 1:])
                last_fraction = max(first_fraction, integer(column6[column6.rfind(b":") + 1:]))

            record = bytearray(PRESET_RECORD if number != 0 else RECORD_SIZE)
            for fraction in range(first_fraction, last_fraction + 1):
                number += 1
                plain = number == 1
                style = (lambda t: t) if plain else (lambda t: b"[" + t + b"]")
                put(record, 0, style(b"%s%03d" % (base, number)), 260, False)
                put(record, 260, b"Fraction:%d, %.2f, %.2f" % (fraction, column3, column4),
                    120, True)
                put(record, 1955, value, 30, True)
                put(record, 1433, style(b"%d" % number), 20, False)
                put(record, 1904, text5, 51, True)
                put(record, 380, style(names[0]), 260, False)
                put(record, 640, style(names[1]), 260, False)
                put(record, 1160, style(names[2]), 273, False)
                yield (number, bytes(record))


def view_sql():
    columns = []
    for name, offset, span in VIEW_FIELDS:
        piece = "substr(data, %d, %d)" % (offset + 1, span)
        columns.append(
            "CAST(substr(%s, 1, CASE instr(%s, x'00') WHEN 0 THEN %d ELSE instr(%s, x'00') - 1 "
            "END) AS TEXT) AS %s" % (piece, piece, span, piece, name))
    return ("CREATE VIEW sample_list AS SELECT number, " + ", ".join(columns) +
            " FROM records ORDER BY number")


def main(argv):
    if len(argv) != 7:
        sys.exit(__doc__)
    export, path, data_file, ms_method, inlet, macro = argv[1:]
    base = data_file.encode()[:5]
    names = [ms_method.encode(), inlet.encode(), macro.encode()]
    db = sqlite3.connect(path, isolation_level=None)
    db.execute("PRAGMA page_size = %d" % PAGE_SIZE)
    db.execute("PRAGMA journal_mode = DELETE")
    db.execute("PRAGMA application_id = %d" % APPLICATION_ID)
    db.execute("PRAGMA user_version = 1")
    db.execute("CREATE TABLE records(number INTEGER PRIMARY KEY, data BLOB NOT NULL)")
    db.execute(view_sql())
    db.execute("BEGIN")
    db.executemany("INSERT INTO records(number, data) VALUES(?, ?)",
                   records(export, base, names))
    db.execute("COMMIT")
    db.close()


if __name__ == "__main__":
    main(sys.argv)

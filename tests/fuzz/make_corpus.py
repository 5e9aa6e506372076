#!/usr/bin/env python3
"""Writes the seed corpus of the name-table fuzz target.

Seeds are tiny synthetic fonts plus, when the host has DejaVu Sans, the head of that file and
its real name table wrapped in a one-table font. Run from anywhere; it rewrites corpus/.
"""
import pathlib
import struct

HERE = pathlib.Path(__file__).resolve().parent
CORPUS = HERE / "corpus"
DEJAVU = pathlib.Path("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf")

WIN, MAC = 3, 1
FULL_NAME, FAMILY = 4, 1


def name_table(records):
    header = struct.pack(">HHH", 0, len(records), 6 + 12 * len(records))
    rows, storage = b"", b""
    for platform, encoding, language, name_id, text in records:
        data = text.encode("utf-16-be") if platform == WIN else text.encode("latin-1")
        rows += struct.pack(">6H", platform, encoding, language, name_id, len(data), len(storage))
        storage += data
    return header + rows + storage


def sfnt(tables, version=b"\x00\x01\x00\x00", base=0):
    directory = version + struct.pack(">4H", len(tables), 16, 0, 0)
    body = b""
    at = base + 12 + 16 * len(tables)
    for tag, data in tables:
        directory += tag + struct.pack(">3I", 0, at + len(body), len(data))
        body += data + b"\0" * (-len(data) % 4)
    return directory + body


def collection(fonts_tables):
    header_size = 12 + 4 * len(fonts_tables)
    header = b"ttcf" + struct.pack(">HHI", 1, 0, len(fonts_tables))
    bodies = b""
    for tables in fonts_tables:
        header += struct.pack(">I", header_size + len(bodies))
        bodies += sfnt(tables, base=header_size + len(bodies))
    return header + bodies


def real_name_table(path):
    data = path.read_bytes()
    count = struct.unpack_from(">H", data, 4)[0]
    for i in range(count):
        tag, _, offset, length = struct.unpack_from(">4sIII", data, 12 + 16 * i)
        if tag == b"name":
            return data[offset : offset + length]
    raise SystemExit(f"{path} has no name table")


def main():
    english = [
        (MAC, 0, 0, FULL_NAME, "Seed Mac"),
        (WIN, 1, 0x0407, FULL_NAME, "Seed Deutsch"),
        (WIN, 1, 0x0409, FAMILY, "Seed"),
        (WIN, 1, 0x0409, FULL_NAME, "Seed Regular"),
    ]
    other = [(WIN, 10, 0x0419, FULL_NAME, "Образец \U0001D400")]
    seeds = {
        "plain.ttf": sfnt([(b"head", b"\0" * 8), (b"name", name_table(english))]),
        "fallback.ttf": sfnt([(b"name", name_table(other))], version=b"true"),
        "otto.otf": sfnt([(b"CFF ", b"\1\0\4\1"), (b"name", name_table(english))], b"OTTO"),
        "collection.ttc": collection([[(b"name", name_table(english))], [(b"name", name_table(other))]]),
    }
    if DEJAVU.exists():
        seeds["dejavu-head.bin"] = DEJAVU.read_bytes()[:1024]
        seeds["dejavu-name.ttf"] = sfnt([(b"name", real_name_table(DEJAVU))])
    CORPUS.mkdir(exist_ok=True)
    for old in CORPUS.iterdir():
        old.unlink()
    for name, data in seeds.items():
        (CORPUS / name).write_bytes(data)


if __name__ == "__main__":
    main()

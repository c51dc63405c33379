#!/usr/bin/env python3
"""Writes the two large archives the large-archive benchmark opens.

  make_large_archives.py many OUT.lzh   50,000 stored entries in 2,000 folders
                                        (the root, 20 folders and 1,979
                                        sub-folders, 25 files in each), level 2
  make_large_archives.py huge OUT.lzh   one -lh5- entry of 4,400,000,001 zero
                                        bytes in a few kilobytes: sizes in the
                                        64-bit extended header 0x42

The huge entry is written by hand: after one literal zero every symbol is a
256-byte match at distance 1, and from the second block on both code tables
hold a single code, which costs no bits at all. The CRC-16 of zero bytes is 0.
"""
import struct
import sys

FOLDERS_TOP = 20
FOLDERS_SUB = 99
FILES_PER_FOLDER = 25
HUGE_SIZE = 4_400_000_001
MTIME = 1_700_000_000


CRC_TABLE = []
for _b in range(256):
    _c = _b
    for _ in range(8):
        _c = (_c >> 1) ^ 0xA001 if _c & 1 else _c >> 1
    CRC_TABLE.append(_c)


def crc16(data, crc=0):
    for b in data:
        crc = CRC_TABLE[(crc ^ b) & 0xFF] ^ (crc >> 8)
    return crc


def level2_header(method, path, compressed, original, crc):
    """A level 2 header; sizes beyond 32 bits go in extended header 0x42."""
    directory, _, name = path.rpartition("/")
    records = []  # type byte and body of each extended header
    if directory:
        records.append(b"\x02" + directory.encode("cp932").replace(b"/", b"\xff") + b"\xff")
    records.append(b"\x01" + name.encode("cp932"))
    if compressed > 0xFFFFFFFF or original > 0xFFFFFFFF:
        records.append(b"\x42" + struct.pack("<QQ", compressed, original))
    # Each extended header ends with the size of the next one (0: none).
    chain = b""
    for i, rec in enumerate(records):
        nxt = len(records[i + 1]) + 2 if i + 1 < len(records) else 0
        chain += rec + struct.pack("<H", nxt)
    first = len(records[0]) + 2
    base = (method.encode() + struct.pack("<IIIBBHBH", compressed & 0xFFFFFFFF, original & 0xFFFFFFFF,
                                          MTIME, 0x20, 2, crc, ord("U"), first))
    total = 2 + len(base) + len(chain)
    if total & 0xFF == 0:  # a size whose low byte is 0 would read as the end mark
        chain += b"\0"
        total += 1
    return struct.pack("<H", total) + base + chain


def write_many(out):
    n = 0
    folders = [""]  # the root shows files too
    for top in range(FOLDERS_TOP):
        for sub in range(-1, FOLDERS_SUB):
            folder = f"DATA{top:02d}" if sub < 0 else f"DATA{top:02d}/SUB{sub:03d}"
            folders.append(folder.replace("DATA", "資料") if top % 5 == 4 else folder)
    del folders[-1]  # 2,000 with the root
    with open(out, "wb") as f:
        for folder in folders:
            prefix = folder + "/" if folder else ""
            for i in range(FILES_PER_FOLDER):
                ext = ("TXT", "C", "H", "DOC", "BMP")[i % 5]
                name = f"FILE{i:02d}.{ext}" if i % 7 else f"ファイル{i:02d}.{ext}"
                body = (f"{prefix}{name} " * (1 + n % 9)).encode("cp932")
                f.write(level2_header("-lh0-", prefix + name, len(body), len(body), crc16(body)))
                f.write(body)
                n += 1
        f.write(b"\0")
    return n


class Bits:
    def __init__(self):
        self.out = bytearray()
        self.acc = 0
        self.count = 0

    def put(self, n, value):
        self.acc = (self.acc << n) | value
        self.count += n
        while self.count >= 8:
            self.count -= 8
            self.out.append((self.acc >> self.count) & 0xFF)
        self.acc &= (1 << self.count) - 1

    def finish(self):
        if self.count:
            self.out.append((self.acc << (8 - self.count)) & 0xFF)
        return bytes(self.out)


def huge_data():
    """-lh5- data for HUGE_SIZE zero bytes."""
    matches = (HUGE_SIZE - 1) // 256
    assert 1 + matches * 256 == HUGE_SIZE
    bits = Bits()
    # First block: a literal 0 (code '0') and matches of 256 (code '1').
    first = min(matches, 65534)
    bits.put(16, 1 + first)
    # Code-length code: symbols 2 and 3 with one bit each.
    bits.put(5, 4)
    for length in (0, 0, 1):
        bits.put(3, length)
    bits.put(2, 0)  # no zero lengths skipped after the third
    bits.put(3, 1)
    # Literal/length code lengths: 510 entries, [0]=1, 508 zeros, [509]=1.
    bits.put(9, 510)
    bits.put(1, 1)                  # symbol 3: length 1 for code 0
    bits.put(1, 0); bits.put(9, 508 - 20)  # symbol 2: 20 + 488 zeros
    bits.put(1, 1)                  # symbol 3: length 1 for code 509
    # Positions: one code, 0 (distance 1), no bits per use.
    bits.put(4, 0); bits.put(4, 0)
    bits.put(1, 0)  # the literal
    for _ in range(first):
        bits.put(1, 1)
    left = matches - first
    while left:
        n = min(left, 65535)
        bits.put(16, n)
        bits.put(5, 0); bits.put(5, 0)      # code-length code: unused
        bits.put(9, 0); bits.put(9, 509)    # every symbol is a 256-byte match
        bits.put(4, 0); bits.put(4, 0)      # at distance 1
        left -= n
    return bits.finish()


def write_huge(out):
    data = huge_data()
    with open(out, "wb") as f:
        f.write(level2_header("-lh5-", "BIG/ZEROS.BIN", len(data), HUGE_SIZE, 0))
        f.write(data)
        f.write(b"\0")
    return 1


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in ("many", "huge"):
        sys.exit(__doc__)
    n = (write_many if sys.argv[1] == "many" else write_huge)(sys.argv[2])
    print(f"{sys.argv[2]}: {n} entries")


if __name__ == "__main__":
    main()

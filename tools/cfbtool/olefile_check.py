#!/usr/bin/python3
"""Reads compound files with olefile, an independent reader, and checks that each
holds exactly the tree written in a text file (the form cfbtool prints).

    olefile_check.py TREEFILE FILE...
"""
import sys

import olefile


def escape(data):
    out = []
    for b in data:
        if 0x20 <= b < 0x7F and b not in (0x3B, 0x5C):
            out.append(chr(b))
        else:
            out.append("\\x%02X" % b)
    return "".join(out)


def dump(path):
    ole = olefile.OleFileIO(path)
    try:
        entries = ole.listdir(streams=True, storages=True)
        lines = []
        for parts in entries:
            name = "/".join(parts)
            if ole.get_type(parts) == olefile.STGTY_STREAM:
                lines.append(name + "=" + escape(ole.openstream(parts).read()))
            elif not any(other[: len(parts)] == parts and len(other) > len(parts) for other in entries):
                lines.append(name + "/")
        return "".join(line + ";" for line in sorted(lines, key=lambda s: s.encode("latin-1")))
    finally:
        ole.close()


def main():
    if len(sys.argv) < 3:
        print(__doc__)
        return 2
    with open(sys.argv[1], encoding="latin-1") as f:
        expected = f.read().rstrip("\r\n")
    failed = 0
    for path in sys.argv[2:]:
        if not olefile.isOleFile(path):
            print("FAIL %s: not a compound file" % path)
            failed += 1
            continue
        got = dump(path)
        if got != expected:
            print("FAIL %s:\n  expected %s\n  got      %s" % (path, expected[-300:], got[-300:]))
            failed += 1
        else:
            print("ok   %s: %d elements" % (path, got.count(";")))
    print("%d passed, %d failed" % (len(sys.argv) - 2 - failed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())

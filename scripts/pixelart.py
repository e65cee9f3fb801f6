"""16-colour pixel art to Windows bitmaps and icons, for the programs' make_images.py.

Art is a string of 16 rows of 16 characters, one character per pixel (INK below).
Nothing here runs at build time: the scripts that use it write files that are checked in.
"""
import struct

# The 16-colour palette in its usual order; a toolbar recolours black, grey, silver and
# white to the system's button colours.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
    (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
# One character per pixel.
INK = {
    "k": 0, "m": 1, "G": 2, "o": 3, "n": 4, "p": 5, "t": 6, ".": 7, "g": 8,
    "r": 9, "l": 10, "y": 11, "b": 12, "f": 13, "c": 14, "w": 15,
}
BACKGROUND = INK["."]


def parse(art, name):
    rows = art.strip("\n").split("\n")
    if len(rows) != 16 or any(len(r) != 16 for r in rows):
        raise SystemExit("%s: pixel art must be 16 x 16" % name)
    return [[INK[c] for c in row] for row in rows]


def scale(pixels, factor):
    return [[p for p in row for _ in range(factor)] for row in pixels for _ in range(factor)]


def packed_rows(pixels):
    """4-bit rows, bottom row first, each padded to 4 bytes."""
    out = bytearray()
    for row in reversed(pixels):
        data = bytearray()
        for x in range(0, len(row), 2):
            data.append((row[x] << 4) | (row[x + 1] if x + 1 < len(row) else 0))
        data.extend(b"\0" * (-len(data) % 4))
        out += data
    return bytes(out)


def mask_rows(pixels):
    """1-bit AND mask: 1 where the background shows through."""
    out = bytearray()
    for row in reversed(pixels):
        data = bytearray((len(row) + 7) // 8)
        for x, p in enumerate(row):
            if p == BACKGROUND:
                data[x // 8] |= 0x80 >> (x % 8)
        data.extend(b"\0" * (-len(data) % 4))
        out += data
    return bytes(out)


def info_header(width, height, image_size):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, image_size, 0, 0, 16, 0)


def palette_bytes():
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)


def toolbar_bitmap(images):
    """One bitmap file of the images side by side, in the order given."""
    strip = [sum((img[y] for img in images), []) for y in range(16)]
    bits = packed_rows(strip)
    header_size = 14 + 40 + 64
    head = struct.pack("<2sIHHI", b"BM", header_size + len(bits), 0, 0, header_size)
    return head + info_header(len(strip[0]), 16, len(bits)) + palette_bytes() + bits


def icon_image(pixels):
    """One image of an icon as a resource or an icon file holds it."""
    size = len(pixels)
    xor, mask = packed_rows(pixels), mask_rows(pixels)
    return info_header(size, size * 2, len(xor) + len(mask)) + palette_bytes() + xor + mask


def icon_file(images):
    entries, blobs = b"", b""
    offset = 6 + 16 * len(images)
    for pixels in images:
        size = len(pixels)
        blob = icon_image(pixels)
        entries += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(blob), offset)
        blobs += blob
        offset += len(blob)
    return struct.pack("<HHH", 0, 1, len(images)) + entries + blobs


def icon_group(images, ids):
    """The group directory of an icon resource: like the file's, with resource numbers."""
    entries = b""
    for pixels, number in zip(images, ids):
        size = len(pixels)
        entries += struct.pack("<BBBBHHIH", size, size, 16, 0, 1, 4, len(icon_image(pixels)),
                               number)
    return struct.pack("<HHH", 0, 1, len(images)) + entries

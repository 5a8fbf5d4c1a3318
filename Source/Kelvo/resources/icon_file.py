# The icon file format the resource scripts write: each image a 32-bit DIB with its alpha,
# bottom row first, followed by the 1-bit AND mask (set where the pixel is fully transparent).
import struct


def image_bytes(rows):
    # rows: top row first, each a list of (r, g, b, a).
    size = len(rows)
    colour = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    mask_stride = ((size + 31) // 32) * 4
    mask = b""
    for row in reversed(rows):
        packed = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                packed[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(packed)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(colour) + len(mask),
                         0, 0, 0, 0)
    return header + colour + mask


def icon_file(images):
    # images: square images, each its rows as image_bytes takes them.
    datas = [(len(rows), image_bytes(rows)) for rows in images]
    offset = 6 + 16 * len(datas)
    entries = b""
    for size, data in datas:
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return struct.pack("<HHH", 0, 1, len(datas)) + entries + b"".join(data for _, data in datas)

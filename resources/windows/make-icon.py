#!/usr/bin/env python3
"""Packs PNG pictures into one Windows icon file, each size stored as its PNG.

    make-icon.py OUTPUT.ico PICTURE.png...

Windows Vista and later read PNG entries at every size; the pictures keep their alpha
channel and the file stays as small as its sources.
"""
import struct
import sys

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


def png_size(data, name):
    # The IHDR chunk comes first: width and height right after its type.
    if not data.startswith(PNG_SIGNATURE) or data[12:16] != b"IHDR":
        sys.exit(f"make-icon: {name} is not a PNG picture")
    return struct.unpack(">II", data[16:24])


def main(output, pictures):
    images = []
    for name in pictures:
        with open(name, "rb") as source:
            data = source.read()
        width, height = png_size(data, name)
        if width > 256 or height > 256:
            sys.exit(f"make-icon: {name} is {width} x {height}; an icon entry is at most 256 x 256")
        images.append((width, height, data))
    images.sort(key=lambda image: image[0])

    header = struct.pack("<HHH", 0, 1, len(images))
    entries = b""
    offset = len(header) + 16 * len(images)
    for width, height, data in images:
        # A size of 256 is written as 0: the entry has one byte for it.
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(output, "wb") as icon:
        icon.write(header + entries + b"".join(data for _, _, data in images))


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit("usage: make-icon.py OUTPUT.ico PICTURE.png...")
    main(sys.argv[1], sys.argv[2:])

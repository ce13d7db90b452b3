#!/usr/bin/env python3
"""Writes the editor's 16-colour bitmaps and the application icon into res/, and the icon as
PNG images and as a drawing for the desktop's icon theme into res/icons/."""

import pathlib
import struct
import zlib

RES = pathlib.Path(__file__).resolve().parent.parent / "res"

# The standard 16-colour VGA palette, as (r, g, b).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, NAVY, GREY, SILVER, YELLOW, WHITE = 0, 4, 8, 7, 11, 15


def palette_bytes():
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)


def pixel_rows(pixels, width):
    """4-bit rows, bottom-up, each padded to 32 bits."""
    stride = ((width * 4 + 31) // 32) * 4
    rows = []
    for row in reversed(pixels):
        packed = bytearray()
        for x in range(0, width, 2):
            high = row[x]
            low = row[x + 1] if x + 1 < width else 0
            packed.append((high << 4) | low)
        packed.extend(b"\0" * (stride - len(packed)))
        rows.append(bytes(packed))
    return b"".join(rows)


def mask_rows(width, height):
    """An all-opaque AND mask, 1 bit per pixel, rows padded to 32 bits."""
    stride = ((width + 31) // 32) * 4
    return b"\0" * (stride * height)


def info_header(width, height, image_size):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, image_size, 2835, 2835, 16, 0)


def write_bmp(name, pixels):
    width, height = len(pixels[0]), len(pixels)
    data = pixel_rows(pixels, width)
    offset = 14 + 40 + 64
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    (RES / name).write_bytes(header + info_header(width, height, len(data)) + palette_bytes() + data)


def filled(width, height, colour):
    return [[colour] * width for _ in range(height)]


def ramp(width, height):
    """Black triangle on white: rises from both ends to a peak in the middle."""
    pixels = filled(width, height, WHITE)
    middle = (width - 1) / 2
    for x in range(width):
        rise = 1 - abs(x - middle) / middle
        top = height - 1 - round(rise * (height - 1))
        for y in range(top, height):
            pixels[y][x] = BLACK
    return pixels


def arrow(width, height):
    """Black arrow pointing right: a shaft and a triangular head."""
    pixels = filled(width, height, WHITE)
    middle = height // 2
    head_start = width - middle - 1
    for x in range(head_start):
        for y in range(middle - 1, middle + 2):
            pixels[y][x] = BLACK
    for x in range(head_start, width):
        reach = width - 1 - x
        for y in range(middle - reach, middle + reach + 1):
            pixels[y][x] = BLACK
    return pixels


def icon_pixels(size):
    """A lamp over a row of channel bars on a navy tile."""
    pixels = filled(size, size, NAVY)
    scale = size / 32
    cx, cy, radius = 15.5 * scale, 12 * scale, 8 * scale
    for y in range(size):
        for x in range(size):
            dx, dy = x + 0.5 - cx - 0.5 * scale, y + 0.5 - cy
            if dx * dx + dy * dy <= radius * radius:
                pixels[y][x] = YELLOW
            elif dx * dx + dy * dy <= (radius + 2 * scale) ** 2 and y < cy:
                pixels[y][x] = WHITE
    bars = 4
    bar_width = max(1, round(4 * scale))
    gap = (size - bars * bar_width) // (bars + 1)
    for bar in range(bars):
        left = gap + bar * (bar_width + gap)
        height = round((6 + 2 * (bar % 2)) * scale)
        for y in range(size - height - round(2 * scale), size - round(2 * scale)):
            for x in range(left, left + bar_width):
                pixels[y][x] = SILVER if bar % 2 else YELLOW
    for x in range(size):
        pixels[0][x] = pixels[size - 1][x] = GREY
    for y in range(size):
        pixels[y][0] = pixels[y][size - 1] = GREY
    return pixels


def icon_svg():
    """The same picture as icon_pixels, drawn on the 32-pixel icon's grid."""
    def colour(index):
        return "#%02x%02x%02x" % PALETTE[index]

    bars = "".join(
        f'<rect x="{3 + bar * 7}" y="{30 - height}" width="4" height="{height}" '
        f'fill="{colour(SILVER if bar % 2 else YELLOW)}"/>'
        for bar, height in enumerate([6, 8, 6, 8]))
    return (
        '<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32" viewBox="0 0 32 32">'
        f'<rect x="0.5" y="0.5" width="31" height="31" fill="{colour(NAVY)}" '
        f'stroke="{colour(GREY)}"/>'
        f'<path d="M6 12a10 10 0 0 1 20 0z" fill="{colour(WHITE)}"/>'
        f'<circle cx="16" cy="12" r="8" fill="{colour(YELLOW)}"/>'
        f'{bars}</svg>\n')


def write_icon(name, sizes):
    images = []
    for size in sizes:
        data = pixel_rows(icon_pixels(size), size) + mask_rows(size, size)
        # An icon's header counts the colour rows and the mask rows together.
        images.append(info_header(size, size * 2, len(data)) + palette_bytes() + data)
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for size, image in zip(sizes, images):
        entries += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    (RES / name).write_bytes(directory + entries + b"".join(images))


def write_png(path, pixels):
    """8-bit RGB, every row unfiltered."""
    width, height = len(pixels[0]), len(pixels)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    rows = b"".join(b"\0" + bytes(c for index in row for c in PALETTE[index]) for row in pixels)
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
                     + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))


# The sizes desktops ask an icon theme for, in pixels.
THEME_ICON_SIZES = [16, 24, 32, 48, 64, 128, 256]


def main():
    write_bmp("litBitmap.bmp", filled(161, 18, WHITE))
    write_bmp("darkBitmap.bmp", filled(140, 30, BLACK))
    write_bmp("rampBitmap.bmp", ramp(109, 11))
    write_bmp("marker.bmp", arrow(12, 11))
    write_icon("tevra.ico", [32, 16])
    for size in THEME_ICON_SIZES:
        write_png(RES / "icons" / f"{size}.png", icon_pixels(size))
    (RES / "icons" / "scalable.svg").write_text(icon_svg())


if __name__ == "__main__":
    main()

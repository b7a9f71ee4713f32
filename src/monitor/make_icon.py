"""Draws the monitor's tray icon (a green shield with a white tick) as a Windows .ico at 16 and 32 pixels."""
import struct
import sys


def inside_shield(x, y):
    # x, y in 0..1: straight top half, then sides closing in to a point at the bottom.
    if y < 0.08 or y > 0.95 or x < 0.1 or x > 0.9:
        return False
    if y < 0.55:
        return True
    half = 0.4 * (0.95 - y) / 0.4
    return abs(x - 0.5) <= half


def on_tick(x, y, width):
    # Two strokes: (0.28,0.5)-(0.45,0.68) and (0.45,0.68)-(0.74,0.3).
    def near(ax, ay, bx, by):
        dx, dy = bx - ax, by - ay
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
        px, py = ax + t * dx, ay + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= width * width
    return near(0.28, 0.5, 0.45, 0.68) or near(0.45, 0.68, 0.74, 0.3)


def image(size):
    pixels = []
    for row in range(size - 1, -1, -1):  # bottom-up rows
        for col in range(size):
            x, y = (col + 0.5) / size, (row + 0.5) / size
            if not inside_shield(x, y):
                pixels.append((0, 0, 0, 0))
            elif on_tick(x, y, 0.07 if size >= 32 else 0.09):
                pixels.append((255, 255, 255, 255))
            else:
                pixels.append((30, int(140 + 30 * y), 40, 255))  # green, a little lighter towards the point
    xor = b"".join(struct.pack("BBBB", b, g, r, a) for (r, g, b, a) in pixels)  # stored as BGRA
    mask_row = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in range(size):
        bits = bytearray(mask_row)
        for col in range(size):
            if pixels[row * size + col][3] == 0:
                bits[col // 8] |= 0x80 >> (col % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + xor + bytes(mask)


def main(out):
    images = [image(16), image(32)]
    data = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, img in zip((16, 32), images):
        data += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    with open(out, "wb") as f:
        f.write(data + b"".join(images))


if __name__ == "__main__":
    main(sys.argv[1])

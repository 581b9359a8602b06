#!/usr/bin/env python3
"""Draws the pictures of the sample skins and writes them as PNG files.

Everything here is drawn from geometry (gradients, discs, rounded
rectangles), so the skins carry nothing made elsewhere. Run it again after
changing a picture; the PNG files it writes are kept in the repository.

    skins/tools/draw_images.py          # writes into skins/<skin>/ and kivhost/
"""
import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SKINS = os.path.dirname(HERE)


class Image:
    """Straight-alpha RGBA pixels, composited with the usual 'over'."""

    def __init__(self, width, height):
        self.width, self.height = width, height
        self.px = [[(0, 0, 0, 0)] * width for _ in range(height)]

    def blend(self, x, y, rgb, alpha):
        if not (0 <= x < self.width and 0 <= y < self.height) or alpha <= 0:
            return
        alpha = min(alpha, 1.0)
        r, g, b, a = self.px[y][x]
        da = a / 255.0
        oa = alpha + da * (1 - alpha)
        if oa <= 0:
            return
        mix = [(c1 * alpha + c0 * da * (1 - alpha)) / oa for c0, c1 in zip((r, g, b), rgb)]
        self.px[y][x] = tuple(int(round(c)) for c in mix) + (int(round(oa * 255)),)

    def fill(self, coverage, colour):
        """coverage(x, y) -> 0..1 for each pixel centre; colour(x, y) -> rgb."""
        for y in range(self.height):
            for x in range(self.width):
                c = coverage(x + 0.5, y + 0.5)
                if c > 0:
                    self.blend(x, y, colour(x, y), c)

    def write(self, path):
        raw = b"".join(b"\x00" + bytes(v for p in row for v in p) for row in self.px)

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 6, 0, 0, 0)
        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) +
                    chunk(b"IEND", b""))


def rounded_rect(x0, y0, x1, y1, radius):
    def coverage(x, y):
        cx = min(max(x, x0 + radius), x1 - radius)
        cy = min(max(y, y0 + radius), y1 - radius)
        d = math.hypot(x - cx, y - cy) - radius
        return min(max(0.5 - d, 0.0), 1.0)
    return coverage


def disc(cx, cy, radius):
    return lambda x, y: min(max(0.5 - (math.hypot(x - cx, y - cy) - radius), 0.0), 1.0)


def ring(cx, cy, radius, width):
    def coverage(x, y):
        d = abs(math.hypot(x - cx, y - cy) - radius) - width / 2
        return min(max(0.5 - d, 0.0), 1.0)
    return coverage


def stroke(points, width):
    """A polyline of the width with round ends and joints."""
    def coverage(x, y):
        best = float("inf")
        for (ax, ay), (bx, by) in zip(points, points[1:]):
            dx, dy = bx - ax, by - ay
            t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
            best = min(best, math.hypot(x - ax - t * dx, y - ay - t * dy))
        return min(max(0.5 - (best - width / 2), 0.0), 1.0)
    return coverage


def vertical(top, bottom, height):
    def colour(x, y):
        t = y / max(height - 1, 1)
        return tuple(a + (b - a) * t for a, b in zip(top, bottom))
    return colour


def solid(rgb):
    return lambda x, y: rgb


def panel(width, height, top, bottom):
    img = Image(width, height)
    img.fill(rounded_rect(0, 0, width, height, 14), vertical(top, bottom, height))
    img.fill(lambda x, y: rounded_rect(2, 2, width - 2, height * 0.45, 12)(x, y) * 0.18, solid((255, 255, 255)))
    return img


def sun(size, rays=(255, 190, 40), top=(255, 236, 120), bottom=(250, 160, 20)):
    img = Image(size, size)
    c = size / 2
    for k in range(12):
        a = k * math.pi / 6
        img.fill(disc(c + math.cos(a) * size * 0.38, c + math.sin(a) * size * 0.38, size * 0.07),
                 solid(rays))
    img.fill(disc(c, c, size * 0.27), vertical(top, bottom, size))
    return img


def checker(size, cell):
    img = Image(size, size)
    img.fill(lambda x, y: 1.0,
             lambda x, y: (60, 120, 200) if (int(x // cell) + int(y // cell)) % 2 else (240, 240, 250))
    return img


def round_mask(size):
    """Black where the picture stays, white where it goes (a disc)."""
    img = Image(size, size)
    img.fill(lambda x, y: 1.0, solid((255, 255, 255)))
    img.fill(disc(size / 2, size / 2, size / 2 - 1), solid((0, 0, 0)))
    return img


def dot(size, rgb):
    img = Image(size, size)
    img.fill(disc(size / 2, size / 2, size / 2 - 1), solid(rgb))
    img.fill(ring(size / 2, size / 2, size / 2 - 1.5, 1.2), solid(tuple(c * 0.6 for c in rgb)))
    return img


def button(width, height, top, bottom):
    img = Image(width, height)
    img.fill(rounded_rect(0, 0, width, height, height / 2), vertical(top, bottom, height))
    return img


def tick_button(width, height, top, bottom, tick):
    """A button with a tick mark in its middle."""
    img = button(width, height, top, bottom)
    cx, cy = width / 2, height / 2
    img.fill(stroke([(cx - 7, cy), (cx - 2, cy + 5), (cx + 8, cy - 6)], 3), solid(tick))
    return img


def host_default(size):
    """The host's own desklet picture, shown when a skin cannot be read."""
    img = panel(size, size, (120, 126, 140), (60, 64, 76))
    img.fill(ring(size / 2, size / 2, size * 0.28, size * 0.06), solid((235, 238, 245)))
    img.fill(disc(size / 2, size / 2, size * 0.07), solid((235, 238, 245)))
    return img


def main():
    host = os.path.join(os.path.dirname(SKINS), "kivhost")
    host_default(128).write(os.path.join(host, "Default.png"))
    out = {
        "hello": {
            "panel": panel(240, 160, (46, 64, 110), (18, 24, 44)),
            "sun": sun(64),
            "sun_down": sun(64, (210, 120, 20), (240, 170, 60), (200, 100, 10)),
            "checker": checker(48, 8),
            "roundmask": round_mask(48),
            "dot_red": dot(16, (220, 60, 50)),
            "dot_green": dot(16, (60, 190, 80)),
            "dot_blue": dot(16, (60, 110, 230)),
        },
        "clock": {
            "panel": panel(160, 48, (40, 44, 56), (14, 16, 22)),
        },
        "twosided": {
            "front": panel(180, 120, (30, 110, 90), (10, 40, 36)),
            "back": panel(180, 160, (110, 60, 30), (40, 20, 10)),
            "button": button(72, 24, (250, 250, 250), (190, 196, 210)),
            "button_down": button(72, 24, (170, 176, 190), (230, 230, 236)),
            "drawer": panel(156, 56, (240, 200, 150), (200, 140, 90)),
        },
        "form": {
            "panel": panel(240, 180, (52, 70, 96), (20, 28, 40)),
            "controls/save": tick_button(64, 22, (250, 250, 250), (190, 196, 210), (40, 120, 60)),
            "controls/save_hover": tick_button(64, 22, (255, 255, 255), (214, 226, 246), (30, 150, 70)),
            "controls/save_down": tick_button(64, 22, (170, 176, 190), (230, 230, 236), (20, 90, 40)),
        },
        "news": {
            "panel": panel(260, 150, (70, 56, 44), (24, 18, 14)),
            "refresh": button(64, 20, (250, 244, 232), (200, 188, 170)),
            "refresh_down": button(64, 20, (200, 188, 170), (240, 234, 222)),
        },
    }
    for skin, images in out.items():
        folder = os.path.join(SKINS, skin)
        os.makedirs(folder, exist_ok=True)
        for name, image in images.items():
            path = os.path.join(folder, name + ".png")
            os.makedirs(os.path.dirname(path), exist_ok=True)
            image.write(path)


if __name__ == "__main__":
    main()

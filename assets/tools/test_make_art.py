#!/usr/bin/python3
"""Tests for the drawing machinery in make_art.py.

Run:  /usr/bin/python3 -m unittest discover -s assets/tools
"""

import io
import math
import os
import struct
import sys
import unittest

import numpy as np
from PIL import Image

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_art  # noqa: E402


class CanvasEdges(unittest.TestCase):
    """Anti-aliased edges must keep the shape's own colour."""

    def test_edge_pixels_keep_colour_and_coverage(self):
        for colour in ('ffffff', 'd8261f', '000000'):
            c = make_art.Canvas(20, 20, ss=8)
            c.fill(c.ellipse(10.0, 10.0, 6.3, 6.3), make_art.col(colour))
            px = np.asarray(c.image()).astype(int)
            a = px[..., 3]
            want = [int(colour[i:i + 2], 16) for i in (0, 2, 4)]
            edge = (a > 0) & (a < 255)
            self.assertTrue(edge.any(), 'no anti-aliased edge at all')
            # un-premultiplying must give the colour back, not a darker fringe
            self.assertLessEqual(np.abs(px[a > 0][:, :3] - want).max(), 1, colour)
            # total coverage is the disc's area
            self.assertAlmostEqual(a.sum() / 255.0, math.pi * 6.3 ** 2, delta=2.0)
            # fully transparent pixels carry no colour
            self.assertEqual(px[a == 0][:, :3].max(initial=0), 0)

    def test_translucent_layers_compose_like_over(self):
        c = make_art.Canvas(4, 4, ss=2)
        everything = np.ones((8, 8))
        c.fill(everything, make_art.col('0000ff'), 0.5)
        c.fill(everything, make_art.col('ff0000'), 0.5)
        px = np.asarray(c.image()).astype(int)
        # red 50% over blue 50%: alpha .75, colour (.5 red + .25 blue)/.75
        np.testing.assert_allclose(px[0, 0], [170, 0, 85, 191], atol=1)

    def test_paint_inside_keeps_alpha(self):
        c = make_art.Canvas(10, 10, ss=4)
        disc = c.ellipse(5.0, 5.0, 3.3, 3.3)
        c.fill(disc, make_art.col('ffffff'))
        before = np.asarray(c.image())[..., 3].copy()
        c.paint_inside(np.ones_like(disc), make_art.col('00ff00'))
        after = np.asarray(c.image())
        np.testing.assert_array_equal(after[..., 3], before)
        self.assertTrue((after[before > 0][:, :3] == [0, 255, 0]).all())
        self.assertEqual(after[before == 0][:, :3].max(initial=0), 0)


class IconFile(unittest.TestCase):
    def _images(self):
        rng = np.random.RandomState(3)
        out = []
        for size in (16, 32):
            px = rng.randint(0, 256, (size, size, 4)).astype(np.uint8)
            px[:3, :, 3] = 0              # some fully transparent rows
            px[px[..., 3] == 0, :3] = 0
            out.append(Image.fromarray(px, 'RGBA'))
        return out

    def test_round_trip_through_pillow(self):
        images = self._images()
        data = make_art.ico_bytes(images)
        ico = Image.open(io.BytesIO(data))
        self.assertEqual(ico.info['sizes'], {(16, 16), (32, 32)})
        for im in images:
            got = ico.ico.getimage(im.size).convert('RGBA')
            np.testing.assert_array_equal(np.asarray(got), np.asarray(im))

    def test_directory_and_mask(self):
        images = self._images()
        data = make_art.ico_bytes(images)
        reserved, kind, count = struct.unpack('<HHH', data[:6])
        self.assertEqual((reserved, kind, count), (0, 1, 2))
        end = 6 + 16 * count
        for i in range(count):
            w, h, _, _, planes, bits, size, offset = struct.unpack(
                '<BBBBHHII', data[6 + 16 * i:22 + 16 * i])
            self.assertEqual((planes, bits), (1, 32))
            self.assertEqual(offset, end, 'entries must be packed in order')
            end = offset + size
            # 1-bit AND mask, rows padded to 32 bits, bottom-up: transparent = 1
            stride = ((w + 31) // 32) * 4
            mask = data[offset + 40 + w * h * 4:offset + size]
            self.assertEqual(len(mask), stride * h)
            top_row = mask[(h - 1) * stride:h * stride]
            self.assertEqual(top_row[:w // 8], b'\xff' * (w // 8))
        self.assertEqual(end, len(data))
        # the largest image comes first
        self.assertEqual(data[6], 32)

    def test_rejects_oversized_images(self):
        with self.assertRaises(ValueError):
            make_art.ico_bytes([Image.new('RGBA', (300, 300))])


class NoiseFields(unittest.TestCase):
    def test_range_and_repeatability(self):
        y, x = np.mgrid[0:64, 0:64] / 7.3
        a = make_art.Noise(5).fbm(x, y, octaves=5)
        b = make_art.Noise(5).fbm(x, y, octaves=5)
        c = make_art.Noise(6).fbm(x, y, octaves=5)
        np.testing.assert_array_equal(a, b)
        self.assertFalse(np.array_equal(a, c))
        self.assertGreaterEqual(a.min(), 0.0)
        self.assertLessEqual(a.max(), 1.0)
        self.assertGreater(a.std(), 0.03)

    def test_footprint_fades_unresolvable_detail(self):
        n = make_art.Noise(9)
        y, x = np.mgrid[0:64, 0:64] * 3.1      # far coarser than the lattice
        sharp = n.fbm(x, y, octaves=4)
        soft = n.fbm(x, y, octaves=4, footprint=np.full(x.shape, 3.1))
        self.assertGreater(sharp.std(), 0.05)
        self.assertLess(soft.std(), 0.01)
        self.assertAlmostEqual(soft.mean(), 0.5, places=2)


if __name__ == '__main__':
    unittest.main()

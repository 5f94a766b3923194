#!/usr/bin/python3
"""Check that the pictures in assets/ are what the program expects.

Usage:  check_art.py [--regenerate]

Without options it inspects the committed files: sizes, pixel formats,
transparency, the icon directories, the baseline JPEG and the resource
list.  With --regenerate it also runs make_art.py into a scratch directory
and checks that the result matches the committed pictures, i.e. that they
really come from the generator as it is now.

Exit status 0 when everything holds, 1 otherwise.
"""

import os
import struct
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

import numpy as np
from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))
ASSETS = os.path.dirname(HERE)

SPRITES = {
    'seagull.png': (43, 31),
    'ship.png': (91, 71),
    'flag.png': (110, 75),
    'seagull@4x.png': (172, 124),
    'ship@4x.png': (364, 284),
    'flag@4x.png': (440, 300),
    'lifebuoy-32.png': (32, 32),
    'lifebuoy-16.png': (16, 16),
    'music-32.png': (32, 32),
    'music-16.png': (16, 16),
    'lifebuoy-48.png': (48, 48),
    'lifebuoy-256.png': (256, 256),
}
ICONS = {'lifebuoy.ico': 'lifebuoy-%d.png', 'music.ico': 'music-%d.png'}
RESOURCE_ALIASES = ['seascape.jpg', 'seagull.png', 'ship.png', 'flag.png',
                    'seagull@4x.png', 'ship@4x.png', 'flag@4x.png',
                    'lifebuoy-32.png', 'lifebuoy-16.png', 'music-32.png',
                    'music-16.png', 'lifebuoy.ico']


class Checker:
    def __init__(self):
        self.failures = []

    def expect(self, ok, what):
        if not ok:
            self.failures.append(what)
        return ok


def jpeg_frame_marker(data):
    """Return the SOFn marker byte of a JPEG stream (0xC0 = baseline)."""
    i = 2
    while i + 4 <= len(data):
        if data[i] != 0xFF:
            return None
        marker = data[i + 1]
        if marker == 0xFF:                       # fill byte
            i += 1
            continue
        length = struct.unpack('>H', data[i + 2:i + 4])[0]
        if 0xC0 <= marker <= 0xCF and marker not in (0xC4, 0xC8, 0xCC):
            return marker
        i += 2 + length
    return None


def check_seascape(c, d):
    path = os.path.join(d, 'seascape.jpg')
    if not c.expect(os.path.exists(path), 'seascape.jpg is missing'):
        return
    data = open(path, 'rb').read()
    c.expect(data[:2] == b'\xff\xd8', 'seascape.jpg is not a JPEG stream')
    c.expect(jpeg_frame_marker(data) == 0xC0, 'seascape.jpg is not a baseline JPEG')
    c.expect(len(data) < 400 * 1024, 'seascape.jpg is %d bytes, over 400 KB' % len(data))
    im = Image.open(path)
    c.expect(im.size == (1680, 1260), 'seascape.jpg is %dx%d, not 1680x1260' % im.size)
    c.expect(im.mode == 'RGB', 'seascape.jpg is %s, not RGB' % im.mode)
    px = np.asarray(im.convert('RGB'), dtype=np.float64) / 255.0
    luma = px @ np.array([0.299, 0.587, 0.114])
    c.expect(0.35 < luma.mean() < 0.70,
             'seascape.jpg mean brightness %.2f is not medium' % luma.mean())
    # the sky must be blue at the top and warm at the horizon, the sand warm
    top = px[:60].mean(axis=(0, 1))
    low_sky = px[int(0.47 * 1260):int(0.50 * 1260)].mean(axis=(0, 1))
    sand = px[-80:].mean(axis=(0, 1))
    c.expect(top[2] > top[0] + 0.15, 'top of the sky is not blue')
    c.expect(low_sky[0] > low_sky[2] + 0.10, 'sky near the horizon is not warm')
    c.expect(sand[0] > sand[2] + 0.10, 'foreground is not sandy')


def check_sprite(c, d, name, size):
    path = os.path.join(d, name)
    if not c.expect(os.path.exists(path), '%s is missing' % name):
        return None
    im = Image.open(path)
    c.expect(im.format == 'PNG', '%s is not a PNG' % name)
    c.expect(im.size == size, '%s is %dx%d, not %dx%d' % ((name,) + im.size + size))
    c.expect(im.mode == 'RGBA', '%s is %s, not RGBA' % (name, im.mode))
    px = np.asarray(im.convert('RGBA'))
    a = px[..., 3]
    c.expect((a == 0).any(), '%s has no transparent pixels' % name)
    c.expect((a == 255).any(), '%s has no opaque pixels' % name)
    c.expect(((a > 0) & (a < 255)).any(), '%s has hard, aliased edges' % name)
    c.expect(a[0, 0] == 0, '%s: top-left corner is not transparent' % name)
    return px


def parse_ico(data):
    reserved, kind, count = struct.unpack('<HHH', data[:6])
    entries = []
    for i in range(count):
        w, h, colours, _, planes, bits, size, offset = struct.unpack(
            '<BBBBHHII', data[6 + 16 * i:22 + 16 * i])
        entries.append(dict(w=w or 256, h=h or 256, bits=bits, size=size, offset=offset))
    return reserved, kind, entries


def decode_ico_bitmap(data, e):
    blob = data[e['offset']:e['offset'] + e['size']]
    (hdr, w, h2, planes, bits, comp) = struct.unpack('<IiiHHI', blob[:20])
    assert hdr == 40 and bits == 32 and comp == 0, 'not a plain 32-bit bitmap'
    h = h2 // 2
    xor = np.frombuffer(blob[40:40 + w * h * 4], dtype=np.uint8).reshape(h, w, 4)
    rgba = xor[::-1, :, [2, 1, 0, 3]]
    stride = ((w + 31) // 32) * 4
    mask_bytes = np.frombuffer(blob[40 + w * h * 4:40 + w * h * 4 + stride * h],
                               dtype=np.uint8).reshape(h, stride)
    mask = np.unpackbits(mask_bytes, axis=1)[:, :w][::-1]
    return rgba, mask


def check_icon(c, d, name, png_pattern):
    path = os.path.join(d, name)
    if not c.expect(os.path.exists(path), '%s is missing' % name):
        return
    data = open(path, 'rb').read()
    reserved, kind, entries = parse_ico(data)
    c.expect(reserved == 0 and kind == 1, '%s is not an icon file' % name)
    sizes = sorted((e['w'], e['h']) for e in entries)
    c.expect(sizes == [(16, 16), (32, 32)], '%s holds %s, not 16 and 32' % (name, sizes))
    for e in entries:
        c.expect(e['offset'] + e['size'] <= len(data), '%s: entry runs past the end' % name)
        try:
            rgba, mask = decode_ico_bitmap(data, e)
        except (AssertionError, ValueError, struct.error) as err:
            c.expect(False, '%s %dpx: %s' % (name, e['w'], err))
            continue
        png = os.path.join(d, png_pattern % e['w'])
        if os.path.exists(png):
            ref = np.asarray(Image.open(png).convert('RGBA'))
            c.expect(np.array_equal(rgba, ref),
                     '%s %dpx differs from %s' % (name, e['w'], os.path.basename(png)))
        c.expect(np.array_equal(mask == 1, rgba[..., 3] == 0),
                 '%s %dpx: AND mask does not follow the alpha channel' % (name, e['w']))
    # Pillow must read it too
    try:
        Image.open(path).load()
    except Exception as err:                      # noqa: BLE001 - report any
        c.expect(False, '%s does not load: %s' % (name, err))


def check_resources(c, d):
    path = os.path.join(d, 'navcal.qrc')
    if not c.expect(os.path.exists(path), 'navcal.qrc is missing'):
        return
    root = ET.parse(path).getroot()
    files = {}
    for res in root.iter('qresource'):
        c.expect(res.get('prefix') == '/', 'navcal.qrc: prefix is not "/"')
        for f in res.iter('file'):
            files[f.get('alias') or f.text] = f.text
    c.expect(sorted(files) == sorted(RESOURCE_ALIASES),
             'navcal.qrc lists %s' % sorted(files))
    for alias, rel in files.items():
        c.expect(os.path.exists(os.path.join(d, rel)),
                 'navcal.qrc: %s points to missing %s' % (alias, rel))


def check_dir(d, with_resources=True):
    c = Checker()
    check_seascape(c, d)
    for name, size in SPRITES.items():
        check_sprite(c, d, name, size)
    for name, pattern in ICONS.items():
        check_icon(c, d, name, pattern)
    if with_resources:
        check_resources(c, d)
    return c.failures


def compare_with_fresh_render():
    """Render into a scratch directory and compare with what is committed."""
    failures = []
    with tempfile.TemporaryDirectory() as tmp:
        subprocess.run([sys.executable, os.path.join(HERE, 'make_art.py'), tmp],
                       check=True, stdout=subprocess.DEVNULL)
        failures += ['fresh render: ' + f for f in check_dir(tmp, with_resources=False)]
        names = ['seascape.jpg'] + list(SPRITES)
        for name in names:
            a = np.asarray(Image.open(os.path.join(ASSETS, name)).convert('RGBA'), dtype=int)
            b = np.asarray(Image.open(os.path.join(tmp, name)).convert('RGBA'), dtype=int)
            # allow for a different JPEG or zlib build, not for a different picture
            if a.shape != b.shape or np.abs(a - b).mean() > 1.0:
                failures.append('%s does not match a fresh render' % name)
    return failures


def main(argv):
    failures = check_dir(ASSETS)
    if '--regenerate' in argv[1:]:
        failures += compare_with_fresh_render()
    for f in failures:
        print('FAIL:', f)
    if not failures:
        print('all pictures check out')
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))

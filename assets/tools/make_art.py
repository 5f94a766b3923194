#!/usr/bin/python3
"""Draw every picture the screensaver uses.

All artwork is procedural: the seascape is built from smooth fields and
value noise with fixed seeds, the small pictures are drawn as vector shapes
on an oversampled premultiplied-alpha canvas and then box-filtered down, so
their edges are anti-aliased without colour fringes.

Usage:  make_art.py [OUTPUT_DIR]      (default: the assets directory)
Needs Python 3 with Pillow and NumPy (Debian: python3-pil python3-numpy).
"""

import math
import os
import struct
import sys

import numpy as np
from PIL import Image, ImageDraw, ImageFilter

HERE = os.path.dirname(os.path.abspath(__file__))
ASSETS = os.path.dirname(HERE)


# ---------------------------------------------------------------------------
# small numeric helpers

def clamp01(v):
    return np.clip(v, 0.0, 1.0)


def smoothstep(e0, e1, v):
    t = clamp01((v - e0) / (e1 - e0))
    return t * t * (3.0 - 2.0 * t)


def mix(a, b, t):
    """Blend colours/arrays a and b by t (t broadcasts over colour axis)."""
    a = np.asarray(a, dtype=np.float64)
    b = np.asarray(b, dtype=np.float64)
    t = np.asarray(t, dtype=np.float64)
    if t.ndim == 2:                      # an (H, W) weight over RGB images
        t = t[..., None]
    return a + (b - a) * t


def col(hexstr):
    hexstr = hexstr.lstrip('#')
    return np.array([int(hexstr[i:i + 2], 16) for i in (0, 2, 4)], dtype=np.float64) / 255.0


def ramp(v, stops):
    """Piecewise-linear colour ramp. stops: [(position, colour), ...]."""
    v = np.asarray(v, dtype=np.float64)
    out = np.zeros(v.shape + (3,))
    pos = [p for p, _ in stops]
    cols = [np.asarray(c, dtype=np.float64) for _, c in stops]
    for ch in range(3):
        out[..., ch] = np.interp(v, pos, [c[ch] for c in cols])
    return out


class Noise:
    """2-D value noise on a periodic random lattice, with fractal sums."""

    def __init__(self, seed, size=256):
        rng = np.random.RandomState(seed)
        self.size = size
        self.tables = [rng.rand(size, size) for _ in range(8)]

    def value(self, x, y, octave=0):
        tab = self.tables[octave % len(self.tables)]
        n = self.size
        xf = np.floor(x)
        yf = np.floor(y)
        tx = x - xf
        ty = y - yf
        tx = tx * tx * tx * (tx * (tx * 6 - 15) + 10)
        ty = ty * ty * ty * (ty * (ty * 6 - 15) + 10)
        x0 = xf.astype(np.int64) % n
        y0 = yf.astype(np.int64) % n
        x1 = (x0 + 1) % n
        y1 = (y0 + 1) % n
        a = tab[y0, x0] + (tab[y0, x1] - tab[y0, x0]) * tx
        b = tab[y1, x0] + (tab[y1, x1] - tab[y1, x0]) * tx
        return a + (b - a) * ty

    def fbm(self, x, y, octaves=5, gain=0.5, lacunarity=2.03, footprint=None):
        """Fractal sum of `octaves` layers.

        `footprint` (optional, per sample) is how far the noise coordinates
        move between neighbouring pixels; octaves too fine to be resolved
        fade to their mean instead of turning into per-pixel static.
        """
        total = np.zeros(np.broadcast(x, y).shape)
        amp = 1.0
        norm = 0.0
        f = 1.0
        for o in range(octaves):
            # shift each octave so lattice points do not line up
            layer = self.value(x * f + 17.3 * o, y * f + 31.7 * o, o)
            if footprint is not None:
                keep = 1.0 - smoothstep(0.25, 0.6, footprint * f)
                layer = 0.5 + (layer - 0.5) * keep
            total += amp * layer
            norm += amp
            amp *= gain
            f *= lacunarity
        return total / norm


# ---------------------------------------------------------------------------
# the seascape

def make_seascape(width=1680, height=1260):
    W, H = width, height
    yy, xx = np.mgrid[0:H, 0:W].astype(np.float64)
    yy += 0.5
    xx += 0.5

    hz = 0.515 * H                      # horizon line
    sun_x = 0.635 * W
    sun_r = 0.030 * W

    noise = Noise(1703)
    cloud_noise = Noise(1905)
    sea_noise = Noise(2712)
    sand_noise = Noise(1696)

    img = np.zeros((H, W, 3))

    # ---- sky --------------------------------------------------------------
    sky_t = clamp01(yy / hz)            # 0 at top, 1 at horizon
    sky = ramp(sky_t, [
        (0.00, col('2f5f98')),
        (0.30, col('4d7db2')),
        (0.55, col('7fa2c6')),
        (0.72, col('b4b9c6')),
        (0.84, col('dcb9a6')),
        (0.93, col('efb58a')),
        (1.00, col('f6b979')),
    ])
    dx = (xx - sun_x)
    dy = (yy - hz) * 1.6
    r = np.sqrt(dx * dx + dy * dy)
    glow_wide = np.exp(-r / (0.22 * W)) * smoothstep(-0.05, 1.0, sky_t)
    glow_core = np.exp(-r / (0.045 * W))
    sky = mix(sky, col('ffc98a'), 0.55 * glow_wide)
    sky = sky + col('fff0c8') * 0.55 * glow_core[..., None]

    # ---- clouds: soft horizontal streaks, flatter toward the horizon -------
    # perspective-ish squash: clouds near the horizon get thin
    depth = 1.0 / (0.10 + 0.90 * clamp01((hz - yy) / hz))
    cx = xx / (0.55 * W) * 1.0
    cy = yy / (0.05 * H) * 0.55 * np.sqrt(depth) * 0.35 + 0.2 * depth
    cl = cloud_noise.fbm(cx * 1.6 + 3.0, cy * 1.2 + 7.0, octaves=6, gain=0.55)
    band = smoothstep(0.05, 0.30, sky_t) * (1.0 - smoothstep(0.80, 0.97, sky_t))
    cover = smoothstep(0.48, 0.72, cl) * band
    # fine detail for wispy edges
    wisp = cloud_noise.fbm(cx * 6.0, cy * 3.0 + 50.0, octaves=4)
    cover = clamp01(cover * (0.65 + 0.7 * wisp))
    # lit from below/behind by the low sun: warm near horizon, white above
    cloud_col = ramp(sky_t, [
        (0.0, col('e9eef6')),
        (0.45, col('f4f1f0')),
        (0.70, col('f7d9c6')),
        (0.90, col('fbc39a')),
        (1.0, col('fbc39a')),
    ])
    # underside slightly shaded: use the gradient of the noise in y
    shade = cloud_noise.fbm(cx * 1.6 + 3.0, cy * 1.2 + 7.0 - 0.08, octaves=4, gain=0.55)
    shade = clamp01((shade - cl) * 6.0 + 0.5)
    cloud_col = mix(cloud_col, cloud_col * np.array([0.80, 0.82, 0.90]), 0.55 * shade)
    cloud_col = mix(cloud_col, col('fff2d8'), 0.6 * glow_wide)
    sky = mix(sky, cloud_col, 0.78 * cover)

    # ---- sun disc ---------------------------------------------------------
    rs = np.sqrt((xx - sun_x) ** 2 + (yy - (hz + 0.25 * sun_r)) ** 2)
    disc = 1.0 - smoothstep(sun_r - 1.2, sun_r + 1.2, rs)
    sun_col = mix(col('fff6dc'), col('ffd68a'), clamp01(rs / sun_r) ** 2)
    sky = mix(sky, sun_col, disc)

    # ---- a low, hazy headland on the left horizon -------------------------
    hx = xx / W
    ridge = (0.018 * H * (1.0 - smoothstep(0.05, 0.36, hx))
             * (0.75 + 0.5 * noise.fbm(xx / 90.0, 3.0, octaves=4))
             + 0.004 * H * (1.0 - smoothstep(0.30, 0.42, hx)))
    land = 1.0 - smoothstep(-0.8, 0.8, (hz - ridge) - yy)
    land *= (yy < hz + 1)
    land_col = mix(col('8a7f98'), col('c9a59a'), smoothstep(hz - 0.02 * H, hz, yy))
    sky = mix(sky, land_col, 0.80 * land)

    img = sky

    # ---- sea --------------------------------------------------------------
    below = yy - hz
    sea_mask = smoothstep(-0.7, 0.7, below)
    b = np.maximum(below, 0.0) + 0.6
    # coordinates on the sea plane (eye one unit above the water,
    # focal length = image width): X across, Z away from the viewer
    sx = (xx - sun_x) / b
    sz = W / b
    # how far those coordinates move per pixel, for filtering the noise
    fp_x = 1.0 / b
    fp_z = W / (b * b)
    sea_t = clamp01(below / (H - hz))
    sea = ramp(sea_t, [
        (0.00, col('c9a39a')),
        (0.015, col('a999a6')),
        (0.06, col('6f86a6')),
        (0.20, col('4b6f95')),
        (0.45, col('3c6688')),
        (0.70, col('3d7089')),
        (1.00, col('3d7089')),
    ])

    # ripples: long, low waves, much wider than they are deep
    kx, kz = 0.5, 0.8
    rip = sea_noise.fbm(sx * kx, sz * kz, octaves=6, gain=0.6,
                        footprint=np.maximum(fp_x * kx, fp_z * kz))
    swell = sea_noise.fbm(sx * 0.25 + 70.0, sz * 0.9, octaves=3,
                          footprint=np.maximum(fp_x * 0.25, fp_z * 0.9))
    ripple = 0.7 * rip + 0.3 * swell
    fade = smoothstep(0.0, 0.25, sea_t)
    sea = sea * (1.0 + (ripple - 0.5)[..., None] * (0.22 + 0.25 * fade)[..., None])
    # the sea reflects the warm sky near the sun
    reflect = np.exp(-np.abs(xx - sun_x) / (0.25 * W + 1.5 * np.maximum(below, 0.0)))
    sea = mix(sea, col('d39a7a'), 0.35 * reflect * (1.0 - smoothstep(0.0, 0.5, sea_t)))
    # glittering path under the sun: broken horizontal dashes
    path_w = 0.55 * sun_r + 0.16 * np.maximum(below, 0.0)
    path = np.exp(-((xx - sun_x) / path_w) ** 2)
    # glints live in screen space: dashes about one row tall at the
    # horizon, growing toward the viewer, several times wider than tall
    gy = 22.0 * np.log(b)
    gx = (xx - sun_x) / (2.0 + 6.0 * b / 22.0)
    glint_n = sea_noise.fbm(gx + 9.0, gy, octaves=2, gain=0.4)
    glint = smoothstep(0.52, 0.66, glint_n)
    glint = glint * (1.0 - 0.6 * smoothstep(0.0, 0.6, sea_t))
    path_core = path * (0.30 + 0.9 * glint) * (1.0 - smoothstep(0.15, 0.75, sea_t))
    sea = mix(sea, col('ffd9a0'), clamp01(path_core))
    sea = sea + col('fff3d0') * (0.25 * path * glint * (1.0 - smoothstep(0.0, 0.4, sea_t)))[..., None]
    # hazy bright line right at the horizon
    sea = mix(sea, col('f0c4a4'), 0.5 * np.exp(-np.maximum(below, 0) / 2.5))
    img = mix(img, sea, sea_mask)

    # ---- shore ------------------------------------------------------------
    # waves come in as wavy lines; x-warp shared so foam lines look related
    u = xx / W
    warp = (noise.fbm(xx / 260.0, 11.0, octaves=4) - 0.5)

    def line_y(base, amp, freq, phase, jitter):
        return (base * H
                + amp * H * np.sin(2 * math.pi * (u * freq + phase) + 2.0 * warp)
                + jitter * H * (noise.fbm(xx / 140.0 + phase * 10.0, phase * 7.0, octaves=4) - 0.5))

    crest1 = line_y(0.735, 0.005, 0.9, 0.10, 0.022)   # the breaking wave
    crest2 = line_y(0.792, 0.007, 1.3, 0.55, 0.026)   # a second, spent wave
    swash = line_y(0.852, 0.011, 0.7, 0.30, 0.030)    # edge of the water on the sand

    # sand
    sand_base = ramp(clamp01((yy - 0.80 * H) / (0.2 * H)), [
        (0.0, col('c9a47c')),
        (0.5, col('d2ae88')),
        (1.0, col('c29c7a')),
    ])
    grain = sand_noise.fbm(xx / 1.3, yy / 1.3, octaves=2) - 0.5
    mottle = sand_noise.fbm(xx / 60.0 + 5, yy / 25.0, octaves=4) - 0.5
    ripples_s = np.sin((yy + 14.0 * np.sin(xx / 170.0) + 30 * mottle) / 6.0) * \
        smoothstep(0.87 * H, 0.97 * H, yy)
    sand = sand_base * (1.0 + 0.06 * grain + 0.10 * mottle + 0.03 * ripples_s)[..., None]
    sand = mix(sand, col('e8b489'), 0.20)          # warm evening light

    below_swash = yy - swash
    wet = 1.0 - smoothstep(0.0, 0.05 * H, below_swash)
    wet_col = col('94806b') * (1.0 + 0.08 * mottle)[..., None]
    ground = mix(sand, wet_col, 0.70 * wet)
    # glossy wet sand right behind the water's edge reflects the sky
    ground = mix(ground, col('cfae98'), 0.30 * (1.0 - smoothstep(0.0, 0.018 * H, below_swash)))

    # shallow water between the breaking wave and the swash line
    shallow_t = clamp01((yy - crest1) / np.maximum(swash - crest1, 1.0))
    shallow_col = mix(col('467f8e'), col('86a9a0'), shallow_t ** 0.8)
    sh_ripple = sea_noise.fbm(xx / 90.0 + 40, yy / 9.0, octaves=4) - 0.5
    shallow_col = shallow_col * (1.0 + 0.12 * sh_ripple)[..., None]
    shallow_col = mix(shallow_col, col('e9c59b'), 0.30 * path * glint)
    water_a = 1.0 - smoothstep(-1.5, 1.5, below_swash)        # water above the swash
    water_a = water_a * (1.0 - 0.60 * smoothstep(0.30, 1.0, shallow_t))  # thin near the edge

    zone = smoothstep(-1.5, 1.5, yy - crest1)
    shore = mix(ground, shallow_col, water_a)
    img = mix(img, shore, zone)

    # the wave lifting before it breaks: a darker, greener band
    lift = np.exp(-((yy - (crest1 - 0.011 * H)) / (0.010 * H)) ** 2) * (yy < crest1)
    img = mix(img, col('2c5d6e'), 0.45 * lift)

    # foam: a net of thin ridges (foam lace) plus solid foam on the crests
    def ridged(n, width):
        return 1.0 - smoothstep(0.0, width, np.abs(n - 0.5))

    lace_n1 = sea_noise.fbm(xx / 26.0 + 100, yy / 7.0, octaves=3)
    lace_n2 = sea_noise.fbm(xx / 11.0 + 300, yy / 3.5, octaves=2)
    lace = clamp01(0.75 * ridged(lace_n1, 0.045) + 0.45 * ridged(lace_n2, 0.05))
    clump = sea_noise.fbm(xx / 45.0 + 200, yy / 12.0, octaves=3)

    foam_col = col('f6f3ee')
    shadow_col = col('c6ccd3')

    def foam(cy, thick, trail, strength, seed, patchy):
        # the wave breaks harder in some places than in others
        brk = smoothstep(0.30, 0.65, noise.fbm(xx / 190.0 + seed, seed, octaves=3))
        thick = thick * (0.55 + 0.8 * brk)
        d = yy - cy
        # ragged top edge of the foam band
        top = thick * (0.6 + 1.2 * clump)
        band = smoothstep(-top, -top + 2.0, d) * (1.0 - smoothstep(thick * 0.6, thick * 1.4, d))
        band *= 1.0 - patchy * (1.0 - brk)
        tail = smoothstep(0.0, thick, d) * np.exp(-np.maximum(d, 0) / (trail * (0.6 + 0.6 * brk)))
        a = band * (0.75 + 0.25 * clump) + tail * (0.55 * lace + 0.45 * smoothstep(0.45, 0.75, clump))
        # a soft shadow just under the band gives it some body
        under = np.exp(-((d - thick * 1.6) / (thick * 0.7)) ** 2)
        return clamp01(strength * a), clamp01(0.25 * strength * under)

    # a few foam streaks on the open sea in front of the breaker
    streak = smoothstep(0.62, 0.80, sea_noise.fbm(xx / 70.0, yy / 3.0 + 300, octaves=3)) * \
        np.exp(-((yy - (crest1 - 0.035 * H)) / (0.02 * H)) ** 2)
    img = mix(img, shadow_col, 0.30 * streak)
    for cy, thick, trail, strength, seed, patchy in ((crest2, 0.0040 * H, 0.030 * H, 0.75, 41.0, 0.8),
                                             (crest1, 0.0065 * H, 0.040 * H, 0.95, 13.0, 0.45),
                                             (swash - 1.0, 0.0020 * H, 0.008 * H, 0.75, 77.0, 0.6)):
        fa, sa = foam(cy, thick, trail, strength, seed, patchy)
        img = mix(img, col('2f5e68'), sa)
        img = mix(img, foam_col, fa)

    # ---- overall grading: gentle vignette, keep it calm ---------------------
    vx = (xx / W - 0.5) * 2
    vy = (yy / H - 0.5) * 2
    vig = 1.0 - 0.10 * clamp01(0.5 * (vx * vx + vy * vy) - 0.2)
    img = img * vig[..., None]

    # a hint of film grain hides banding in the gradients
    rng = np.random.RandomState(7)
    img = img + (rng.rand(H, W, 1) - 0.5) * (1.5 / 255.0)

    return Image.fromarray((clamp01(img) * 255.0 + 0.5).astype(np.uint8), 'RGB')


# ---------------------------------------------------------------------------
# an oversampled vector canvas for the small pictures

class Canvas:
    """Premultiplied RGBA canvas drawn at `ss` times the final size."""

    def __init__(self, width, height, ss=16):
        self.w, self.h, self.ss = width, height, ss
        self.W, self.H = width * ss, height * ss
        self.rgb = np.zeros((self.H, self.W, 3))     # premultiplied colour
        self.a = np.zeros((self.H, self.W))
        ys, xs = np.mgrid[0:self.H, 0:self.W].astype(np.float64)
        # sample centres, in final-pixel units
        self.x = (xs + 0.5) / ss
        self.y = (ys + 0.5) / ss

    # -- masks (values 0..1 at the oversampled resolution)
    def _new(self):
        m = Image.new('L', (self.W, self.H), 0)
        return m, ImageDraw.Draw(m)

    def _pts(self, pts):
        s = self.ss
        return [(px * s, py * s) for px, py in pts]

    def poly(self, pts):
        m, d = self._new()
        d.polygon(self._pts(pts), fill=255)
        return np.asarray(m, dtype=np.float64) / 255.0

    def ellipse(self, cx, cy, rx, ry, angle=0.0):
        c, s = math.cos(angle), math.sin(angle)
        dx = self.x - cx
        dy = self.y - cy
        u = (dx * c + dy * s) / rx
        v = (-dx * s + dy * c) / ry
        return (u * u + v * v <= 1.0).astype(np.float64)

    def stroke(self, pts, width):
        """A polyline of the given width (final pixels) with round joints."""
        m, d = self._new()
        p = self._pts(pts)
        w = max(1, int(round(width * self.ss)))
        d.line(p, fill=255, width=w, joint='curve')
        r = width * self.ss / 2.0
        for (px, py) in (p[0], p[-1]):
            d.ellipse([px - r, py - r, px + r, py + r], fill=255)
        return np.asarray(m, dtype=np.float64) / 255.0

    def rect(self, x0, y0, x1, y1):
        return ((self.x >= x0) & (self.x < x1) & (self.y >= y0) & (self.y < y1)).astype(np.float64)

    def grow(self, mask, radius):
        """Dilate a mask by `radius` final pixels (a round-ish pen)."""
        k = int(round(radius * self.ss)) * 2 + 1
        if k < 3:
            return mask
        m = Image.fromarray((mask * 255).astype(np.uint8), 'L')
        # two passes of a smaller max filter approximate a round pen well
        half = k // 2
        if half >= 3:
            a = half // 2 * 2 + 1
            b = (k - a) + 1
            b = b if b % 2 == 1 else b + 1
            m = m.filter(ImageFilter.MaxFilter(a)).filter(ImageFilter.MaxFilter(b))
        else:
            m = m.filter(ImageFilter.MaxFilter(k))
        return np.asarray(m, dtype=np.float64) / 255.0

    # -- painting
    def fill(self, mask, colour, opacity=1.0):
        a = clamp01(mask * opacity)
        colour = np.asarray(colour, dtype=np.float64)
        if colour.ndim == 1:
            colour = colour[None, None, :]
        self.rgb = self.rgb * (1.0 - a)[..., None] + colour * a[..., None]
        self.a = self.a * (1.0 - a) + a

    def paint_inside(self, mask, colour, opacity=1.0):
        """Paint only where something is already drawn (keeps the alpha)."""
        a = clamp01(mask * opacity) * self.a
        colour = np.asarray(colour, dtype=np.float64)
        if colour.ndim == 1:
            colour = colour[None, None, :]
        # blend in straight colour, weighted by existing coverage
        self.rgb = self.rgb * (1.0 - a / np.maximum(self.a, 1e-9) * (self.a > 0))[..., None] \
            + colour * a[..., None]

    def image(self):
        s = self.ss
        rgb = self.rgb.reshape(self.h, s, self.w, s, 3).mean(axis=(1, 3))
        a = self.a.reshape(self.h, s, self.w, s).mean(axis=(1, 3))
        straight = np.where(a[..., None] > 1e-6, rgb / np.maximum(a, 1e-6)[..., None], 0.0)
        out = np.dstack([clamp01(straight), clamp01(a)])
        out = (out * 255.0 + 0.5).astype(np.uint8)
        out[..., :3][out[..., 3] == 0] = 0
        return Image.fromarray(out, 'RGBA')


def bezier(p0, p1, p2, p3=None, n=24):
    """Points along a quadratic (3 args) or cubic (4 args) Bezier curve."""
    pts = []
    for i in range(n + 1):
        t = i / n
        if p3 is None:
            x = (1 - t) ** 2 * p0[0] + 2 * (1 - t) * t * p1[0] + t * t * p2[0]
            y = (1 - t) ** 2 * p0[1] + 2 * (1 - t) * t * p1[1] + t * t * p2[1]
        else:
            x = ((1 - t) ** 3 * p0[0] + 3 * (1 - t) ** 2 * t * p1[0]
                 + 3 * (1 - t) * t * t * p2[0] + t ** 3 * p3[0])
            y = ((1 - t) ** 3 * p0[1] + 3 * (1 - t) ** 2 * t * p1[1]
                 + 3 * (1 - t) * t * t * p2[1] + t ** 3 * p3[1])
        pts.append((x, y))
    return pts


def path(*segments):
    """Join point lists, dropping the duplicated joint points."""
    out = []
    for seg in segments:
        if out and seg and out[-1] == seg[0]:
            seg = seg[1:]
        out.extend(seg)
    return out

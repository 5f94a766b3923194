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
    """Premultiplied RGBA canvas drawn at `ss` times the final size.

    Shapes are given in the units of the picture's base size (width x height);
    `zoom` renders the same drawing with zoom x zoom pixels per unit, for
    large screens. The oversampling then shrinks so the work stays the same.
    """

    def __init__(self, width, height, ss=16, zoom=1):
        if zoom > 1:
            ss = max(4, ss // zoom) * zoom  # samples per base unit
        self.w, self.h, self.ss, self.zoom = width * zoom, height * zoom, ss, zoom
        self.W, self.H = width * ss, height * ss
        self.rgb = np.zeros((self.H, self.W, 3))     # premultiplied colour
        self.a = np.zeros((self.H, self.W))
        ys, xs = np.mgrid[0:self.H, 0:self.W].astype(np.float64)
        # sample centres, in base units
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
        s = self.ss // self.zoom
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


# ---------------------------------------------------------------------------
# seagull, 43 x 31

def make_seagull(zoom=1):
    c = Canvas(43, 31, ss=16, zoom=zoom)

    left_wing = c.poly(path(
        bezier((19.5, 18.5), (16.0, 9.0), (10.5, 5.4)),
        bezier((10.5, 5.4), (5.5, 5.0), (0.7, 11.6)),
        bezier((0.7, 11.6), (3.0, 11.9), (4.2, 12.6)),      # primaries
        bezier((4.2, 12.6), (5.8, 12.2), (7.3, 13.1)),
        bezier((7.3, 13.1), (9.0, 12.6), (10.5, 13.4)),
        bezier((10.5, 13.4), (15.5, 14.2), (21.0, 22.5)),
    ))
    right_wing = c.poly(path(
        bezier((24.0, 18.5), (27.5, 8.5), (32.6, 4.8)),
        bezier((32.6, 4.8), (37.6, 4.5), (42.4, 10.5)),
        bezier((42.4, 10.5), (40.2, 10.8), (39.0, 11.6)),
        bezier((39.0, 11.6), (37.4, 11.3), (35.9, 12.2)),
        bezier((35.9, 12.2), (34.3, 11.9), (32.9, 12.6)),
        bezier((32.9, 12.6), (28.5, 13.8), (23.0, 22.5)),
    ))
    body = c.ellipse(21.8, 21.4, 6.8, 3.1, angle=0.05)
    head = c.ellipse(15.4, 19.9, 2.8, 2.6)
    tail = c.poly([(26.0, 19.4), (31.8, 19.9), (32.4, 22.7), (26.0, 23.8)])
    beak = c.poly([(13.1, 19.4), (9.8, 20.6), (13.3, 21.2)])

    silhouette = np.maximum.reduce([left_wing, right_wing, body, head, tail, beak])
    c.fill(c.grow(silhouette, 0.75), col('4f6f93'), 0.9)

    # wings: white at the body, light blue outward, darker blue tips
    t = clamp01(np.abs(c.x - 21.8) / 21.0)
    wing_col = ramp(t, [
        (0.00, col('ffffff')),
        (0.40, col('eef5fc')),
        (0.70, col('b9d5ee')),
        (0.88, col('8db4da')),
        (1.00, col('6f9ac6')),
    ])
    # the underside of the trailing half is in shade
    c.fill(left_wing, wing_col)
    c.fill(right_wing, wing_col)
    shade = smoothstep(8.0, 14.0, c.y) * 0.40
    c.paint_inside(np.maximum(left_wing, right_wing) * shade, col('9fbfe0'))

    c.fill(tail, ramp(clamp01((c.y - 19.4) / 4.4), [(0, col('f4f8fc')), (1, col('b7cfe6'))]))
    body_col = ramp(clamp01((c.y - 18.0) / 6.5), [(0.0, col('ffffff')),
                                                   (0.6, col('f1f6fb')),
                                                   (1.0, col('c2d6ea'))])
    c.fill(body, body_col)
    c.fill(head, body_col)
    c.fill(beak, col('f0b43c'))
    c.fill(c.ellipse(14.8, 19.2, 0.65, 0.65), col('1c2633'))
    return c.image()


# ---------------------------------------------------------------------------
# sailing ship on the waves, 91 x 71

def _sail(c, x0, x1, y0, y1, belly):
    """A square sail hung from a yard at y0, bulging toward the bow (left)."""
    return c.poly(path(
        [(x0 + 0.6, y0), (x1 - 0.6, y0)],
        bezier((x1 - 0.6, y0), (x1 - belly * 0.4, (y0 + y1) / 2), (x1 - belly * 0.6, y1)),
        bezier((x1 - belly * 0.6, y1), ((x0 + x1) / 2 - belly, y1 + belly * 0.9),
               (x0 - belly, y1 - 0.2)),
        bezier((x0 - belly, y1 - 0.2), (x0 - belly * 1.1, (y0 + y1) / 2), (x0 + 0.6, y0)),
    ))


def _pennant(c, x, y, length, width, phase):
    """A tapering red pennant streaming to the left from (x, y)."""
    n = 24
    top, bot = [], []
    for i in range(n + 1):
        t = i / n
        px = x - t * length
        wave = 0.9 * math.sin(2 * math.pi * (t * 1.3 + phase)) * t
        half = width / 2 * (1.0 - 0.85 * t)
        top.append((px, y + wave - half))
        bot.append((px, y + wave + half))
    return c.poly(top + bot[::-1])


def make_ship(zoom=1):
    c = Canvas(91, 71, ss=12, zoom=zoom)
    x, y = c.x, c.y

    # ---- hull shape, bow to the left
    hull = c.poly(path(
        bezier((9.5, 46.5), (28.0, 53.0), (62.0, 51.5)),
        [(62.0, 51.5), (65.5, 51.0), (66.0, 46.5), (78.5, 44.0)],
        bezier((78.5, 44.0), (78.5, 52.0), (75.5, 59.0)),
        bezier((75.5, 59.0), (48.0, 63.0), (21.0, 60.0)),
        bezier((21.0, 60.0), (13.5, 56.0), (9.5, 46.5)),
    ))

    # ---- masts, spars and rigging (drawn first, sails cover parts of them)
    wood = col('5b3a22')
    spars = [
        c.stroke([(11.0, 47.5), (0.8, 40.0)], 1.3),          # bowsprit
        c.stroke([(28.0, 51.0), (28.0, 8.0)], 1.3),          # foremast
        c.stroke([(46.0, 52.0), (46.0, 2.5)], 1.4),          # mainmast
        c.stroke([(63.0, 49.0), (63.0, 12.0)], 1.2),         # mizzen
        c.stroke([(63.0, 40.0), (80.0, 36.0)], 0.9),         # spanker boom
    ]
    rigging = np.maximum.reduce([
        c.stroke([(28.0, 8.5), (1.5, 40.3)], 0.45),
        c.stroke([(28.0, 20.0), (8.0, 45.0)], 0.45),
        c.stroke([(46.0, 3.0), (28.0, 9.0)], 0.45),
        c.stroke([(63.0, 12.5), (46.0, 4.0)], 0.45),
        c.stroke([(63.0, 12.5), (78.0, 44.0)], 0.45),
        c.stroke([(46.0, 3.0), (66.0, 46.0)], 0.40),
    ])

    # ---- sails
    square = ((21.0, 35.0, 25.0, 38.5, 2.4),    # fore course
              (22.3, 33.7, 12.5, 23.5, 2.0),    # fore topsail
              (37.5, 54.5, 22.5, 39.5, 2.6),    # main course
              (38.8, 53.2, 7.5, 20.5, 2.2),     # main topsail
              (57.0, 69.0, 15.5, 25.0, 1.8))    # mizzen topsail
    sails = [_sail(c, *shape) for shape in square]
    yards = [c.stroke([(x0 - 1.0, y0), (x1 + 1.0, y0)], 0.9) for x0, x1, y0 in
             ((21.0, 35.0, 25.0), (22.3, 33.7, 12.5), (37.5, 54.5, 22.5),
              (38.8, 53.2, 7.5), (57.0, 69.0, 15.5))]
    jibs = [
        c.poly(path(bezier((2.0, 40.0), (15.0, 26.0), (27.0, 10.0)),
                    bezier((27.0, 10.0), (22.0, 27.0), (19.0, 42.0)),
                    bezier((19.0, 42.0), (10.0, 43.5), (2.0, 40.0)))),
    ]
    spanker = c.poly(path(
        [(64.0, 27.0), (64.0, 39.5)],
        bezier((64.0, 39.5), (72.0, 38.5), (79.0, 36.4)),
        bezier((79.0, 36.4), (72.5, 31.5), (64.0, 27.0)),
    ))
    all_sails = np.maximum.reduce(sails + jibs + [spanker])

    # ---- pennants
    pennants = np.maximum.reduce([
        _pennant(c, 46.0, 3.0, 14.0, 2.6, 0.10),
        _pennant(c, 28.0, 8.5, 11.0, 2.3, 0.35),
        _pennant(c, 63.0, 12.5, 10.0, 2.2, 0.60),
    ])

    # ---- waves in front: sea with crests, fading out at the bottom and sides
    crest_y = (58.5 + 1.6 * np.sin(2 * math.pi * (x / 19.0 + 0.15))
               + 0.5 * np.sin(2 * math.pi * (x / 7.3 + 0.4)))
    crest_y = crest_y - 2.2 * np.exp(-((x - 12.0) / 6.0) ** 2)     # bow wave
    water = smoothstep(-0.5, 0.5, y - crest_y)
    edge_fade = smoothstep(0.0, 9.0, x) * smoothstep(0.0, 9.0, 91.0 - x)
    bottom_fade = 1.0 - smoothstep(64.0, 71.0, y)
    water_a = water * edge_fade * bottom_fade
    water_col = ramp(clamp01((y - 56.0) / 14.0), [(0.0, col('5a8bb5')),
                                                     (0.5, col('3b6b96')),
                                                     (1.0, col('315d85'))])
    foam = np.exp(-((y - crest_y - 0.8) / 0.9) ** 2) * water_a
    foam2 = np.exp(-((y - (crest_y + 4.5 + 0.8 * np.sin(x / 3.1))) / 0.6) ** 2) * water_a * \
        smoothstep(0.3, 0.9, np.sin(x / 5.3 + 1.0))

    # ---- outlines first, so everything reads on sky and on sea
    hull_and_spars = np.maximum.reduce([hull] + spars + yards)
    c.fill(c.grow(all_sails, 0.55), col('7d8796'), 0.85)
    c.fill(c.grow(hull_and_spars, 0.45), col('2d1d12'), 0.9)
    c.fill(c.grow(pennants, 0.35), col('7a1010'), 0.8)

    c.fill(rigging, col('3b2a1e'), 0.7)
    for sp in spars:
        c.fill(sp, wood)

    # hull: warm wood, lighter toward the deck, a gilded wale and gun ports
    hull_col = ramp(clamp01((y - 45.0) / 16.0), [(0.0, col('8a5530')),
                                                   (0.5, col('6b4024')),
                                                   (1.0, col('4a2b18'))])
    c.fill(hull, hull_col)
    wale_y = 51.0 + 4.0 * ((x - 62.0) / 52.0) ** 2 - 0.08 * np.maximum(x - 62.0, 0.0)
    c.paint_inside(hull * (np.abs(y - (wale_y + 1.8)) < 0.7), col('d9a441'))
    c.paint_inside(hull * (np.abs(y - (wale_y + 5.0)) < 0.45), col('a7773a'))
    for px in (22.0, 30.0, 38.0, 46.0, 54.0, 62.0):
        py = 51.0 + 4.0 * ((px - 62.0) / 52.0) ** 2 + 3.5
        c.paint_inside(c.rect(px - 0.9, py - 0.8, px + 0.9, py + 0.8) * hull, col('24150c'))
    # stern windows, lit
    for py in (47.5, 50.5):
        c.paint_inside(c.rect(72.5, py - 0.7, 76.5, py + 0.7) * hull, col('f2d27a'))

    for yd in yards:
        c.fill(yd, wood)

    # sails: white, the bellied side in light, the far side in shade
    for s_, (x0, x1, y0, y1, belly) in zip(sails, square):
        t = clamp01((x - (x0 - belly)) / (x1 - x0 + belly))
        v = clamp01((y - y0) / (y1 - y0))
        shade = 0.55 * smoothstep(0.35, 1.05, t) + 0.15 * v
        c.fill(s_, mix(col('fdfcf8'), col('b9c3d2'), shade))
    for s_ in jibs + [spanker]:
        t = clamp01((x - 2.0) / 26.0) if s_ is jibs[0] else clamp01((x - 64.0) / 15.0)
        c.fill(s_, mix(col('fdfcf8'), col('c3ccd9'), 0.45 * t))

    c.fill(pennants, ramp(clamp01((y - 2.0) / 12.0), [(0.0, col('e8322c')),
                                                          (1.0, col('c51f1f'))]))

    # ---- the sea in front of the hull
    c.fill(water_a, water_col)
    c.fill(foam * 0.9, col('f3f7fb'))
    c.fill(foam2 * 0.55, col('d9e6f1'))
    return c.image()


# ---------------------------------------------------------------------------
# the white-blue-red tricolour on a short pole, 110 x 75

def make_flag(zoom=1):
    c = Canvas(110, 75, ss=10, zoom=zoom)
    x, y = c.x, c.y

    pole_x0, pole_x1 = 3.0, 6.0
    fx0, flen = 6.0, 102.0           # hoist and length of the cloth
    ftop, fh = 5.5, 64.0             # top edge at the hoist, height
    amp = 3.6                        # wave amplitude at the fly end

    # The cloth is a sheet displaced vertically by a travelling wave whose
    # amplitude grows from the pole; invert that map per sample.
    u = (x - fx0) / flen
    uc = clamp01(u)
    phase = 2 * math.pi * (1.35 * uc) - 0.6
    grow = uc ** 0.8
    dy = amp * grow * np.sin(phase)
    # the cloth looks a little narrower where it turns away from us
    hscale = 1.0 - 0.04 * grow * (1.0 + np.cos(phase))
    top = ftop + dy + fh * (1.0 - hscale) / 2.0
    v = (y - top) / (fh * hscale)
    inside = ((u >= 0.0) & (u <= 1.0) & (v >= 0.0) & (v < 1.0)).astype(np.float64)

    stripe = np.clip(np.floor(v * 3.0), 0, 2).astype(int)
    colours = np.array([col('f8f8f6'), col('1f4fb0'), col('d5281f')])
    cloth = colours[stripe]
    # light and shade follow the slope of the wave
    slope = np.cos(phase) * grow
    light = 1.0 + 0.20 * slope - 0.05 * u
    cloth = clamp01(cloth * light[..., None])
    # a soft highlight along the crests
    cloth = mix(cloth, col('ffffff'), 0.12 * smoothstep(0.6, 1.0, slope) * (stripe > 0))

    pole = c.rect(pole_x0, 4.0, pole_x1, 75.0)
    ball = c.ellipse((pole_x0 + pole_x1) / 2, 3.6, 2.9, 2.9)

    # a thin darker edge so the white stripe stays visible on a pale sky
    c.fill(c.grow(inside, 0.5), col('6b7480'), 0.6)
    c.fill(c.grow(np.maximum(pole, ball), 0.4), col('3a3a3a'), 0.7)

    tpole = clamp01((x - pole_x0) / (pole_x1 - pole_x0))
    c.fill(pole, ramp(tpole, [(0.0, col('9a9ea6')), (0.35, col('f2f3f5')),
                              (1.0, col('7d828b'))]))
    rb = np.sqrt((x - 3.9) ** 2 + (y - 2.6) ** 2)
    c.fill(ball, ramp(clamp01(rb / 4.5), [(0.0, col('fff1b0')), (0.4, col('e0b541')),
                                          (1.0, col('8f6a1c'))]))
    c.fill(inside, cloth)
    # the cloth casts a little shadow onto the pole side
    c.paint_inside(pole * smoothstep(ftop - 1, ftop + 1, y) * (y < ftop + fh), col('5f636a'), 0.35)
    return c.image()


# ---------------------------------------------------------------------------
# lifebuoy icon: red and white ring with a grab line, 32 and 16 pixels

def make_lifebuoy(size):
    # big desktop icons need less oversampling, and would not fit in memory with 16x
    c = Canvas(size, size, ss=16 if size <= 64 else 4)
    x, y = c.x, c.y
    k = size / 32.0
    cx = cy = size / 2.0
    if size >= 24:
        # line widths grow with the icon above 32 pixels; 32 stays as it was
        w = max(1.0, k)
        r_out, r_in = 11.6 * k, 6.0 * k
        bulge, rope_w, band_w = 2.4 * k, 1.25 * w, 1.5 * w
        rim_w, rope_edge = 0.6 * w, 0.45 * w
    else:
        # at icon size the line is only hinted at, or it would swamp the ring
        w = 1.0
        r_out, r_in = 6.6, 3.1
        bulge, rope_w, band_w = 0.9, 0.75, 0.9
        rim_w, rope_edge = 0.45, 0.0

    dx, dy = x - cx, y - cy
    r = np.sqrt(dx * dx + dy * dy)
    ang = np.arctan2(dy, dx)
    ring = ((r <= r_out) & (r >= r_in)).astype(np.float64)
    rim = ((r <= r_out + rim_w) & (r >= r_in - rim_w)).astype(np.float64)

    # four segments: red at top and bottom, white at the sides, seams on the
    # diagonals where the grab line is tied on
    seg = np.floor((ang + math.pi / 4) / (math.pi / 2)).astype(int) % 2
    base = np.where(seg[..., None] == 1, col('d8261f'), col('f7f5f0'))

    # shade the ring as a torus lit from the upper left
    t = clamp01((r - r_in) / (r_out - r_in)) * 2.0 - 1.0
    nz = np.sqrt(clamp01(1.0 - t * t))
    nx = t * np.cos(ang)
    ny = t * np.sin(ang)
    L = np.array([-0.45, -0.55, 0.70])
    L = L / np.linalg.norm(L)
    diff = clamp01(nx * L[0] + ny * L[1] + nz * L[2])
    gloss = clamp01(nx * L[0] + ny * L[1] + nz * L[2]) ** 18
    ring_col = clamp01(base * (0.55 + 0.55 * diff)[..., None] + 0.35 * gloss[..., None])

    # grab line: four loops between the ties, sagging outward
    ties = [math.pi / 4 + i * math.pi / 2 for i in range(4)]
    loop_pts = []
    n = 40
    for i in range(4):
        a0 = ties[i]
        pts = []
        for j in range(n + 1):
            a = a0 + (math.pi / 2) * j / n
            rr = r_out - 0.2 * w + bulge * math.sin(math.pi * j / n)
            pts.append((cx + rr * math.cos(a), cy + rr * math.sin(a)))
        loop_pts.append(pts)
    rope = np.maximum.reduce([c.stroke(p, rope_w) for p in loop_pts])
    bands = np.maximum.reduce([
        c.stroke([(cx + (r_in + 0.4 * w) * math.cos(a), cy + (r_in + 0.4 * w) * math.sin(a)),
                  (cx + (r_out + 0.3 * w) * math.cos(a), cy + (r_out + 0.3 * w) * math.sin(a))], band_w)
        for a in ties])

    rope_col = mix(col('e3cf9a'), col('b8955a'), clamp01((y - cy) / size + 0.5))
    outline = col('4a1e1a')

    if rope_edge:
        c.fill(c.grow(rope, rope_edge), col('5a4126'), 0.9)
    else:
        rope_col = rope_col * 0.85
    c.fill(rim, outline, 0.9)
    c.fill(ring, ring_col)
    c.fill(rope, rope_col)
    if rope_edge:
        c.fill(c.grow(bands, 0.35 * w), col('5a4126'), 0.9)
    c.fill(bands, rope_col)
    return c.image()


def lifebuoy_svg():
    """The lifebuoy as a scalable desktop icon: the same ring, ties and grab
    line as the bitmaps, on the 32-unit grid of the 32-pixel icon."""
    cx = cy = 16.0
    r_out, r_in, bulge = 11.6, 6.0, 2.4
    r_mid, width = (r_out + r_in) / 2, r_out - r_in

    def at(r, a):
        return '%.3f %.3f' % (cx + r * math.cos(a), cy + r * math.sin(a))

    parts = ['<?xml version="1.0" encoding="UTF-8"?>',
             '<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32" viewBox="0 0 32 32">',
             '<defs><radialGradient id="shade" cx="0.38" cy="0.34" r="0.7">'
             '<stop offset="0" stop-color="#ffffff" stop-opacity="0.35"/>'
             '<stop offset="0.6" stop-color="#ffffff" stop-opacity="0"/>'
             '<stop offset="1" stop-color="#000000" stop-opacity="0.3"/>'
             '</radialGradient></defs>',
             '<circle cx="16" cy="16" r="%.2f" fill="none" stroke="#4a1e1a" stroke-width="%.2f"/>'
             % (r_mid, width + 1.2)]
    # four quarters: red at top and bottom, white at the sides
    for i in range(4):
        a0 = -math.pi / 4 + i * math.pi / 2
        colour = '#f7f5f0' if i % 2 == 0 else '#d8261f'
        parts.append('<path d="M %s A %.2f %.2f 0 0 1 %s" fill="none" stroke="%s" '
                     'stroke-width="%.2f"/>' % (at(r_mid, a0), r_mid, r_mid,
                                                at(r_mid, a0 + math.pi / 2), colour, width))
    parts.append('<circle cx="16" cy="16" r="%.2f" fill="none" stroke="url(#shade)" '
                 'stroke-width="%.2f"/>' % (r_mid, width))
    ties = [math.pi / 4 + i * math.pi / 2 for i in range(4)]
    rope = []
    for a0 in ties:
        pts = [at(r_out - 0.2 + bulge * math.sin(math.pi * j / 40), a0 + (math.pi / 2) * j / 40)
               for j in range(41)]
        rope.append('M ' + ' L '.join(pts))
    parts.append('<path d="%s" fill="none" stroke="#5a4126" stroke-width="2.15" '
                 'stroke-linecap="round"/>' % ' '.join(rope))
    parts.append('<path d="%s" fill="none" stroke="#d2b67e" stroke-width="1.25" '
                 'stroke-linecap="round"/>' % ' '.join(rope))
    for a in ties:
        parts.append('<line x1="%s" y1="%s" x2="%s" y2="%s" stroke="#d2b67e" stroke-width="1.5" '
                     'stroke-linecap="round"/>' % tuple(at(r_in + 0.4, a).split()
                                                        + at(r_out + 0.3, a).split()))
    parts.append('</svg>')
    return '\n'.join(parts) + '\n'


# ---------------------------------------------------------------------------
# mouse pointer: notes on a staff, 32 and 16 pixels

def _note_head(c, cx, cy, rx, ry):
    return c.ellipse(cx, cy, rx, ry, angle=-0.38)


def make_music(size):
    c = Canvas(size, size, ss=16)
    # staff lines and stems sit on whole pixels so they stay crisp
    if size >= 24:
        lines = [c.rect(1.0, yl, 31.0, yl + 1.0) for yl in (9, 13, 17, 21, 25)]
        heads = [_note_head(c, 7.7, 23.0, 2.5, 1.8),       # an eighth note
                 _note_head(c, 16.7, 19.0, 2.5, 1.8),      # and a beamed pair
                 _note_head(c, 25.7, 15.0, 2.5, 1.8)]
        stems = [c.rect(9.0, 6.0, 10.0, 22.6),
                 c.rect(18.0, 5.0, 19.0, 18.6),
                 c.rect(27.0, 1.5, 28.0, 14.6)]
        flag = c.poly(path(bezier((10.0, 6.0), (10.8, 9.5), (14.0, 11.5)),
                           bezier((14.0, 11.5), (15.3, 13.5), (13.8, 16.5)),
                           bezier((13.8, 16.5), (14.4, 13.2), (10.0, 11.0))))
        beam = c.poly([(18.0, 4.0), (28.0, 0.5), (28.0, 3.5), (18.0, 7.0)])
        halo_r, halo_a, staff_a = 0.8, 0.45, 0.85
    else:
        lines = [c.rect(0.0, yl, 16.0, yl + 1.0) for yl in (3, 6, 9, 12, 15)]
        heads = [_note_head(c, 4.9, 14.0, 1.8, 1.25),
                 _note_head(c, 11.9, 11.0, 1.8, 1.25)]
        stems = [c.rect(6.0, 3.0, 7.0, 13.8),
                 c.rect(13.0, 0.5, 14.0, 10.8)]
        flag = np.zeros_like(c.x)
        beam = c.poly([(6.0, 2.0), (14.0, 0.0), (14.0, 2.0), (6.0, 4.0)])
        halo_r, halo_a, staff_a = 0.6, 0.35, 0.6

    staff = np.maximum.reduce(lines)
    notes = np.maximum.reduce(heads + stems + [flag, beam])
    # a faint light rim keeps the black pointer visible over dark water
    c.fill(c.grow(notes, halo_r), col('ffffff'), halo_a)
    c.fill(staff, col('202020'), staff_a)
    c.fill(notes, col('000000'))
    return c.image()


# ---------------------------------------------------------------------------
# writing the files

def ico_bytes(images):
    """A Windows icon holding the given RGBA images as 32-bit bitmaps.

    Bitmap entries (rather than embedded PNG) are read by every icon
    loader, old ones included.
    """
    images = sorted(images, key=lambda im: -im.size[0])
    header = struct.pack('<HHH', 0, 1, len(images))
    entries = b''
    blobs = b''
    offset = len(header) + 16 * len(images)
    for im in images:
        w, h = im.size
        if w > 256 or h > 256:
            raise ValueError('icon images are at most 256 pixels wide')
        px = np.asarray(im.convert('RGBA'))
        bgra = px[::-1, :, [2, 1, 0, 3]].tobytes()           # rows bottom-up
        mask_stride = ((w + 31) // 32) * 4
        mask = bytearray()
        for row in px[::-1]:
            bits = np.packbits(row[:, 3] == 0)               # 1 = transparent
            line = bits.tobytes()
            mask += line + b'\0' * (mask_stride - len(line))
        info = struct.pack('<IiiHHIIiiII', 40, w, 2 * h, 1, 32, 0,
                           len(bgra) + len(mask), 0, 0, 0, 0)
        blob = info + bgra + bytes(mask)
        entries += struct.pack('<BBBBHHII', w % 256, h % 256, 0, 0, 1, 32,
                               len(blob), offset)
        blobs += blob
        offset += len(blob)
    return header + entries + blobs


ZOOM = 4


def write_all(out_dir):
    os.makedirs(out_dir, exist_ok=True)

    def save_png(im, name):
        im.save(os.path.join(out_dir, name), 'PNG', optimize=True)
        print('wrote', name)

    sea = make_seascape()
    sea.save(os.path.join(out_dir, 'seascape.jpg'), 'JPEG', quality=88,
             optimize=True, progressive=False)
    print('wrote seascape.jpg')

    save_png(make_seagull(), 'seagull.png')
    save_png(make_ship(), 'ship.png')
    save_png(make_flag(), 'flag.png')
    # The same drawings with four times the pixels each way: crisp pictures
    # when the calendar is scaled up to a large or high-density screen.
    save_png(make_seagull(ZOOM), 'seagull@%dx.png' % ZOOM)
    save_png(make_ship(ZOOM), 'ship@%dx.png' % ZOOM)
    save_png(make_flag(ZOOM), 'flag@%dx.png' % ZOOM)

    for stem, maker in (('lifebuoy', make_lifebuoy), ('music', make_music)):
        icons = []
        for size in (32, 16):
            im = maker(size)
            save_png(im, '%s-%d.png' % (stem, size))
            icons.append(im)
        with open(os.path.join(out_dir, stem + '.ico'), 'wb') as f:
            f.write(ico_bytes(icons))
        print('wrote', stem + '.ico')

    # desktop icons for the menu entry and the package
    for size in (48, 256):
        save_png(make_lifebuoy(size), 'lifebuoy-%d.png' % size)
    with open(os.path.join(out_dir, 'lifebuoy.svg'), 'w') as f:
        f.write(lifebuoy_svg())
    print('wrote lifebuoy.svg')


def main(argv):
    if len(argv) > 2 or (len(argv) == 2 and argv[1].startswith('-')):
        sys.stderr.write(__doc__)
        return 2
    write_all(argv[1] if len(argv) == 2 else ASSETS)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))

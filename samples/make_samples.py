#!/usr/bin/env python3
"""Generate Tessaly's sample pictures and sounds.

Everything is drawn procedurally with the Python standard library; the
pictures are written as PPM and encoded to JPEG with cjpeg (libjpeg-turbo).
Output is deterministic: every random source uses a fixed seed.

    python3 samples/make_samples.py [output-dir]

Produces Sample1.jpg (400x300), Sample2.jpg (1024x768), Sample3.jpg
(1920x1440), Camera.wav and SlideProjector.wav (22050 Hz, 16-bit mono PCM).
"""

import math
import os
import random
import shutil
import struct
import subprocess
import sys
import tempfile
import wave

JPEG_QUALITY = 85
RATE = 22050


# ---------------------------------------------------------------- helpers --

def clamp8(v):
    v = int(v + 0.5)
    return 0 if v < 0 else 255 if v > 255 else v


def lerp(a, b, t):
    return a + (b - a) * t


def smoothstep(e0, e1, x):
    if x <= e0:
        return 0.0
    if x >= e1:
        return 1.0
    t = (x - e0) / (e1 - e0)
    return t * t * (3.0 - 2.0 * t)


def gradient(stops, t):
    """Colour at t (0..1) along a list of (position, (r, g, b)) stops."""
    if t <= stops[0][0]:
        return stops[0][1]
    for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
        if t <= p1:
            u = (t - p0) / (p1 - p0)
            u = u * u * (3.0 - 2.0 * u)
            return (lerp(c0[0], c1[0], u), lerp(c0[1], c1[1], u), lerp(c0[2], c1[2], u))
    return stops[-1][1]


def mix3(a, b, t):
    return (lerp(a[0], b[0], t), lerp(a[1], b[1], t), lerp(a[2], b[2], t))


def ridge(width, rng, base, octaves):
    """A 1-D height profile (one value per column): a sum of random sines.

    octaves is a list of (wavelength in pixels, amplitude in pixels)."""
    waves = [(2.0 * math.pi / wl, amp, rng.uniform(0, 2 * math.pi)) for wl, amp in octaves]
    return [base + sum(a * math.sin(k * x + ph) for k, a, ph in waves) for x in range(width)]


def peaks(width, rng, base, height, roughness, levels=9):
    """A jagged mountain profile by midpoint displacement."""
    n = 1 << levels
    pts = [0.0] * (n + 1)
    pts[0] = rng.uniform(-0.3, 0.3)
    pts[n] = rng.uniform(-0.3, 0.3)
    step, amp = n, 1.0
    while step > 1:
        half = step // 2
        for i in range(half, n, step):
            pts[i] = 0.5 * (pts[i - half] + pts[i + half]) + rng.uniform(-amp, amp)
        step, amp = half, amp * roughness
    lo, hi = min(pts), max(pts)
    out = []
    for x in range(width):
        f = x * n / (width - 1)
        i = min(int(f), n - 1)
        v = lerp(pts[i], pts[i + 1], f - i)
        out.append(base - height * (v - lo) / (hi - lo))
    return out


class ValueNoise:
    """Smooth 2-D value noise on a wrapping lattice."""

    def __init__(self, rng, size=64):
        self.size = size
        self.grid = [rng.random() for _ in range(size * size)]

    def __call__(self, x, y):
        s = self.size
        xi, yi = int(math.floor(x)), int(math.floor(y))
        fx, fy = x - xi, y - yi
        fx = fx * fx * (3 - 2 * fx)
        fy = fy * fy * (3 - 2 * fy)
        x0, x1 = xi % s, (xi + 1) % s
        r0, r1 = (yi % s) * s, ((yi + 1) % s) * s
        g = self.grid
        a = g[r0 + x0] + (g[r0 + x1] - g[r0 + x0]) * fx
        b = g[r1 + x0] + (g[r1 + x1] - g[r1 + x0]) * fx
        return a + (b - a) * fy

    def fbm(self, x, y, octaves=4):
        total, amp, norm = 0.0, 1.0, 0.0
        for _ in range(octaves):
            total += amp * self(x, y)
            norm += amp
            x, y, amp = x * 2.03 + 17.1, y * 2.03 + 5.7, amp * 0.5
        return total / norm


def upscale_field(field, fw, fh, w, h):
    """Bilinearly resample a coarse scalar field (row-major fw x fh) to w x h."""
    out = []
    for y in range(h):
        fy = y * (fh - 1) / (h - 1)
        y0 = min(int(fy), fh - 2)
        ty = fy - y0
        r0, r1 = field[y0 * fw:(y0 + 1) * fw], field[(y0 + 1) * fw:(y0 + 2) * fw]
        row = [r0[i] + (r1[i] - r0[i]) * ty for i in range(fw)]
        line = []
        for x in range(w):
            fx = x * (fw - 1) / (w - 1)
            x0 = min(int(fx), fw - 2)
            line.append(row[x0] + (row[x0 + 1] - row[x0]) * (fx - x0))
        out.append(line)
    return out


def write_jpeg(path, width, height, rows):
    """rows: iterable of bytes objects (RGB, width*3 each)."""
    cjpeg = shutil.which("cjpeg") or "/usr/bin/cjpeg"
    fd, ppm = tempfile.mkstemp(suffix=".ppm")
    try:
        with os.fdopen(fd, "wb") as f:
            f.write(b"P6\n%d %d\n255\n" % (width, height))
            for r in rows:
                f.write(r)
        with open(path, "wb") as out:
            subprocess.run([cjpeg, "-quality", str(JPEG_QUALITY), "-optimize", ppm],
                           stdout=out, check=True)
    finally:
        os.unlink(ppm)


# ----------------------------------------------------- Sample1: sunset --

def sample1(path):
    W, H = 400, 300
    rng = random.Random(1001)
    sky = [(0.00, (38, 30, 84)), (0.30, (120, 52, 120)), (0.55, (226, 96, 92)),
           (0.75, (252, 160, 84)), (1.00, (255, 214, 140))]
    horizon = 205.0
    sun_x, sun_y, sun_r = 250.0, 172.0, 26.0
    layers = [  # (profile, colour) back to front
        (ridge(W, rng, 196, [(160, 9), (61, 4), (23, 1.5)]), (150, 74, 110)),
        (ridge(W, rng, 222, [(230, 14), (83, 6), (29, 2)]), (96, 46, 92)),
        (ridge(W, rng, 252, [(300, 18), (97, 7), (31, 2)]), (58, 28, 66)),
        (ridge(W, rng, 282, [(350, 12), (120, 6), (37, 2)]), (30, 16, 40)),
    ]
    # A few dark trees on the front hill.
    trees = [(rng.uniform(10, W - 10), rng.uniform(9, 17)) for _ in range(9)]
    front = layers[-1][0]
    rows = []
    for y in range(H):
        t = min(1.0, y / horizon)
        base = gradient(sky, t)
        line = bytearray(W * 3)
        for x in range(W):
            # sky with sun and glow
            dx, dy = x - sun_x, y - sun_y
            d = math.sqrt(dx * dx + dy * dy)
            glow = math.exp(-d / 70.0) * 0.55
            r = base[0] + (255 - base[0]) * glow
            g = base[1] + (220 - base[1]) * glow
            b = base[2] + (150 - base[2]) * glow * 0.6
            if d < sun_r + 1:
                a = min(1.0, sun_r + 1 - d)
                # faint horizontal bands across the sun disc
                band = 0.12 if (int(y - sun_y + sun_r) % 7 == 0 and y > sun_y) else 0.0
                r, g, b = lerp(r, 255, a), lerp(g, 236 - 60 * band, a), lerp(b, 170 - 80 * band, a)
            # hills, back to front, with soft anti-aliased edges
            for i, (prof, col) in enumerate(layers):
                e = y - prof[x]
                if e > -1:
                    a = min(1.0, e + 1)
                    shade = 1.0 - 0.25 * min(1.0, max(0.0, e) / 60.0)
                    rim = 0.35 * math.exp(-max(0.0, e) / 2.0) * (1 - i / 4)
                    r = lerp(r, col[0] * shade + 120 * rim, a)
                    g = lerp(g, col[1] * shade + 70 * rim, a)
                    b = lerp(b, col[2] * shade + 40 * rim, a)
            for tx, th in trees:
                ground = front[int(tx)]
                if ground - th - 2 < y < ground + 2:
                    halfw = (y - (ground - th)) * 0.32
                    if abs(x - tx) < halfw:
                        r, g, b = r * 0.5, g * 0.5, b * 0.5
            n = rng.uniform(-1.5, 1.5)
            o = x * 3
            line[o] = clamp8(r + n)
            line[o + 1] = clamp8(g + n)
            line[o + 2] = clamp8(b + n)
        rows.append(bytes(line))
    write_jpeg(path, W, H, rows)


# ------------------------------------------------ Sample2: sea and sky --

def sample2(path):
    W, H = 1024, 768
    rng = random.Random(2002)
    noise = ValueNoise(rng)
    horizon = 420
    sun_x, sun_y, sun_r = 700.0, 250.0, 34.0
    sky = [(0.0, (40, 104, 178)), (0.55, (110, 170, 222)), (0.85, (190, 214, 232)),
           (1.0, (238, 226, 206))]
    sea = [(0.0, (86, 140, 170)), (0.2, (34, 98, 140)), (1.0, (10, 44, 80))]

    # Clouds: fbm on a coarse grid, bilinearly upscaled (soft by nature).
    CW, CH = 129, 54
    cf = []
    for cy in range(CH):
        for cx in range(CW):
            v = noise.fbm(cx / 14.0, cy / 6.5, 5)
            cf.append(v)
    clouds = upscale_field(cf, CW, CH, W, horizon)

    # Distant island silhouette on the horizon.
    island = ridge(W, rng, 0, [(300, 14), (90, 5), (31, 2)])

    rows = []
    for y in range(H):
        line = bytearray(W * 3)
        if y < horizon:
            base = gradient(sky, y / horizon)
            crow = clouds[y]
            hfade = 1.0 - 0.6 * (y / horizon)
            for x in range(W):
                dx, dy = x - sun_x, y - sun_y
                d = math.sqrt(dx * dx + dy * dy)
                glow = math.exp(-d / 120.0) * 0.6
                r = base[0] + (255 - base[0]) * glow
                g = base[1] + (248 - base[1]) * glow
                b = base[2] + (220 - base[2]) * glow
                if d < sun_r + 1:
                    a = min(1.0, sun_r + 1 - d)
                    r, g, b = lerp(r, 255, a), lerp(g, 252, a), lerp(b, 232, a)
                c = smoothstep(0.52, 0.72, crow[x]) * hfade
                if c > 0:
                    lit = 245 - 70 * smoothstep(0.62, 0.85, crow[x])
                    r, g, b = lerp(r, lit, c), lerp(g, lit + 2, c), lerp(b, lit + 8, c)
                # island in the far right
                if 760 < x < 1010:
                    top = horizon - 20 * math.sin(math.pi * (x - 760) / 250) ** 0.7 + island[x] * 0.4
                    e = y - top
                    if e > -1:
                        a = min(1.0, e + 1)
                        r, g, b = lerp(r, 96, a), lerp(g, 124, a), lerp(b, 150, a)
                o = x * 3
                line[o] = clamp8(r)
                line[o + 1] = clamp8(g)
                line[o + 2] = clamp8(b)
        else:
            depth = (y - horizon) / (H - horizon)          # 0 at horizon
            base = gradient(sea, depth)
            z = 1.0 / (0.12 + depth)                       # distance on the sea plane
            amp = 0.25 + 0.75 * smoothstep(0.0, 0.4, depth)  # calmer far away
            spread = 30 + 260 * depth                      # width of sun path
            xs = z * 8.0 / W
            for x in range(W):
                X = (x - W / 2) * xs
                w1 = math.sin(50.0 * z + 4.0 * noise(X * 0.7 + 9.0, z * 2.5))
                w2 = math.sin(83.0 * z + 1.3 * X + 1.7 + 2.0 * noise(X * 1.3, z * 4.0 + 20.0))
                wave = (0.65 * w1 + 0.35 * w2) * amp
                k = 1.0 + 0.13 * wave
                r, g, b = base[0] * k, base[1] * k, base[2] * k
                # crest highlights
                if wave > 0.78:
                    hl = (wave - 0.78) * 2.2 * (0.4 + depth)
                    r, g, b = lerp(r, 210, hl), lerp(g, 230, hl), lerp(b, 240, hl)
                # glittering path below the sun
                dx = abs(x - sun_x)
                glint = math.exp(-(dx / spread) ** 2) * (1 - 0.6 * depth)
                if glint > 0.02:
                    sparkle = max(0.0, wave) ** 3
                    s = min(1.0, glint * (0.2 + 1.6 * sparkle))
                    r, g, b = lerp(r, 255, s), lerp(g, 246, s), lerp(b, 214, s)
                o = x * 3
                line[o] = clamp8(r)
                line[o + 1] = clamp8(g)
                line[o + 2] = clamp8(b)
        rows.append(bytes(line))
    write_jpeg(path, W, H, rows)


# ------------------------------------ Sample3: mountains under the stars --

def sample3(path):
    W, H = 1920, 1440
    rng = random.Random(3003)
    noise = ValueNoise(rng)
    sky = [(0.0, (6, 8, 24)), (0.45, (16, 24, 60)), (0.8, (38, 52, 100)),
           (1.0, (70, 80, 128))]
    moon_x, moon_y, moon_r = 1460.0, 300.0, 62.0

    # Aurora band: a coarse brightness field, bilinearly upscaled.
    AW, AH = 97, 37
    af = []
    for ay in range(AH):
        for ax in range(AW):
            yy = ay / (AH - 1)
            centre = 0.45 + 0.18 * math.sin(ax / 11.0) + 0.08 * math.sin(ax / 4.3 + 1)
            band = math.exp(-((yy - centre) / 0.16) ** 2)
            streak = 0.5 + 0.5 * math.sin(ax * 1.7 + noise(ax / 3.0, 7.5) * 6)
            af.append(band * (0.35 + 0.65 * streak) * noise.fbm(ax / 9.0, ay / 12.0 + 3, 3))
    aurora_h = 900
    aurora = upscale_field(af, AW, AH, W, aurora_h)

    far = peaks(W, rng, 1020, 430, 0.55)
    mid = peaks(W, rng, 1140, 360, 0.52)
    near = ridge(W, rng, 1300, [(900, 40), (340, 22), (120, 8), (41, 3)])

    # Stars: sprinkled per row for speed.
    stars = {}
    for _ in range(1700):
        sx, sy = rng.randrange(W), int(rng.random() ** 1.3 * 1100)
        stars.setdefault(sy, []).append((sx, rng.random() ** 3))
    bright = [(rng.randrange(60, W - 60), rng.randrange(40, 760)) for _ in range(26)]

    rows = []
    for y in range(H):
        base = gradient(sky, min(1.0, y / 1150.0))
        line = bytearray(W * 3)
        arow = aurora[y] if y < aurora_h else None
        for x in range(W):
            r, g, b = base
            if arow is not None:
                a = arow[x]
                if a > 0.05:
                    a = (a - 0.05) * 0.95
                    r += 20 * a
                    g += 150 * a
                    b += 90 * a
            dx, dy = x - moon_x, y - moon_y
            if abs(dx) < 400 and abs(dy) < 400:
                d = math.sqrt(dx * dx + dy * dy)
                glow = math.exp(-d / 140.0) * 0.35
                r, g, b = lerp(r, 200, glow), lerp(g, 210, glow), lerp(b, 235, glow)
                if d < moon_r + 1:
                    a = min(1.0, moon_r + 1 - d)
                    m = 0.88 + 0.12 * noise(x / 14.0, y / 14.0)
                    r, g, b = lerp(r, 240 * m, a), lerp(g, 238 * m, a), lerp(b, 220 * m, a)
            # mountain ranges
            e = y - far[x]
            if e > -1:
                a = min(1.0, e + 1)
                fade = min(1.0, e / 500.0)
                c = (66 - 20 * fade, 80 - 22 * fade, 124 - 30 * fade)
                # snow on the highest slopes, streaky
                snowline = 760 + 60 * noise(x / 40.0, 2.0)
                if y < snowline:
                    s = smoothstep(0, 1, (snowline - y) / 80.0) * (0.55 + 0.45 * noise(x / 6.0, y / 30.0))
                    c = mix3(c, (196, 206, 232), s)
                r, g, b = lerp(r, c[0], a), lerp(g, c[1], a), lerp(b, c[2], a)
            e = y - mid[x]
            if e > -1:
                a = min(1.0, e + 1)
                fade = min(1.0, e / 400.0)
                r, g, b = lerp(r, 38 - 12 * fade, a), lerp(g, 46 - 14 * fade, a), lerp(b, 80 - 20 * fade, a)
            e = y - near[x]
            if e > -1:
                a = min(1.0, e + 1)
                r, g, b = lerp(r, 14, a), lerp(g, 18, a), lerp(b, 34, a)
            o = x * 3
            line[o] = clamp8(r)
            line[o + 1] = clamp8(g)
            line[o + 2] = clamp8(b)
        # stars only where the sky is still showing
        for sx, mag in stars.get(y, ()):
            if y < far[sx] - 2 and (sx - moon_x) ** 2 + (y - moon_y) ** 2 > (moon_r + 20) ** 2:
                o = sx * 3
                v = 110 + 145 * mag
                line[o] = clamp8(max(line[o], v))
                line[o + 1] = clamp8(max(line[o + 1], v))
                line[o + 2] = clamp8(max(line[o + 2], v + 10))
        rows.append(line)

    # bright stars: a small soft disc with a faint cross
    for bx, by in bright:
        for oy in range(-6, 7):
            for ox in range(-6, 7):
                d = math.sqrt(ox * ox + oy * oy)
                v = math.exp(-d * 1.1) + (0.35 * math.exp(-abs(ox + oy) * 3) if ox == 0 or oy == 0 else 0)
                v = min(1.0, v)
                px = rows[by + oy]
                o = (bx + ox) * 3
                for k, tint in enumerate((235, 240, 255)):
                    px[o + k] = clamp8(lerp(px[o + k], tint, v))

    write_jpeg(path, W, H, [bytes(r) for r in rows])


# ------------------------------------------------------------- sounds --

def write_wav(path, samples):
    peak = max(1e-9, max(abs(s) for s in samples))
    scale = 0.89 * 32767 / peak
    data = struct.pack("<%dh" % len(samples),
                       *(max(-32767, min(32767, int(round(s * scale)))) for s in samples))
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(data)


def burst(rng, seconds, decay, cutoff, resonances=()):
    """Filtered noise with an exponential decay plus a few damped tones."""
    n = int(seconds * RATE)
    a = 1.0 - math.exp(-2 * math.pi * cutoff / RATE)   # one-pole low-pass
    out, lp, prev = [], 0.0, 0.0
    for i in range(n):
        t = i / RATE
        lp += a * (rng.uniform(-1, 1) - lp)
        hp = lp - prev * 0.85                          # tame the rumble
        prev = lp
        env = math.exp(-t / decay) * min(1.0, i / 12.0)
        v = hp * env
        for f, amp, dec in resonances:
            v += amp * math.sin(2 * math.pi * f * t) * math.exp(-t / dec)
        out.append(v)
    return out


def mix_in(dst, src, at, gain=1.0):
    start = int(at * RATE)
    for i, s in enumerate(src):
        j = start + i
        if j >= len(dst):
            break
        dst[j] += gain * s


def camera(path):
    rng = random.Random(4004)
    out = [0.0] * int(0.40 * RATE)
    # first curtain: sharp, bright click
    mix_in(out, burst(rng, 0.06, 0.006, 7000, [(3150, 0.25, 0.004), (1870, 0.15, 0.006)]), 0.005)
    # mirror slap: a duller thud between the two
    mix_in(out, burst(rng, 0.05, 0.010, 1200), 0.030, 0.35)
    # second curtain: slightly softer and lower
    mix_in(out, burst(rng, 0.09, 0.012, 5200, [(2420, 0.2, 0.007), (1330, 0.15, 0.01)]), 0.120, 0.85)
    # fade tail to silence
    for i in range(len(out) - 600, len(out)):
        out[i] *= (len(out) - i) / 600.0
    write_wav(path, out)


def slide_projector(path):
    rng = random.Random(5005)
    total = int(1.2 * RATE)
    out = [0.0] * total
    # first clack: the slide being pulled out
    mix_in(out, burst(rng, 0.16, 0.025, 2600, [(520, 0.35, 0.03), (1350, 0.2, 0.02)]), 0.01)
    # motor whirr while the tray advances
    start, end = 0.10, 0.95
    lp = 0.0
    ph1 = ph2 = 0.0
    for i in range(int(start * RATE), int(end * RATE)):
        t = i / RATE
        u = (t - start) / (end - start)
        env = math.sin(math.pi * u) ** 0.8
        f = 95 + 30 * math.sin(math.pi * u)            # motor spins up then down
        ph1 += 2 * math.pi * f / RATE
        ph2 += 2 * math.pi * f * 3.02 / RATE
        saw = (ph1 / math.pi) % 2.0 - 1.0
        lp += 0.08 * (rng.uniform(-1, 1) - lp)
        gear = 0.5 + 0.5 * math.sin(2 * math.pi * 22 * t)  # gear teeth rattle
        v = 0.10 * saw + 0.07 * math.sin(ph2) + 0.35 * lp * (0.6 + 0.4 * gear)
        out[i] += 0.6 * env * v
    # small tick as the tray locks
    mix_in(out, burst(rng, 0.03, 0.005, 4000), 0.88, 0.25)
    # second clack: new slide drops into the gate
    mix_in(out, burst(rng, 0.20, 0.03, 2200, [(460, 0.4, 0.04), (1100, 0.2, 0.025)]), 0.97, 1.1)
    for i in range(total - 800, total):
        out[i] *= (total - i) / 800.0
    write_wav(path, out)


# --------------------------------------------------------------- main --

def main():
    outdir = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    os.makedirs(outdir, exist_ok=True)
    jobs = [
        ("Sample1.jpg", sample1),
        ("Sample2.jpg", sample2),
        ("Sample3.jpg", sample3),
        ("Camera.wav", camera),
        ("SlideProjector.wav", slide_projector),
    ]
    for name, fn in jobs:
        path = os.path.join(outdir, name)
        fn(path)
        print("wrote %s (%d bytes)" % (path, os.path.getsize(path)))


if __name__ == "__main__":
    main()

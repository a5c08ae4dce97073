#!/usr/bin/env bash
# Draws the three sample pictures with ImageMagick and synthesises the two
# sample sounds (22050 Hz, 16-bit mono) with python3; deterministic.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cd "$here"

# Sunset over hills, 400 x 300 (well below 640 x 480).
convert -size 400x300 gradient:'#ff9a3c-#6a2c70' \
  -fill '#ffd26a' -draw 'circle 200,190 200,150' \
  -fill '#3b2a4d' -draw 'polygon 0,300 0,220 90,180 190,230 280,190 400,225 400,300' \
  -fill '#24182f' -draw 'polygon 0,300 0,260 130,235 260,270 400,250 400,300' \
  -quality 85 Sample1.jpg

# Sea and sky, 1024 x 768 (a common screen size).
convert -size 1024x400 gradient:'#8fd3fe-#2f80c0' sky.png
convert -size 1024x368 gradient:'#1f6f9f-#0b2f4f' sea.png
convert sky.png sea.png -append \
  -fill '#fff7d0' -draw 'circle 780,140 780,90' \
  -fill 'rgba(255,255,255,0.6)' -draw 'ellipse 250,120 120,30 0,360' -draw 'ellipse 330,105 90,25 0,360' \
  -stroke 'rgba(255,255,255,0.35)' -strokewidth 3 \
  -draw 'line 0,460 1024,455' -draw 'line 0,540 1024,548' -draw 'line 0,640 1024,630' \
  -quality 85 Sample2.jpg
rm -f sky.png sea.png

# Mountains under a starry night, 1920 x 1440 (larger than the screen).
convert -size 1920x1440 gradient:'#0b1026-#2b3a67' \
  -seed 7 -attenuate 0.15 +noise Uniform \
  -fill white -draw 'point 100,80 point 400,200 point 900,120 point 1500,60 point 1700,300 point 1200,250' \
  -fill '#f1f1d6' -draw 'circle 1500,300 1500,230' \
  -fill '#3d4a6b' -draw 'polygon 0,1440 0,900 400,500 800,950 1200,420 1600,900 1920,700 1920,1440' \
  -fill '#e8eef7' -draw 'polygon 400,500 330,580 470,580' -draw 'polygon 1200,420 1110,530 1290,530' \
  -fill '#1c2540' -draw 'polygon 0,1440 0,1150 600,1000 1100,1200 1600,1050 1920,1150 1920,1440' \
  -quality 85 Sample3.jpg

python3 - <<'PY'
import math, random, struct, wave

RATE = 22050
random.seed(20261207)

def write(name, samples):
    with wave.open(name, "wb") as w:
        w.setnchannels(1); w.setsampwidth(2); w.setframerate(RATE)
        w.writeframes(b"".join(struct.pack("<h", max(-32767, min(32767, int(s * 32767)))) for s in samples))

def click(length, decay, gain, lowpass):
    out, prev = [], 0.0
    for i in range(int(length * RATE)):
        prev += lowpass * (random.uniform(-1, 1) - prev)
        out.append(gain * prev * math.exp(-i / (decay * RATE)))
    return out

def mix(base, part, at):
    start = int(at * RATE)
    for i, s in enumerate(part):
        if start + i < len(base):
            base[start + i] += s

# Camera: shutter opening and closing, two short bright clicks.
cam = [0.0] * int(0.4 * RATE)
mix(cam, click(0.05, 0.006, 0.9, 0.7), 0.0)
mix(cam, click(0.08, 0.012, 0.7, 0.5), 0.09)
write("Camera.wav", cam)

# Slide projector: clack, motor whirr as the tray turns, clack.
proj = [0.0] * int(1.2 * RATE)
mix(proj, click(0.12, 0.02, 0.9, 0.35), 0.0)
for i in range(int(0.15 * RATE), int(0.95 * RATE)):
    t = i / RATE
    env = math.sin(math.pi * (t - 0.15) / 0.8) ** 2
    proj[i] += 0.18 * env * (math.sin(2 * math.pi * 120 * t) + 0.5 * math.sin(2 * math.pi * 240 * t)
                             + 0.2 * random.uniform(-1, 1))
mix(proj, click(0.15, 0.025, 0.95, 0.3), 1.0)
write("SlideProjector.wav", proj)
PY

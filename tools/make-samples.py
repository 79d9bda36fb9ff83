#!/usr/bin/python3
"""Makes a clean folder of sample pictures for the documentation's screenshots:
  make-samples.py OUT   ->  OUT/写真/旅行の写真 (photos, a memo, a subfolder), OUT/写真/花"""
import math
import os
import random
import sys

from PIL import Image, ImageDraw


def landscape(w, h, seed):
    rnd = random.Random(seed)
    img = Image.new('RGB', (w, h))
    d = ImageDraw.Draw(img)
    top = (rnd.randint(40, 90), rnd.randint(110, 170), rnd.randint(200, 250))
    low = (rnd.randint(180, 230), rnd.randint(200, 235), rnd.randint(220, 255))
    for y in range(h):
        t = y / h
        d.line([(0, y), (w, y)], fill=tuple(int(a + (b - a) * t) for a, b in zip(top, low)))
    sx, sy, r = rnd.randint(w // 6, w * 5 // 6), rnd.randint(h // 8, h // 3), h // 10
    d.ellipse([sx - r, sy - r, sx + r, sy + r], fill=(255, 214, 80))
    for layer, shade in enumerate([(70, 140, 70), (40, 110, 50)]):
        base = h * (0.55 + 0.12 * layer)
        amp, freq, phase = h * 0.08, rnd.uniform(1.5, 3.0), rnd.uniform(0, 6.28)
        pts = [(x, base - amp * math.sin(phase + freq * x / w * 3.14)) for x in range(0, w + 8, 8)]
        d.polygon(pts + [(w, h), (0, h)], fill=shade)
    return img


def flower(w, h, seed):
    rnd = random.Random(seed)
    img = Image.new('RGB', (w, h), (rnd.randint(200, 240), rnd.randint(225, 250), 200))
    d = ImageDraw.Draw(img)
    cx, cy, r = w // 2, h // 2, min(w, h) // 5
    colour = rnd.choice([(230, 80, 120), (250, 170, 40), (150, 90, 210), (240, 120, 160)])
    for k in range(8):
        a = k * math.pi / 4
        px, py = cx + r * math.cos(a), cy + r * math.sin(a)
        d.ellipse([px - r * 0.7, py - r * 0.7, px + r * 0.7, py + r * 0.7], fill=colour)
    d.ellipse([cx - r * 0.6, cy - r * 0.6, cx + r * 0.6, cy + r * 0.6], fill=(250, 220, 60))
    return img


def main():
    out = sys.argv[1]
    trip = os.path.join(out, '写真', '旅行の写真')
    flowers = os.path.join(out, '写真', '花')
    for folder in (trip, os.path.join(trip, 'その他'), flowers):
        os.makedirs(folder, exist_ok=True)
    for i in range(1, 13):
        w, h = (1600, 1200) if i % 4 else (1200, 1600)
        landscape(w, h, i).save(os.path.join(trip, 'IMG_%04d.jpg' % (100 + i)), quality=88)
    with open(os.path.join(trip, 'メモ.txt'), 'wb') as f:
        f.write('旅行のメモ\r\n1日目: 京都\r\n2日目: 奈良\r\n'.encode('cp932'))
    for i in range(1, 4):
        landscape(800, 600, 50 + i).save(os.path.join(trip, 'その他', 'sub_%d.jpg' % i))
    for i in range(1, 7):
        flower(900, 900, 100 + i).save(os.path.join(flowers, 'hana_%02d.png' % i))


main()

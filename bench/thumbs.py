#!/usr/bin/python3
"""Thumbnail throughput of mirabelo-thumb beside other thumbnailers, in one run.

Generates a folder of test pictures under build/ (once), builds a release mirabelo-thumb
and the floor program, then runs every tool single-threaded on the same files for each
box size and prints images/s, peak memory (max RSS) and the ratio to mirabelo-thumb.

  bench/thumbs.py [--src DIR] [--build DIR] [--repeat N]

The "floor" row is one process doing only libjpeg's reduced decode and a box filter
(bench/floor.cpp); it and djpeg see the JPEG files only, so the JPEG set is reported on
its own.
"""
import argparse
import os
import shutil
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
BOXES = (32, 94, 256)

# (name, width, height, count, format)
PICTURES = (
    ("photo4000", 4000, 3000, 6, "jpg"),
    ("photo1920", 1920, 1080, 12, "jpg"),
    ("photo800", 800, 600, 24, "jpg"),
    ("png1024", 1024, 768, 6, "png"),
    ("gif640", 640, 480, 6, "gif"),
)

PIL_SCRIPT = r"""
import sys
from PIL import Image
box = int(sys.argv[1]); out = sys.argv[2]
for path in sys.argv[3:]:
    im = Image.open(path)
    im.draft("RGB", (box, box))
    im = im.convert("RGB")
    im.thumbnail((box, box))
    im.save(out + "/" + path.rsplit("/", 1)[-1] + ".ppm")
"""


def generate(folder):
    """Photo-like pictures: smooth gradients with fine noise, so JPEG sizes are realistic."""
    from PIL import Image, ImageFilter
    import random
    os.makedirs(folder, exist_ok=True)
    files = []
    rng = random.Random(1)
    for name, w, h, count, fmt in PICTURES:
        for i in range(count):
            path = os.path.join(folder, "%s_%02d.%s" % (name, i, fmt))
            files.append(path)
            if os.path.exists(path):
                continue
            small = Image.effect_noise((max(8, w // 64), max(8, h // 64)), 60 + 10 * i)
            base = small.resize((w, h), Image.BICUBIC).filter(ImageFilter.GaussianBlur(2))
            tint = [rng.randint(0, 255) for _ in range(3)]
            rgb = Image.merge("RGB", [base.point(lambda v, t=t: (v + t) % 256) for t in tint])
            grain = Image.effect_noise((w, h), 12).convert("RGB")
            img = Image.blend(rgb, grain, 0.15)
            if fmt == "jpg":
                img.save(path, quality=88)
            elif fmt == "png":
                img.save(path)
            else:
                img.convert("P", palette=Image.ADAPTIVE).save(path)
    return files


def build(src, build_dir):
    subprocess.run(["cmake", "-S", src, "-B", build_dir, "-G", "Ninja",
                    "-DCMAKE_BUILD_TYPE=Release"], check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", build_dir, "-j2", "--target", "mirabelo-thumb"],
                   check=True, stdout=subprocess.DEVNULL)
    floor = os.path.join(build_dir, "bin", "thumb-floor")
    subprocess.run(["g++", "-O2", "-o", floor, os.path.join(HERE, "floor.cpp"), "-ljpeg"],
                   check=True)
    return os.path.join(build_dir, "bin", "mirabelo-thumb"), floor


def run(commands, env):
    """Runs commands one after another; wall seconds and the largest max RSS (MB)."""
    # GNU time reports the peak of the program itself (a child forked from Python would
    # carry the interpreter's high-water mark across exec).
    report = os.path.join(os.path.dirname(env["BENCH_OUT"]), "maxrss.txt")
    start = time.perf_counter()
    peak = 0
    for cmd in commands:
        r = subprocess.run(["/usr/bin/time", "-f", "%M", "-o", report] + cmd, env=env,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if r.returncode != 0:
            raise RuntimeError("failed: %s" % " ".join(cmd[:4]))
        with open(report) as f:
            peak = max(peak, int(f.read().split()[-1]) / 1024.0)
    return time.perf_counter() - start, peak


def tools(thumb, floor, box, out, files, jpegs):
    b = "%dx%d" % (box, box)
    jpeg_only = len(files) == len(jpegs)
    rows = [
        ("mirabelo-thumb", [[thumb, "--box", b, "--mode", "preview", "--quality", "speed",
                             "--out", out] + files]),
        ("vipsthumbnail", [["vipsthumbnail", "--size", b, "-o", out + "/%s.ppm"] + files]),
        ("gm mogrify", [["gm", "mogrify", "-limit", "threads", "1", "-create-directories", "-output-directory", out,
                         "-format", "ppm", "-size", b, "-thumbnail", b] + files]),
        ("Pillow draft+thumbnail", [[sys.executable, "-c", PIL_SCRIPT, str(box), out] + files]),
    ]
    if jpeg_only:
        rows.append(("djpeg -scale 1/8", [["djpeg", "-scale", "1/8", "-outfile",
                                           os.path.join(out, os.path.basename(f) + ".ppm"), f]
                                          for f in files]))
        rows.append(("floor (libjpeg + box)", [[floor, str(box), str(box)] + files]))
    return rows


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--src", default=ROOT, help="source tree to build mirabelo-thumb from")
    ap.add_argument("--build", default=os.path.join(ROOT, "build", "bench"))
    ap.add_argument("--repeat", type=int, default=3, help="best of N runs per row")
    args = ap.parse_args()
    args.build = os.path.abspath(args.build)  # vipsthumbnail reads a relative -o from the input folder

    files = generate(os.path.join(args.build, "pictures"))
    jpegs = [f for f in files if f.endswith(".jpg")]
    thumb, floor = build(args.src, args.build)
    env = dict(os.environ, VIPS_CONCURRENCY="1", OMP_NUM_THREADS="1", OMP_THREAD_LIMIT="1")
    out = os.path.join(args.build, "out")
    env["BENCH_OUT"] = out

    for label, subset in (("JPEG", jpegs), ("JPEG + PNG + GIF", files)):
        for box in BOXES:
            results = []
            for name, commands in tools(thumb, floor, box, out, subset, jpegs):
                best = None
                for _ in range(args.repeat):
                    shutil.rmtree(out, ignore_errors=True)
                    os.makedirs(out)
                    secs, mem = run(commands, env)
                    if best is None or secs < best[0]:
                        best = (secs, mem)
                results.append((name, len(subset) / best[0], best[1]))
            ours = results[0][1]
            print("\n%s, %d files, box %d x %d" % (label, len(subset), box, box))
            print("| tool | images/s | peak MB | mirabelo-thumb speed-up |")
            print("|---|---:|---:|---:|")
            for name, ips, mem in results:
                print("| %s | %.1f | %.1f | %.2fx |" % (name, ips, mem, ours / ips))
            sys.stdout.flush()


if __name__ == "__main__":
    main()

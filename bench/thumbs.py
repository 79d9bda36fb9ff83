#!/usr/bin/python3
"""Thumbnail speed of mirabelo-thumb beside other thumbnailers, in one run.

Generates test pictures under the build folder (once), builds a release mirabelo-thumb (and,
with --before REV, the same tool from an older revision) and the Huffman-walk floor, then
runs every tool one-threaded on the same batches, for each class of picture and each box.

  bench/thumbs.py [--build DIR] [--rounds N] [--before REV] [--classes a,b,...]

Fairness:
- Times are CPU time (user + system) of the tool's processes.
- Rounds are interleaved: each round runs every tool once on every batch, class by class
  and box by box, tools in an order that rotates from round to round; each figure is the
  best of its rounds. On a shared, loaded machine this keeps the ratios fair even when the
  absolute times drift.
- Start-up is measured apart (each tool on one tiny file of the class's format, in the same
  rounds) and shown in its own table; per-picture times are (batch - start-up) / pictures.
  djpeg and dwebp take one file per launch, so their start-up is taken off once per file.
- Each class is its own row: baseline and progressive JPEG, PNG 8-bit, 16-bit, palette and
  interlaced, GIF plain and interlaced, WebP lossy and lossless (made by cwebp).
- No file name occurs twice in a batch (repeats are hard links under names of their own), so
  no tool's cache of loaded files (vipsthumbnail has one) stands in for a decode.
- The floor row (JPEG only) is bench/floor.cpp: read each file and walk its Huffman codes,
  one table look-up per coefficient, nothing else; what any DC-only decoder must do at least.
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

# name: (width, height, distinct pictures, batch size, how it is written)
CLASSES = {
    "jpeg4000": (4000, 3000, 4, 24, "jpeg"),
    "jpeg1920": (1920, 1080, 6, 48, "jpeg"),
    "jpeg800": (800, 600, 8, 96, "jpeg"),
    "progressive4000": (4000, 3000, 4, 24, "progressive"),
    "png8": (1920, 1080, 4, 24, "png"),
    "png16": (1920, 1080, 4, 24, "png16"),
    "pngpalette": (1920, 1080, 4, 24, "pngpalette"),
    "pnginterlaced": (1920, 1080, 4, 24, "pnginterlaced"),
    "gif800": (800, 600, 8, 96, "gif"),
    "gif800interlaced": (800, 600, 8, 96, "gifinterlaced"),
    "webp1920": (1920, 1080, 4, 24, "webp"),
    "webp1920lossless": (1920, 1080, 4, 24, "webplossless"),
}
TITLES = {
    "jpeg4000": "JPEG 4000 x 3000", "jpeg1920": "JPEG 1920 x 1080", "jpeg800": "JPEG 800 x 600",
    "progressive4000": "progressive JPEG 4000 x 3000", "png8": "PNG 1920 x 1080 RGB 8-bit",
    "png16": "PNG 1920 x 1080 RGB 16-bit", "pngpalette": "PNG 1920 x 1080 palette",
    "pnginterlaced": "PNG 1920 x 1080 RGB 8-bit Adam7", "gif800": "GIF 800 x 600",
    "gif800interlaced": "GIF 800 x 600 interlaced", "webp1920": "WebP 1920 x 1080 lossy",
    "webp1920lossless": "WebP 1920 x 1080 lossless",
}

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


def photo(w, h, seed):
    """Photo-like: smooth gradients with fine noise, so compressed sizes are realistic."""
    from PIL import Image, ImageFilter
    import random
    rng = random.Random(seed)
    small = Image.effect_noise((max(8, w // 64), max(8, h // 64)), 60 + 10 * seed)
    base = small.resize((w, h), Image.BICUBIC).filter(ImageFilter.GaussianBlur(2))
    tint = [rng.randint(0, 255) for _ in range(3)]
    rgb = Image.merge("RGB", [base.point(lambda v, t=t: (v + t) % 256) for t in tint])
    grain = Image.effect_noise((w, h), 12).convert("RGB")
    return Image.blend(rgb, grain, 0.15)


def write(img, path, kind):
    from PIL import Image
    if kind == "jpeg":
        img.save(path, quality=88)
    elif kind == "progressive":
        img.save(path, quality=88, progressive=True)
    elif kind == "png":
        img.save(path)
    elif kind == "pngpalette":
        img.convert("P", palette=Image.ADAPTIVE).save(path)
    elif kind in ("webp", "webplossless"):   # cwebp, libwebp's own encoder
        img.save(path + ".tmp.png")
        quality = ["-lossless"] if kind == "webplossless" else ["-q", "85"]
        subprocess.run(["cwebp", "-quiet"] + quality + [path + ".tmp.png", "-o", path], check=True)
        os.remove(path + ".tmp.png")
    elif kind in ("png16", "pnginterlaced"):   # Pillow writes neither: gm converts
        img.save(path + ".tmp.png")
        extra = ["-depth", "16"] if kind == "png16" else ["-interlace", "Line"]
        subprocess.run(["gm", "convert", path + ".tmp.png"] + extra + [path], check=True)
        os.remove(path + ".tmp.png")
    else:
        img.convert("P", palette=Image.ADAPTIVE).save(path, interlace=kind == "gifinterlaced")


def generate(folder):
    """Per class: the batch (distinct pictures repeated) and one tiny file for start-up."""
    from PIL import Image
    os.makedirs(folder, exist_ok=True)
    batches, tiny = {}, {}
    for name, (w, h, distinct, batch, kind) in CLASSES.items():
        ext = ("jpg" if kind in ("jpeg", "progressive") else "png" if kind.startswith("png")
               else "webp" if kind.startswith("webp") else "gif")
        files = []
        for i in range(distinct):
            path = os.path.join(folder, "%s_%02d.%s" % (name, i, ext))
            if not os.path.exists(path):
                write(photo(w, h, i), path, kind)
            files.append(path)
        # Every file of a batch under a name of its own (hard links to the distinct pictures):
        # vipsthumbnail caches what it loaded by file name, and a repeated name would let it
        # skip the decode that every other tool does again.
        batch_files = []
        for i in range(batch):
            path = files[i % distinct]
            if i >= distinct:
                link = "%s_copy%d.%s" % (path[:-len(ext) - 1], i // distinct, ext)
                if not os.path.exists(link):
                    os.link(path, link)
                path = link
            batch_files.append(path)
        batches[name] = batch_files
        small = os.path.join(folder, "tiny_%s.%s" % (name, ext))
        if not os.path.exists(small):
            write(Image.new("RGB", (8, 8), (90, 120, 150)), small, kind)
        tiny[name] = [small]
    return batches, tiny


def build_thumb(src, build_dir):
    subprocess.run(["cmake", "-S", src, "-B", build_dir, "-G", "Ninja",
                    "-DCMAKE_BUILD_TYPE=Release"], check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", build_dir, "-j2", "--target", "mirabelo-thumb"],
                   check=True, stdout=subprocess.DEVNULL)
    return os.path.join(build_dir, "bin", "mirabelo-thumb")


def build_before(rev, build_dir):
    """mirabelo-thumb of an older revision, from its files exported (no worktree)."""
    src = os.path.join(build_dir, "src")
    if not os.path.exists(os.path.join(src, "CMakeLists.txt")):
        os.makedirs(src, exist_ok=True)
        archive = subprocess.run(["git", "-C", ROOT, "archive", rev], check=True,
                                 stdout=subprocess.PIPE).stdout
        subprocess.run(["tar", "-x", "-C", src], input=archive, check=True)
    return build_thumb(src, os.path.join(build_dir, "build"))


def run(commands, env):
    """Runs commands one after another: their CPU seconds (user + system, children included).
    CPU time, not wall time: on a shared machine the wall clock counts the time a tool waits
    for a core."""
    cpu = 0.0
    for cmd in commands:
        child = subprocess.Popen(cmd, env=env, stdout=subprocess.DEVNULL,
                                 stderr=subprocess.DEVNULL)
        _, status, usage = os.wait4(child.pid, 0)
        child.returncode = os.waitstatus_to_exitcode(status)
        if child.returncode != 0:
            raise RuntimeError("failed: %s" % " ".join(cmd[:6]))
        cpu += usage.ru_utime + usage.ru_stime
    return cpu


def tools(thumbs, floor, box, out, files, jpeg, baseline, webp=None):
    """(name, commands, launches) for one batch; launches = how many times a tool starts."""
    b = "%dx%d" % (box, box)
    rows = [(name, [[exe, "--box", b, "--mode", "preview", "--quality", "speed", "--out", out]
                    + files], 1) for name, exe in thumbs]
    rows += [
        ("vipsthumbnail", [["vipsthumbnail", "--size", b, "-o", out + "/%s.ppm"] + files], 1),
        ("gm", [["gm", "mogrify", "-limit", "threads", "1", "-create-directories",
                 "-output-directory", out,
                 "-format", "ppm", "-size", b, "-thumbnail", b] + files], 1),
        ("Pillow", [[sys.executable, "-c", PIL_SCRIPT, str(box), out] + files], 1),
    ]
    if jpeg:
        loop = 'o=$1; shift; for f; do djpeg -scale 1/8 -outfile "$o/${f##*/}.ppm" "$f"; done'
        rows.append(("djpeg 1/8", [["sh", "-c", loop, "sh", out] + files], len(files)))
    if webp:   # dwebp scales while decoding, to the box's side and the picture's aspect
        w, h = webp
        sw, sh = (box, max(1, box * h // w)) if w >= h else (max(1, box * w // h), box)
        loop = ('o=$1; shift; for f; do dwebp -quiet -scale %d %d -ppm -o "$o/${f##*/}.ppm" "$f";'
                ' done' % (sw, sh))
        rows.append(("dwebp", [["sh", "-c", loop, "sh", out] + files], len(files)))
    if baseline:
        rows.append(("floor", [[floor] + files], 1))
    return rows


PEERS = ("gm", "Pillow", "vipsthumbnail", "dwebp")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--build", default=os.path.join(ROOT, "build", "bench"))
    ap.add_argument("--rounds", type=int, default=3, help="interleaved rounds; best of them")
    ap.add_argument("--before", help="also time mirabelo-thumb built from this revision")
    ap.add_argument("--classes", help="comma-separated subset of: " + ",".join(CLASSES))
    args = ap.parse_args()
    args.build = os.path.abspath(args.build)   # vipsthumbnail reads -o from the input folder
    classes = args.classes.split(",") if args.classes else list(CLASSES)

    batches, tiny = generate(os.path.join(args.build, "pictures"))
    thumbs = [("mirabelo-thumb", build_thumb(ROOT, args.build))]
    if args.before:
        thumbs.append(("before (%s)" % args.before[:10],
                       build_before(args.before, os.path.join(args.build, "before"))))
    floor = os.path.join(args.build, "bin", "huffman-floor")
    subprocess.run(["g++", "-O3", "-o", floor, os.path.join(HERE, "floor.cpp")], check=True)
    env = dict(os.environ, VIPS_CONCURRENCY="1", OMP_NUM_THREADS="1", OMP_THREAD_LIMIT="1")
    out = os.path.join(args.build, "out")

    best = {}   # (class, box or "start", tool) -> CPU seconds
    for r in range(args.rounds):
        for name in classes:
            kind = CLASSES[name][4]
            jpeg, baseline = kind in ("jpeg", "progressive"), kind == "jpeg"
            webp = CLASSES[name][:2] if kind.startswith("webp") else None
            jobs = [("start", t) for t in tools(thumbs, floor, 32, out, tiny[name], jpeg, baseline,
                                                webp)]
            for box in BOXES:
                jobs += [(box, t) for t in tools(thumbs, floor, box, out, batches[name], jpeg,
                                                 baseline, webp)]
            shift = r % len(jobs)
            for box, (tool, commands, _) in jobs[shift:] + jobs[:shift]:
                shutil.rmtree(out, ignore_errors=True)
                os.makedirs(out)
                secs = run(commands, env)
                key = (name, box, tool)
                best[key] = min(secs, best.get(key, secs))
        print("round %d of %d done" % (r + 1, args.rounds), file=sys.stderr)

    names = [n for n, _ in thumbs] + ["vipsthumbnail", "gm", "Pillow", "djpeg 1/8", "dwebp",
                                      "floor"]
    print("\nStart-up, CPU ms (one tiny file of the class's format; best of %d rounds)" % args.rounds)
    print("| class | " + " | ".join(names) + " |")
    print("|---|" + "---:|" * len(names))
    for name in classes:
        cells = ["%.1f" % (best[(name, "start", t)] * 1e3) if (name, "start", t) in best else ""
                 for t in names]
        print("| %s | %s |" % (TITLES[name], " | ".join(cells)))

    print("\nCPU ms per picture, start-up taken off (best of %d interleaved rounds); speed-up ="
          " fastest peer's time / mirabelo-thumb's" % args.rounds)
    print("| class | box | " + " | ".join(names) + " | speed-up vs fastest peer |"
          + (" before / after |" if args.before else ""))
    print("|---|---:|" + "---:|" * len(names) + "---:|" + ("---:|" if args.before else ""))
    for name in classes:
        count = len(batches[name])
        for box in BOXES:
            per = {}
            for t in names:
                if (name, box, t) not in best:
                    continue
                launches = count if t in ("djpeg 1/8", "dwebp") else 1
                start = best[(name, "start", t)]
                per[t] = max(best[(name, box, t)] - launches * start, 0.0) / count
            peer = min(per[t] for t in PEERS if t in per)
            cells = ["%.2f" % (per[t] * 1e3) if t in per else "" for t in names]
            line = "| %s | %d | %s | %.2fx |" % (TITLES[name], box, " | ".join(cells),
                                                  peer / per["mirabelo-thumb"])
            if args.before:
                line += " %.2fx |" % (per[thumbs[1][0]] / per["mirabelo-thumb"])
            print(line)
        sys.stdout.flush()


if __name__ == "__main__":
    main()

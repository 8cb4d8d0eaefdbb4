#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""vorlo-cli thumbnail on a few hundred broken and hostile riddle files.

The file manager runs the thumbnailer on whatever lies in a folder, so every
file must end in bounded time with status 0 (and a valid PNG no larger than
asked for) or 1 (and no PNG claimed): never a crash, a hang or a sanitizer
report. The files are made from the sample riddles by a seeded generator, so a
failure names a file that the same seed makes again.

usage: thumbnail_robustness.py VORLO_CLI SAMPLES_DIR [--count N] [--seed S] [--keep DIR]
"""

import argparse
import concurrent.futures
import os
import random
import struct
import subprocess
import sys
import tempfile
import time
import zlib

INT32_MIN = -(2**31)
INT32_MAX = 2**31 - 1
EDGES = [INT32_MIN, INT32_MIN + 1, INT32_MIN + 77, -65536, -1, 0, 1, 65535,
         INT32_MAX - 77, INT32_MAX - 1, INT32_MAX]
SIZE = 96           # the thumbnail side asked for
TIMEOUT = 60        # seconds of wall time per file: beyond this it hangs
SLOW = 10           # seconds of CPU time: more than this for one file is a failure too


def pack(count, records, text=b""):
    out = struct.pack("<i", count)
    for r in records:
        out += struct.pack("<iii", *r)
    return out + text


def parse(data):
    count = struct.unpack_from("<i", data)[0] if len(data) >= 4 else 0
    records = []
    for i in range(max(count, 0)):
        off = 4 + 12 * i
        if off + 12 > len(data):
            break
        records.append(struct.unpack_from("<iii", data, off))
    return count, records, data[4 + 12 * len(records):]


def any_int(rng):
    choice = rng.random()
    if choice < 0.4:
        return rng.choice(EDGES) + rng.randint(-3, 3) if rng.random() < 0.5 else rng.choice(EDGES)
    if choice < 0.7:
        return rng.randint(-2000, 2000)
    return rng.randint(INT32_MIN, INT32_MAX)


def clamp32(v):
    return (v + 2**31) % 2**32 - 2**31


def mutate(rng, sample):
    count, records, text = parse(sample)
    kind = rng.randrange(10)
    if kind == 0:  # truncated anywhere
        return "truncated", sample[:rng.randrange(len(sample) + 1)]
    if kind == 1:  # a count far beyond the file
        return "huge count", pack(rng.choice([INT32_MAX, 2**30, 2**24, len(records) + 1,
                                              rng.randint(len(records), INT32_MAX)]),
                                  records, text)
    if kind == 2:  # zero or negative counts: everything after is text
        return "negative count", pack(rng.choice([0, -1, INT32_MIN, rng.randint(INT32_MIN, 0)]),
                                      records, text)
    if kind == 3:  # extreme coordinates and angles
        records = [tuple(clamp32(any_int(rng)) for _ in range(3)) for _ in records]
        return "extreme values", pack(len(records), records, text)
    if kind == 4:  # a match far away with the others near the origin
        far = (clamp32(any_int(rng)), clamp32(any_int(rng)), any_int(rng) % 360)
        return "one far match", pack(len(records) + 1, records + [far], text)
    if kind == 5:  # bit flips
        data = bytearray(sample)
        for _ in range(rng.randint(1, 16)):
            i = rng.randrange(len(data))
            data[i] ^= 1 << rng.randrange(8)
        return "bit flips", bytes(data)
    if kind == 6:  # random bytes of any length
        return "random bytes", bytes(rng.getrandbits(8) for _ in range(rng.randrange(4096)))
    if kind == 7:  # text of random bytes, invalid UTF-8 behind the mark included
        junk = bytes(rng.getrandbits(8) for _ in range(rng.randrange(2048)))
        if rng.random() < 0.5:
            junk = b"\xef\xbb\xbf" + junk
        return "random text", pack(len(records), records, junk)
    if kind == 8:  # many matches spread over the whole 32-bit plane
        n = rng.choice([1000, 5000, 20000])
        records = [(rng.randint(INT32_MIN, INT32_MAX), rng.randint(INT32_MIN, INT32_MAX),
                    rng.randint(INT32_MIN, INT32_MAX)) for _ in range(n)]
        return "many wide matches", pack(n, records)
    # the same match many times: one spot painted over and over
    n = rng.choice([1000, 10000])
    m = records[0] if records else (0, 0, 0)
    return "many equal matches", pack(n, [m] * n)


def fixed_cases():
    """Files that must be in every run, whatever the seed."""
    n = 250000  # more than the thumbnailer draws
    wide = b"".join(struct.pack("<iii", (i * 2654435761) % 2**32 - 2**31, (i * 40503) % 2**32 - 2**31, i)
                    for i in range(n))
    return [
        ("empty file", b""),
        ("three bytes", b"\x01\x00\x00"),
        ("count only", struct.pack("<i", 1)),
        ("max count, nothing else", struct.pack("<i", INT32_MAX)),
        ("corners of the plane", pack(4, [(INT32_MIN, INT32_MIN, 0), (INT32_MAX, INT32_MAX, 180),
                                          (INT32_MIN, INT32_MAX, INT32_MIN), (INT32_MAX, INT32_MIN, INT32_MAX)])),
        ("more matches than drawn", struct.pack("<i", n) + wide),
        ("text over the size limit", struct.pack("<i", 0) + b"x" * (17 << 20)),
    ]


def check_png(path):
    """None when `path` is a complete PNG of at most SIZE x SIZE pixels, else what is wrong."""
    try:
        data = open(path, "rb").read()
    except OSError as e:
        return f"no PNG written ({e})"
    if not data.startswith(b"\x89PNG\r\n\x1a\n"):
        return "no PNG signature"
    pos, chunks, idat, ihdr = 8, [], b"", None
    while pos + 12 <= len(data):
        length, kind = struct.unpack_from(">I4s", data, pos)
        body = data[pos + 8:pos + 8 + length]
        if len(body) != length:
            return "chunk runs past the end"
        crc = struct.unpack_from(">I", data, pos + 8 + length)[0]
        if zlib.crc32(kind + body) != crc:
            return f"bad CRC in {kind!r}"
        chunks.append(kind)
        if kind == b"IHDR":
            ihdr = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    if not chunks or chunks[0] != b"IHDR" or chunks[-1] != b"IEND" or pos != len(data):
        return f"chunks out of order: {chunks}"
    width, height, depth, colour = ihdr[:4]
    if not (0 < width <= SIZE and 0 < height <= SIZE):
        return f"{width} x {height} pixels, asked for at most {SIZE}"
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}.get(colour)
    if channels is None:
        return f"colour type {colour}"
    row = 1 + (width * channels * depth + 7) // 8
    try:
        pixels = zlib.decompress(idat)
    except zlib.error as e:
        return f"image data does not inflate: {e}"
    if len(pixels) != row * height:
        return f"{len(pixels)} bytes of image data, want {row * height}"
    return None


def run_one(cli, work, index, label, data):
    src = os.path.join(work, f"{index:04d}.vrl")
    out = os.path.join(work, f"{index:04d}.png")
    with open(src, "wb") as f:
        f.write(data)
    # CPU time, not wall time, decides "slow": the tests share the machine.
    with open(os.path.join(work, f"{index:04d}.err"), "w+b") as errfile:
        proc = subprocess.Popen([cli, "thumbnail", src, out, str(SIZE)],
                                stdout=subprocess.DEVNULL, stderr=errfile)
        deadline = time.monotonic() + TIMEOUT
        while True:
            pid, status, usage = os.wait4(proc.pid, os.WNOHANG)
            if pid:
                break
            if time.monotonic() > deadline:
                proc.kill()
                proc.wait()
                return f"{src} ({label}): still running after {TIMEOUT} s"
            time.sleep(0.01)
        proc.returncode = os.waitstatus_to_exitcode(status)
        errfile.seek(0)
        err = errfile.read().decode(errors="replace").strip()
    os.remove(errfile.name)
    elapsed = usage.ru_utime + usage.ru_stime
    problem = None
    if proc.returncode == 0:
        problem = check_png(out)
    elif proc.returncode == 1:
        if not err:
            problem = "status 1 without a word on standard error"
    else:
        problem = f"status {proc.returncode}"
    if problem is None and elapsed > SLOW:
        problem = f"took {elapsed:.1f} s of CPU time"
    if problem:
        return f"{src} ({label}): {problem}\n    {err[-600:]}"
    os.remove(src)
    if os.path.exists(out):
        os.remove(out)
    return None


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("cli")
    ap.add_argument("samples")
    ap.add_argument("--count", type=int, default=240)
    ap.add_argument("--seed", type=int, default=20240611)
    ap.add_argument("--jobs", type=int, default=2)
    ap.add_argument("--keep", help="a folder to keep the failing files in")
    args = ap.parse_args()

    samples = [open(os.path.join(args.samples, n), "rb").read()
               for n in sorted(os.listdir(args.samples)) if n.endswith(".vrl")]
    if not samples:
        print("no sample riddles in", args.samples)
        return 1
    rng = random.Random(args.seed)
    cases = fixed_cases()
    while len(cases) < args.count:
        cases.append(mutate(rng, rng.choice(samples)))

    work = args.keep or tempfile.mkdtemp(prefix="vorlo-thumbs-")
    os.makedirs(work, exist_ok=True)
    env_note = os.environ.get("QT_QPA_PLATFORM", "")
    failures = []
    with concurrent.futures.ThreadPoolExecutor(max_workers=args.jobs) as pool:
        futures = [pool.submit(run_one, args.cli, work, i, label, data)
                   for i, (label, data) in enumerate(cases)]
        for fut in futures:
            problem = fut.result()
            if problem:
                failures.append(problem)
    print(f"{len(cases)} files (seed {args.seed}{', QPA ' + env_note if env_note else ''}), "
          f"{len(failures)} failures")
    for f in failures:
        print("FAIL:", f)
    if not failures and not args.keep:
        for name in os.listdir(work):
            os.remove(os.path.join(work, name))
        os.rmdir(work)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

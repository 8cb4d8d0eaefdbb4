#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Saving over an existing riddle when the save cannot finish: a file size
limit (a full disk as the writer sees it), a full tmpfs, a read-only mount, a
folder the user may not write. (A writer killed in the middle of its write is
test_save_killed.) Every time the old file is left as it was, and a save that failed says
so with status 1 and a reason.

The saves are made by `vorlo-cli create`, which writes through the same
QSaveFile path as the window. Faults that need privileges this machine does
not grant (mount namespaces) are skipped with a note; run as root, the
folder without write permission is tried by the user nobody, whom its mode
stops. When every fault was skipped the script exits 77, which ctest counts as
skipped.

usage: save_faults.py VORLO_CLI SAMPLE_RIDDLE
"""

import os
import pwd
import shutil
import signal
import subprocess
import sys
import tempfile

failures = []
skipped = []
ran = []


def fail(name, why):
    failures.append(f"{name}: {why}")


def nobody_ids():
    """The uid and gid of nobody, or None where there is no such user."""
    try:
        entry = pwd.getpwnam("nobody")
    except KeyError:
        return None
    return entry.pw_uid, entry.pw_gid


def read(path):
    with open(path, "rb") as f:
        return f.read()


def matches(n):
    return [f"{i},{-i},{i % 360}" for i in range(n)]


def check_failed_save(name, proc, target, old):
    ran.append(name)
    if proc.returncode != 1:
        fail(name, f"status {proc.returncode}, want 1; stderr: {proc.stderr.strip()!r}")
    if not proc.stderr.strip():
        fail(name, "no reason given")
    if read(target) != old:
        fail(name, "the old file changed")
    left = sorted(n for n in os.listdir(os.path.dirname(target)) if n != os.path.basename(target))
    if left:
        fail(name, f"left behind: {left}")


def can_run(argv):
    try:
        return subprocess.run(argv, capture_output=True, timeout=20).returncode == 0
    except (OSError, subprocess.TimeoutExpired):
        return False


def main():
    cli, sample = os.path.abspath(sys.argv[1]), sys.argv[2]
    old = read(sample)
    work = tempfile.mkdtemp(prefix="vorlo-save-")
    try:
        run_all(cli, old, work)
    finally:
        subprocess.run(["chmod", "-R", "u+rwx", work])
        shutil.rmtree(work, ignore_errors=True)
    for s in skipped:
        print("SKIP:", s)
    for f in failures:
        print("FAIL:", f)
    print(f"{len(failures)} failures, {len(ran)} run, {len(skipped)} skipped")
    if failures:
        return 1
    return 0 if ran else 77


def fresh(work, name, old):
    folder = os.path.join(work, name)
    os.makedirs(folder)
    target = os.path.join(folder, "keep.vrl")
    with open(target, "wb") as f:
        f.write(old)
    return folder, target


def run_all(cli, old, work):
    big = matches(20000)  # 240 KB of matches

    # A file size limit: the writer gets SIGXFSZ or a short write.
    name = "file size limit"
    folder, target = fresh(work, "fsize", old)
    proc = subprocess.run(["prlimit", "--fsize=4096", "--", cli, "create", "-o", target] + big,
                          capture_output=True, text=True)
    # The limit's signal must not end the program: the save fails and says so.
    check_failed_save(name, proc, target, old)

    # Namespaces give a private tmpfs and a read-only bind mount, as root or not.
    unshare = ["unshare", "-m"] if os.geteuid() == 0 else ["unshare", "-rm"]
    if can_run(unshare + ["true"]):
        name = "full tmpfs"
        folder = os.path.join(work, "full")
        os.makedirs(folder)
        sample_copy = os.path.join(work, "old.vrl")
        with open(sample_copy, "wb") as f:
            f.write(old)
        # Inside the namespace: mount, save, then report the status, what is
        # in the folder, and whether the old file is the same.
        inner = ('set -u; mount -t tmpfs -o size=64k tmpfs "$1" || exit 77; cp "$2" "$1/keep.vrl"; '
                 'shift 2; "$@" 2>"$ERR"; echo "status=$?"; ls -A "$DIR"; '
                 'cmp -s "$OLD" "$DIR/keep.vrl" && echo same || echo changed')
        env = dict(os.environ, ERR=os.path.join(work, "full.err"), DIR=folder, OLD=sample_copy)
        proc = subprocess.run(unshare + ["sh", "-c", inner, "sh", folder, sample_copy,
                                         cli, "create", "-o", os.path.join(folder, "keep.vrl")] + big,
                              capture_output=True, text=True, env=env)
        if proc.returncode == 77:
            skipped.append(f"{name}: cannot mount a tmpfs here")
        else:
            ran.append(name)
            lines = proc.stdout.split()
            err = read(env["ERR"]).decode(errors="replace").strip()
            if "status=1" not in lines:
                fail(name, f"want status 1: {proc.stdout!r} {proc.stderr!r}")
            if not err:
                fail(name, "no reason given")
            if "same" not in lines:
                fail(name, "the old file changed")
            if [l for l in lines if l not in ("status=1", "keep.vrl", "same", "changed")]:
                fail(name, f"left behind: {lines}")

        name = "read-only mount"
        folder, target = fresh(work, "ro", old)
        inner = ('mount --bind "$1" "$1" && mount -o remount,ro,bind "$1" || exit 77; shift; '
                 'exec "$@"')
        proc = subprocess.run(unshare + ["sh", "-c", inner, "sh", folder, cli, "create", "-o", target]
                              + big, capture_output=True, text=True)
        if proc.returncode == 77:
            skipped.append(f"{name}: cannot remount read-only here")
        else:
            check_failed_save(name, proc, target, old)
    else:
        skipped.append("full tmpfs, read-only mount: no mount namespace here")

    # A folder without write permission, seen by a user whom the mode stops:
    # this user when not root; root ignores modes, so there the user nobody.
    name = "folder without write permission"
    folder, target = fresh(work, "locked", old)
    os.chmod(folder, 0o555)
    os.chmod(work, 0o755)
    os.chmod(target, 0o644)
    runner = []
    ids = nobody_ids() if os.geteuid() == 0 else None
    if os.geteuid() == 0 and ids is None:
        skipped.append(f"{name}: root, and no user nobody to run as")
    elif os.geteuid() == 0 and not shutil.which("setpriv"):
        skipped.append(f"{name}: root, and no setpriv to run as nobody")
    else:
        if ids:
            runner = ["setpriv", f"--reuid={ids[0]}", f"--regid={ids[1]}", "--clear-groups", "--"]
        # The user must reach the program through its folders and see the file.
        if runner and not can_run(runner + ["test", "-x", cli, "-a", "-r", target]):
            skipped.append(f"{name}: nobody cannot run {cli} or read {target}")
        else:
            if runner:
                print(f"{name}: as the user nobody")
            proc = subprocess.run(runner + [cli, "create", "-o", target] + big,
                                  capture_output=True, text=True)
            check_failed_save(name, proc, target, old)
    os.chmod(folder, 0o755)



if __name__ == "__main__":
    sys.exit(main())

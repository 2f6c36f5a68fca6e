#!/usr/bin/env python3
"""Kills a library-changing dadaz command with SIGKILL at many moments, runs it again to
completion and checks that nothing was lost, doubled, split, left half made or touched
outside the library.

usage: kill_test.py DADAZ COMMAND POINTS|steps:N [SONGS]

Half of the POINTS are times spread over one measured uninterrupted run, the other half are
steps of the run: a preloaded library kills the process right before its k-th call that
changes the disk (k spread over the run's count), so kills land between the write and the
rename of a copy, between the files of one song, before and after a journal. "steps:N" kills
only before steps, N of them evenly spread (every step when the run has no more). Every
other landed kill also kills the completing run once before it runs to its end.
"""
import hashlib
import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
LISTS = ("SongList.txt", "List.vk2", "Tarn.vk2")
KINDS = {"SONG": "MID", "LYRICS": "LYR", "CURSOR": "CUR"}
# Names a run keeps only while it works: hidden copies in progress and staged lists, journals.
TEMPORARY_ENDS = (".journal",)


def run_quiet(args, env=None, timeout=120):
    return subprocess.run(args, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=env,
                          timeout=timeout).returncode


class Tree:
    """Path -> content hash of every file below a folder; hard links share a cached hash."""

    cache = {}

    def __init__(self, root, cached=True):
        self.files, self.times = {}, {}
        for folder, _, names in os.walk(root):
            for name in names:
                path = os.path.join(folder, name)
                st = os.lstat(path)
                # Only files still linked to the pristine copy: a file a run made may reuse a
                # freed inode with the same time (copies keep their source's) and size.
                key = (st.st_ino, st.st_mtime_ns, st.st_size)
                cached_here = cached and st.st_nlink > 1
                digest = Tree.cache.get(key) if cached_here else None
                if digest is None:
                    with open(path, "rb") as f:
                        digest = hashlib.md5(f.read()).hexdigest()
                    if cached_here:
                        Tree.cache[key] = digest
                rel = os.path.relpath(path, root)
                self.files[rel] = digest
                self.times[rel] = st.st_mtime_ns
            rel = os.path.relpath(folder, root)
            self.times[rel + "/"] = os.lstat(folder).st_mtime_ns

    def without(self, *prefixes):
        return {p: h for p, h in self.files.items() if not p.startswith(prefixes)}


def split_songs(files):
    """Codes whose song files stand incomplete: one or two of the three kinds present."""
    kinds = {}
    for path in files:
        parts = path.split("/")
        if len(parts) != 4 or parts[0] != "prog" or parts[1] not in KINDS:
            continue
        stem, _, ext = parts[3].rpartition(".")
        if ext.upper() == KINDS[parts[1]]:
            kinds.setdefault((parts[2], stem.upper()), set()).add(parts[1])
    return {song for song, present in kinds.items() if len(present) < 3}


def triples(files, prefix):
    """(MID, LYR, CUR) hashes of the complete songs below prefix: code -> hashes."""
    by_stem = {}
    for path, digest in files.items():
        if not path.startswith(prefix):
            continue
        name = path.rsplit("/", 1)[-1]
        stem, _, ext = name.rpartition(".")
        by_stem.setdefault(stem.upper(), {})[ext.upper()] = digest
    return {s: (k["MID"], k["LYR"], k["CUR"]) for s, k in by_stem.items()
            if set(k) == {"MID", "LYR", "CUR"}}


class Command:
    """One library-changing command: its arguments and what a finished run must leave."""

    def __init__(self, name, dadaz, work, songs):
        self.name, self.dadaz, self.work = name, dadaz, work
        self.deterministic = name != "add"
        self.pristine = os.path.join(work, "pristine")
        prog = os.path.join(self.pristine, "prog")
        make = [dadaz, "make-library", prog, "--songs", str(songs), "--seed", "7"]
        if name == "add":
            make += ["--new-songs", str(max(songs // 4, 3)), "--sequential"]
        subprocess.run(make, check=True, stdout=subprocess.DEVNULL)
        os.makedirs(os.path.join(prog, "Invalid Files"), exist_ok=True)
        self.stray(os.path.join(prog, "Invalid Files", "90001.MID"), b"left here before\r\n")
        self.stray(os.path.join(self.pristine, "out", "10003.MID"), b"an older export\r\n")
        sentinel = os.path.join(self.pristine, "sentinel")
        for rel, data in (("a.txt", b"beside\r\n"), ("deep/SongList.txt", b"x\r\n"),
                          ("deep/.dadaz-0123456789abcdef.tmp", b"not ours\r\n")):
            self.stray(os.path.join(sentinel, rel), data)
        for folder, dirs, names in os.walk(sentinel, topdown=False):
            for entry in names + dirs + [""]:
                os.utime(os.path.join(folder, entry), ns=(10**18, 10**18))
        if name.startswith("duplicates"):
            run_quiet([dadaz, "songlist", "--program-folder", prog])  # the list it searches
        else:
            for list_name in LISTS:  # an older version the run replaces
                self.stray(os.path.join(prog, list_name), b"old " + list_name.encode())
        top = os.path.join(prog, "LYRICS")
        lyrics = sorted(os.path.join(c, n) for c in os.listdir(top)
                        if os.path.isdir(os.path.join(top, c))
                        for n in os.listdir(os.path.join(top, c)))
        self.codes = [n.rsplit("/", 1)[-1][:-4] for n in lyrics[::5]]

    @staticmethod
    def stray(path, data):
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)

    def args(self, root):
        prog = os.path.join(root, "prog")
        base = [self.dadaz, self.name.split("-")[0], "--program-folder", prog]
        return base + {
            "songlist": ["--check"],
            "add": ["--yes"],
            "renumber": ["--yes"],
            "delete": ["--yes"] + self.codes,
            "move": ["--yes"] + self.codes,
            # As after a restart: the song list is built anew before the search.
            "duplicates-delete": ["--by", "all", "--delete", "--yes", "--rebuild"],
            "duplicates-move": ["--by", "all", "--move", "--yes", "--rebuild"],
            "export": ["--to", os.path.join(root, "out"), "--all"] + self.codes,
        }[self.name]

    def lists_follow_library(self):
        """The run builds the song list of the library as it finds it, so a completing run
        lists what the killed one left."""
        return self.name.startswith("duplicates")

    def compared(self, tree):
        """The files a finished run must leave as one uninterrupted run does."""
        lists = tuple("prog/" + name for name in LISTS) if self.lists_follow_library() else ()
        return tree.without("prog/Log/", "prog/NewSong.txt", *lists)


class KillTest:
    def __init__(self, command, shim, points):
        self.c, self.shim, self.points = command, shim, points
        self.failures, self.landed, self.split_after_kill = [], 0, 0
        self.before = Tree(command.pristine, cached=False)
        self.sentinel_before = self.sentinel(self.before)
        self.reference_root = self.fresh("reference")
        start = time.monotonic()
        run_quiet(command.args(self.reference_root))
        self.took = time.monotonic() - start
        self.reference = Tree(self.reference_root)
        counted = self.fresh("counted")
        count_file = os.path.join(command.work, "count")
        run_quiet(command.args(counted), self.shim_env(DADAZ_KILL_COUNT=count_file))
        with open(count_file) as f:
            self.steps = int(f.read())
        self.check_finished("an uninterrupted run", self.reference)

    def fresh(self, name):
        root = os.path.join(self.c.work, name)
        shutil.rmtree(root, ignore_errors=True)
        subprocess.run(["cp", "-al", self.c.pristine, root], check=True)
        return root

    def shim_env(self, **extra):
        env = dict(os.environ, LD_PRELOAD=self.shim)
        # A sanitized build wants its runtime first; the shim only passes calls on to it.
        asan = env.get("ASAN_OPTIONS", "")
        env["ASAN_OPTIONS"] = (asan + ":" if asan else "") + "verify_asan_link_order=0"
        env.update(extra)
        return env

    @staticmethod
    def sentinel(tree):
        return ({p: h for p, h in tree.files.items() if p.startswith("sentinel/")},
                {p: t for p, t in tree.times.items() if p.startswith("sentinel")})

    def kill_at_step(self, root, step):
        """True when the run was killed before its end."""
        env = self.shim_env(DADAZ_KILL_AT=str(step))
        return run_quiet(self.c.args(root), env) == -signal.SIGKILL

    def kill_after(self, root, seconds):
        process = subprocess.Popen(self.c.args(root), stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        time.sleep(seconds)
        running = process.poll() is None
        process.kill()
        process.wait()
        return running

    def fail(self, moment, text):
        self.failures.append(f"{self.c.name} {moment}: {text}")

    def check_killed(self, moment, tree, completing=False):
        for list_name in LISTS if not (completing and self.c.lists_follow_library()) else ():
            path = "prog/" + list_name
            now = tree.files.get(path)
            if now not in (self.before.files.get(path), self.reference.files.get(path)):
                self.fail(moment, f"{list_name} is neither the old nor the new version")
        if self.sentinel(tree) != self.sentinel_before:
            self.fail(moment, "the folder beside the library changed")
        if split_songs(tree.files) - split_songs(self.before.files):
            self.split_after_kill += 1

    def check_finished(self, moment, tree, runs=1):
        new = set(tree.files) - set(self.before.files)
        left = sorted(p for p in new if p.rsplit("/", 1)[-1].startswith(".")
                      or p.lower().endswith(TEMPORARY_ENDS))
        # A log killed while written goes with the next log written there, which a run
        # that finds nothing left to remove does not write.
        left = [p for p in left if not p.startswith("prog/Log/")]
        if left:
            self.fail(moment, "temporary files left: " + ", ".join(left[:3]))
        if self.sentinel(tree) != self.sentinel_before:
            self.fail(moment, "the folder beside the library changed")
        split = split_songs(tree.files) - split_songs(self.before.files)
        if split:
            self.fail(moment, "songs split: " + ", ".join("/".join(s) for s in sorted(split)[:3]))
        if self.c.deterministic:
            if tree is not self.reference:
                now, ref = self.c.compared(tree), self.c.compared(self.reference)
                diff = sorted(p for p in set(now.items()) ^ set(ref.items()) if p[0] not in left)
                if diff:
                    self.fail(moment, "differs from an uninterrupted run: "
                              + ", ".join(p for p, _ in diff[:4]))
        else:
            self.check_added(moment, tree, runs)

    def check_added(self, moment, tree, runs):
        """The library as before, and each song of the source added whole, once per run at most."""
        kept = {p: h for p, h in self.before.files.items() if p.startswith("prog/")
                and not p.startswith(("prog/Log/", "prog/NewSong.txt"))}
        changed = [p for p, h in kept.items() if tree.files.get(p) != h]
        if changed:
            self.fail(moment, "files changed or lost: " + ", ".join(sorted(changed)[:3]))
        new = {p: h for p, h in tree.files.items() if p not in self.before.files
               and p.startswith(("prog/SONG/", "prog/LYRICS/", "prog/CURSOR/"))}
        added = {}
        for path, digest in new.items():
            _, kind, folder, name = path.split("/")
            stem, _, ext = name.rpartition(".")
            added.setdefault((folder, stem.upper()), {})[ext.upper()] = digest
        source = set(triples(self.before.files, "prog/New Song/").values())
        counts = {}
        for song, kinds in added.items():
            songs = (kinds.get("MID"), kinds.get("LYR"), kinds.get("CUR"))
            if songs not in source:
                self.fail(moment, f"{song[1]} is not a whole song of the source")
            counts[songs] = counts.get(songs, 0) + 1
        missing = [s for s in source if counts.get(s, 0) == 0]
        doubled = [s for s, n in counts.items() if n > runs]
        if missing or doubled:
            self.fail(moment, f"{len(missing)} songs not added, {len(doubled)} added more often "
                      f"than the {runs} runs")

    def round(self, index, rng):
        root = self.fresh("round")
        steps = isinstance(self.points, str)
        half = 1 if steps else max(self.points // 2, 1)
        if steps:
            step = 1 + index * self.steps // self.rounds()
            moment = f"killed before step {step} of {self.steps}"
            landed = self.kill_at_step(root, step)
        elif index % 2 == 0:
            seconds = self.took * (index // 2 + rng.random()) / half
            moment = f"killed after {seconds * 1000:.1f} ms"
            landed = self.kill_after(root, seconds)
        else:
            step = 1 + int((index // 2 + rng.random()) * self.steps / half)
            moment = f"killed before step {step} of {self.steps}"
            landed = self.kill_at_step(root, step)
        self.landed += landed
        self.check_killed(moment, Tree(root))
        runs = 2
        if landed and (index % 2 if steps else index % 4 >= 2):
            again = 1 + rng.randrange(self.steps)
            moment += f", its completion before step {again}"
            self.kill_at_step(root, again)
            self.check_killed(moment, Tree(root), completing=True)
            runs = 3
        run_quiet(self.c.args(root))
        self.check_finished(moment, Tree(root), runs)

    def rounds(self):
        if isinstance(self.points, str):
            return min(self.steps, int(self.points.split(":")[1]))
        return self.points

    def run(self):
        rng = random.Random(16)
        start = time.monotonic()
        for index in range(self.rounds()):
            self.round(index, rng)
        if Tree(self.c.pristine, cached=False).files != self.before.files:
            self.fail("at the end", "files of the copied library were written in place")
        return time.monotonic() - start


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    dadaz, name, points = os.path.abspath(sys.argv[1]), sys.argv[2], sys.argv[3]
    points = points if points.startswith("steps:") else int(points)
    songs = int(sys.argv[4]) if len(sys.argv) > 4 else 1000
    with tempfile.TemporaryDirectory(prefix="dadaz-kill-") as work:
        shim = os.path.join(work, "kill_shim.so")
        subprocess.run(["cc", "-shared", "-fPIC", "-O2", "-o", shim,
                        os.path.join(HERE, "kill_shim.c"), "-ldl"], check=True)
        test = KillTest(Command(name, dadaz, work, songs), shim, points)
        took = test.run()
        for failure in test.failures[:20]:
            print(failure)
        print(f"{name}: {test.rounds()} kill points, {test.landed} before the end, "
              f"{len(test.failures)} failures, {took:.1f} s (one run {test.took * 1000:.0f} ms, "
              f"{test.steps} steps; {test.split_after_kill} kills left a song split until the "
              f"next run)")
    sys.exit(1 if test.failures else 0)


if __name__ == "__main__":
    main()

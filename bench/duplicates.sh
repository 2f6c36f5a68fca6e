#!/usr/bin/env bash
# The duplicate search over the SongList.txt of a 100,000-song library under each criterion:
# dadaz duplicates against a Python script doing the same neighbour comparison (the same keys,
# the related-artists word test, one size look-up per MIDI file), in the same run.
set -euo pipefail
export LC_ALL=C
cd "$(dirname "$0")/.."
. bench/timing.sh
dadaz=${DADAZ:-build/src/dadaz}
runs=${RUNS:-5}
songs=${SONGS:-100000}
lib=bench/cache/songlist-$songs  # shared with the song list benchmark


if [ ! -f "$lib/.complete" ]; then
    echo "generating $songs songs in $lib ..."
    rm -rf "$lib"
    mkdir -p "$lib"
    "$dadaz" make-library "$lib" --songs "$songs" --layout separate --seed 7 >/dev/null
    touch "$lib/.complete"
fi
[ -f "$lib/SongList.txt" ] || "$dadaz" songlist --program-folder "$lib" --own-list >/dev/null

baseline=$(mktemp)
trap 'rm -f "$baseline"' EXIT
cat >"$baseline" <<'PY'
import os, sys
folder, by = sys.argv[1], sys.argv[2]
ENDS = "(;[{@<"
def field(line, nth):
    start = 0
    for _ in range(nth):
        i = line.find(b";", start)
        if i < 0: return b""
        start = i + 1
    rest = line[start:]
    cut = min([p for p in (rest.find(c.encode()) for c in ENDS) if p >= 0] or [len(rest)])
    return rest[:cut].strip(b" ")
def title(l): return field(l, 1).replace(b" ", b"").lower()
def whole(l):
    i = l.find(b";")
    return (l if i < 0 else l[i + 1:]).replace(b" ", b"").lower()
def words_in(a, b):
    start = 0
    for i, c in enumerate(a):
        if c == 32:
            w = a[start:i].strip(b" ")
            start = i + 1
            if w and w[0] >= 65 and w in b: return True
    return False
def related(a, b): return a.lower() == b.lower() or words_in(a, b) or words_in(b, a)
sizes = {}
def size(line):
    code = line.split(b";")[0].strip(b" ").decode("latin-1")
    if code not in sizes:
        try: sizes[code] = os.path.getsize(os.path.join(folder, "SONG", code[0], code + ".MID"))
        except OSError: sizes[code] = None
        if len(sizes) > 2: sizes.pop(next(iter(sizes)))
    return sizes[code]
out = []
def pair(p, c, mark):
    if not out or out[-1][0] != p: out.append((p, False))
    out.append((c, mark))
lines = open(os.path.join(folder, "SongList.txt"), "rb").read().split(b"\r\n")[2:-1]
for p, c in zip(lines, lines[1:]):
    if by == "all":
        if whole(p) == whole(c): pair(p, c, True)
    elif title(p) != title(c):
        if not out or not out[-1][0].startswith(b"-----"): out.append((b"-" * 120, False))
    elif by == "title": pair(p, c, False)
    elif by == "midi":
        a, b = size(p), size(c)
        if a is not None and b is not None and abs(a - b) < 50: pair(p, c, False)
    elif related(field(p, 2), field(c, 2)): pair(p, c, True)
    if len(out) >= 32767: break
w = sys.stdout.buffer
for text, mark in out: w.write((b"* " if mark else b"  ") + text + b"\n")
print(len(out))
PY

round() {
    local start end
    start=$(now_ns)
    "$@" >/dev/null
    end=$(now_ns)
    elapsed "$start" "$end"
}
echo "duplicate search over $(($(wc -l <"$lib/SongList.txt") - 2)) song lines, median of $runs runs"
for by in title artist midi all; do
    ours=$(for _ in $(seq "$runs"); do round "$dadaz" duplicates --program-folder "$lib" --by "$by"; done | median)
    base=$(for _ in $(seq "$runs"); do round python3 "$baseline" "$lib" "$by"; done | median)
    lines=$("$dadaz" duplicates --program-folder "$lib" --by "$by" | tail -1)
    awk -v by="$by" -v o="$ours" -v b="$base" -v l="$lines" \
        'BEGIN { printf "%-7s dadaz %.3f s  python %.3f s  ratio %.2f  (%s)\n", by, o, b, o / b, l }'
done

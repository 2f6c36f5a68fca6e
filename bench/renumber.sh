#!/usr/bin/env bash
# bench/renumber.sh [SONGS] [ROUNDS]: `dadaz renumber` on a generated library (default 100,000
# songs, 300,000 files) against a Python script doing the same renames and moves with
# os.rename, in the same order (taken from `dadaz renumber --dry-run`). Each round starts from
# a hard-linked copy (cp -al) of the same library with a warm cache. The run's time includes
# its listing, plan, journal and flushes. Prints medians and the ratio (goal: at most 1.2).
set -euo pipefail
cd "$(dirname "$0")/.."
songs=${1:-100000} rounds=${2:-3}
export LC_ALL=C
cmake --build build --target dadaz >/dev/null
dadaz=$PWD/build/src/dadaz
work=${BENCH_DIR:-build/bench-renumber}
pristine="$work/library-$songs"
if [ ! -d "$pristine" ]; then
    "$dadaz" make-library "$pristine" --songs "$songs" >/dev/null
    mkdir "$pristine/Invalid Files"
fi
pristine=$(cd "$pristine" && pwd)
copy="$work/copy"

fresh_copy() {
    rm -rf "$copy"
    cp -al "$pristine" "$copy"
    find "$copy" >/dev/null  # warm cache: every folder read once
    sync                     # the copy's own changes are not the run's to flush
}

fresh_copy
"$dadaz" renumber --program-folder "$copy" --yes --dry-run 2>/dev/null |
    sed "s|$copy|COPY|g" >"$work/renames.txt"
echo "$(wc -l <"$work/renames.txt") renames and moves for $songs songs"

cat >"$work/baseline.py" <<'PY'
import os, sys, time
copy = sys.argv[1]
pairs = [line.rstrip("\n").replace("COPY", copy).split("\t") for line in open(sys.argv[2])]
start = time.perf_counter()
for old, new in pairs:
    os.rename(old, new)
print(f"{time.perf_counter() - start:.4f}")
PY

ours=() theirs=()
for ((round = 0; round < rounds; round++)); do
    fresh_copy
    start=$(date +%s%N)
    "$dadaz" renumber --program-folder "$copy" --yes >/dev/null 2>&1
    ours+=("$(awk -v ns=$(($(date +%s%N) - start)) 'BEGIN { printf "%.4f", ns / 1e9 }')")
    [ -f "$copy/Renumber.journal" ] && { echo "the run left its journal" >&2; exit 1; }
    fresh_copy
    theirs+=("$(python3 "$work/baseline.py" "$copy" "$work/renames.txt")")
done
rm -rf "$copy"
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
m_ours=$(median "${ours[@]}") m_theirs=$(median "${theirs[@]}")
echo "dadaz renumber: ${ours[*]} s (median $m_ours s, whole command)"
echo "python os.rename: ${theirs[*]} s (median $m_theirs s, renames only)"
awk -v a="$m_ours" -v b="$m_theirs" 'BEGIN { printf "ratio %.2f (goal <= 1.2)\n", a / b }'

#!/usr/bin/env bash
# Deleting and moving 1,000 songs spread over a 100,000-song library with dadaz against rm and
# mv of the same files, in the same run, on a warm cache. Each round works on a hard-linked copy
# (cp -al) of a library generated once and kept under bench/cache/.
set -euo pipefail
export LC_ALL=C
cd "$(dirname "$0")/.."
. bench/timing.sh
dadaz=${DADAZ:-build/src/dadaz}
runs=${RUNS:-5}
songs=100000
picked=1000
lib=bench/cache/songlist-$songs  # the song list benchmark's library, when it is there
work=bench/cache/operations-work


if [ ! -f "$lib/.complete" ]; then
    echo "generating $songs songs in $lib ..."
    rm -rf "$lib"
    mkdir -p "$lib"
    "$dadaz" make-library "$lib" --songs "$songs" --layout separate --seed 7 >/dev/null
    touch "$lib/.complete"
fi

# Every songs/picked-th song whose three files are all there, and exactly those files.
codes_file=$(mktemp)
files_file=$(mktemp)
trap 'rm -f "$codes_file" "$files_file"; rm -rf "$work"' EXIT
step=$(( songs / picked ))
(cd "$lib" && find LYRICS -mindepth 2 -type f -name '*.LYR' | sort) |
    awk -v step="$step" 'NR % step == 1' | while read -r lyric; do
        name=${lyric##*/}
        code=${name%.LYR}
        first=${code:0:1}
        set -- "$lib"/SONG/"$first"/"$code".* "$lib"/LYRICS/"$first"/"$code".* "$lib"/CURSOR/"$first"/"$code".*
        [ $# -eq 3 ] && [ -e "$1" ] && [ -e "$3" ] || continue
        echo "$code" >>"$codes_file"
        for file in "$@"; do echo "${file#"$lib"/}" >>"$files_file"; done
    done
count=$(wc -l <"$codes_file")
files=$(wc -l <"$files_file")

# Runs one timed command on a fresh copy of the library; prints its wall time.
round() {
    rm -rf "$work"
    cp -al "$lib" "$work"
    mkdir -p "$work/Invalid Files"
    local start end
    start=$(now_ns)
    "$@" >/dev/null
    end=$(now_ns)
    [ ! -e "$work/$(head -1 "$files_file")" ] || { echo "the files are still there" >&2; exit 1; }
    elapsed "$start" "$end"
}
ours_delete() { xargs -a "$codes_file" "$dadaz" delete --program-folder "$work" --yes; }
ours_move() { xargs -a "$codes_file" "$dadaz" move --program-folder "$work" --yes; }
base_delete() { (cd "$work" && xargs -a "$files_file" -d '\n' rm -f); }
base_move() { (cd "$work" && xargs -a "$files_file" -d '\n' mv -n -t "Invalid Files"); }

[ "$count" -le 4096 ] || { echo "too many codes for one command line" >&2; exit 1; }
echo "$count songs ($files files) of $songs, median of $runs alternating runs:"
for op in delete move; do
    ours=() base=()
    for ((i = 0; i < runs; i++)); do
        ours+=("$(round "ours_$op")")
        base+=("$(round "base_$op")")
    done
    m_ours=$(printf '%s\n' "${ours[@]}" | median)
    m_base=$(printf '%s\n' "${base[@]}" | median)
    tool=$([ "$op" = delete ] && echo rm || echo mv)
    printf '  %-6s dadaz %6.3f s   %s %6.3f s   ratio %.2f\n' "$op" "$m_ours" "$tool" "$m_base" \
        "$(awk -v a="$m_ours" -v b="$m_base" 'BEGIN { print a / b }')"
    echo "         dadaz runs: ${ours[*]}"
    echo "         $tool runs: ${base[*]}"
done
echo "goal: well under a second for dadaz"

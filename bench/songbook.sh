#!/usr/bin/env bash
# The song book of a 100,000-song list: wall time, pages per second and peak memory. The
# library and its SongList.txt are made once and kept under bench/cache/.
set -euo pipefail
export LC_ALL=C
cd "$(dirname "$0")/.."
dadaz=${DADAZ:-build/src/dadaz}
songs=${SONGS:-100000}
lib=bench/cache/songbook-$songs
if [ ! -f "$lib/.complete" ]; then
    echo "generating $songs songs in $lib ..."
    rm -rf "$lib"
    mkdir -p "$lib"
    "$dadaz" make-library "$lib" --songs "$songs" --layout separate --seed 7 >/dev/null
    "$dadaz" songlist --program-folder "$lib" >/dev/null 2>&1 || true
    [ -f "$lib/SongList.txt" ] || { echo "no SongList.txt made" >&2; exit 1; }
    touch "$lib/.complete"
fi
for columns in 1 2; do
    out=$(mktemp --suffix=.pdf)
    start=$(date +%s%N)
    /usr/bin/time -f %M -o "$out.peak" "$dadaz" songbook --program-folder "$lib" \
        --columns "$columns" "$out" >"$out.log"
    end=$(date +%s%N)
    pages=$(sed -n 's/.* \([0-9,]*\) หน้า$/\1/p' "$out.log" | tr -d ,)
    awk -v s="$start" -v e="$end" -v p="$pages" -v k="$(cat "$out.peak")" -v c="$columns" \
        -v b="$(stat -c %s "$out")" 'BEGIN {
            t = (e - s) / 1e9
            printf "songbook %d columns: %d pages in %.2f s, %.0f pages/s, peak %.0f MiB, %.1f MiB PDF\n",
                   c, p, t, p / t, k / 1024, b / 1048576 }'
    rm -f "$out" "$out.peak" "$out.log"
done

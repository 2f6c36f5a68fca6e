#!/usr/bin/env bash
# Adding 10,000 new songs to a 100,000-song library (dadaz add --yes, automatic target)
# against cp of the same 30,000 files, on a warm cache. Every round works on a fresh hard-link
# copy of the library (cp -al, not timed), so each starts the same. The library is generated
# once and kept under bench/cache/.
set -euo pipefail
export LC_ALL=C
cd "$(dirname "$0")/.."
. bench/timing.sh
dadaz=${DADAZ:-build/src/dadaz}
runs=${RUNS:-3}
songs=${SONGS:-100000}
new_songs=${NEW_SONGS:-10000}


# Runs a command, prints its wall time in seconds. A failing command stops the benchmark.
timed() {
    local start end
    start=$(now_ns)
    "$@" >/dev/null
    end=$(now_ns)
    awk -v s="$start" -v e="$end" 'BEGIN { printf "%.3f\n", (e - s) / 1e9 }'
}


lib=bench/cache/add-$songs-$new_songs
work=bench/cache/add-work
if [ ! -f "$lib/.complete" ]; then
    echo "generating $songs songs and $new_songs new ones in $lib ..."
    rm -rf "$lib"
    mkdir -p "$lib"
    "$dadaz" make-library "$lib" --songs "$songs" --new-songs "$new_songs" --sequential \
        --seed 7 >/dev/null
    mkdir -p "$lib/Invalid Files"
    touch "$lib/.complete"
fi

fresh_copy() {
    rm -rf "$work"
    cp -al "$lib" "$work"
    sync
}

add_run=("$dadaz" add --program-folder "$work" --yes)
copy_run=(cp -r "$work/New Song" "$work/Copied")

# Warm the cache once before measuring.
fresh_copy
"${add_run[@]}" >/dev/null
fresh_copy
"${copy_run[@]}"

ours=() base=()
for ((i = 0; i < runs; i++)); do
    fresh_copy
    ours+=("$(timed "${add_run[@]}")")
    fresh_copy
    base+=("$(timed "${copy_run[@]}")")
done
rm -rf "$work"

m_ours=$(printf '%s\n' "${ours[@]}" | median)
m_base=$(printf '%s\n' "${base[@]}" | median)
echo "add $new_songs songs to $songs, median of $runs alternating runs:"
printf '  add %6.3f s   cp %6.3f s   ratio %.2f\n' "$m_ours" "$m_base" \
    "$(awk -v a="$m_ours" -v b="$m_base" 'BEGIN { print a / b }')"
echo "  add runs: ${ours[*]}"
echo "  cp runs:  ${base[*]}"
echo "goal: ratio at most 1.3"

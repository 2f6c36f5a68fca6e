#!/usr/bin/env bash
# The song list run in its plain form (SongList.txt, List.vk2, Tarn.vk2) against reading
# every lyric file once with find and cat, on a warm cache, at 100,000 and 10,000 songs.
# Libraries are generated once and kept under bench/cache/.
set -euo pipefail
# Baselines from other machines compare only under one locale.
export LC_ALL=C
cd "$(dirname "$0")/.."
. bench/timing.sh
dadaz=${DADAZ:-build/src/dadaz}
runs=${RUNS:-5}


# Runs a command, prints its wall time in seconds; the peak memory (KiB) goes to $peak_file.
# A failing command stops the benchmark: its time would mean nothing.
timed() {
    local start end
    start=$(now_ns)
    if [ -x /usr/bin/time ]; then
        /usr/bin/time -f %M -o "$peak_file" "$@" >/dev/null
    else
        "$@" >/dev/null
        echo 0 >"$peak_file"
    fi
    end=$(now_ns)
    awk -v s="$start" -v e="$end" 'BEGIN { printf "%.3f\n", (e - s) / 1e9 }'
}


baseline=(bash -c 'cd "$1" && find LYRICS -type f -print0 | xargs -0 cat >/dev/null' baseline)

bench_size() {
    local songs=$1
    local lib=bench/cache/songlist-$songs
    if [ ! -f "$lib/.complete" ]; then
        echo "generating $songs songs in $lib ..."
        rm -rf "$lib"
        mkdir -p "$lib"
        "$dadaz" make-library "$lib" --songs "$songs" --layout separate --seed 7 >/dev/null
        touch "$lib/.complete"
    fi
    peak_file=$(mktemp)
    # Warm the cache (and create the move-to folder the run asks for) before measuring.
    "$dadaz" songlist --program-folder "$lib" >/dev/null
    "${baseline[@]}" "$lib"
    local ours=() base=() peaks=()
    for ((i = 0; i < runs; i++)); do
        ours+=("$(timed "$dadaz" songlist --program-folder "$lib")")
        peaks+=("$(cat "$peak_file")")
        base+=("$(timed "${baseline[@]}" "$lib")")
    done
    rm -f "$peak_file"
    local m_ours m_base peak
    m_ours=$(printf '%s\n' "${ours[@]}" | median)
    m_base=$(printf '%s\n' "${base[@]}" | median)
    peak=$(printf '%s\n' "${peaks[@]}" | sort -g | tail -1)
    printf '%7d songs: songlist %6.3f s   find|cat %6.3f s   ratio %.2f   peak memory %s MiB\n' \
        "$songs" "$m_ours" "$m_base" "$(awk -v a="$m_ours" -v b="$m_base" 'BEGIN { print a / b }')" \
        "$(awk -v k="$peak" 'BEGIN { printf "%.1f", k / 1024 }')"
    echo "         songlist runs: ${ours[*]}"
    echo "         find|cat runs: ${base[*]}"
}

echo "songlist (plain form) against find LYRICS | xargs cat, median of $runs alternating runs:"
bench_size 100000
bench_size 10000
echo "goal: ratio at most 1.0"

#!/usr/bin/env bash
# The catalogue on the 100,000-song library, on a warm cache:
#   load      loading SongList.txt into pages and indexes   vs  sort -t';' -k2 SongList.txt
#             (goal: ratio at most 1.0)
#   prefix    one prefix search on the loaded catalogue      vs  grep -i '^KEY' SongList.txt
#             (goal: at least 100 times faster)
#   lyric     dadaz search --lyric WORD, whole command       vs  grep -r -l -i -F WORD LYRICS
#             (goal: ratio at most 1.0)
# The library is generated once under bench/cache/lib100k. Every baseline runs with LC_ALL=C,
# so that figures from machines with other locales compare.
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/timing.sh
dadaz=${DADAZ:-build/src/dadaz}
runs=${RUNS:-5}
lib=bench/cache/lib100k
list=$lib/SongList.txt

if [ ! -d "$lib/LYRICS" ]; then
    echo "generating 100,000 songs in $lib ..."
    mkdir -p bench/cache
    "$dadaz" make-library "$lib" --songs 100000 --seed 7 >/dev/null
fi
if [ ! -f "$list" ]; then
    "$dadaz" songlist --program-folder "$lib" --own-list >/dev/null
fi

# Wall time of a command in milliseconds (its output discarded).
wall_ms() {
    local start end
    start=$(now_ns)
    "$@" >/dev/null 2>&1
    end=$(now_ns)
    awk -v s="$start" -v e="$end" 'BEGIN { printf "%.2f\n", (e - s) / 1e6 }'
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
# A figure the search reports on its error output with --repeat ("load: 12.3 ms").
reported() { awk -v k="$1" -F': ' '$1 == k { split($2, f, " "); print f[1] }'; }

echo "library: $lib ($(($(wc -l <"$list") - 2)) songs), $(nproc) cores, runs: $runs"

# Load.
loads=() sorts=()
for ((i = 0; i < runs; i++)); do
    loads+=("$("$dadaz" search --program-folder "$lib" --repeat 1 '+0' 2>&1 >/dev/null | reported load)")
    sorts+=("$(wall_ms env LC_ALL=C sort -t';' -k2 "$list")")
done
m_load=$(printf '%s\n' "${loads[@]}" | median)
m_sort=$(printf '%s\n' "${sorts[@]}" | median)
printf 'load     %8.1f ms   sort -k2 %8.1f ms   ratio %s\n' "$m_load" "$m_sort" "$(ratio "$m_load" "$m_sort")"

# Prefix searches: the median of 200 searches on the loaded catalogue, against grep over the
# file for the same key at the start of a line.
for query in '+1234' '++Love' '+++Amy' '++ร' 'Golden'; do
    key=${query##+}
    grep_runs=()
    for ((i = 0; i < runs; i++)); do
        grep_runs+=("$(wall_ms env LC_ALL=C grep -i "^$(printf '%s' "$key" | iconv -f UTF-8 -t CP874)" "$list")")
    done
    m_grep=$(printf '%s\n' "${grep_runs[@]}" | median)
    out=$("$dadaz" search --program-folder "$lib" --repeat 200 "$query" 2>&1 >/dev/null)
    us=$(printf '%s\n' "$out" | reported 'search median')
    found=$("$dadaz" search --program-folder "$lib" "$query" | tail -1)
    printf 'prefix %-8s %8.1f us   grep %8.2f ms   %7.0f times faster   (%s)\n' "$query" "$us" \
        "$m_grep" "$(awk -v g="$m_grep" -v u="$us" 'BEGIN { print g * 1000 / u }')" "$found"
done

# Lyric search over every lyric file, reading on all cores, against grep (bytes, as the files
# are code page 874). "search" is the search alone on the loaded catalogue; "command" is the
# whole dadaz search --lyric, loading included.
for word in wild ก๋วยเตี๋ยว; do
    pattern=$(printf '%s' "$word" | iconv -f UTF-8 -t CP874)
    "$dadaz" search --program-folder "$lib" --lyric "$word" >/dev/null
    LC_ALL=C grep -r -l -i -F "$pattern" "$lib/LYRICS" >/dev/null || true
    searches=() commands=() base=()
    for ((i = 0; i < runs; i++)); do
        searches+=("$("$dadaz" search --program-folder "$lib" --lyric --repeat 1 "$word" 2>&1 >/dev/null |
            reported 'search median' | awk '{ printf "%.2f\n", $1 / 1000 }')")
        commands+=("$(wall_ms "$dadaz" search --program-folder "$lib" --lyric "$word")")
        base+=("$(wall_ms env LC_ALL=C grep -r -l -i -F "$pattern" "$lib/LYRICS")")
    done
    m_search=$(printf '%s\n' "${searches[@]}" | median)
    m_command=$(printf '%s\n' "${commands[@]}" | median)
    m_base=$(printf '%s\n' "${base[@]}" | median)
    n_ours=$("$dadaz" search --program-folder "$lib" --lyric "$word" | tail -1)
    n_grep=$(LC_ALL=C grep -r -l -i -F "$pattern" "$lib/LYRICS" | wc -l || true)
    printf 'lyric %-10s search %7.1f ms  command %7.1f ms  grep -r %7.1f ms  ratio %s (command %s)\n' \
        "$word" "$m_search" "$m_command" "$m_base" "$(ratio "$m_search" "$m_base")" \
        "$(ratio "$m_command" "$m_base")"
    printf '      found: %s; grep: %d files\n' "$n_ours" "$n_grep"
done

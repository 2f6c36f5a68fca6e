#!/usr/bin/env bash
# Kills `dadaz renumber` (SIGKILL) at spread moments, also while it completes an earlier
# interrupted run, and checks after each completion that the library is exactly what one
# uninterrupted run makes: every file with its bytes, every song once under one code.
# usage: kill_test.sh DADAZ ROUNDS SONGS
set -euo pipefail
dadaz=$1 rounds=$2 songs=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LC_ALL=C

"$dadaz" make-library "$work/pristine" --songs "$songs" --seed 7 >/dev/null
mkdir "$work/pristine/Invalid Files"

# Every file of the program folder: its path and its bytes' hash, sorted by path. The copies
# are hard links, so the pristine library's hashes are taken first and checked at the end: a
# run that wrote into a song file would show there.
tree() { (cd "$1" && find . -type f ! -name Renumber.journal -print0 | xargs -0 md5sum | sort -k2); }
# The songs: the hashes of each triple's three files, wherever the triple lies.
triples() {
    tree "$1" | awk '{
        path = $2; n = split(path, p, "/"); if (n != 4) next
        kind = toupper(p[2]); name = p[4]; ext = toupper(substr(name, length(name) - 2))
        stem = toupper(substr(name, 1, length(name) - 4))
        if (kind == "SONG" && ext == "MID") mid[p[3] "/" stem] = $1
        if (kind == "LYRICS" && ext == "LYR") lyr[p[3] "/" stem] = $1
        if (kind == "CURSOR" && ext == "CUR") cur[p[3] "/" stem] = $1
    } END { for (k in lyr) if ((k in mid) && (k in cur)) print mid[k], lyr[k], cur[k] }' | sort
}

run() { "$dadaz" renumber --program-folder "$1" "${@:2}" >/dev/null 2>&1 || true; }
# Starts a run and kills it $2 seconds later, or with $2 starting "j", that long after its
# journal appears (a kill among the renames); true when the kill came before the run's end.
killed_after() {
    "$dadaz" renumber --program-folder "$1" "${@:3}" >/dev/null 2>&1 &
    local pid=$! delay=$2
    if [[ $delay == j* ]]; then
        delay=${delay#j}
        while [ ! -f "$1/Renumber.journal" ] && kill -0 "$pid" 2>/dev/null; do :; done
    fi
    sleep "$delay"
    kill -9 "$pid" 2>/dev/null && { wait "$pid" 2>/dev/null || true; return 0; }
    wait "$pid" 2>/dev/null || true
    return 1
}

tree "$work/pristine" >"$work/pristine.tree"
triples "$work/pristine" >"$work/songs.before"
cp -al "$work/pristine" "$work/reference"
start=$(date +%s%N)
run "$work/reference" --yes
took=$((($(date +%s%N) - start) / 1000))  # microseconds
tree "$work/reference" >"$work/reference.tree"
triples "$work/reference" >"$work/songs.after"
cmp -s "$work/songs.before" "$work/songs.after" || { echo "an uninterrupted run changed the songs"; exit 1; }

failures=0 interrupted=0
for ((round = 0; round < rounds; round++)); do
    lib="$work/round$round"
    rm -rf "$lib"
    cp -al "$work/pristine" "$lib"
    # Spread over the run: the kill lands anywhere from the first question to the last file.
    delay=$(awk -v r=$round -v n="$rounds" -v t="$took" -v s=$RANDOM \
        'BEGIN { printf "%.6f", t * ((r + s / 32768.0) / n) / 1e6 }')
    ((round % 2 == 1)) && delay="j$(awk -v d="$delay" 'BEGIN { printf "%.6f", d / 2 }')"
    if killed_after "$lib" "$delay" --yes; then
        interrupted=$((interrupted + 1))
        # Every third round the completion itself is killed as well, then completed again.
        if ((round % 3 == 2)) && [ -f "$lib/Renumber.journal" ]; then
            killed_after "$lib" "$(awk -v t="$took" 'BEGIN { printf "%.6f", t / 4e6 }')" || true
        fi
    fi
    if [ -f "$lib/Renumber.journal" ]; then
        run "$lib"  # no --yes: completes the interrupted run, then declines a new one
    else
        run "$lib" --yes  # killed before its journal, or after its end: a whole run again
    fi
    if [ -f "$lib/Renumber.journal" ]; then
        echo "round $round (kill at ${delay}s): the journal is still there"
        failures=$((failures + 1))
    elif ! tree "$lib" | cmp -s - "$work/reference.tree"; then
        echo "round $round (kill at ${delay}s): the library differs from an uninterrupted run"
        tree "$lib" | diff - "$work/reference.tree" | head -n 10
        failures=$((failures + 1))
    fi
    rm -rf "$lib"
done
tree "$work/pristine" | cmp -s - "$work/pristine.tree" || { echo "song files were written"; failures=$((failures + 1)); }
echo "$rounds rounds, $interrupted killed during the run, $failures failed (run ${took} us)"
[ "$failures" -eq 0 ]

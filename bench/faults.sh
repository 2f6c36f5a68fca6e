#!/usr/bin/env bash
# bench/faults.sh [POINTS] [COMMAND...]: each library-changing command killed (SIGKILL) at
# POINTS moments (default 100; half spread over a measured run, half before steps that change
# the disk), run again to completion and checked: per command the kill points, how many
# landed before the end, the failures and the time. Libraries are sized so that one run
# lasts some hundreds of milliseconds.
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/timing.sh
dadaz=${DADAZ:-build/src/dadaz}
points=${1:-100}
shift || true
declare -A songs=([songlist]=3000 [add]=1000 [renumber]=3000 [delete]=3000 [move]=3000
    [duplicates-delete]=3000 [duplicates-move]=3000 [export]=600)
commands=("$@")
[ ${#commands[@]} -gt 0 ] || commands=(songlist add renumber delete move duplicates-delete
    duplicates-move export)
failed=0
for command in "${commands[@]}"; do
    [ -n "${songs[$command]:-}" ] || { echo "unknown command $command" >&2; exit 2; }
    start=$(now_ns)
    python3 tests/faults/kill_test.py "$dadaz" "$command" "$points" "${songs[$command]}" ||
        failed=1
    echo "  ($(elapsed "$start" "$(now_ns)") s with the library's making)"
done
exit $failed

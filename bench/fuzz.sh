#!/usr/bin/env bash
# Each fuzz target for FUZZ_SECONDS (default 600) under AddressSanitizer and
# UndefinedBehaviorSanitizer, two at a time, from the committed corpus and what earlier bench runs
# found (kept in bench/cache/fuzz, out of git). Prints the executions per target and what was
# found; fails when a target crashed or broke a property.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-600}
export FUZZ_WORK=${FUZZ_WORK:-bench/cache/fuzz}
status=0
scripts/fuzz "$seconds" "$@" || status=1
echo "inputs kept: $(find "$FUZZ_WORK/corpus" -type f | wc -l) in $FUZZ_WORK/corpus"
echo "found: $(find "$FUZZ_WORK/crashes" -type f | wc -l) in $FUZZ_WORK/crashes"
exit $status

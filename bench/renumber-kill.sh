#!/usr/bin/env bash
# bench/renumber-kill.sh [ROUNDS] [SONGS]: the renumbering kill test at many moments
# (default 120 rounds on 3,000 songs; a third of them also kill the completion).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --build build --target dadaz >/dev/null
exec bash tests/renumber/kill_test.sh build/src/dadaz "${1:-120}" "${2:-3000}"

# Timing helpers shared by the benchmarks (sourced after they cd to the project root).
now_ns() { date +%s%N; }
# Seconds between two now_ns readings, three decimals.
elapsed() { awk -v s="$1" -v e="$2" 'BEGIN { printf "%.3f\n", (e - s) / 1e9 }'; }
# The median of the numbers on standard input, one a line.
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

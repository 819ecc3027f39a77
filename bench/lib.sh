# Shared pieces of the benchmark scripts (sourced). Whole processes are timed as a user runs
# them, output into a pipe; two commands take turns (A B A B ...) and each gets the median
# of its runs, so that a change in the machine's load hits both alike.
runs="${BENCH_RUNS:-5}"

# Wall seconds of one command, its output going into a pipe.
wall_seconds() {
  local start end
  start=$(date +%s.%N)
  "$@" | cat >/dev/null
  end=$(date +%s.%N)
  echo "$end - $start" | bc -l
}

median() {
  sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# take_turns PREPARE_A RUN_A PREPARE_B RUN_B: runs PREPARE_X (untimed) then RUN_X (timed),
# A and B alternately, $runs times each; prints "medianA medianB".
take_turns() {
  local a=() b=()
  for _ in $(seq "$runs"); do
    "$1"; a+=("$(wall_seconds "$2")")
    "$3"; b+=("$(wall_seconds "$4")")
  done
  echo "$(printf '%s\n' "${a[@]}" | median) $(printf '%s\n' "${b[@]}" | median)"
}

# verdict NAME OURS REFERENCE BUDGET REFNAME: prints the ratio and PASS or FAIL; sets failed=1
# on a miss.
verdict() {
  local ratio ok=FAIL
  ratio=$(echo "$2 / $3" | bc -l)
  if [ "$(echo "$ratio <= $4" | bc -l)" = 1 ]; then ok=PASS; else failed=1; fi
  printf '%s: %.3f s vs %s %.3f s = %.2fx (budget <= %.2fx) %s\n' "$1" "$2" "$5" "$3" "$ratio" "$4" "$ok"
}

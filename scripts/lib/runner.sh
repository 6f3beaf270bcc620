# Runs the test programs listed in a build's quillon-tests.txt and records what they did.
# Source it (needs common.sh). Each program writes <logdir>/<target>.log; one line per program
# is appended to <logdir>/results: "<target> <passed> <failed> <skipped> <status> <note...>".

# run_manifest <manifest> <logdir> <gtest filter or empty> [launcher...]
run_manifest() {
  local manifest=$1 logdir=$2 filter=$3
  shift 3
  local launcher=("$@")
  local kind target file
  mkdir -p "$logdir"
  : >"$logdir/results"
  [[ -f $manifest ]] || return 0
  while IFS=$'\t' read -r kind target file; do
    [[ -n ${kind:-} ]] || continue
    run_one "$kind" "$target" "$file" "$logdir" "$filter" "${launcher[@]}" </dev/null
  done <"$manifest"
}

run_one() {
  local kind=$1 target=$2 file=$3 logdir=$4 filter=$5
  shift 5
  local log=$logdir/$target.log start status args=()
  start=$(now)
  case $kind in
    gtest)
      args=(--gtest_color=no)
      [[ -n $filter ]] && args+=("--gtest_filter=$filter")
      # In a subshell, so that a program killed by a signal is reported in its log only.
      (timeout --kill-after=30 "${QUILLON_TEST_TIMEOUT:-1800}" "$@" "$file" "${args[@]}"; exit $?) >"$log" 2>&1
      status=$?
      tally_gtest "$target" "$log" "$status" "$(elapsed "$start")" >>"$logdir/results"
      ;;
    regress)
      (timeout --kill-after=30 "${QUILLON_REGRESS_TIMEOUT:-600}" "$@" "$file"; exit $?) >"$log" 2>&1
      status=$?
      local note
      note=$(tr -d '\r' <"$log" | grep -E -o '[0-9]+ inputs ok' | tail -n 1)
      if [[ $status -eq 0 ]]; then
        echo "$target 1 0 0 $status ${note:-ran} ($(elapsed "$start"))" >>"$logdir/results"
      else
        echo "$target 0 1 0 $status exited with status $status ($(elapsed "$start"))" >>"$logdir/results"
      fi
      ;;
    *)
      echo "$target 0 1 0 - unknown test kind '$kind'" >>"$logdir/results"
      ;;
  esac
}

# Counts a GoogleTest program's results from its output: one "[       OK ]" or timed
# "[  FAILED  ] ... (N ms)" line per finished test. A program that did not reach its closing
# "[==========] ... ran." line (crash, timeout), or that failed without a failing test (a
# sanitizer report at exit), counts as one more failure.
tally_gtest() {
  local target=$1 log=$2 status=$3 took=$4 passed failed skipped note text
  text=$(tr -d '\r' <"$log")
  passed=$(grep -c -E '^\[       OK \] ' <<<"$text")
  failed=$(grep -c -E '^\[  FAILED  \] .* \([0-9]+ ms\)$' <<<"$text")
  skipped=$(grep -c -E '^\[  SKIPPED \] .* \([0-9]+ ms\)$' <<<"$text")
  note="($took)"
  if ! grep -q -E '^\[==========\] .* ran\.' <<<"$text"; then
    failed=$((failed + 1))
    case $status in
      124 | 137) note="timed out $note" ;;
      *) note="ended early with status $status $note" ;;
    esac
  elif [[ $status -ne 0 && $failed -eq 0 ]]; then
    failed=1
    note="exited with status $status after its tests $note"
  fi
  echo "$target $passed $failed $skipped $status $note"
}

# Prints the output of the failed tests of a GoogleTest log (or its end when it crashed).
show_gtest_failures() {
  local log=$1
  tr -d '\r' <"$log" | awk '
    /^\[ RUN      \] / { block = $0 "\n"; inside = 1; next }
    inside { block = block $0 "\n" }
    /^\[       OK \] / { inside = 0 }
    /^\[  FAILED  \] .* \([0-9]+ ms\)$/ { printf "%s", block; inside = 0 }
    END { if (inside) printf "%s(no result: the program ended here)\n", block }
  ' | head -n 200
}

# Prints one phase's results and adds them to TOTAL_PASSED / TOTAL_FAILED.
report_results() {
  local logdir=$1 target passed failed skipped status note
  [[ -f $logdir/results ]] || return 0
  while read -r target passed failed skipped status note; do
    TOTAL_PASSED=$((TOTAL_PASSED + passed))
    TOTAL_FAILED=$((TOTAL_FAILED + failed))
    local extra=""
    [[ $skipped -gt 0 ]] && extra=", $skipped skipped"
    say "  $target: $passed passed, $failed failed$extra $note"
    if [[ $failed -gt 0 ]]; then
      if grep -q -E '^\[==========\]|^\[ RUN      \]' "$logdir/$target.log" 2>/dev/null; then
        show_gtest_failures "$logdir/$target.log"
      else
        tail -n 60 "$logdir/$target.log"
      fi
      say "  (full output: $logdir/$target.log)"
    fi
  done <"$logdir/results"
}

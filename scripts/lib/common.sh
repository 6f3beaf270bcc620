# Shared by the scripts: paths and small helpers. Source it; it sets QUILLON_ROOT and
# QUILLON_BUILD (the build root, build/ unless QUILLON_BUILD_DIR names another, so that two
# people can run the scripts in one checkout without sharing build trees or a Wine prefix).

QUILLON_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
case "${QUILLON_BUILD_DIR:-}" in
  "") QUILLON_BUILD=$QUILLON_ROOT/build ;;
  /*) QUILLON_BUILD=$QUILLON_BUILD_DIR ;;
  *) QUILLON_BUILD=$QUILLON_ROOT/$QUILLON_BUILD_DIR ;;
esac
QUILLON_JOBS=$(nproc 2>/dev/null || echo 2)

say() { printf '%s\n' "$*"; }
die() { printf 'error: %s\n' "$*" >&2; exit 1; }

# Seconds since the epoch with tenths, for phase timings.
now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.1f s", b - a }'; }

# build_preset <preset> <log> [target...]: configures and builds one preset into
# $QUILLON_BUILD/<preset> (all targets, or the given ones that the configuration has).
# Output goes to the log; returns the build's status.
build_preset() {
  local preset=$1 log=$2 dir=$QUILLON_BUILD/$1 target targets=()
  shift 2
  {
    cmake --preset "$preset" -S "$QUILLON_ROOT" -B "$dir" || return 1
    for target in "$@"; do
      grep -q "^$target:" "$dir/Makefile" && targets+=(--target "$target")
    done
    [[ $# -gt 0 && ${#targets[@]} -eq 0 ]] && return 0
    cmake --build "$dir" --parallel "$QUILLON_JOBS" "${targets[@]}"
  } >"$log" 2>&1
}

# Prints the compiler errors of a failed build log and its last lines.
show_build_failure() {
  local log=$1
  say "---- errors (from $log)"
  grep -E -m 40 '(error|Error|undefined reference)' "$log" || true
  say "---- last lines"
  tail -n 25 "$log"
  say "----"
}

# The Windows build whose programs run under Wine here: win32 (the deliverables), or win64 on a
# kernel that runs no 32-bit programs at all (IA-32 emulation off: every i386 execve fails with
# "Exec format error", so 32-bit Wine cannot start). There the same sources are built for x86_64
# and run under 64-bit Wine; the 32-bit build is still made and checked. QUILLON_WINE_ARCH
# overrides the probe.
quillon_wine_arch() {
  if [[ -n ${QUILLON_WINE_ARCH:-} ]]; then
    say "$QUILLON_WINE_ARCH"
    return
  fi
  local probe=/usr/lib/wine/wineserver32 out status
  if [[ -x $probe ]]; then
    out=$("$probe" --version 2>&1)
    status=$?
    if [[ $status -eq 126 && $out == *"Exec format error"* ]]; then
      say win64
      return
    fi
  fi
  say win32
}

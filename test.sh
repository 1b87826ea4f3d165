#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing and runs, each on the whole tree:
#   0. the formatting check (clang-format) of the tracked sources, then the
#      naming check (clang-tidy with the .clang-tidy at the top);
#   1. the normal build (./build) and its test suite, offscreen, with a
#      private PostgreSQL cluster (scripts/test_server.sh) for the records'
#      server tests of this suite and the next;
#   2. the same suite built with clang under AddressSanitizer and
#      UndefinedBehaviorSanitizer (./build-asan), where any report fails;
#   3. each libFuzzer target (built in ./build-asan) for a bounded time on a
#      scratch copy of its committed seed corpus.
# Every step runs even when an earlier one failed; the exit status is non-zero
# if any did. FUZZ_SECONDS sets the time per fuzz target (default 30).
# A compiler cache of the checkout's own, in ./build (empty in a fresh clone),
# for the builds below: the clean copy of the tree that the test packaging_run
# builds with ./run.sh then compiles only what differs from this build.
top=$(cd "$(dirname "$0")" && pwd)
export CMAKE_CXX_COMPILER_LAUNCHER=ccache CCACHE_DIR=$top/build/ccache CCACHE_BASEDIR=$top \
       CCACHE_NOHASHDIR=1 CCACHE_SLOPPINESS=pch_defines,time_macros
source "$top/scripts/setup.sh"   # installs, builds ./build; cwd is the repo
set +e
export QT_QPA_PLATFORM=offscreen
JOBS=$(nproc)
failed=()
# Each phase's wall time and the processor time it took (user and system, of
# this shell and all it waited for), which other work on the machine does not
# inflate as much. `times` runs in this shell (in a pipe or $(...) it would ask a subshell,
# which has waited for nothing); cpu_now puts its sum in $cpu.
cpu_file=$(mktemp)
cpu_now() {
  times >"$cpu_file"
  cpu=$(awk '{ for (i = 1; i <= 2; i++) { split($i, t, /[ms]/); s += t[1] * 60 + t[2] } } END { printf "%d", s }' "$cpu_file")
}
cpu_now
echo "== setup and build: $SECONDS s, CPU $cpu s"
phase_start=$SECONDS
phase_cpu=$cpu
phase_done() {
  cpu_now
  echo "== $1: $((SECONDS - phase_start)) s, CPU $((cpu - phase_cpu)) s"
  phase_start=$SECONDS
  phase_cpu=$cpu
}

# 0. The tracked sources as .clang-format has them.
if git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror >/tmp/format.$$ 2>&1; then
  echo "format: clean"
else
  grep -m 40 -E 'error|warning' /tmp/format.$$
  failed+=("format (clang-format -i the files named)")
fi
rm -f /tmp/format.$$
phase_done "format"

# 0b. The one naming of .clang-tidy, on every tracked source and the headers
# they include, with the normal build's compile commands: a unity batch is
# parsed once for all its sources (scripts/naming_check.py). fuzz/ is not in
# that build: its files take the flags of their nearest neighbour.
if python3 scripts/naming_check.py "$BUILD_DIR" "$JOBS" >/tmp/naming.$$ 2>&1; then
  echo "naming: clean"
else
  grep -m 40 -E 'error|warning:|^naming:' /tmp/naming.$$
  failed+=("naming (clang-tidy readability-identifier-naming)")
fi
rm -f /tmp/naming.$$
phase_done "naming"

# The records' server tests reach a private PostgreSQL cluster, started here
# for both test suites and removed on every exit.
source scripts/test_server.sh
trap stop_test_server EXIT
start_test_server || failed+=("test server (PostgreSQL)")

# 1. The normal build (built by setup.sh).
ctest --test-dir "$BUILD_DIR" --output-on-failure --parallel "$JOBS" || failed+=("tests")
phase_done "tests"

# 2. The sanitizer build. Its options hold for the build too, since the asset
# tool runs under the sanitizers while the tree is built. Leaks inside the
# uninstrumented system libraries (Qt, fontconfig, ...) are suppressed by
# tests/lsan.supp; every other leak, and any ASan or UBSan report, fails.
ASAN_DIR=${ASAN_DIR:-build-asan}
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=0:print_stacktrace=1:detect_leaks=1:strict_string_checks=1:check_initialization_order=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
if cmake -S . -B "$ASAN_DIR" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
       -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -gline-tables-only" \
       -DAPP_SANITIZE=ON -DAPP_FUZZ=ON >/dev/null &&
   cmake --build "$ASAN_DIR" --parallel "$JOBS"; then
  phase_done "sanitizer build"
  ctest --test-dir "$ASAN_DIR" --output-on-failure --parallel "$JOBS" || failed+=("sanitizer tests")
  phase_done "sanitizer tests"
else
  failed+=("sanitizer build")
fi

# 3. Fuzzing, as many targets at once as there are cores. New inputs go to a
# scratch copy of the corpus, never into the repository; a failing input is
# kept in $ASAN_DIR/fuzz-failures/.
fuzz_one() {
  local target=$1 name work
  name=$(basename "$target")
  work=$(mktemp -d)
  mkdir "$work/corpus"
  cp fuzz/corpus/"$name"/* "$work/corpus/"
  if "$target" -max_total_time="$FUZZ_SECONDS" -timeout=10 -max_len=1024 \
       -artifact_prefix="$work/" "$work/corpus" >"$work/log" 2>&1; then
    echo "fuzz $name: passed, $(grep -o 'Done [0-9]* runs' "$work/log" | cut -d' ' -f2) runs"
    rm -rf "$work"
  else
    mkdir -p "$ASAN_DIR/fuzz-failures/$name"
    cp "$work"/crash-* "$work"/leak-* "$work"/timeout-* "$work"/oom-* \
       "$ASAN_DIR/fuzz-failures/$name/" 2>/dev/null
    echo "fuzz $name: FAILED (input kept in $ASAN_DIR/fuzz-failures/$name)"
    grep -v -E '^#[0-9]+|^INFO:|^ *(NEW|REDUCE|pulse)' "$work/log" | tail -n 60
    rm -rf "$work"
    return 1
  fi
}
if [ -d "$ASAN_DIR/fuzz/bin" ]; then
  export -f fuzz_one
  export ASAN_DIR FUZZ_SECONDS=${FUZZ_SECONDS:-30}
  rm -rf "$ASAN_DIR/fuzz-failures"
  targets=("$ASAN_DIR"/fuzz/bin/*)
  printf '%s\n' "${targets[@]}" | xargs -P "$JOBS" -I{} bash -c 'fuzz_one "$1"' _ {} ||
    failed+=("fuzzing")
  echo "fuzz: ${#targets[@]} targets, $FUZZ_SECONDS s each"
  phase_done "fuzzing"
else
  failed+=("fuzzing (no targets built)")
fi

rm -f "$cpu_file"
if ((${#failed[@]})); then
  echo "test.sh: FAILED: ${failed[*]}" >&2
  exit 1
fi
echo "test.sh: normal tests, sanitizer tests and fuzzing all passed"

#!/usr/bin/env bash
# Sets everything up, builds and runs every test twice: the normal test build (build/test),
# then the same suite built with AddressSanitizer and UndefinedBehaviorSanitizer
# (build/asan). PELKO_TEST_PASSES="normal" or "sanitize" runs only one of them.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
export QT_QPA_PLATFORM=offscreen

passes="${PELKO_TEST_PASSES:-normal sanitize}"
for pass in $passes; do
  case "$pass" in
    normal|sanitize) ;;
    *) echo "test: PELKO_TEST_PASSES: unknown pass '$pass' (normal, sanitize)" >&2; exit 2 ;;
  esac
done

# The test build: optimised (the engine tests walk all 8,145,060 combinations), with
# assertions and debug info kept light, no LTO.
normal_pass() {
  cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1" \
        -DPELKO_BUILD_TESTS=ON -DPELKO_BUILD_BENCH=OFF >/dev/null
  cmake --build build/test --parallel 2
  ctest --test-dir build/test --output-on-failure --parallel 2 --timeout 600
}

# The sanitizer build: -O1 keeps the instrumented engine tests quick enough, -g1 gives
# file:line in the reports, and the standard library checks its indexes (an index past
# size() but within capacity() is no memory error to ASan). Leaks of the libraries under
# Qt are listed in lsan.supp.
sanitize_pass() {
  local logs="$PWD/build/asan/sanitizer-logs" status=0
  # Exit code 86 on any report, so it never passes for the programs' own 0, 1 or 2. Options
  # already set are added last and win, e.g. ASAN_OPTIONS=fast_unwind_on_malloc=0 for whole
  # leak stacks through Qt (built without frame pointers; ten times slower on the engine tests).
  export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:abort_on_error=0:exitcode=86:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
  export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:exitcode=86${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
  export LSAN_OPTIONS="suppressions=$PWD/tests/sanitizer/lsan.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
  cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -D_GLIBCXX_ASSERTIONS" -DPELKO_SANITIZE=address,undefined \
        -DPELKO_BUILD_TESTS=ON -DPELKO_BUILD_BENCH=OFF >/dev/null
  cmake --build build/asan --parallel 2
  # Memory and leak reports go to files, not to the test's output: a program started by a
  # test (the window, the command line) has its standard error read by the test, so any file
  # fails the pass. GCC's UBSan writes to standard error whatever log_path says.
  rm -rf "$logs" && mkdir -p "$logs"
  ASAN_OPTIONS="$ASAN_OPTIONS:log_path=$logs/report" \
    ctest --test-dir build/asan --output-on-failure --parallel 2 --timeout 1800 || status=1
  if compgen -G "$logs/report.*" >/dev/null; then
    for report in "$logs"/report.*; do
      if is_sanitizer_finding "$report"; then
        echo "=== sanitizer report $(basename "$report")" >&2
        status=1
      else
        # Tests kill their children on purpose (at random moments, or a second signal that
        # ends the window at once). One killed during its leak check at exit leaves a file
        # that is empty or holds only the tracer's complaint that the threads are gone.
        echo "=== sanitizer log of a killed process, no finding: $(basename "$report")" >&2
      fi
      cat "$report" >&2
    done
  fi
  return $status
}

# A finding is a memory error, a leak, an undefined behaviour or a sanitizer that could
# not do its check in a process that went on living.
is_sanitizer_finding() {
  grep -Eq 'ERROR: (Address|Leak|UndefinedBehavior)Sanitizer|runtime error|encountered a fatal error|SUMMARY: ' "$1"
}

for pass in $passes; do
  started=$SECONDS
  echo "=== test pass: $pass" >&2
  "${pass}_pass"
  echo "=== test pass $pass: $((SECONDS - started)) s" >&2
done

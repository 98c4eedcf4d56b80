#!/usr/bin/env bash
# Builds the monkey (tests/gui/monkey.cpp) and the program's own code with clang,
# AddressSanitizer and UndefinedBehaviorSanitizer in build-monkey, and runs it on the offscreen
# platform: DORRIT_MONKEY_ACTIONS random actions (10000) from DORRIT_MONKEY_SEED (1). Given the
# monkey of a build without the sanitizers (the CTest test passes the main build's), runs that
# too, which compares resident memory. A failure names the seed and the action; the same seed
# replays it. Exit 77 (skipped) without clang.
# Usage: monkey.sh [UNSANITIZED_MONKEY]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-monkey"
command -v clang++ >/dev/null || { echo "SKIP: clang++ is not installed"; exit 77; }

sanitizers="-fsanitize=address,undefined"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS="$sanitizers -fno-sanitize-recover=all -fno-omit-frame-pointer" \
    -DCMAKE_EXE_LINKER_FLAGS="$sanitizers" -DDORRIT_BENCH=OFF >/dev/null
cmake --build "$build" -j2 --target monkey

export QT_QPA_PLATFORM=offscreen
status=0
run() {
    local start=$SECONDS
    "$@" || status=$?
    echo "monkey: $((SECONDS - start)) s"
}
# A small quarantine keeps the run's memory modest. Leaks are looked for at exit, with no
# suppressions; clang 14's leak checker misreads glibc 2.36's dynamic thread-local blocks
# ("Tracer caught signal 11") unless it leaves __tls_get_addr alone.
ASAN_OPTIONS="quarantine_size_mb=16:detect_leaks=1:intercept_tls_get_addr=0" UBSAN_OPTIONS="print_stacktrace=1" \
    run "$build/tests/gui/monkey"
if [[ -n ${1:-} ]]; then
    run "$1"
fi
exit "$status"

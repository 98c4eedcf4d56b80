#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz and runs each for the given number
# of seconds (default 60) from its seed corpus. Fails on any crash, leak, sanitizer report
# or excess allocation.
set -euo pipefail

seconds="${1:-60}"
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-fuzz"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DDORRIT_FUZZ=ON -DDORRIT_TESTS=OFF -DDORRIT_BENCH=OFF >/dev/null

targets=()
for source in "$root"/fuzz/fuzz_*.cpp; do
    name="$(basename "$source" .cpp)"
    if [[ -d "$root/fuzz/corpus/${name#fuzz_}" ]]; then
        targets+=("$name")
    fi
done
cmake --build "$build" -j2 --target "${targets[@]}"

status=0
for name in "${targets[@]}"; do
    seeds="$root/fuzz/corpus/${name#fuzz_}"
    # New inputs go to a scratch corpus; the seeds in the tree stay as committed.
    corpus="$build/corpus/${name#fuzz_}"
    artifacts="$build/artifacts/${name#fuzz_}"
    mkdir -p "$corpus" "$artifacts"
    echo "== $name for ${seconds}s"
    if ! "$build/fuzz/$name" "$corpus" "$seeds" -max_total_time="$seconds" -rss_limit_mb=2048 \
        -malloc_limit_mb=512 -timeout=10 -detect_leaks=1 -print_final_stats=1 \
        -artifact_prefix="$artifacts/" 2>"$build/$name.log"; then
        tail -n 40 "$build/$name.log"
        echo "FAILED: $name (input saved under $artifacts)"
        status=1
    else
        grep -E '^(stat::number_of_executed_units|Done)' "$build/$name.log" || true
    fi
done
exit "$status"

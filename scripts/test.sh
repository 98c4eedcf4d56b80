#!/usr/bin/env bash
# Sets everything up, builds, and runs every test: unit, widget and end-to-end tests
# through CTest, then each fuzz target for a bounded time.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh"
cd "$root"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
status=0
ctest --test-dir build --output-on-failure | tee "$log" || status=1
fuzz_targets=$(ls fuzz/fuzz_*.cpp | wc -l)
fuzz_failed=0
bash scripts/fuzz.sh "${DORRIT_FUZZ_SECONDS:-60}" || { fuzz_failed=1; status=1; }

# One closing line for the whole run: CTest's tests plus the fuzz targets.
total=$(sed -n 's/.*tests failed out of \([0-9]*\).*/\1/p' "$log" | tail -1)
failed=$(sed -n 's/.* \([0-9]*\) tests failed out of.*/\1/p' "$log" | tail -1)
total=${total:-0} failed=${failed:-$total}
echo "summary: $((total - failed + fuzz_targets - fuzz_failed)) passed, $((failed + fuzz_failed)) failed"
exit $status

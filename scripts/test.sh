#!/usr/bin/env bash
# Sets everything up, builds (for Linux and for Windows), and runs every test: unit, widget and
# end-to-end tests and the Windows program under Wine through CTest, then each fuzz target for a
# bounded time.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh"
# The Windows program, which CTest runs under Wine (the first run builds Qt for Windows).
bash "$root/scripts/build-windows.sh"
cd "$root"
log=$(mktemp) fuzz_log=$(mktemp)
trap 'rm -f "$log" "$fuzz_log"' EXIT
status=0 fuzz_status=0
ctest --test-dir build --output-on-failure | tee "$log" || status=1
bash scripts/fuzz.sh "${DORRIT_FUZZ_SECONDS:-60}" | tee "$fuzz_log" || { fuzz_status=1; status=1; }

# The reason a test gave for skipping: its "SKIP: " line in CTest's full log.
skip_reason() {
  awk -v name="$1" '
    !on { line = $0; if (sub(/^[0-9]+\/[0-9]+ Test: /, "", line) && line == name) on = 1; next }
    /^<end of output>/ { exit }
    sub(/^SKIP: /, "") { print; exit }' build/Testing/Temporary/LastTest.log 2>/dev/null
}

# One closing line for the whole run: CTest's tests plus the fuzz targets. A skipped test
# (exit 77: something it needs is missing) is named above it and never counted as passed.
total=$(sed -n 's/.*tests failed out of \([0-9]*\).*/\1/p' "$log" | tail -1)
failed=$(sed -n 's/.* \([0-9]*\) tests failed out of.*/\1/p' "$log" | tail -1)
total=${total:-0} failed=${failed:-$total}
skipped=()
while IFS= read -r name; do
  reason=$(skip_reason "$name")
  skipped+=("$name${reason:+ ($reason)}")
done < <(sed -n 's/^[[:space:]]*[0-9]* - \(.*\) (Skipped)$/\1/p' "$log")
passed=$((total - failed - ${#skipped[@]}))
for source in fuzz/fuzz_*.cpp; do
  name=$(basename "$source" .cpp)
  if grep -q "^FAILED: $name " "$fuzz_log"; then
    failed=$((failed + 1))
  elif grep -q "^== $name for " "$fuzz_log"; then
    passed=$((passed + 1))
  elif ((fuzz_status)) && ! grep -q '^== fuzz_' "$fuzz_log"; then
    failed=$((failed + 1)) # the fuzz build broke: no target ran
  else
    skipped+=("$name (no seed corpus)")
  fi
done
for entry in "${skipped[@]}"; do echo "skipped: $entry"; done
echo "summary: $passed passed, $failed failed, ${#skipped[@]} skipped"
exit $status

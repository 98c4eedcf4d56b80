#!/usr/bin/env bash
# Sets everything up, builds, and runs every test: unit, widget and end-to-end tests
# through CTest, then each fuzz target for a bounded time.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh"
cd "$root"
ctest --test-dir build --output-on-failure
if [[ -f scripts/fuzz.sh ]]; then
  bash scripts/fuzz.sh "${DORRIT_FUZZ_SECONDS:-60}"
fi

# Sourced by the walking scripts: a report line a check, and bounded waits.
fail=0
# check NAME EXPECTED ACTUAL: a line of the report; a mismatch sets fail=1.
check() { if [[ "$2" == "$3" ]]; then echo "ok: $1"; else echo "FAIL: $1: expected [$2], got [$3]"; fail=1; fi; }
wait_for() { # SECONDS COMMAND...: polls until COMMAND succeeds; fails once SECONDS have passed
  local end=$((SECONDS + $1))
  shift
  until "$@"; do ((SECONDS <= end)) || return 1; sleep 0.1; done
}

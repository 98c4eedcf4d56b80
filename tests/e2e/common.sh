# Shared by the end-to-end scripts that start the program as a user: sourced, not run.

# check NAME EXPECTED ACTUAL: one line of the report; a mismatch sets fail=1.
fail=0
check() {
  if [[ "$2" == "$3" ]]; then echo "ok: $1"; else echo "FAIL: $1: expected [$2], got [$3]"; fail=1; fi
}

# Root writes through permissions, so a folder the user cannot write needs another user:
# as root the program runs as nobody (as_user prefixes its command), otherwise as ourselves.
as_user=()
if [[ $(id -u) == 0 ]]; then
  command -v setpriv >/dev/null || { echo "SKIP: setpriv is not installed"; exit 77; }
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
# own_by_user FOLDER...: makes the folders the user's who runs the program.
own_by_user() {
  if ((${#as_user[@]})); then chown -R nobody:nogroup "$@"; fi
}

# make_work: a scratch folder in $work that the other user can enter, removed at exit with
# the X server. It gets its own copy of start_program.sh, which that user may not be able to
# read where the sources lie (root's home, say).
make_work() {
  work=$(mktemp -d)
  chmod 755 "$work"
  cp "$(dirname "${BASH_SOURCE[0]}")/start_program.sh" "$work/"
  trap 'stop_xvfb; chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
}

# start_xvfb WORK SCREEN [Xvfb options...]: an X server of our own on a display number it picks
# itself; sets DISPLAY and xvfb_pid. Exits 77 (skipped) when it cannot start.
xvfb_pid=""
start_xvfb() {
  local work=$1 screen=$2
  shift 2
  rm -f "$work/display"
  Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp "$@" 3>"$work/display" 2>"$work/xvfb.log" &
  xvfb_pid=$!
  for _ in $(seq 1 100); do [[ -s $work/display ]] && break; sleep 0.1; done
  [[ -s $work/display ]] || { echo "SKIP: Xvfb did not start"; cat "$work/xvfb.log"; exit 77; }
  export DISPLAY=":$(cat "$work/display")"
  for _ in $(seq 1 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
}
stop_xvfb() {
  [[ -n $xvfb_pid ]] && { kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; }
  xvfb_pid=""
}

# tree_state FOLDER: every entry with its size, time and mode, to tell that nothing changed.
tree_state() { (cd "$1" && find . -printf '%p %s %T@ %m\n' | sort); }

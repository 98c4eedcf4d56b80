# Sourced by the walking scripts: a report line a check, bounded waits, files as bytes.
fail=0
# check NAME EXPECTED ACTUAL: a line of the report; a mismatch sets fail=1.
check() { if [[ "$2" == "$3" ]]; then echo "ok: $1"; else echo "FAIL: $1: expected [$2], got [$3]"; fail=1; fi; }
wait_for() { # SECONDS COMMAND...: polls until COMMAND succeeds; fails once SECONDS have passed
  local end=$((SECONDS + $1))
  shift
  until "$@"; do ((SECONDS <= end)) || return 1; sleep 0.1; done
}
# settings_hex CHECKED SHARED READ_ALOUD PICTURE RANDOM: the settings file's bytes, in hex.
settings_hex() {
  printf '"版本",0.1\r\n"是否已检测Tesmar单词Graxo",%s\r\n"是否与Tesmar单词Graxo共享目录",%s\r\n"是否朗读",%s\r\n"桌面","%s"\r\n"桌面是否随机",%s\r\n' "$@" |
    iconv -f UTF-8 -t GBK | xxd -p | tr -d '\n'
}
file_hex() { xxd -p "$1" 2>/dev/null | tr -d '\n'; }
# tree_state FOLDER: every entry with its size, time and mode, to tell that nothing changed.
tree_state() { (cd "$1" && find . -printf '%p %s %T@ %m\n' | sort); }

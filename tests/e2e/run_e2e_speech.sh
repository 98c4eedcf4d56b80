#!/usr/bin/env bash
# Reading aloud as a user hears it. The installed program runs under Xvfb with a private
# PulseAudio server whose only output is a null sink; that sink's monitor is recorded with
# parec and the recording is measured with sox. One start of the program per way it can
# speak, each chosen only by the desktop the test makes, never by the program:
#   dispatcher  speech-dispatcher is not running but may be started (as on a desktop):
#               the program starts it and speaks through it;
#   flite       speech-dispatcher may not be started (DisableAutoSpawn in the user's
#               configuration): the program falls back to flite;
#   hung        speech-dispatcher runs but does not answer (stopped with SIGSTOP): the
#               program gives up on it after a few seconds and falls back to flite;
#   off         reading aloud is off: nothing is heard and no speech service is started.
# With reading aloud on, start-up says "welcome" once the window is up.
#
# Checks of words spoken while the program runs go through expect_words_during; the board's
# hover uses hover_ring_word_and_expect.
#
# Usage: run_e2e_speech.sh BUILD_DIR      Exit 77 (skipped) when a tool is missing.
set -uo pipefail

build_dir=$1
# The start of the window title in ASCII, so that the search works in any locale.
title="^Tesmar"
for tool in Xvfb xdotool xdpyinfo pulseaudio pactl parec sox soxi iconv speech-dispatcher; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

work=$(mktemp -d)
chmod 755 "$work"
xvfb_pid="" pulse_pid="" record_pid="" program_pid=""
runtime_dir=""
stop() { # pid: ends one of our own processes and reaps it
  [[ -n $1 ]] || return 0
  kill "$1" 2>/dev/null
  wait "$1" 2>/dev/null
}
speech_service_pid() { # of the speech-dispatcher a scenario's program started, if it runs
  local pidfile=$runtime_dir/speech-dispatcher/pid/speech-dispatcher.pid
  [[ -n $runtime_dir && -s $pidfile ]] && kill -0 "$(cat "$pidfile")" 2>/dev/null && cat "$pidfile"
}
speech_service_running() { [[ -n $(speech_service_pid) ]]; }
stop_speech_service() {
  local pid
  pid=$(speech_service_pid) || return 0
  # It may have been stopped on purpose; a stopped process would never see the TERM.
  kill -CONT "$pid" 2>/dev/null
  kill "$pid" 2>/dev/null
  for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
}
cleanup() {
  stop "$program_pid"; stop "$record_pid"; stop_speech_service
  stop "$pulse_pid"; stop "$xvfb_pid"
  rm -rf "$work"
}
trap cleanup EXIT

recordings="$build_dir/e2e-speech"
mkdir -p "$recordings"
rm -f "$recordings"/*.wav

# --- X server -----------------------------------------------------------------------------
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 1 100); do [[ -s $work/display ]] && break; sleep 0.1; done
[[ -s $work/display ]] || { echo "FAIL: Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
export DISPLAY=":$(cat "$work/display")"
for _ in $(seq 1 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

# --- Sound server: a null sink, reachable only through our own socket ----------------------
# Works as root too: pulseaudio only warns when not in --system mode, and --use-pid-file=no
# with a runtime directory of our own keeps it apart from any other server.
mkdir -p "$work/pulse" && chmod 700 "$work/pulse"
sink=dorrit_e2e
XDG_RUNTIME_DIR="$work/pulse" HOME="$work/pulse" pulseaudio -n --daemonize=no --use-pid-file=no \
  --exit-idle-time=-1 --realtime=no --high-priority=no --log-target=stderr \
  --load="module-null-sink sink_name=$sink rate=16000 channels=1" \
  --load="module-native-protocol-unix socket=$work/pulse/native auth-anonymous=1" \
  2>"$work/pulse.log" &
pulse_pid=$!
export PULSE_SERVER="unix:$work/pulse/native"
# No client may start a server of its own when ours is gone.
printf 'autospawn = no\n' >"$work/pulse-client.conf"
export PULSE_CLIENTCONFIG="$work/pulse-client.conf"
for _ in $(seq 1 100); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl info >/dev/null 2>&1 || { echo "FAIL: pulseaudio did not start"; cat "$work/pulse.log"; exit 1; }

# --- Recording and measuring ---------------------------------------------------------------
record_start() { # name
  parec -d "$sink.monitor" --format=s16le --rate=16000 --channels=1 --latency-msec=20 >"$work/$1.raw" &
  record_pid=$!
  for _ in $(seq 1 50); do [[ -n $(pactl list short source-outputs) ]] && break; sleep 0.1; done
}
record_stop() { # name: keeps the recording as a .wav beside the build for listening
  stop "$record_pid"; record_pid=""
  sox -t raw -r 16000 -e signed -b 16 -c 1 "$work/$1.raw" "$recordings/$1.wav"
}
# Prints "peak=P words=N lengths=L1,L2,..": the loudest sample (0..1) and the pieces of sound
# separated by at least 0.3 s below 1 % of full scale, with their lengths in seconds.
measure() { # name
  local peak pieces=() piece
  peak=$(sox "$recordings/$1.wav" -n stat 2>&1 | awk '/Maximum amplitude/ {print $3}')
  mkdir -p "$work/$1.split"
  sox "$recordings/$1.wav" "$work/$1.split/piece.wav" silence 1 0.01 1% 1 0.3 1% : newfile : restart 2>/dev/null
  for piece in "$work/$1.split"/piece*.wav; do
    [[ -e $piece ]] || continue
    local length
    length=$(soxi -D "$piece")
    awk -v l="$length" 'BEGIN { exit !(l >= 0.05) }' && pieces+=("$length")
  done
  echo "peak=$peak words=${#pieces[@]} lengths=$(IFS=,; echo "${pieces[*]}")"
}

fail=0
check() { # name, expected, actual
  if [[ "$2" == "$3" ]]; then echo "ok: $1"; else echo "FAIL: $1: expected [$2], got [$3]"; fail=1; fi
}
# Exactly `count` spoken words, each a plausible length for one English word, or silence.
expect_words() { # name, count
  local measured words lengths peak
  measured=$(measure "$1")
  echo "$1: $measured"
  words=$(sed -n 's/.*words=\([0-9]*\).*/\1/p' <<<"$measured")
  check "$1: words heard" "$2" "$words"
  if (($2 > 0)); then
    peak=$(sed -n 's/^peak=\([0-9.]*\).*/\1/p' <<<"$measured")
    check "$1: loud enough to hear" yes "$(awk -v p="$peak" 'BEGIN { print (p >= 0.05) ? "yes" : "no" }')"
    lengths=$(sed -n 's/.*lengths=//p' <<<"$measured")
    check "$1: each word 0.2-1.5 s long" yes \
      "$(awk -v l="$lengths" 'BEGIN { n = split(l, a, ","); for (i = 1; i <= n; i++) if (a[i] < 0.2 || a[i] > 1.5) { print "no"; exit } print "yes" }')"
  fi
}
# Runs a command while recording and expects `count` words from it; words may come up to
# `settle` seconds after the command returns.
expect_words_during() { # name, count, settle, command...
  local name=$1 count=$2 settle=$3
  shift 3
  record_start "$name"
  "$@"
  sleep "$settle"
  record_stop "$name"
  expect_words "$name" "$count"
}

# --- The program -----------------------------------------------------------------------------
prefix="$work/program"
cmake --install "$build_dir" --prefix "$prefix" >/dev/null || { echo "FAIL: install"; exit 1; }

write_settings() { # readAloud as #TRUE# or #FALSE#; no companion question at start
  printf '"版本",0.1\r\n"是否已检测Tesmar单词Graxo",#TRUE#\r\n"是否与Tesmar单词Graxo共享目录",#FALSE#\r\n"是否朗读",%s\r\n"桌面","01.jpg"\r\n"桌面是否随机",#TRUE#\r\n' "$1" |
    iconv -f UTF-8 -t GBK >"$prefix/Dorrit参数.ini"
}
# A fresh user: own home, configuration and runtime folders, no session bus.
new_desktop() { # name
  local home="$work/$1"
  mkdir -p "$home/home" "$home/config" "$home/cache" "$home/data" "$home/run"
  chmod 700 "$home/run"
  export HOME="$home/home" XDG_CONFIG_HOME="$home/config" XDG_CACHE_HOME="$home/cache"
  export XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/run" WINEPREFIX="$home/no-wine-prefix"
  unset SPEECHD_ADDRESS DBUS_SESSION_BUS_ADDRESS
  runtime_dir="$home/run"
}
start_program() { # name: returns once the main window is up
  "$prefix/dorrit" 2>"$work/$1.log" &
  program_pid=$!
  for _ in $(seq 1 150); do
    kill -0 "$program_pid" 2>/dev/null || { echo "FAIL: $1: the program ended early"; cat "$work/$1.log"; return 1; }
    [[ -n $(xdotool search --onlyvisible --name "$title" 2>/dev/null) ]] && return 0
    sleep 0.1
  done
  echo "FAIL: $1: no main window"
  return 1
}
# Start-up ends with the window up; the engine is chosen after that, which for a service
# started on demand can take a few seconds.
start_program_and_wait_for_engine() { # name, reading aloud on (yes/no)
  start_program "$1" || return 1
  [[ $2 == yes ]] || return 0
  for _ in $(seq 1 150); do
    grep -q "Reading aloud" "$work/$1.log" && return 0
    sleep 0.1
  done
}
quit_program() {
  stop "$program_pid"; program_pid=""
}

# With a word shown, moves the pointer from outside every circle into the ring circle whose
# centre is at screen position x,y and expects that many words.
hover_ring_word_and_expect() { # name, words, x, y
  xdotool mousemove 5 760
  sleep 0.3
  expect_words_during "$1" "$2" 2 xdotool mousemove "$3" "$4"
}

# Opens the sample library from the menu, shows "travel" (its ring is full) and hovers its
# top ring word. The window fills the 1024 x 768 screen under a menu bar of about 20 pixels,
# so slot 0's circle (radius 95) is centred near (512, 155).
browse_and_hover() { # name
  # 文件 > 选择词库, as a user would.
  xdotool mousemove 22 10 click 1; sleep 0.5; xdotool key Down; sleep 0.2; xdotool key Return
  for _ in $(seq 1 50); do xdotool search --onlyvisible --name "选择词库" >/dev/null 2>&1 && break; sleep 0.1; done
  sleep 0.5
  xdotool type --delay 30 sample.qd; xdotool key Return; sleep 1
  xdotool mousemove 100 44 click 1; sleep 0.2
  xdotool key ctrl+a; xdotool type --delay 20 travel; xdotool key Return; sleep 0.5
  hover_ring_word_and_expect "$1-hover" "$([[ $1 == off ]] && echo 0 || echo 1)" 512 155
  import -window root "$recordings/$1-hover.png"
}

scenario() { # name, readAloud, welcome words expected, engine line expected in the log,
           # whether speech-dispatcher runs afterwards ("" : only when it spoke), then
           # functions to run with the program up, each given the scenario's name
  local name=$1 read_aloud=$2 words=$3 engine=$4 service=${5:-}
  shift 5 2>/dev/null || shift $#
  echo "--- $name"
  write_settings "$read_aloud"
  expect_words_during "$name-welcome" "$words" 2.5 start_program_and_wait_for_engine "$name" \
    "$([[ $read_aloud == '#TRUE#' ]] && echo yes || echo no)"
  local said
  said=$(grep "Reading aloud" "$work/$name.log")
  echo "$name: log: ${said:-(nothing about reading aloud)}"
  check "$name: engine chosen" "$engine" "$(grep -o "^Reading aloud [a-z ]*through [a-z-]*" <<<"$said" | head -1)"
  [[ -n $service ]] || service=$([[ $engine == *speech-dispatcher ]] && echo yes || echo no)
  check "$name: speech-dispatcher running afterwards" "$service" \
    "$(speech_service_running && echo yes || echo no)"
  local more
  for more in "$@"; do "$more" "$name"; done
  quit_program
  [[ $name == hung ]] || stop_speech_service
}

new_desktop dispatcher
scenario dispatcher '#TRUE#' 1 "Reading aloud through speech-dispatcher" "" browse_and_hover

new_desktop flite
mkdir -p "$XDG_CONFIG_HOME/speech-dispatcher"
echo DisableAutoSpawn >"$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf"
scenario flite '#TRUE#' 1 "Reading aloud through flite" "" browse_and_hover
check "flite: why speech-dispatcher was passed over" yes \
  "$(grep -q "passed over speech-dispatcher: not running, and starting it failed: Autospawn requested but disabled" "$work/flite.log" && echo yes || echo no)"

new_desktop hung
speech-dispatcher --spawn --communication-method unix_socket \
  --socket-path "$XDG_RUNTIME_DIR/speech-dispatcher/speechd.sock" >"$work/hung-service.log" 2>&1
for _ in $(seq 1 50); do speech_service_running && break; sleep 0.1; done
hung_pid=$(speech_service_pid)
if [[ -n $hung_pid ]]; then
  kill -STOP "$hung_pid"
  scenario hung '#TRUE#' 1 "Reading aloud through flite" yes
  check "hung: why speech-dispatcher was passed over" yes \
    "$(grep -q "passed over speech-dispatcher: no answer within" "$work/hung.log" && echo yes || echo no)"
  stop_speech_service
else
  echo "FAIL: hung: speech-dispatcher did not start"; cat "$work/hung-service.log"; fail=1
fi

new_desktop off
scenario off '#FALSE#' 0 "" "" browse_and_hover

echo "recordings in $recordings"
exit $fail

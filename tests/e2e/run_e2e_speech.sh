#!/usr/bin/env bash
# Reading aloud as a user hears it, recorded from a private PulseAudio server's null sink. One
# start per way the program can speak, chosen only by the desktop the test makes:
#   dispatcher  speech-dispatcher not running but may be started: the program starts it;
#   flite       speech-dispatcher may not be started (DisableAutoSpawn): flite speaks;
#   hung        speech-dispatcher runs but does not answer (SIGSTOP): flite, after a few seconds.
# Start-up says "welcome" and a ring word is said when pointed at. That nothing is said with
# reading aloud off is tst_Session's and tst_frmmain's.
# Usage: run_e2e_speech.sh BUILD_DIR      Exit 77 (skipped) when a tool is missing.
source "$(dirname "$0")/common.sh"
need pulseaudio pactl parec speech-dispatcher
begin "$1"
start_display 1024x768
recordings="$build_dir/e2e-speech" && rm -rf "$recordings" && mkdir "$recordings"
service_pid() { # of the current desktop's speech-dispatcher, while it runs
  local pid
  pid=$(cat "$XDG_RUNTIME_DIR/speech-dispatcher/pid/speech-dispatcher.pid" 2>/dev/null) && kill -0 "$pid" 2>/dev/null && echo "$pid"
}
stop_service() { # CONT first: a stopped process would never see the TERM
  local pid
  pid=$(service_pid) && kill -CONT "$pid" && kill "$pid" && wait_for 5 eval "! kill -0 $pid 2>/dev/null"
}
cleanup_more() { kill ${record_pid:-} ${pulse_pid:-} 2>/dev/null; stop_service; }

# A null sink reachable only through our own socket; as root too (pulseaudio only warns). No
# client may start a server of its own when ours is gone.
mkdir -m 700 "$work/pulse" && echo "autospawn = no" >"$work/pulse-client.conf"
XDG_RUNTIME_DIR="$work/pulse" HOME="$work/pulse" pulseaudio -n --daemonize=no --use-pid-file=no \
  --exit-idle-time=-1 --realtime=no --high-priority=no --log-target=stderr \
  --load="module-null-sink sink_name=e2e rate=16000 channels=1" \
  --load="module-native-protocol-unix socket=$work/pulse/native auth-anonymous=1" 2>"$work/pulse.log" &
pulse_pid=$!
export PULSE_SERVER="unix:$work/pulse/native" PULSE_CLIENTCONFIG="$work/pulse-client.conf"
wait_for 10 pactl info >/dev/null 2>&1 || { echo "FAIL: pulseaudio did not start"; cat "$work/pulse.log"; exit 1; }

# One recording of the whole run; its first samples come a while after the stream is made.
parec -d e2e.monitor --format=s16le --rate=16000 --channels=1 --latency-msec=20 >"$work/sound.raw" &
record_pid=$!
wait_for 5 test -s "$work/sound.raw"
during() { # NAME COMMAND...: runs COMMAND, then one word must be heard
  local from=$(stat -c %s "$work/sound.raw")
  "${@:2}"
  ui words "$1" "$work/sound.raw" "$from" "$recordings/$1.wav" || fail=1
}

main="frame:$title*"
settings_hex '#TRUE#' '#FALSE#' '#TRUE#' 01.jpg '#TRUE#' | xxd -r -p >"$prefix/Dorrit参数.ini"
# hover NAME: the sample library opened from the menu, "travel" (its ring is full) looked up, and
# the pointer moved from outside every circle onto its ring word "journey".
hover() {
  open_library sample.qd >/dev/null
  xdotool mousemove $(ui where "$main" "text:") click 1 key ctrl+a type travel
  xdotool key Return
  at=$(ui where "$main" "label:journey") && xdotool mousemove 5 760
  during "$1" xdotool mousemove $at
  screenshot "$recordings/$1.png"
}
start_and_wait_for_engine() { # NAME: the engine is chosen after the window shows, a while later
  start_program "$prefix/dorrit" "$work/$1" >/dev/null
  wait_for 15 grep -q "Reading aloud" "$work/$1.log"
}
# scenario NAME LOG SERVICE [SETUP...]: a fresh user (home, configuration, runtime folders) made
# ready by SETUP; a welcome (and a word on hover), how the log's line on reading aloud begins (who
# speaks and why), whether speech-dispatcher runs afterwards (yes/no).
scenario() {
  local home="$work/$1" said
  mkdir -p "$home"/{home,config,cache,data} && mkdir -m 700 "$home/run"
  export HOME="$home/home" XDG_CONFIG_HOME="$home/config" XDG_CACHE_HOME="$home/cache" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/run"
  unset SPEECHD_ADDRESS
  "${@:4}"
  during "$1-welcome" start_and_wait_for_engine "$1"
  said=$(grep -m 1 "Reading aloud" "$work/$1.log")
  check "$1: the log tells who speaks and why" "$2" "${said:0:${#2}}"
  check "$1: speech-dispatcher running afterwards" "$3" "$(service_pid >/dev/null && echo yes || echo no)"
  [[ $1 == hung ]] || hover "$1-hover"
  quit_program "$1"
  stop_service
}
no_autospawn() { mkdir "$XDG_CONFIG_HOME/speech-dispatcher" && echo DisableAutoSpawn >"$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf"; }
hung_service() {
  speech-dispatcher --spawn --communication-method unix_socket \
    --socket-path "$XDG_RUNTIME_DIR/speech-dispatcher/speechd.sock" >"$work/hung-service.log" 2>&1
  wait_for 5 service_pid >/dev/null || { echo "FAIL: speech-dispatcher did not start"; cat "$work/hung-service.log"; exit 1; }
  kill -STOP "$(service_pid)"
}

scenario dispatcher "Reading aloud through speech-dispatcher" yes
scenario flite "Reading aloud through flite - passed over speech-dispatcher: not running, and starting it \
failed: Autospawn requested but disabled" no no_autospawn
scenario hung "Reading aloud through flite - passed over speech-dispatcher: no answer within" yes hung_service
exit $fail

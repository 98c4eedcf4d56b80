#!/usr/bin/env bash
# Reading aloud as a user hears it: the program plays into a private PulseAudio server whose only
# output is a null sink, whose monitor is recorded. One start per way it can speak, chosen only
# by the desktop the test makes:
#   dispatcher  speech-dispatcher not running but may be started: the program starts it;
#   flite       speech-dispatcher may not be started (DisableAutoSpawn): flite speaks;
#   hung        speech-dispatcher runs but does not answer (SIGSTOP): flite, after a few seconds;
#   off         reading aloud off: nothing heard, no speech service started.
# With reading aloud on, start-up says "welcome" and a ring word is said when pointed at.
# Usage: run_e2e_speech.sh BUILD_DIR      Exit 77 (skipped) when a tool is missing.
source "$(dirname "$0")/common.sh"
need pulseaudio pactl parec speech-dispatcher
begin "$1"
install_program
start_display 1024x768
recordings="$build_dir/e2e-speech"
mkdir -p "$recordings"
rm -f "$recordings"/*.wav
stop() { [[ -z $1 ]] || { kill "$1" 2>/dev/null; wait "$1" 2>/dev/null; }; }
service_pid() { # of the current desktop's speech-dispatcher, while it runs
  local pid
  pid=$(cat "$XDG_RUNTIME_DIR/speech-dispatcher/pid/speech-dispatcher.pid" 2>/dev/null) && kill -0 "$pid" 2>/dev/null && echo "$pid"
}
stop_service() {
  local pid
  pid=$(service_pid) || return 0
  kill -CONT "$pid" # a stopped process would never see the TERM
  kill "$pid"
  wait_for 5 eval "! kill -0 $pid 2>/dev/null"
}
cleanup_more() { stop "${record_pid:-}"; stop_service; stop "${pulse_pid:-}"; }

# A null sink reachable only through our own socket; as root too (pulseaudio only warns).
mkdir -m 700 "$work/pulse"
XDG_RUNTIME_DIR="$work/pulse" HOME="$work/pulse" pulseaudio -n --daemonize=no --use-pid-file=no \
  --exit-idle-time=-1 --realtime=no --high-priority=no --log-target=stderr \
  --load="module-null-sink sink_name=e2e rate=16000 channels=1" \
  --load="module-native-protocol-unix socket=$work/pulse/native auth-anonymous=1" 2>"$work/pulse.log" &
pulse_pid=$!
# No client may start a server of its own when ours is gone.
echo "autospawn = no" >"$work/pulse-client.conf"
export PULSE_SERVER="unix:$work/pulse/native" PULSE_CLIENTCONFIG="$work/pulse-client.conf"
wait_for 10 pactl info >/dev/null 2>&1 || { echo "FAIL: pulseaudio did not start"; cat "$work/pulse.log"; exit 1; }

# One recording of the whole run; during NAME COUNT COMMAND... runs COMMAND and measures what
# follows: COUNT words, each as long as a word, loud enough.
parec -d e2e.monitor --format=s16le --rate=16000 --channels=1 --latency-msec=20 >"$work/sound.raw" &
record_pid=$!
# The stream's first samples come a while after it is made: words said before are lost.
wait_for 5 test -s "$work/sound.raw"
during() {
  local name=$1 count=$2 from
  from=$(stat -c %s "$work/sound.raw")
  shift 2
  "$@"
  ((count == 0)) || wait_for 15 /usr/bin/python3 "$e2e/measure.py" heard "$work/sound.raw" "$from" "$count"
  # Nothing tells that no further word is coming (a second welcome, a word said twice, any word
  # with reading aloud off): one would start within this.
  sleep 1.5
  /usr/bin/python3 "$e2e/measure.py" words "$name" "$work/sound.raw" "$from" "$count" "$recordings/$name.wav" || fail=1
}

main="frame:$title*"
# new_desktop NAME READ_ALOUD: a fresh user (home, configuration, runtime folders) and settings.
new_desktop() {
  local home="$work/$1"
  mkdir -p "$home/home" "$home/config" "$home/cache" "$home/data" "$home/run"
  chmod 700 "$home/run"
  export HOME="$home/home" XDG_CONFIG_HOME="$home/config" XDG_CACHE_HOME="$home/cache"
  export XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/run"
  unset SPEECHD_ADDRESS
  settings_hex '#TRUE#' "$2" 01.jpg '#TRUE#' | xxd -r -p >"$prefix/Dorrit参数.ini"
}
# The engine is chosen once the window is up, which for a service started on demand takes a while.
start_and_wait_for_engine() {
  start_program "$prefix/dorrit" "$work/$1" >/dev/null
  [[ $1 == off ]] || wait_for 15 grep -q "Reading aloud" "$work/$1.log"
}
# hover NAME COUNT: the sample library opened from the menu, "travel" (its ring is full) looked
# up, and the pointer moved from outside every circle onto its ring word "journey".
hover() {
  open_library sample.qd >/dev/null
  xdotool mousemove $(ui where "$main" "text:") click 1 key ctrl+a type travel
  xdotool key Return
  local at
  at=$(ui where "$main" "label:journey")
  xdotool mousemove 5 760
  during "$1" "$2" xdotool mousemove $at
  screenshot "$recordings/$1.png"
}
# scenario NAME COUNT ENGINE SERVICE [WHY]: COUNT welcomes (and words on hover), the engine's
# line in the log and why speech-dispatcher was passed over, whether it runs afterwards (yes/no).
scenario() {
  local name=$1 said
  during "$name-welcome" "$2" start_and_wait_for_engine "$name"
  said=$(grep "Reading aloud" "$work/$name.log")
  echo "$name: log: ${said:-(nothing about reading aloud)}"
  check "$name: engine chosen" "$3" "$(grep -o "^Reading aloud [a-z ]*through [a-z-]*" <<<"$said" | head -1)"
  [[ -z ${5:-} ]] || check "$name: why speech-dispatcher was passed over" yes "$(grep -qF "$5" <<<"$said" && echo yes)"
  check "$name: speech-dispatcher running afterwards" "$4" "$(service_pid >/dev/null && echo yes || echo no)"
  [[ $name == hung ]] || hover "$name-hover" "$2"
  quit_program "$name"
  stop_service
}

new_desktop dispatcher '#TRUE#'
scenario dispatcher 1 "Reading aloud through speech-dispatcher" yes

new_desktop flite '#TRUE#'
mkdir -p "$XDG_CONFIG_HOME/speech-dispatcher"
echo DisableAutoSpawn >"$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf"
scenario flite 1 "Reading aloud through flite" no \
  "passed over speech-dispatcher: not running, and starting it failed: Autospawn requested but disabled"

new_desktop hung '#TRUE#'
speech-dispatcher --spawn --communication-method unix_socket \
  --socket-path "$XDG_RUNTIME_DIR/speech-dispatcher/speechd.sock" >"$work/hung-service.log" 2>&1
wait_for 5 service_pid >/dev/null || { echo "FAIL: speech-dispatcher did not start"; cat "$work/hung-service.log"; exit 1; }
kill -STOP "$(service_pid)"
scenario hung 1 "Reading aloud through flite" yes "passed over speech-dispatcher: no answer within"

new_desktop off '#FALSE#'
scenario off 0 "" no
echo "recordings in $recordings"
exit $fail

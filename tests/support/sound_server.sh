# Sound servers of the test's own, headless, in a private runtime folder:
# PulseAudio, or PipeWire with its PulseAudio service, each with a null sink
# whose monitor can be recorded. Source this file; it exports what clients
# need to find the server (XDG_RUNTIME_DIR, PULSE_SERVER, PULSE_RUNTIME_PATH).
#   start_pulseaudio DIR [nosink]   start_pipewire DIR   stop_sound_server
#   kill_sound_server (at once, as a crash would)

SOUND_PIDS=()

_sound_env() {
  export XDG_RUNTIME_DIR="$1/run" PULSE_RUNTIME_PATH="$1/run/pulse" PULSE_SERVER="unix:$1/run/pulse/native" HOME="$1"
  export PULSE_COOKIE="$1/cookie"
  mkdir -p "$1/run/pulse"
  chmod 700 "$1/run"
}

# Waits until the server answers (and, unless `any`, has its sink).
_wait_server() {
  for _ in $(seq 100); do
    if pactl info >/dev/null 2>&1; then
      [ "${1:-}" = any ] && return 0
      pactl list short sinks 2>/dev/null | grep -q . && return 0
    fi
    sleep 0.1
  done
  echo "the sound server did not start" >&2
  return 1
}

start_pulseaudio() {
  local dir=$1
  _sound_env "$dir"
  {
    echo "load-module module-native-protocol-unix socket=$dir/run/pulse/native auth-anonymous=1"
    [ "${2:-}" = nosink ] || echo "load-module module-null-sink sink_name=out rate=48000"
    [ "${2:-}" = nosink ] || echo "set-default-sink out"
  } >"$dir/pulse.pa"
  pulseaudio -n -F "$dir/pulse.pa" --daemonize=no --exit-idle-time=-1 --disallow-exit=0 \
    >"$dir/pulseaudio.log" 2>&1 &
  SOUND_PIDS=($!)
  SOUND_KIND=pulseaudio SOUND_DIR=$dir SOUND_NOSINK=${2:-}
  if [ "${2:-}" = nosink ]; then _wait_server any; else _wait_server; fi
}

start_pipewire() {
  local dir=$1
  _sound_env "$dir"
  mkdir -p "$dir/config"
  dbus-daemon --session --nofork --nopidfile --address="unix:path=$dir/run/bus" >"$dir/dbus.log" 2>&1 &
  SOUND_PIDS=($!)
  export DBUS_SESSION_BUS_ADDRESS="unix:path=$dir/run/bus"
  for _ in $(seq 50); do [ -S "$dir/run/bus" ] && break; sleep 0.1; done
  pipewire >"$dir/pipewire.log" 2>&1 &
  SOUND_PIDS+=($!)
  sleep 0.5
  wireplumber >"$dir/wireplumber.log" 2>&1 &
  SOUND_PIDS+=($!)
  pipewire-pulse >"$dir/pipewire-pulse.log" 2>&1 &
  SOUND_PIDS+=($!)
  SOUND_KIND=pipewire SOUND_DIR=$dir
  _wait_server any || return 1
  pactl load-module module-null-sink sink_name=out rate=48000 >/dev/null
  pactl set-default-sink out 2>/dev/null || true
  _wait_server
}

# As a crash would: no goodbye to the clients.
kill_sound_server() {
  local pid
  for pid in "${SOUND_PIDS[@]}"; do kill -KILL "$pid" 2>/dev/null; done
  for pid in "${SOUND_PIDS[@]}"; do wait "$pid" 2>/dev/null; done
  SOUND_PIDS=()
  rm -f "$SOUND_DIR/run/pulse/native" "$SOUND_DIR/run/pipewire-0" "$SOUND_DIR/run/bus"
}

stop_sound_server() {
  [ ${#SOUND_PIDS[@]} -gt 0 ] && kill_sound_server
  true
}

# The same server again, as it was started.
restart_sound_server() {
  case "$SOUND_KIND" in
    pulseaudio) start_pulseaudio "$SOUND_DIR" $SOUND_NOSINK ;;
    pipewire) start_pipewire "$SOUND_DIR" ;;
  esac
}

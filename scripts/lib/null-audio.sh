# Sourced by the scripts whose Wine tests need a sound device.
# start_null_audio DIR: starts a private PulseAudio server with one null sink
# (its monitor is the capture source), waits until it accepts connections, and
# exports PULSE_SERVER, which Wine's winepulse.drv follows. Sets
# null_audio_pid; stop it with `kill $null_audio_pid`. Returns non-zero, and
# leaves PULSE_SERVER unset, when pulseaudio is missing or does not start: the
# tests that need a device then skip. See docs/audio-under-wine.md.
start_null_audio() {
  local dir=$1
  null_audio_pid=""
  command -v pulseaudio >/dev/null || { echo "pulseaudio not installed" >&2; return 1; }
  mkdir -p "$dir"
  rm -f "$dir/native"
  # The sink first: the socket appears when the server can already play.
  # Its own runtime and home folder: nothing of the user's sound set-up is
  # touched or used, and two worktrees' servers do not meet.
  XDG_RUNTIME_DIR=$dir HOME=$dir pulseaudio -n --daemonize=no --exit-idle-time=-1 \
    --use-pid-file=no --log-target=file:"$dir/pulse.log" \
    --load="module-null-sink sink_name=tavisko_null sink_properties=device.description=Tavisko-Null" \
    --load="module-native-protocol-unix socket=$dir/native auth-anonymous=1" \
    </dev/null >/dev/null 2>&1 &
  null_audio_pid=$!
  local _
  for _ in $(seq 50); do
    if [[ -S "$dir/native" ]]; then
      export PULSE_SERVER=unix:$dir/native
      return 0
    fi
    sleep 0.1
  done
  echo "pulseaudio did not start (see $dir/pulse.log)" >&2
  kill "$null_audio_pid" 2>/dev/null
  null_audio_pid=""
  return 1
}

# Sourced by the scripts that need an X server of their own.
# start_xvfb FIRST LAST: starts Xvfb on the first free display number in
# FIRST..LAST, waits until it accepts connections, and sets xvfb_display (":N")
# and xvfb_pid. Each script uses its own range, so they can run side by side.
start_xvfb() {
  local n
  xvfb_display=""
  xvfb_pid=""
  for n in $(seq "$1" "$2"); do
    if [[ ! -e /tmp/.X$n-lock && ! -e /tmp/.X11-unix/X$n ]]; then xvfb_display=:$n; break; fi
  done
  if [[ -z "$xvfb_display" ]]; then
    echo "no free X display in $1..$2" >&2
    return 1
  fi
  Xvfb "$xvfb_display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 50); do
    [[ -e /tmp/.X11-unix/X${xvfb_display#:} ]] && return 0
    sleep 0.1
  done
  echo "Xvfb did not start on $xvfb_display" >&2
  return 1
}

# Shell functions for the scripts that drive the real window on a virtual X server
# (tools/check-package.sh, tools/screenshot.sh). Source it; needs xvfb and xdotool.

# The main window's client area, in the twips its layout is given in.
readonly VARNELLO_CLIENT_WIDTH_TWIPS=10164
readonly VARNELLO_CLIENT_HEIGHT_TWIPS=6540

# Starts Xvfb on a free display and points DISPLAY at it.
x_session_start() {
  x_session_dir=$(mktemp -d)
  Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x800x24 \
    3>"$x_session_dir/display" 2>"$x_session_dir/log" &
  x_session_pid=$!
  local tries
  for tries in $(seq 100); do
    [ -s "$x_session_dir/display" ] && break
    sleep 0.1
  done
  [ -s "$x_session_dir/display" ] || { cat "$x_session_dir/log" >&2; return 1; }
  export DISPLAY=":$(head -n1 "$x_session_dir/display")"
}

x_session_stop() {
  [ -n "${x_session_pid:-}" ] || return 0
  kill "$x_session_pid" 2>/dev/null || true
  wait "$x_session_pid" 2>/dev/null || true
  rm -rf "$x_session_dir"
  x_session_pid=
}

# Prints the id of the shown main window, waiting up to a minute for it.
main_window() {
  timeout 60 xdotool search --sync --onlyvisible --name '^Varnello$' | head -n1
}

# Clicks the middle of a control of the main window, given as left top width height
# in twips of the client area (the window's own layout, below its menu bar).
click_control() {
  local window=$1 left=$2 top=$3 width=$4 height=$5 WIDTH HEIGHT X Y SCREEN
  eval "$(xdotool getwindowgeometry --shell "$window")"
  local x y
  read -r x y < <(awk -v W="$WIDTH" -v H="$HEIGHT" -v l="$left" -v t="$top" -v w="$width" \
    -v h="$height" -v cw="$VARNELLO_CLIENT_WIDTH_TWIPS" -v ch="$VARNELLO_CLIENT_HEIGHT_TWIPS" \
    'BEGIN { s = W / cw; menu = H - ch * s; printf "%d %d\n", (l + w / 2) * s, menu + (t + h / 2) * s }')
  xdotool mousemove --window "$window" "$x" "$y" click 1
}

# The toolbar buttons.
click_convert() { click_control "$1" 5640 0 1090 975; }
click_exit() { click_control "$1" 9120 0 970 975; }

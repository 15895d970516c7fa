# Sourced by the scripts that run the programs under Wine: `korval_display [WIDTHxHEIGHT]` makes sure there is
# an X display. With DISPLAY set it does nothing; without, it starts Xvfb on a free display (the server picks
# it, so two runs never collide), exports DISPLAY and leaves the server's process in xvfb_pid for the caller's
# clean-up (empty when nothing was started).
xvfb_pid=""
korval_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  local display_file
  display_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "${1:-1280x1024}x24" -nolisten tcp 3>"$display_file" 2>/dev/null &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
  export DISPLAY=":$(head -n 1 "$display_file")"
  rm -f "$display_file"
}

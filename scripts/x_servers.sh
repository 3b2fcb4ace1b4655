# Sourced by test.sh. Starts the X servers the display tests run against:
#   DISPLAY                Xvfb with the openbox window manager, 1280 × 1024 × 24
#   KV_FULLSCREEN_DISPLAY  Xorg on the dummy video driver that can switch modes:
#                          desktop 1024 × 768 with 800 × 600 and 800 × 768 (as root only)
#   KV_TALL_MODES_DISPLAY  the same without 800 × 600, so full screen takes 800 × 768
x_pids=()

wait_for_x() {
  local display=$1
  for _ in $(seq 100); do
    xdpyinfo -display "$display" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "X server $display did not start" >&2
  return 1
}

# Xorg with a config of tests/x/; the dummy driver needs no screen but Xorg wants root.
start_dummy_xorg() {
  local display=$1 config=$2 variable=$3 sudo=""
  ((EUID == 0)) || sudo="sudo"
  $sudo Xorg "$display" -config "$PWD/tests/x/$config" -noreset -nolisten tcp \
    -logfile "/tmp/kv-xorg${display#:}.log" >/dev/null 2>&1 &
  x_pids+=($!)
  wait_for_x "$display"
  export "$variable=$display"
}

start_x_servers() {
  Xvfb :91 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  x_pids+=($!)
  wait_for_x :91
  DISPLAY=:91 openbox >/dev/null 2>&1 &
  x_pids+=($!)
  export DISPLAY=:91
  start_dummy_xorg :93 dummy-modes.conf KV_FULLSCREEN_DISPLAY
  start_dummy_xorg :94 dummy-tall-modes.conf KV_TALL_MODES_DISPLAY
}

stop_x_servers() {
  ((${#x_pids[@]})) && kill "${x_pids[@]}" 2>/dev/null || true
  wait 2>/dev/null || true
}

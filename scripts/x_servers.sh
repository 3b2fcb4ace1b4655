# Sourced by test.sh. Starts the X servers the display tests run against:
#   DISPLAY               Xvfb with the openbox window manager, 1280 × 1024 × 24
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

start_x_servers() {
  Xvfb :91 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  x_pids+=($!)
  wait_for_x :91
  DISPLAY=:91 openbox >/dev/null 2>&1 &
  x_pids+=($!)
  export DISPLAY=:91
}

stop_x_servers() {
  ((${#x_pids[@]})) && kill "${x_pids[@]}" 2>/dev/null || true
  wait 2>/dev/null || true
}

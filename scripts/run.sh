#!/usr/bin/env bash
# Installs what is missing, builds and starts the analyzer. When no device is
# plugged in (or with --sim) it runs against the simulated device and presses
# keys of sample remotes every few seconds, so captures arrive and decode.
#   scripts/run.sh [--sim | --hardware] [--no-demo]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
mode=auto
demo=1
for arg in "$@"; do
  case "$arg" in
    --sim) mode=sim ;;
    --hardware) mode=hardware ;;
    --no-demo) demo=0 ;;
    *) echo "usage: $0 [--sim | --hardware] [--no-demo]" >&2; exit 2 ;;
  esac
done

"$root/scripts/install-deps.sh" --run
build="$root/build"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)" --target wavix wavix-sim wavix-simusb wavix-cli

device_present() {
  for d in /sys/bus/usb/devices/*; do
    [ -f "$d/idVendor" ] || continue
    if [ "$(cat "$d/idVendor")" = "16c0" ] && [ "$(cat "$d/idProduct")" = "1012" ]; then
      return 0
    fi
  done
  return 1
}
if [ "$mode" = auto ]; then
  if device_present; then mode=hardware; else mode=sim; fi
fi

pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; }
trap cleanup EXIT

# No desktop (a server, a container): show the window on a virtual display.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  export DISPLAY=:47
  Xvfb "$DISPLAY" -screen 0 1280x1024x24 >/dev/null 2>&1 &
  pids+=($!)
  sleep 1
  echo "No desktop found: wavix runs on the virtual display $DISPLAY"
fi

bin="$build/bin"
if [ "$mode" = sim ]; then
  export WAVIX_SIM_SOCKET="${WAVIX_SIM_SOCKET:-${XDG_RUNTIME_DIR:-/tmp}/wavix-sim-run-$$.sock}"
  "$bin/wavix-sim" daemon --socket "$WAVIX_SIM_SOCKET" &
  pids+=($!)
  for _ in $(seq 50); do [ -S "$WAVIX_SIM_SOCKET" ] && break; sleep 0.1; done
  if [ "$demo" = 1 ]; then
    "$bin/wavix-sim" demo &
    pids+=($!)
  fi
  echo "Simulated device running (socket $WAVIX_SIM_SOCKET). Press START in wavix; press keys with:"
  echo "  WAVIX_SIM_SOCKET=$WAVIX_SIM_SOCKET $bin/wavix-sim press nec-tv power"
  LD_PRELOAD="$build/lib/libwavix-simusb.so" "$bin/wavix"
else
  echo "Using the plugged-in device."
  "$bin/wavix"
fi

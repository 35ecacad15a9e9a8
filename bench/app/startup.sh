#!/usr/bin/env bash
# Wall time from starting the wavix process to its window being shown, on a
# virtual X display against the simulated device: bench/app/startup.sh [runs]
# The language packs are in place: an untimed first run writes them.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${BUILD:-$root/build-bench}"
runs="${1:-10}"
export DISPLAY="${WAVIX_BENCH_DISPLAY:-:83}"
# -noreset: the server would otherwise reset, refusing connections for a
# moment, each time its last client leaves.
Xvfb "$DISPLAY" -noreset -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb=$!
export WAVIX_SIM_SOCKET="/tmp/wavix-startup-$$.sock"
"$build/bin/wavix-sim" daemon --socket "$WAVIX_SIM_SOCKET" >/dev/null 2>&1 &
sim=$!
# Waiting for both lets the next run take the same display at once.
trap 'kill $xvfb $sim 2>/dev/null; wait $xvfb $sim 2>/dev/null || true' EXIT
# A loaded machine can take more than a second to bring up the display.
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
sleep 0.5
times=()
for run in $(seq 0 "$runs"); do
  start=$(date +%s%N)
  LD_PRELOAD="$build/lib/libwavix-simusb.so" "$build/bin/wavix" >/dev/null 2>/dev/null &
  pid=$!
  until xdotool search --onlyvisible --name '^Wavix II' >/dev/null 2>&1; do
    kill -0 "$pid" 2>/dev/null || { echo "wavix ended before showing its window" >&2; exit 1; }
    sleep 0.002
  done
  end=$(date +%s%N)
  [ "$run" -gt 0 ] && times+=($(( (end - start) / 1000000 )))
  kill "$pid"; wait "$pid" 2>/dev/null || true
done
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
echo "start-up to first shown window: median ${sorted[$(( runs / 2 ))]} ms (runs: ${times[*]})"

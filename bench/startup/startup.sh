#!/usr/bin/env bash
# The game window against a bare Qt window of the same size, on a virtual
# screen (Xvfb):
#   - start-up: from starting the process to its first painted frame;
#   - peak memory (VmHWM) two seconds after that frame;
#   - CPU used in 10 s of idle town view (the game after "LV EASY" and the
#     skipped opening; the bare window just standing).
#   bench/startup/startup.sh [BUILD_DIR] [RUNS]
# BUILD_DIR defaults to build/ and must hold game/kiravel and
# bench/startup/kiravel-bare-window; RUNS defaults to 7.
set -euo pipefail

root="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
runs="${2:-7}"
game="$build/game/kiravel"
bare="$build/bench/startup/kiravel-bare-window"
for program in "$game" "$bare"; do
  [[ -x "$program" ]] || { echo "startup: no $program; build first" >&2; exit 2; }
done

if [[ -z "${DISPLAY:-}" ]]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" "$0" "$build" "$runs"
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
printf 'wait 200\nclick ComStt(0)\nwait 300\nclick ComSkep\n' >"$work/town.scenario"

now_ms() { date +%s%3N; }

# Starts a program in the background; its output goes to $work/out.
launch() {
  KIRAVEL_REPORT_FIRST_FRAME=1 "$@" >"$work/out" 2>/dev/null &
  pid=$!
}

# Asks the program to end, and makes it end if it will not.
stop() {
  kill "$pid" 2>/dev/null || true
  for _ in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -9 "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

wait_first_frame() {
  for _ in $(seq 2000); do
    grep -q '^first-frame ' "$work/out" && return 0
    sleep 0.01
  done
  echo "startup: no first frame from $1" >&2
  exit 1
}

# Prints "milliseconds-to-first-frame peak-kB" for one start.
one_start() {
  local started
  started="$(now_ms)"
  launch "$1"
  wait_first_frame "$1"
  local frame
  frame="$(awk '/^first-frame /{print $2; exit}' "$work/out")"
  sleep 2
  local peak
  peak="$(awk '/^VmHWM:/{print $2}' "/proc/$pid/status")"
  stop
  echo "$((frame - started)) $peak"
}

cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# Prints "cpu-percent-of-one-core peak-kB" over 10 s of standing idle.
idle() {
  launch env KIRAVEL_SCREENSHOT_SCENARIO="$work/town.scenario" "$1"
  wait_first_frame "$1"
  sleep 3
  local before after peak
  before="$(cpu_ticks "$pid")"
  sleep 10
  after="$(cpu_ticks "$pid")"
  peak="$(awk '/^VmHWM:/{print $2}' "/proc/$pid/status")"
  stop
  awk -v d="$((after - before))" -v hz="$(getconf CLK_TCK)" -v peak="$peak" \
    'BEGIN { printf "%.2f %d\n", d / hz / 10 * 100, peak }'
}

median() {
  sort -n | awk '{ v[NR] = $1 }
    END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

measure() {
  local name="$1" program="$2"
  : >"$work/$name.starts"
  for _ in $(seq "$runs"); do one_start "$program" >>"$work/$name.starts"; done
  start_ms="$(cut -d' ' -f1 "$work/$name.starts" | median)"
  peak_kb="$(cut -d' ' -f2 "$work/$name.starts" | median)"
  read -r idle_cpu idle_peak < <(idle "$program")
  local all
  all="$(cut -d' ' -f1 "$work/$name.starts" | tr '\n' ' ' | sed 's/ $//')"
  printf '%-4s first frame %4s ms (runs: %s)  peak %6s kB  idle CPU %5s %%  ' \
    "$name" "$start_ms" "$all" "$peak_kb" "$idle_cpu"
  printf 'peak in town view %6s kB\n' "$idle_peak"
  eval "${name}_start=$start_ms ${name}_peak=$peak_kb ${name}_idle_peak=$idle_peak"
}

measure bare "$bare"
measure game "$game"
awk -v gs="$game_start" -v bs="$bare_start" -v gp="$game_peak" -v bp="$bare_peak" \
  -v gt="$game_idle_peak" -v bt="$bare_idle_peak" 'BEGIN {
    printf "game / bare: start-up %.2fx (aim 1.3x), peak memory %.2fx (aim 1.5x),", gs / bs, gp / bp
    printf " in town view %.2fx\n", gt / bt }'

#!/usr/bin/env bash
# The game window against a bare Qt window of the same size, on a virtual
# screen (Xvfb):
#   - start-up: from starting the process to its first painted frame;
#   - peak memory (VmHWM) two seconds after that frame, the music playing;
#   - CPU used in 10 s of idle town view (the game after "LV EASY" and the
#     skipped opening; the bare window just standing), and how often the
#     program woke up meanwhile: its main thread, and all its threads.
# The music plays through SDL's disk audio driver, which writes the sound
# into a file at the pace a sound card would take it.
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

# A desktop has a session bus; without one the game's name box (its input
# method) would start one on the way to the first frame.
if [[ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ]] && command -v dbus-run-session >/dev/null; then
  exec dbus-run-session -- "$0" "$build" "$runs"
fi
if [[ -z "${DISPLAY:-}" ]]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" "$0" "$build" "$runs"
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
printf 'wait 200\nclick ComStt(0)\nwait 300\nclick ComSkep\n' >"$work/town.scenario"

now_ms() { date +%s%3N; }

# Starts a program in the background; its output goes to a file of its own,
# $out, so nothing a program on its way out still writes is taken for it.
# The game reports its first frame when asked to; the bare window always does.
launch() {
  out="$(mktemp "$work/out.XXXXXX")"
  local program="$1"
  shift
  local asked=()
  [[ $program == "$game" ]] && asked=(--report-first-frame "$@")
  SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/sound.raw" "$program" "${asked[@]}" >"$out" 2>/dev/null &
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
    grep -q '^first-frame [0-9]*$' "$out" && return 0
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
  frame="$(awk '/^first-frame [0-9]+$/{print $2; exit}' "$out")"
  sleep 2
  local peak
  peak="$(awk '/^VmHWM:/{print $2}' "/proc/$pid/status")"
  stop
  echo "$((frame - started)) $peak"
}

# CPU nanoseconds and context switches (times the thread went to sleep or
# was put aside) of the main thread and of all threads: "cpu main-wakes all-wakes".
thread_counts() {
  local cpu=0 main=0 all=0 task ns switches
  for task in /proc/"$1"/task/*; do
    read -r ns _ <"$task/schedstat" 2>/dev/null || continue
    switches="$(awk '/ctxt_switches/{n += $2} END {print n + 0}' "$task/status" 2>/dev/null)"
    cpu=$((cpu + ns))
    all=$((all + switches))
    [[ "${task##*/}" == "$1" ]] && main="$switches"
  done
  echo "$cpu $main $all"
}

# Prints "cpu-percent-of-one-core peak-kB main-wakeups/s all-wakeups/s" over
# 10 s of standing idle.
idle() {
  launch "$1" --play "$work/town.scenario"
  wait_first_frame "$1"
  sleep 3
  local cpu0 main0 all0 cpu1 main1 all1 peak
  read -r cpu0 main0 all0 < <(thread_counts "$pid")
  sleep 10
  read -r cpu1 main1 all1 < <(thread_counts "$pid")
  peak="$(awk '/^VmHWM:/{print $2}' "/proc/$pid/status")"
  stop
  awk -v c="$((cpu1 - cpu0))" -v m="$((main1 - main0))" -v a="$((all1 - all0))" -v peak="$peak" \
    'BEGIN { printf "%.3f %d %.1f %.1f\n", c / 1e9 / 10 * 100, peak, m / 10, a / 10 }'
}

median() {
  sort -n | awk '{ v[NR] = $1 }
    END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# Starts alternate between the two programs, so that whatever else the
# machine does weighs on both alike.
: >"$work/bare.starts"
: >"$work/game.starts"
for _ in $(seq "$runs"); do
  one_start "$bare" >>"$work/bare.starts"
  one_start "$game" >>"$work/game.starts"
done

report() {
  local name="$1" program="$2"
  start_ms="$(cut -d' ' -f1 "$work/$name.starts" | median)"
  peak_kb="$(cut -d' ' -f2 "$work/$name.starts" | median)"
  read -r idle_cpu idle_peak main_wakes all_wakes < <(idle "$program")
  local all
  all="$(cut -d' ' -f1 "$work/$name.starts" | tr '\n' ' ' | sed 's/ $//')"
  printf '%-4s first frame %4s ms (runs: %s)  peak %6s kB  idle CPU %6s %%  ' \
    "$name" "$start_ms" "$all" "$peak_kb" "$idle_cpu"
  printf 'peak in town view %6s kB  wake-ups/s main %5s all threads %5s\n' \
    "$idle_peak" "$main_wakes" "$all_wakes"
  eval "${name}_start=$start_ms ${name}_peak=$peak_kb ${name}_idle_peak=$idle_peak"
  eval "${name}_idle=$idle_cpu ${name}_wakes=$main_wakes"
}

report bare "$bare"
report game "$game"
awk -v gs="$game_start" -v bs="$bare_start" -v gp="$game_peak" -v bp="$bare_peak" \
  -v gt="$game_idle_peak" -v bt="$bare_idle_peak" -v gi="$game_idle" -v bi="$bare_idle" \
  -v gw="$game_wakes" -v bw="$bare_wakes" 'BEGIN {
    printf "game / bare: first frame %.2fx (aim 1.10x), peak memory %.2fx (aim 1.25x),", gs / bs, gp / bp
    printf " idle CPU %s (aim: game at most 0.1 %%),", (bi > 0) ? sprintf("%.2fx", gi / bi) : "bare 0"
    printf " in town view %.2fx\n", gt / bt
    printf "game main thread wakes %s times a second idle (aim at most 2; bare %s)\n", gw, bw }'

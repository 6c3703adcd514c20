#!/usr/bin/env bash
# Plays the game window on a virtual screen (Xvfb) through the start panel,
# the opening scene, a tavern visit and eight journeys, through its widgets as
# a player would, and saves what the window shows as PNG files. Then, on a
# 640×480 screen and full screen on 1280×1024, it opens the history, the
# preferences and the key page with their keys (xdotool, under openbox) and
# saves the whole screen (ImageMagick's import).
#   tools/screenshots.sh [BUILD_DIR] [OUT_DIR]
# BUILD_DIR defaults to build/, OUT_DIR to BUILD_DIR/screenshots/.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
out="${2:-$build/screenshots}"
game="$build/game/kiravel"
if [[ ! -x "$game" ]]; then
  echo "screenshots: no $game; build first" >&2
  exit 2
fi
mkdir -p "$out"
rm -f "$out"/*.png

scenario="$(mktemp)"
reading="$(mktemp)"
trap 'rm -f "$scenario" "$reading"' EXIT
# The scenario is in kiravel-run's language, with `shot NAME` added. A
# battle may or may not break out on the road; the flute is blown only while
# it is shown (a click on a hidden button is refused and changes nothing).
{
  cat <<'SCENARIO'
wait 500
shot 01-start
click ComStt(0)
wait 300
shot 02-opening
click ComSkep
wait 300
shot 03-town
click Com(3)
wait 300
shot 04-tavern
select LstIrai 0
click ComIrai
wait 300
shot 05-request-taken
click MenuCom
wait 200
SCENARIO
  # Journeys back and forth between the first and the third town, so that
  # a monster is all but sure to meet the courier on one of them.
  for trip in 1 2 3 4 5 6 7 8; do
    echo "select LstMati(0) $(( trip % 2 == 1 ? 0 : 2 ))"
    echo "click Com(4)"
    echo "wait 250"
    echo "shot $(printf %02d $(( 3 + 3 * trip )))-road-$trip"
    echo "click ComBtl"
    echo "wait 250"
    echo "shot $(printf %02d $(( 4 + 3 * trip )))-flute-$trip"
    for _ in 1 2 3 4 5 6 7; do
      echo "click ComBtl"
      echo "wait 250"
    done
    echo "wait 1000"
    echo "shot $(printf %02d $(( 5 + 3 * trip )))-arrived-$trip"
  done
  cat <<'SCENARIO'
resize 13500
wait 500
shot 30-large
resize 4500
wait 500
shot 31-small
answer yes
close
SCENARIO
} >"$scenario"

SDL_AUDIODRIVER=dummy timeout 120 xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" \
  "$game" --play "$scenario" --shots "$out"

# A few pages of the opening, for the history to hold.
printf 'wait 300\nclick ComStt(0)\nwait 200\n' >"$reading"
for _ in 1 2 3 4 5 6 7 8; do printf 'click Lbl\nwait 100\n' >>"$reading"; done

# Presses each key and saves the screen once what it opens is up; the
# window takes the keys while no other has the focus.
# A full screen comes from F11, once the window has the focus.
reading_shots() {
  local screen="$1" name="$2" full="$3"
  SDL_AUDIODRIVER=dummy timeout 120 xvfb-run -a -s "-screen 0 ${screen}x24 -dpi 96" \
    bash -s "$game" "$reading" "$out" "$name" "$full" <<'SHOTS'
set -euo pipefail
game="$1" reading="$2" out="$3" name="$4" full="$5"
openbox >/dev/null 2>&1 &
"$game" --window --play "$reading" >/dev/null 2>&1 &
pid=$!
window="$(xdotool search --sync --name '^Kiravel$' | head -n 1)"
sleep 4
shoot() {
  xdotool key "$1"
  sleep 1
  import -window root "$out/$2-$name.png"
  xdotool key Escape
  sleep 0.5
}
xdotool windowactivate "$window" >/dev/null 2>&1 || true
sleep 1
if [[ $full == yes ]]; then
  xdotool key F11
  sleep 2
fi
shoot h 40-history
shoot F2 41-preferences
shoot F1 42-keys
kill "$pid"
wait "$pid" 2>/dev/null || true
SHOTS
}
reading_shots 640x480 640x480 no
reading_shots 1280x1024 fullscreen yes
ls "$out"/*.png

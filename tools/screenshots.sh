#!/usr/bin/env bash
# Plays the game window on a virtual screen (Xvfb) through the start panel,
# the opening scene, a tavern visit and eight journeys, through its widgets as
# a player would, and saves what the window shows as PNG files.
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
trap 'rm -f "$scenario"' EXIT
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
ls "$out"/*.png

#!/usr/bin/env bash
# How long the music is silent when the piece ends and starts again. The game
# plays through SDL's disk audio driver, which writes the sound into a file
# at the pace a sound card would take it. Each copy of the piece is found in
# that file, and the time between the end of one copy and the start of the
# next is the gap. By default the piece is half a second long; with WAVE
# (16-bit, such as the game's bgm.wav) that piece plays instead, for SECONDS.
#   bench/startup/music_gap.sh [BUILD_DIR] [SECONDS] [WAVE]
set -euo pipefail

root="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
seconds="${2:-12}"
wave="${3:-}"
[[ -z "$wave" ]] || wave="$(cd "$(dirname "$wave")" && pwd)/$(basename "$wave")"
[[ -x "$build/game/kiravel" ]] || { echo "music_gap: no $build/game/kiravel; build first" >&2; exit 2; }

if [[ -z "${DISPLAY:-}" ]]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" "$0" "$build" "$seconds" "$wave"
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# The program with its data, and whatever it loads from beside its folder.
cp -r "$build/game" "$work/game"
[[ -d "$build/lib" ]] && cp -r "$build/lib" "$work/lib"

# Half a second of a rising tone that never repeats a sample, 22050 frames a
# second, 16-bit mono.
[[ -n "$wave" ]] && cp "$wave" "$work/game/bgm.wav" || python3 - "$work/game/bgm.wav" <<'PY'
import struct, sys
rate, frames = 22050, 11025
samples = b"".join(struct.pack("<h", 1000 + i) for i in range(frames))
fmt = struct.pack("<HHIIHH", 1, 1, rate, rate * 2, 2, 16)
body = b"WAVE" + b"fmt " + struct.pack("<I", 16) + fmt + b"data" + struct.pack("<I", len(samples)) + samples
open(sys.argv[1], "wb").write(b"RIFF" + struct.pack("<I", len(body)) + body)
PY

SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/sound.raw" "$work/game/kiravel" >/dev/null 2>&1 &
pid=$!
sleep "$seconds"
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true

python3 - "$work/sound.raw" "$work/game/bgm.wav" <<'PY'
import struct, sys
stream = open(sys.argv[1], "rb").read()
wave = open(sys.argv[2], "rb").read()
at = 12
while wave[at:at + 4] != b"data":
    at += 8 + struct.unpack("<I", wave[at + 4:at + 8])[0]
size = struct.unpack("<I", wave[at + 4:at + 8])[0]
piece = wave[at + 8:at + 8 + size]
rate = struct.unpack("<I", wave[24:28])[0]
frame = struct.unpack("<H", wave[32:34])[0]
# Each copy of the piece in the sound is found by a stretch of its first
# loud samples; the silence between copies is the gap.
loud = next(i for i in range(0, len(piece), 2) if piece[i:i + 2] != b"\0\0")
mark = piece[loud:loud + 512]
starts, found = [], stream.find(mark)
while found >= 0:
    starts.append(found - loud)
    found = stream.find(mark, found + len(piece) // 2)
gaps = sorted((b - a - len(piece)) / frame * 1000 / rate for a, b in zip(starts, starts[1:]))
if not gaps:
    print("music gap: no restart heard")
    sys.exit(1)
middle = len(gaps) // 2
median = gaps[middle] if len(gaps) % 2 else (gaps[middle - 1] + gaps[middle]) / 2
print("music restart gap: %d restarts, median %.1f ms, max %.1f ms, min %.1f ms"
      % (len(gaps), median, gaps[-1], gaps[0]))
PY

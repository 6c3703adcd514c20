#!/usr/bin/env bash
# How long the music is silent when the piece ends and starts again. The game
# plays a short piece through SDL's disk audio driver, which writes the sound
# into a file at the pace a sound card would take it; every sample of the
# piece is loud, so each run of silence in the file after the first sound is
# one restart.
#   bench/startup/music_gap.sh [BUILD_DIR] [SECONDS]
set -euo pipefail

root="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
seconds="${2:-12}"
[[ -x "$build/game/kiravel" ]] || { echo "music_gap: no $build/game/kiravel; build first" >&2; exit 2; }

if [[ -z "${DISPLAY:-}" ]]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" "$0" "$build" "$seconds"
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# The program with its data, and whatever it loads from beside its folder.
cp -r "$build/game" "$work/game"
[[ -d "$build/lib" ]] && cp -r "$build/lib" "$work/lib"

# Half a second of a loud square wave, 22050 frames a second, 16-bit mono.
python3 - "$work/game/bgm.wav" <<'PY'
import struct, sys
rate, frames = 22050, 11025
samples = b"".join(struct.pack("<h", 8000 if (i // 50) % 2 else -8000) for i in range(frames))
fmt = struct.pack("<HHIIHH", 1, 1, rate, rate * 2, 2, 16)
body = b"WAVE" + b"fmt " + struct.pack("<I", 16) + fmt + b"data" + struct.pack("<I", len(samples)) + samples
open(sys.argv[1], "wb").write(b"RIFF" + struct.pack("<I", len(body)) + body)
PY

SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/sound.raw" "$work/game/kiravel" >/dev/null 2>&1 &
pid=$!
sleep "$seconds"
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true

python3 - "$work/sound.raw" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
samples = struct.unpack("<%dh" % (len(data) // 2), data[: len(data) // 2 * 2])
first = next(i for i, v in enumerate(samples) if v != 0)
gaps, run = [], 0
for v in samples[first:]:
    if v == 0:
        run += 1
    else:
        if run:
            gaps.append(run * 1000 / 22050)
        run = 0
gaps.sort()
if not gaps:
    print("music gap: no restart heard")
    sys.exit(1)
median = gaps[len(gaps) // 2] if len(gaps) % 2 else (gaps[len(gaps) // 2 - 1] + gaps[len(gaps) // 2]) / 2
print("music restart gap: %d restarts, median %.1f ms, max %.1f ms, min %.1f ms"
      % (len(gaps), median, gaps[-1], gaps[0]))
PY

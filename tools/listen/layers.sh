#!/bin/sh
# Measures the music loops and renders a few layered mixes for a listening check.
#   tools/listen/layers.sh [build dir] [out dir]
# Prints peak and RMS (in 16-bit units) of each loop and of each mix, how each loop ends
# (tails.py), and the number of samples a mix clips; writes the mixes and their spectrograms
# to the out dir.
set -eu
build=${1:-build}
out=${2:-/tmp/kestrava-listen}
files=$build/assets/files
mkdir -p "$out"

# Peak and RMS of a file, in 16-bit units.
levels() {
  sox "$1" -n stat 2>&1 | awk '
    /Maximum amplitude/ {max = $3} /Minimum amplitude/ {min = -$3} /RMS +amplitude/ {rms = $3}
    END {peak = max > min ? max : min; printf "peak %6d  rms %6d\n", peak * 32768, rms * 32768}'
}

echo "== loops"
for n in 1 2 3 4 5 6 7 8; do
  printf 'sound%d  %s\n' "$n" "$(levels "$files/sound$n.wav")"
done

# How each loop ends: trailing silence below -60 dBFS, the cut, the level near the seam.
echo "== ends"
python3 "$(dirname "$0")/tails.py" "$files"/sound[1-8].wav

# A mix the way the game's mixer makes it: plain sums at unity gain, clamped to 16 bits.
mix() {
  name=$1; shift
  set -- $(for n in "$@"; do echo "$files/sound$n.wav"; done)
  # Summed in full precision to count clipping exactly, then written clamped like the mixer.
  python3 - "$out/$name.wav" "$@" <<'PY'
import struct, sys, wave
out, paths = sys.argv[1], sys.argv[2:]
loops = []
for p in paths:
    w = wave.open(p)
    data = w.readframes(w.getnframes())
    loops.append(struct.unpack("<%dh" % (len(data) // 2), data))
n = max(len(l) for l in loops)
total = [0] * n
for l in loops:
    for i, v in enumerate(l):
        total[i] += v
clipped = sum(1 for v in total if v > 32767 or v < -32768)
peak = max(abs(v) for v in total)
rms = (sum(v * v for v in total) / n) ** 0.5
w = wave.open(out, "wb"); w.setnchannels(2); w.setsampwidth(2); w.setframerate(22050)
w.writeframes(struct.pack("<%dh" % n, *[max(-32768, min(32767, v)) for v in total]))
w.close()
print("peak %6d  rms %6d  clipped %d of %d" % (peak, rms, clipped, n))
PY
}

echo "== mixes"
for layering in "8 8 8 8 8" "8 1 1 1 1" "8 2 2 2 2" "8 3 3 3 3" "8 4 4 4 4" "8 5 5 5 5" \
                "8 6 6 6 6" "8 7 7 7 7" "8 3 3 7 7" "8 1 3 5 7" "8 2 4 6 7" "8 1" "8 2 4"; do
  name=mix-$(echo "$layering" | tr ' ' '-')
  printf '%-14s %s\n' "$(echo "$layering" | tr ' ' '+')" "$(mix "$name" $layering)"
  sox "$out/$name.wav" -n remix 1,2 spectrogram -x 1000 -y 300 -t "$name" -o "$out/$name.png"
done
echo "mixes and spectrograms in $out"

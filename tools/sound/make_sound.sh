#!/usr/bin/env bash
# Remakes every sound of the game into assets/audio/ (committed), with tools/sound/manifest.csv
# and tools/sound/loudness.txt. Needs packages a player's build does not: they are installed
# here when missing. Usage: tools/sound/make_sound.sh
set -euo pipefail
cd "$(dirname "$0")/../.."
need=(fluidsynth fluid-soundfont-gm vorbis-tools python3-numpy python3-scipy)
missing=()
for p in "${need[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=(); [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
rm -rf assets/audio
/usr/bin/python3 tools/sound/generate.py "$PWD"

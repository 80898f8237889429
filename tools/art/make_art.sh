#!/usr/bin/env bash
# Remakes every image and animation of the game into assets/ (committed), with
# tools/art/manifest.csv and the contact sheets in tools/art/contact/. Needs a package a
# player's build does not: it is installed here when missing. Usage: tools/art/make_art.sh
set -euo pipefail
cd "$(dirname "$0")/../.."
need=(python3-cairo fonts-dejavu-core)
missing=()
for p in "${need[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=(); [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
/usr/bin/python3 tools/art/generate.py "$PWD"

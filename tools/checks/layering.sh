#!/usr/bin/env bash
# The layering check: fails when a file includes a header of a library above its own, when
# the renderer includes the platform object's header, when code outside the script runtime
# reaches the runtime's internals, and (given a build folder) when tvlua, tvluac or a fuzz
# target links SDL2 or Xlib, or the launcher control links an engine library.
#   tools/checks/layering.sh SOURCE_DIR [BUILD_DIR]
# Libraries, bottom to top (a library may include what its line lists, and itself):
#   core      tvlib/core (not app/)
#   platform  tvlib/platform (generic and headless)   core
#   x11       tvlib/platform/x11                      core platform
#   sdl       tvlib/platform/sdl                      core platform x11
#   render    tvlib/render                            core platform
#   script    tvlib/script (the runtime)              -
#   bind      tvlib/script/TScript*, TLua*            core script
#   ui media hiscore                                  core platform render script bind, each other
#   app       tvlib/core/app                          every engine library
#   fx        game/fx (special effects)               core platform render script bind ui media
#   shell     game/shell                              every engine library, fx
#   room      game/room                               every engine library, fx shell
#   level     game/level                              every engine library, fx shell room
#   game      game (the rest)                         every engine library, fx shell room level
#   webcontrol webcontrol (the launcher control)      itself, and of the engine only the host
#                                                     protocol header (HostProtocol.h)
# The control's shared library and its host link no engine library either.
set -euo pipefail
src=${1:?source folder}
build=${2:-}
cd "$src"

# Sets `lib` to the library a path belongs to ("" for files the check does not judge).
library_of() {
  case "$1" in
    tvlib/core/app/*) lib=app ;;
    tvlib/core/*) lib=core ;;
    tvlib/platform/x11/*) lib=x11 ;;
    tvlib/platform/sdl/*) lib=sdl ;;
    tvlib/platform/*) lib=platform ;;
    tvlib/render/*) lib=render ;;
    tvlib/script/TScript* | tvlib/script/TLua*) lib=bind ;;
    tvlib/script/*) lib=script ;;
    tvlib/ui/*) lib=ui ;;
    tvlib/media/*) lib=media ;;
    tvlib/hiscore/*) lib=hiscore ;;
    game/fx/*) lib=fx ;;
    game/shell/*) lib=shell ;;
    game/room/*) lib=room ;;
    game/level/*) lib=level ;;
    game/*) lib=game ;;
    webcontrol/*) lib=webcontrol ;;
    *) lib="" ;;
  esac
}

# The libraries each library's files may include.
declare -A allowed=(
  [core]="core"
  [platform]="core platform"
  [x11]="core platform x11"
  [sdl]="core platform x11 sdl"
  [render]="core platform render"
  [script]="script"
  [bind]="core script bind"
  [ui]="core platform render script bind ui media hiscore"
  [media]="core platform render script bind ui media hiscore"
  [hiscore]="core platform render script bind ui media hiscore"
  [app]="core platform x11 sdl render script bind ui media hiscore app game"
  [fx]="core platform render script bind ui media fx"
  [shell]="core platform x11 sdl render script bind ui media hiscore app fx shell"
  [room]="core platform x11 sdl render script bind ui media hiscore app fx shell room"
  [level]="core platform x11 sdl render script bind ui media hiscore app fx shell room level"
  [game]="core platform x11 sdl render script bind ui media hiscore app fx shell room level game"
  [webcontrol]="webcontrol"
)

# The one engine header the launcher control shares with the game.
readonly kHostProtocolHeader=tvlib/platform/x11/HostProtocol.h

# The runtime's public headers; the rest of tvlib/script is the runtime's own.
public_script_header() {
  case "$1" in
    tvlib/script/Api.h | tvlib/script/AuxLib.h | tvlib/script/Libs.h | tvlib/script/Limits.h) return 0 ;;
    tvlib/script/TScript* | tvlib/script/TLua*) return 0 ;;
  esac
  return 1
}

failures=0
fail() {
  echo "layering: $*" >&2
  failures=$((failures + 1))
}

# Every include of an engine or game header, as "file:header", in one pass over the tracked
# sources.
while IFS=: read -r file header; do
  library_of "$file"
  from=$lib
  library_of "$header"
  to=$lib
  [ -z "$to" ] && continue
  if [ "$from" = webcontrol ] && [ "$header" = "$kHostProtocolHeader" ]; then
    :
  elif [ -n "$from" ] && ! [[ " ${allowed[$from]} " == *" $to "* ]]; then
    fail "$file ($from) includes $header ($to)"
  fi
  # The renderer reaches its host only through TRenderHost, never the platform object.
  if [ "$from" = render ] && [ "$header" = tvlib/core/TPlatform.h ]; then
    fail "$file (render) includes $header: the renderer's host is TRenderHost"
  fi
  if [ "$from" != script ] && [ "$from" != bind ] && [[ "$file" != tests/script/* ]] &&
     [[ "$header" == tvlib/script/* ]] && ! public_script_header "$header"; then
    fail "$file includes the script runtime's internal $header"
  fi
done < <(git ls-files -z -- 'tvlib/*.h' 'tvlib/*.cpp' 'game/*.h' 'game/*.cpp' 'tools/*.h' \
           'tools/*.cpp' 'tests/fuzz/*.h' 'tests/fuzz/*.cpp' 'bench/*.h' 'bench/*.cpp' \
           'webcontrol/*.h' 'webcontrol/*.cpp' |
         xargs -0 grep -H '^[[:space:]]*#[[:space:]]*include[[:space:]]*"\(tvlib\|game\|webcontrol\)/' /dev/null |
         sed 's/^\([^:]*\):.*"\(\(tvlib\|game\|webcontrol\)\/[^"]*\)".*/\1:\2/')

# No CMake file forces a link cycle to resolve.
if git grep -n LINK_INTERFACE_MULTIPLICITY -- '*CMakeLists.txt' '*.cmake' >&2; then
  fail "a CMake file uses LINK_INTERFACE_MULTIPLICITY"
fi

# The script tools and the fuzz targets link neither SDL2 nor Xlib; the launcher control's
# library and host link no engine library (tv*).
if [ -n "$build" ] && [ -f "$build/build.ninja" ]; then
  while IFS= read -r line; do
    fail "$line"
  done < <(awk '
    /^build / {
      target = $2; sub(/:$/, "", target)
      n = split(target, parts, "/"); name = parts[n]
      judged = (name == "tvlua" || name == "tvluac" || target ~ /^tests\/fuzz\//)
      control = (target ~ /^webcontrol\//)
    }
    judged && /^  LINK_LIBRARIES = / && /SDL2|libX11|libXtst|X11::/ {
      print target " links SDL2 or Xlib"
    }
    control && /^  LINK_LIBRARIES = / && /(^|[ \/])libtv[a-z0-9_]*\.a/ {
      print target " (the launcher control) links an engine library"
    }' "$build/build.ninja")
fi

if [ "$failures" -gt 0 ]; then
  echo "layering: $failures problem(s)" >&2
  exit 1
fi
echo "layering: ok"

#!/usr/bin/env bash
# The layering check on small trees of its own: a clean tree passes; a tree with one include of
# each forbidden kind (up, sideways, from the engine into the game, in angle brackets, by a
# relative path, in a file not yet added, without a link behind it, into the runtime's
# internals, a window system outside its backend), programs that link what they must not, and
# a folder with no sources each fail with the line that names the fault.
#   tests/tools/checks/layering_test.sh tools/checks/layering.sh
set -euo pipefail
check=$(realpath "${1:?the layering check}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

put() { # file, text
  mkdir -p "$(dirname "$1")"
  printf '%s\n' "$2" >"$1"
}

# A tree with a header in every library and the libraries' link graph, all allowed, made once
# in `template`; each case starts from a copy.
make_template() {
  mkdir -p "$work/template"
  cd "$work/template"
  git init -q .
  local dir lib
  for pair in core:tvcore platform:tvplatform platform/x11:tvplatform_x11 \
              platform/sdl:tvplatform_sdl render:tvrender ui:tvui media:tvmedia \
              hiscore:tvhiscore app:tvapp; do
    dir=tvlib/${pair%%:*}
    lib=${pair##*:}
    put "$dir/${lib}Header.h" "#pragma once"
    put "$dir/${lib}Source.cpp" "#include \"$dir/${lib}Header.h\""
  done
  put tvlib/script/Api.h "#pragma once"
  put tvlib/script/State.h "#pragma once"
  put tvlib/script/Vm.cpp '#include "tvlib/script/State.h"'
  put tvlib/script/TScript.h '#include "tvlib/script/Api.h"'
  put tvlib/script/TScript.cpp '#include "tvlib/core/tvcoreHeader.h"'
  for pair in shell:tvshell fx:tvfx room:tvroom level:tvlevel frontend:tvfrontend main:tvgame; do
    dir=game/${pair%%:*}
    lib=${pair##*:}
    put "$dir/${lib}Header.h" "#pragma once"
    put "$dir/${lib}Source.cpp" "#include \"$dir/${lib}Header.h\""
  done
  put tvlib/core/CMakeLists.txt "add_library(tvcore STATIC tvcoreSource.cpp)"
  put tvlib/platform/CMakeLists.txt "add_library(tvplatform STATIC tvplatformSource.cpp)
target_link_libraries(tvplatform PUBLIC tvcore)"
  put tvlib/platform/x11/CMakeLists.txt "add_library(tvplatform_x11 STATIC tvplatform_x11Source.cpp)
target_link_libraries(tvplatform_x11 PUBLIC tvplatform)"
  put tvlib/platform/sdl/CMakeLists.txt "add_library(tvplatform_sdl STATIC tvplatform_sdlSource.cpp)
target_link_libraries(tvplatform_sdl PUBLIC tvplatform_x11)"
  put tvlib/render/CMakeLists.txt "add_library(tvrender STATIC tvrenderSource.cpp)
target_link_libraries(tvrender PUBLIC tvplatform)"
  put tvlib/script/CMakeLists.txt "add_library(tvscript STATIC Vm.cpp)
add_library(tvbind STATIC
  TScript.cpp)  # the binding
target_link_libraries(tvbind PUBLIC tvscript tvcore)"
  put tvlib/ui/CMakeLists.txt "add_library(tvui STATIC tvuiSource.cpp)
target_link_libraries(tvui PUBLIC tvrender tvbind)"
  put tvlib/media/CMakeLists.txt "add_library(tvmedia STATIC tvmediaSource.cpp)
target_link_libraries(tvmedia PUBLIC tvrender tvbind)"
  put tvlib/hiscore/CMakeLists.txt "add_library(tvhiscore STATIC tvhiscoreSource.cpp)
target_link_libraries(tvhiscore PUBLIC tvcore PRIVATE CURL::libcurl)"
  put tvlib/app/CMakeLists.txt "add_library(tvapp STATIC tvappSource.cpp)
target_link_libraries(tvapp PUBLIC tvui tvmedia tvhiscore tvplatform_sdl)"
  put game/shell/CMakeLists.txt "add_library(tvshell STATIC tvshellSource.cpp)
target_link_libraries(tvshell PUBLIC tvapp)"
  put game/fx/CMakeLists.txt "add_library(tvfx STATIC tvfxSource.cpp)
target_link_libraries(tvfx PUBLIC tvui tvmedia)"
  put game/room/CMakeLists.txt "add_library(tvroom STATIC tvroomSource.cpp)
target_link_libraries(tvroom PUBLIC tvui tvmedia)"
  put game/level/CMakeLists.txt "add_library(tvlevel STATIC tvlevelSource.cpp)
target_link_libraries(tvlevel PUBLIC tvroom tvshell)"
  put game/frontend/CMakeLists.txt "add_library(tvfrontend STATIC tvfrontendSource.cpp)
target_link_libraries(tvfrontend PUBLIC tvshell tvfx)"
  put game/main/CMakeLists.txt "add_library(tvgame STATIC tvgameSource.cpp)
target_link_libraries(tvgame PUBLIC tvlevel tvfrontend)"
  # Allowed: down the layers, with a link behind each.
  put tvlib/app/Wiring.cpp '#include "tvlib/ui/tvuiHeader.h"
#include <tvlib/hiscore/tvhiscoreHeader.h>
#include <vector>'
  put game/level/Level.cpp '#include "game/room/tvroomHeader.h"
#include "game/shell/tvshellHeader.h"'
  put game/main/Main.cpp '#include "game/level/tvlevelHeader.h"
#include "game/frontend/tvfrontendHeader.h"'
  git add -A
}

clean_tree() {
  rm -rf "$work/tree"
  cp -a "$work/template" "$work/tree"
  cd "$work/tree"
}

expect_ok() { # what
  local out
  if ! out=$("$check" . 2>&1); then
    echo "FAIL: $1: the check failed:"
    echo "$out"
    failed=1
  fi
}

expect_caught() { # what, text the report must hold, [build folder]
  local out status=0
  out=$("$check" . ${3:+"$3"} 2>&1) || status=$?
  if [ "$status" -eq 0 ] || [[ "$out" != *"$2"* ]]; then
    echo "FAIL: $1: expected a failure naming \"$2\", got status $status:"
    echo "$out"
    failed=1
  fi
}

make_template
clean_tree
expect_ok "the clean tree"

# One planted fault a case: the file, its text, and what the report must name.
while IFS='|' read -r what file text report; do
  clean_tree
  put "$file" "$text"
  [[ "$what" == untracked* ]] || git add -A
  expect_caught "$what" "$report"
done <<'CASES'
up from the core|tvlib/core/Up.cpp|#include "tvlib/ui/tvuiHeader.h"|tvlib/core/Up.cpp (core) includes tvlib/ui/tvuiHeader.h (ui): up or beside
media beside ui|tvlib/media/Side.cpp|#include "tvlib/ui/tvuiHeader.h"|(media) includes tvlib/ui/tvuiHeader.h (ui)
ui beside media|tvlib/ui/Side.cpp|#include "tvlib/media/tvmediaHeader.h"|(ui) includes tvlib/media/tvmediaHeader.h (media)
ui beside hiscore|tvlib/ui/Side.cpp|#include "tvlib/hiscore/tvhiscoreHeader.h"|(ui) includes tvlib/hiscore/tvhiscoreHeader.h (hiscore)
hiscore needs only the core|tvlib/hiscore/Up.cpp|#include "tvlib/platform/tvplatformHeader.h"|(hiscore) includes tvlib/platform/tvplatformHeader.h (platform)
the engine into the game|tvlib/app/Game.cpp|#include "game/shell/tvshellHeader.h"|(app) includes game/shell/tvshellHeader.h (shell)
angle brackets|tvlib/render/Angle.cpp|#include <tvlib/ui/tvuiHeader.h>|(render) includes tvlib/ui/tvuiHeader.h (ui)
a relative path|tvlib/media/Relative.cpp|#include "../ui/tvuiHeader.h"|includes name the path from the repository root
a relative path up|tvlib/media/Relative2.cpp|#include "../ui/tvuiHeader.h"|(media) includes tvlib/ui/tvuiHeader.h (ui)
untracked file|tvlib/core/NotAdded.cpp|#include "tvlib/render/tvrenderHeader.h"|tvlib/core/NotAdded.cpp (core) includes
no link behind|game/room/Effects.cpp|#include "game/fx/tvfxHeader.h"|no CMake link of room leads to fx
the room beside the shell|game/room/Shell.cpp|#include "game/shell/tvshellHeader.h"|(room) includes game/shell/tvshellHeader.h (shell)
the level beside the screens|game/level/Screen.cpp|#include "game/frontend/tvfrontendHeader.h"|(level) includes game/frontend/tvfrontendHeader.h (frontend)
the screens beside the level|game/frontend/Level.cpp|#include "game/level/tvlevelHeader.h"|(frontend) includes game/level/tvlevelHeader.h (level)
the game's main from below|game/shell/Main.cpp|#include "game/main/tvgameHeader.h"|(shell) includes game/main/tvgameHeader.h (main)
the binding into the runtime|tvlib/script/TLuaThing.cpp|#include "tvlib/script/State.h"|internal tvlib/script/State.h
the runtime into the core|tvlib/script/Lexer.cpp|#include "tvlib/core/tvcoreHeader.h"|(script) includes tvlib/core/tvcoreHeader.h (core)
the renderer to the platform object|tvlib/render/Host.cpp|#include "tvlib/core/TPlatform.h"|the renderer's host is TRenderHost
SDL2 outside its backend|tvlib/ui/Sdl.cpp|#include <SDL.h>|SDL2 is the sdl backend's
Xlib outside its backend|tvlib/app/X.cpp|#include <X11/Xlib.h>|Xlib is the x11 backend's
a folder of no library|tvlib/extra/Stray.cpp|#include "tvlib/core/tvcoreHeader.h"|belongs to no library
CASES

# Programs of a build that link what they must not.
clean_tree
put build/build.ninja 'build tools/tvlua/tvlua: CXX_EXECUTABLE_LINKER__tvlua
  LINK_LIBRARIES = tvlib/script/libtvbind.a  /usr/lib/x86_64-linux-gnu/libpng.so
build tests/game/room/room_rules_tests: CXX_EXECUTABLE_LINKER__room_rules_tests
  LINK_LIBRARIES = game/room/libtvroom.a  /usr/lib/x86_64-linux-gnu/libcurl.so
build tests/fuzz/SomeFuzz: CXX_EXECUTABLE_LINKER__SomeFuzz
  LINK_LIBRARIES = /usr/lib/x86_64-linux-gnu/libSDL2.so'
expect_caught "a script tool with libpng" "tools/tvlua/tvlua links SDL2, Xlib, libpng or libjpeg" build
expect_caught "the room's rules with libcurl" "room_rules_tests links SDL2, Xlib or libcurl" build
expect_caught "a fuzz target with SDL2" "tests/fuzz/SomeFuzz links" build
expect_caught "a build folder without its build file" "no build.ninja" "$work/nowhere"

# A tree with the same fault outside a git checkout: the files are listed from the folders.
clean_tree
put tvlib/core/Up.cpp '#include "tvlib/ui/tvuiHeader.h"'
rm -rf .git
expect_caught "outside a git checkout" "tvlib/core/Up.cpp (core) includes"

# Nothing to judge: a folder without sources is a failure, never an "ok".
rm -rf "$work/tree"
mkdir -p "$work/tree"
cd "$work/tree"
expect_caught "a folder without sources" "no sources found"

if [ "$failed" -ne 0 ]; then
  exit 1
fi
echo "layering check test: ok"

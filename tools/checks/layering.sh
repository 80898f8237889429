#!/usr/bin/env bash
# The layering check: fails when a file includes a header of a library above its own or beside
# it, when such an include has no CMake link behind it, when the renderer includes the platform
# object's header, when code outside the script runtime (its engine binding included) reaches
# the runtime's internals, when a window system's headers are used outside its backend, when an
# include names a library header by a relative path, and (given a build folder) when the script
# tools or the fuzz targets link SDL2, Xlib, libpng or libjpeg, or the room's rule tests link
# SDL2, Xlib or libcurl, or the launcher control links an engine library. It also fails when it cannot list the sources, or when it judged far
# fewer includes than the sources hold (a sign that it misread them).
#   tools/checks/layering.sh SOURCE_DIR [BUILD_DIR]
# The sources are the checkout's files, those not yet added included (outside a git checkout,
# every file of the source folders). Includes are read in every form: "path", <path> and a
# path relative to the including file.
#
# Libraries, bottom to top (a library may include what its line lists, and itself):
#   core      tvlib/core                                 -
#   platform  tvlib/platform (generic and headless)      core
#   x11       tvlib/platform/x11                         core platform
#   sdl       tvlib/platform/sdl                         core platform x11
#   render    tvlib/render                               core platform
#   script    tvlib/script (the runtime)                 -
#   bind      tvlib/script/TScript*, TLua*               core script
#   ui        tvlib/ui                                   core platform render script bind
#   media     tvlib/media                                core platform render script bind
#   hiscore   tvlib/hiscore                              core
#   app       tvlib/app (the engine's composition root)  every engine library
#   shell     game/shell                                 every engine library
#   fx        game/fx                                    core platform render script bind ui media
#   room      game/room                                  as fx, and fx
#   level     game/level                                 every engine library, shell fx room
#   frontend  game/frontend (the screens)                every engine library, shell fx room
#   main      game/main (the game's composition root)    everything
# ui, media and hiscore never include one another; nor do the level and the screens, which
# start levels by script name.
#   webcontrol webcontrol/ (the launcher control)         itself, and of the engine only the host
#                                                        protocol header (HostProtocol.h); its
#                                                        library and host link no engine library
set -euo pipefail
src=${1:?source folder}
build=${2:-}
cd "$src"

# Sets `lib` to the library a path belongs to ("" for files the check does not judge).
library_of() {
  case "$1" in
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
    tvlib/app/*) lib=app ;;
    game/shell/*) lib=shell ;;
    game/fx/*) lib=fx ;;
    game/room/*) lib=room ;;
    game/level/*) lib=level ;;
    game/frontend/*) lib=frontend ;;
    game/main/*) lib=main ;;
    webcontrol/*) lib=webcontrol ;;
    tvlib/* | game/*) lib=unknown ;;
    *) lib="" ;;
  esac
}

engine="core platform x11 sdl render script bind ui media hiscore app"
declare -A allowed=(
  [core]="core"
  [platform]="core platform"
  [x11]="core platform x11"
  [sdl]="core platform x11 sdl"
  [render]="core platform render"
  [script]="script"
  [bind]="core script bind"
  [ui]="core platform render script bind ui"
  [media]="core platform render script bind media"
  [hiscore]="core hiscore"
  [app]="$engine"
  [shell]="$engine shell"
  [fx]="core platform render script bind ui media fx"
  [room]="core platform render script bind ui media fx room"
  [level]="$engine shell fx room level"
  [frontend]="$engine shell fx room frontend"
  [main]="$engine shell fx room level frontend main"
  [webcontrol]="webcontrol"
)

# The one engine header the launcher control shares with the game.
readonly kHostProtocolHeader=tvlib/platform/x11/HostProtocol.h

# The runtime's public headers; the rest of tvlib/script is the runtime's own.
public_script_header() {
  case "$1" in
    tvlib/script/Api.h | tvlib/script/AuxLib.h | tvlib/script/Libs.h | tvlib/script/NumberConversion.h) return 0 ;;
    tvlib/script/TScript* | tvlib/script/TLua*) return 0 ;;
  esac
  return 1
}

failures=0
fail() {
  echo "layering: $*" >&2
  failures=$((failures + 1))
}

# --- The sources ------------------------------------------------------------------------
folders=(tvlib game webcontrol tools tests bench)
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  listing=$(git ls-files -co --exclude-standard -- "${folders[@]}") || {
    echo "layering: cannot list the sources of $src" >&2
    exit 1
  }
else
  present=()
  for f in "${folders[@]}"; do [ -d "$f" ] && present+=("$f"); done
  listing=$([ ${#present[@]} -gt 0 ] && find "${present[@]}" -type f) || true
fi
sources=$(printf '%s\n' "$listing" | grep -E '\.(h|cpp|c|inc)$' || true)
cmake_files=$(printf '%s\n' "$listing" | grep -E '(^|/)CMakeLists\.txt$' || true)
if [ -z "$sources" ]; then
  echo "layering: no sources found under $src" >&2
  exit 1
fi

# --- The link graph, from the CMake files of the libraries -------------------------------
# Every library target of tvlib/ and game/ belongs to the library of its first source (the
# engine binding is a target of its own beside the runtime); `links` holds, for each library,
# the libraries its targets link (all of them, and transitively).
declare -A target_lib=()
declare -A direct=()
while read -r kind folder target rest; do
  if [ "$kind" = add ]; then
    set -- $rest
    case "${1:-}" in STATIC | SHARED | OBJECT | MODULE) shift ;; esac
    library_of "$folder/${1:-}"
    [ -n "$lib" ] && target_lib[$target]=$lib
  else
    direct[$target]="${direct[$target]:-} $rest"
  fi
done < <(printf '%s\n' "$cmake_files" | grep -E '^(tvlib|game)/' | tr '\n' '\0' |
         xargs -0 -r awk '
           # Each file as one text, comments dropped, cut into commands at ")".
           { sub(/#.*/, ""); text[FILENAME] = text[FILENAME] " " $0 }
           END {
             for (f in text) {
               folder = f; sub(/\/CMakeLists\.txt$/, "", folder)
               n = split(text[f], commands, ")")
               for (i = 1; i <= n; i++) {
                 c = commands[i]; gsub(/[ \t]+/, " ", c); sub(/^ /, "", c)
                 if (c ~ /^add_library\(/) { sub(/^add_library\(/, "", c); print "add " folder " " c }
                 else if (c ~ /^target_link_libraries\(/) {
                   sub(/^target_link_libraries\(/, "", c); print "link - " c
                 }
               }
             }
           }')
declare -A links=()
for lib in core platform x11 sdl render script bind ui media hiscore app shell fx room level frontend main; do
  # Libraries reached from the library's targets, breadth first over the target graph.
  queue=()
  for t in "${!target_lib[@]}"; do [ "${target_lib[$t]}" = "$lib" ] && queue+=("$t"); done
  declare -A seen=()
  reached=" $lib "
  while [ ${#queue[@]} -gt 0 ]; do
    t=${queue[0]}
    queue=("${queue[@]:1}")
    for dep in ${direct[$t]:-}; do
      case "$dep" in PUBLIC | PRIVATE | INTERFACE) continue ;; esac
      [ -n "${seen[$dep]:-}" ] && continue
      seen[$dep]=1
      if [ -n "${target_lib[$dep]:-}" ]; then
        reached="$reached${target_lib[$dep]} "
        queue+=("$dep")
      fi
    done
  done
  unset seen
  links[$lib]=$reached
done

# --- The includes -------------------------------------------------------------------------
include_lines=$(printf '%s\n' "$sources" | tr '\n' '\0' |
                xargs -0 grep -H '^[[:space:]]*#[[:space:]]*include[[:space:]]*["<]' /dev/null) || true
mapfile -t all_lines <<<"$include_lines"
raw=${#all_lines[@]}
# Every include as "file<TAB>form<TAB>path", form q (quotes) or a (angle brackets).
includes=$(printf '%s\n' "$include_lines" |
           sed -n -e 's/^\([^:]*\):[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1\tq\t\2/p' \
                  -e 's/^\([^:]*\):[[:space:]]*#[[:space:]]*include[[:space:]]*<\([^>]*\)>.*/\1\ta\t\2/p')
judged=0
repo_includes=0
while IFS=$'\t' read -r file form path; do
  [ -z "$file" ] && continue
  judged=$((judged + 1))
  library_of "$file"
  from=$lib
  header=$path
  case "$path" in
    tvlib/* | game/* | webcontrol/* | tests/* | tools/* | bench/*) ;;
    *)
      # A path relative to the including file that reaches a file of the sources.
      resolved=""
      [ "$form" = q ] && resolved=$(realpath -m --relative-to=. "$(dirname "$file")/$path")
      if [ -n "$resolved" ] && [ -e "$resolved" ]; then
        header=$resolved
        library_of "$header"
        [ -n "$lib" ] &&
          fail "$file includes \"$path\": includes name the path from the repository root ($header)"
      else
        # A system header: the window systems belong to their backends.
        if [ -n "$from" ]; then
          case "$path" in
            SDL*) [ "$from" = sdl ] || fail "$file ($from) includes <$path>: SDL2 is the sdl backend's" ;;
            X11/*) [ "$from" = x11 ] || [ "$from" = sdl ] || [ "$from" = webcontrol ] ||
                     fail "$file ($from) includes <$path>: Xlib is the x11 backend's" ;;
          esac
        fi
        continue
      fi
      ;;
  esac
  library_of "$header"
  to=$lib
  [ -z "$to" ] && continue
  repo_includes=$((repo_includes + 1))
  if [ "$to" = unknown ] || [ "$from" = unknown ]; then
    fail "$file includes $header: a folder of tvlib/ or game/ that belongs to no library"
    continue
  fi
  if [ "$from" = webcontrol ] && [ "$header" = "$kHostProtocolHeader" ]; then
    :
  elif [ -n "$from" ] && [ "$from" != "$to" ]; then
    if ! [[ " ${allowed[$from]} " == *" $to "* ]]; then
      fail "$file ($from) includes $header ($to): up or beside its layer"
    elif ! [[ "${links[$from]}" == *" $to "* ]]; then
      fail "$file ($from) includes $header ($to), but no CMake link of $from leads to $to"
    fi
  fi
  # The renderer reaches its host only through TRenderHost, never the platform object.
  if [ "$from" = render ] && [ "$header" = tvlib/core/TPlatform.h ]; then
    fail "$file (render) includes $header: the renderer's host is TRenderHost"
  fi
  if [ "$from" != script ] && [[ "$file" != tests/script/* ]] &&
     [[ "$header" == tvlib/script/* ]] && ! public_script_header "$header"; then
    fail "$file includes the script runtime's internal $header"
  fi
done <<<"$includes"

# Every include line the sources hold was read and judged; far fewer means a misreading.
if [ "$judged" -lt $((raw * 95 / 100)) ] || [ "$repo_includes" -eq 0 ]; then
  fail "judged $judged of $raw includes ($repo_includes of the sources' own headers)"
fi

# No CMake file forces a link cycle to resolve.
if printf '%s\n' "$cmake_files" | tr '\n' '\0' | xargs -0 grep -n LINK_INTERFACE_MULTIPLICITY /dev/null >&2; then
  fail "a CMake file uses LINK_INTERFACE_MULTIPLICITY"
fi

# What the programs of this build link: the script tools no window system and no image
# library; the fuzz targets no window system (those of the image loaders link their image
# library); the room's rule tests no window system and no network; the
# launcher control's library and host no engine library.
if [ -n "$build" ]; then
  if [ ! -f "$build/build.ninja" ]; then
    fail "no build.ninja in $build"
  else
    while IFS= read -r line; do
      fail "$line"
    done < <(awk '
      /^build / {
        target = $2; sub(/:$/, "", target)
        n = split(target, parts, "/"); name = parts[n]
        tool = (name == "tvlua" || name == "tvluac")
        fuzz = (target ~ /^tests\/fuzz\//)
        room = (name == "room_rules_tests")
        control = (target ~ /^webcontrol\//)
      }
      tool && /^  LINK_LIBRARIES = / && /SDL2|libX11|libXtst|X11::|libpng|libjpeg/ {
        print target " links SDL2, Xlib, libpng or libjpeg"
      }
      fuzz && /^  LINK_LIBRARIES = / && /SDL2|libX11|libXtst|X11::/ {
        print target " links SDL2 or Xlib"
      }
      room && /^  LINK_LIBRARIES = / && /SDL2|libX11|libXtst|X11::|libcurl/ {
        print target " links SDL2, Xlib or libcurl"
      }
      control && /^  LINK_LIBRARIES = / && /(^|[ \/])libtv[a-z0-9_]*\.a/ {
        print target " (the launcher control) links an engine library"
      }' "$build/build.ninja")
  fi
fi

if [ "$failures" -gt 0 ]; then
  echo "layering: $failures problem(s)" >&2
  exit 1
fi
echo "layering: ok ($judged includes judged)"

#!/usr/bin/env bash
# One entry point for players and developers on Debian 12:
#   ./build.sh play    install what is missing, build and start the game
#   ./build.sh test    install what is missing, check the format, build and run every test
#                      (sanitizers, fuzzers, the layering check)
#   ./build.sh bench   build optimised as players get it (-O2; TV_BENCH_BUILD=Release for -O3)
#                      and run the benchmarks
# Installs only packages that are missing (through sudo when not root); builds are incremental.
set -euo pipefail
cd "$(dirname "$0")"

JOBS=${TV_JOBS:-$(nproc)}
FUZZ_SECONDS=${TV_FUZZ_SECONDS:-10}

# Debian packages the build, the game and the tests need.
PACKAGES=(
  build-essential cmake ninja-build pkg-config ccache
  libsdl2-dev libx11-dev libxtst-dev
  zlib1g-dev libpng-dev libjpeg62-turbo-dev libvorbis-dev libogg-dev
  libcurl4-openssl-dev libfreetype-dev fonts-dejavu-core fonts-liberation2
  libarchive-dev gcab
)
# evilwm: a light window manager, for the full-screen tests with one.
TEST_PACKAGES=(
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang clang-format libclang-rt-14-dev xvfb xauth evilwm
)

install_missing() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

configure() { # dir, cmake options...
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
}

# Starts a private X server for the window tests unless one is already given.
start_xvfb() {
  [ -n "${DISPLAY:-}" ] && return 0
  local n
  for n in $(seq 90 120); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    trap 'kill $XVFB_PID 2>/dev/null || true' EXIT
    export DISPLAY=":$n"
    # A server that another run started on the same number a moment earlier wins the race
    # and ours exits: then try the next number rather than share a server that may go away.
    for _ in $(seq 50); do
      kill -0 "$XVFB_PID" 2>/dev/null || continue 2
      [ -e "/tmp/.X11-unix/X$n" ] && return 0
      sleep 0.1
    done
  done
  echo "could not start Xvfb" >&2
  return 1
}

# The configuration players build; the test command builds it with the tests as well.
configure_release() { # TV_TESTS value
  configure build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTV_TESTS="$1"
}

cmd_play() {
  install_missing "${PACKAGES[@]}"
  configure_release OFF
  cmake --build build/release -j "$JOBS"
  exec build/release/game/FestraVask "$@"
}

cmd_test() {
  install_missing "${PACKAGES[@]}" "${TEST_PACKAGES[@]}"
  local status=0
  # The sources as clang-format writes them (reported; the suite still runs).
  tools/checks/format.sh || status=1
  # The suite: one sanitized configuration that also compiles the benchmarks.
  configure build/test -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
    -DCMAKE_C_FLAGS_DEBUG="-g -O1" -DTV_SANITIZE=ON -DTV_WERROR=ON -DTV_BENCH=ON
  cmake --build build/test -j "$JOBS"
  # The same suite in the optimised build players run (the game's own objects are shared).
  configure_release ON
  cmake --build build/release -j "$JOBS"
  # ThreadSanitizer: only the test programs that run code on several threads, and what they link.
  configure build/tsan -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
    -DCMAKE_C_FLAGS_DEBUG="-g -O1" -DTV_TSAN=ON -DTV_WERROR=ON
  cmake --build build/tsan -j "$JOBS" --target threaded_tests
  # Fuzz targets: clang with libFuzzer, each run briefly as a test.
  CC=clang CXX=clang++ configure build/fuzz -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" -DCMAKE_C_FLAGS_DEBUG="-g -O1" \
    -DTV_FUZZ=ON -DTV_FUZZ_SECONDS="$FUZZ_SECONDS"
  cmake --build build/fuzz -j "$JOBS"
  start_xvfb
  export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
  export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
  export TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1}
  # Every suite runs even when one fails, so one report shows every failure.
  ctest --test-dir build/fuzz -j "$JOBS" --output-on-failure || status=1
  ctest --test-dir build/test -j "$JOBS" --output-on-failure || status=1
  ctest --test-dir build/release -j "$JOBS" --output-on-failure || status=1
  ctest --test-dir build/tsan -j "$JOBS" -L threads --output-on-failure || status=1
  return $status
}

# What only the benchmarks compare against: pixman (the particle drawing's reference).
BENCH_PACKAGES=(libpixman-1-dev)

cmd_bench() {
  install_missing "${PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${BENCH_PACKAGES[@]}"
  configure build/bench -DCMAKE_BUILD_TYPE="${TV_BENCH_BUILD:-RelWithDebInfo}" -DTV_TESTS=OFF \
    -DTV_BENCH=ON
  cmake --build build/bench -j "$JOBS"
  for b in build/bench/bench/*_bench; do echo "== $b"; "$b" "$@"; done
}

case "${1:-}" in
  play) shift; cmd_play "$@" ;;
  test) shift; cmd_test "$@" ;;
  bench) shift; cmd_bench "$@" ;;
  *) echo "usage: $0 play|test|bench" >&2; exit 2 ;;
esac

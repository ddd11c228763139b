# Shared by scripts/test and scripts/run: packages, build trees, the Wine
# prefix and the X display. Source it; it defines functions and variables only.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${DOVE_BUILD_DIR:-$ROOT/build}
JOBS=${DOVE_JOBS:-2}
PACKAGES="mingw-w64 wine wine64 xvfb x11-apps x11-utils imagemagick googletest cmake make g++ clang libclang-rt-14-dev procps"

say() { printf '%s\n' "$*" >&2; }

# Installs the Debian packages that are missing (needs root, as CI has).
ensure_packages() {
  local missing=""
  for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
  done
  [ -z "$missing" ] && return 0
  say "Installing:$missing"
  if [ "$(id -u)" != 0 ]; then say "not root: cannot install$missing"; return 1; fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq >/dev/null && apt-get install -y -qq --no-install-recommends $missing >/dev/null
}

# A compiler cache, where the machine has one, makes rebuilds of other
# checkouts cheap; paths are hashed relative to the checkout's parent.
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(dirname "$ROOT")} CCACHE_NOHASHDIR=1
fi
compiler_launcher() {
  command -v ccache >/dev/null || return 0
  printf '%s\n' -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache
}

configure_tree() {  # name, extra cmake arguments...
  local name=$1; shift
  local dir=$BUILD/$name
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    # shellcheck disable=SC2046
    cmake -S "$ROOT" -B "$dir" -DDOVE_ROOT_BUILD_DIR="$BUILD" $(compiler_launcher) "$@" >"$BUILD/logs/configure-$name.log" 2>&1 ||
      { cat "$BUILD/logs/configure-$name.log" >&2; return 1; }
  fi
}

build_tree() {  # name
  local log=$BUILD/logs/build-$1.log
  if ! cmake --build "$BUILD/$1" -j "$JOBS" >"$log" 2>&1; then
    grep -E 'error|Error' "$log" | head -40 >&2
    say "build of $1 failed; the whole log is $log"
    return 1
  fi
}

have_fuzz_targets() { compgen -G "$ROOT/tests/fuzz/*_fuzz.cpp" >/dev/null; }

# The native tree comes first: the Windows trees use its generators.
build_all() {
  mkdir -p "$BUILD/logs"
  configure_tree native && build_tree native || return 1
  local tools=(-DHOST_TOOLS_DIR="$BUILD/native/tools")
  configure_tree win64 -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-x86_64.cmake" \
    -DDOVE_WINEPREFIX="$BUILD/wineprefix" "${tools[@]}" && build_tree win64 || return 1
  configure_tree win32 -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" \
    -DDOVE_RUN_TESTS=OFF "${tools[@]}" && build_tree win32 || return 1
  if [ -n "${DOVE_WITH_FUZZ:-}" ] && have_fuzz_targets; then
    configure_tree fuzz -DDOVE_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ &&
      build_tree fuzz || return 1
  fi
}

# --- X display -------------------------------------------------------------
XVFB_PID=""

display_works() { [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; }

# Uses the current display when it answers, else starts a private Xvfb.
ensure_display() {
  display_works && return 0
  local fifo; fifo=$(mktemp -u); mkfifo "$fifo"
  Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 3>"$fifo" >/dev/null 2>&1 &
  XVFB_PID=$!
  local n; read -r -t 20 n <"$fifo"; rm -f "$fifo"
  [ -n "$n" ] || { say "Xvfb did not start"; return 1; }
  export DISPLAY=":$n"
  say "Started Xvfb on $DISPLAY (pid $XVFB_PID)"
}

# --- Wine --------------------------------------------------------------------
wine_env() {  # prefix
  export WINEPREFIX=$1 WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
}

# Makes the prefix on first use; a crash must not open a dialog, and without
# a window manager a managed window makes every hide wait for seconds.
ensure_prefix() {  # prefix
  wine_env "$1"
  wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1
  if [ ! -f "$1/system.reg" ]; then
    say "Creating Wine prefix $1"
    wineboot -i >/dev/null 2>&1 </dev/null
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    wineserver -w
  fi
  # Keep the server and the desktop up outside CTest, so that Wine's helper
  # processes do not inherit a test's output pipe.
  wineserver -p >/dev/null 2>&1
  wine cmd /c exit </dev/null >/dev/null 2>&1
}

stop_wine() {  # prefix
  [ -n "${1:-}" ] || return 0
  WINEPREFIX=$1 wineserver -k >/dev/null 2>&1
  WINEPREFIX=$1 wineserver -w >/dev/null 2>&1
}

stop_display() {
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
  XVFB_PID=""
}

# One user of a build tree at a time.
lock_build() {
  mkdir -p "$BUILD"
  exec 9>"$BUILD/.lock"
  flock 9
}

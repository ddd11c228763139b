# Shared by scripts/test and scripts/run: packages, build trees, the Wine
# prefix and the X display. Source it; it defines functions and variables only.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${DOVE_BUILD_DIR:-$ROOT/build}
JOBS=${DOVE_JOBS:-2}
PACKAGES="mingw-w64 wine wine64 xvfb x11-apps x11-utils imagemagick googletest cmake make g++ clang libclang-rt-14-dev procps zip unzip"

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
  # An index that fails to download (a foreign architecture's, say, while a
  # mirror syncs) makes update exit non-zero although the rest is fresh: the
  # install below tells whether what we need can be had.
  apt-get update -qq >/dev/null 2>&1
  apt_install --no-install-recommends $missing >/dev/null
}

apt_install() {  # apt-get install arguments...
  apt-get install -y -qq -o DPkg::Lock::Timeout=300 "$@"
}

# --- 32-bit Wine ---------------------------------------------------------------
# Debian's 32-bit Wine lives in the i386 architecture beside wine64. It is
# installed when it can be; when it cannot (an i386 index behind the amd64
# one refuses libraries older than those installed), WINE32_REASON says why,
# the 32-bit build is only compiled and linked, and the architecture is taken
# away again so that later package installs do not trip over its index.
WINE32_REASON=""
have_wine32() { [ -x /usr/lib/wine/wine ]; }

ensure_wine32() {
  WINE32_REASON=""
  have_wine32 && return 0
  if [ "$(id -u)" != 0 ]; then WINE32_REASON="not root, cannot install wine32:i386"; return 1; fi
  export DEBIAN_FRONTEND=noninteractive
  local added="" log; log=$(mktemp)
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386 && added=1
  fi
  say "Installing the 32-bit Wine (wine32:i386)"
  apt-get update -qq >"$log" 2>&1
  local index; index=$(grep -m1 -E '^(E|W): Failed to fetch' "$log" | sed -E 's/ *\[IP: [^]]*\]//')
  if apt-get install -y -q -o DPkg::Lock::Timeout=300 --no-install-recommends wine32:i386 \
    >"$log" 2>&1 && have_wine32; then
    rm -f "$log"; return 0
  fi
  WINE32_REASON=$(apt_reason "$log")
  [ -n "$index" ] && WINE32_REASON="$WINE32_REASON (${index#*: })"
  rm -f "$log"
  [ -n "$added" ] && dpkg --remove-architecture i386 2>/dev/null
  return 1
}

# Why apt refused, on one line: the first unmet dependency (of Wine's own
# packages when one of them is named) and apt's error.
apt_reason() {  # log file
  local unmet error why
  unmet=$(grep -E ' : (Pre)?Depends: ' "$1" | grep -m1 -i wine)
  [ -n "$unmet" ] || unmet=$(grep -m1 -E ' : (Pre)?Depends: ' "$1")
  error=$(grep -m1 '^E: ' "$1")
  why=$(printf '%s\n%s\n' "$unmet" "$error" | sed -E 's/^ +//; s/ +/ /g' | grep -v '^$' | paste -sd'|' | sed 's/|/; /g')
  [ -n "$why" ] || why=$(grep -v '^ *$' "$1" | tail -1)
  printf '%s' "${why:-apt-get install wine32:i386 failed}"
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

# Configures once, and again when the arguments changed since (a tree made
# by an older checkout keeps its cache otherwise).
configure_tree() {  # name, extra cmake arguments...
  local name=$1; shift
  local dir=$BUILD/$name
  local stamp=$dir/.dove-configure-args
  if [ ! -f "$dir/CMakeCache.txt" ] || [ "$(cat "$stamp" 2>/dev/null)" != "$*" ]; then
    # shellcheck disable=SC2046
    cmake -S "$ROOT" -B "$dir" -DDOVE_ROOT_BUILD_DIR="$BUILD" $(compiler_launcher) "$@" >"$BUILD/logs/configure-$name.log" 2>&1 ||
      { cat "$BUILD/logs/configure-$name.log" >&2; return 1; }
    printf '%s' "$*" >"$stamp"
  fi
}

build_tree() {  # name [targets...]
  local log=$BUILD/logs/build-$1.log tree=$1; shift
  local targets=()
  [ $# -gt 0 ] && targets=(--target "$@")
  if ! cmake --build "$BUILD/$tree" -j "$JOBS" "${targets[@]}" >"$log" 2>&1; then
    grep -E 'error|Error' "$log" | head -40 >&2
    say "build of $tree failed; the whole log is $log"
    return 1
  fi
}

have_fuzz_targets() { compgen -G "$ROOT/tests/fuzz/*_fuzz.cpp" >/dev/null; }

configure_win64() {
  configure_tree win64 -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-x86_64.cmake" \
    -DDOVE_WINEPREFIX="$BUILD/wineprefix" -DHOST_TOOLS_DIR="$BUILD/native/tools"
}
# The 32-bit tree registers the same tests; they run in a prefix of their
# own where the 32-bit Wine is installed.
configure_win32() {
  configure_tree win32 -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" \
    -DDOVE_WINEPREFIX="$BUILD/wineprefix32" -DDOVE_RUN_TESTS=ON -DHOST_TOOLS_DIR="$BUILD/native/tools"
}

# The native tree comes first: the Windows trees use its generators.
build_all() {
  mkdir -p "$BUILD/logs"
  configure_tree native && build_tree native || return 1
  configure_win64 && build_tree win64 || return 1
  configure_win32 && build_tree win32 || return 1
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
ensure_prefix() {  # prefix [win32]
  wine_env "$1"
  wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1
  if [ ! -f "$1/system.reg" ]; then
    say "Creating Wine prefix $1"
    WINEARCH=${2:-win64} wineboot -i >/dev/null 2>&1 </dev/null
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

# --- Release archive -----------------------------------------------------------
# The program's version as its VERSIONINFO gives it (major.minor.build.revision):
# read from the fixed part that follows the block's signature, 0xFEEF04BD.
exe_version() {  # exe
  local hex
  hex=$(od -An -v -tx1 "$1" | tr -d ' \n' | grep -o 'bd04effe[0-9a-f]\{24\}' | head -1)
  [ -n "$hex" ] || return 1
  local b=(); for ((i = 8; i < 32; i += 2)); do b+=($((16#${hex:i:2}))); done
  # b: struct version (0-3), file version MS (4-7), LS (8-11), little-endian
  printf '%d.%d.%d.%d\n' $((b[6] | b[7] << 8)) $((b[4] | b[5] << 8)) \
    $((b[10] | b[11] << 8)) $((b[8] | b[9] << 8))
}

# Writes $BUILD/dist/DOVE60-<version>.zip from the built trees: both programs,
# the user guide as text and the samples. Prints the archive's path.
make_package() {
  local version stage zip
  version=$(exe_version "$BUILD/win64/DOVE60.exe") || { say "no VERSIONINFO in DOVE60.exe"; return 1; }
  [ "$(exe_version "$BUILD/win32/DOVE60.exe")" = "$version" ] ||
    { say "the two builds carry different versions"; return 1; }
  stage=$BUILD/dist/stage
  zip=$BUILD/dist/DOVE60-$version.zip
  rm -rf "$stage" "$BUILD"/dist/DOVE60-*.zip
  mkdir -p "$stage/x86" "$stage/x64" "$stage/samples"
  cp "$BUILD/win32/DOVE60.exe" "$stage/x86/DOVE60.exe"
  cp "$BUILD/win64/DOVE60.exe" "$stage/x64/DOVE60.exe"
  # Windows users open .txt files in Notepad: CR LF line ends.
  sed 's/\r*$/\r/' "$ROOT/docs/user-guide.md" >"$stage/UserGuide.txt"
  cp "$ROOT"/docs/samples/* "$stage/samples/"
  (cd "$stage" && zip -q -X -r "$zip" x86 x64 UserGuide.txt samples) || return 1
  rm -rf "$stage"
  echo "$zip"
}

# --- Benches -------------------------------------------------------------------
# Benches take --build=win64 (default) or --build=win32 first; this sets TREE,
# the tree's compiler CXX_WIN, ARCH_SUFFIX ("" or "32", for prefix names)
# and WINEARCH_OF_TREE, and leaves the other arguments in BENCH_ARGS.
bench_build_option() {
  TREE=win64 BENCH_ARGS=()
  for a in "$@"; do
    case $a in
      --build=*) TREE=${a#--build=} ;;
      *) BENCH_ARGS+=("$a") ;;
    esac
  done
  case $TREE in
    win64) CXX_WIN=x86_64-w64-mingw32-g++-posix ARCH_SUFFIX="" WINEARCH_OF_TREE=win64 ;;
    win32) CXX_WIN=i686-w64-mingw32-g++-posix ARCH_SUFFIX=32 WINEARCH_OF_TREE=win32
      have_wine32 || { say "--build=win32 needs the 32-bit Wine (wine32:i386), which is not installed"; return 1; } ;;
    *) say "--build takes win64 or win32"; return 1 ;;
  esac
}

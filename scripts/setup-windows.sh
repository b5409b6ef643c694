#!/usr/bin/env bash
# The Windows build's tools and libraries (`make windows`, cmake/Windows.cmake): installs
# mingw-w64 (the posix-threads compilers), Wine and Meson, then cross-builds into DEPS (the first
# argument) the libraries the platform layer still takes from elsewhere on Windows: pixman,
# FreeType and libpng, each from its Debian source package (zlib is Debian's libz-mingw-w64-dev).
# libxlsxwriter (workbooks) and SDL2 (reading wave files) are cross-built as DLLs, opened on first
# use as on Linux. It also copies the header-only libraries (xxHash, stb_image) and the embedded fonts (DejaVu).
# Safe to run again: a library already in DEPS is not built again.
set -euo pipefail
deps=$(realpath -m "${1:?usage: setup-windows.sh DEPS_DIR}")
here=$(cd "$(dirname "$0")/.." && pwd)

packages=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-x86-64-dev libz-mingw-w64-dev
          wine wine64 meson dpkg-dev libxxhash-dev libstb-dev fonts-dejavu-core
          mingw-w64-tools libwine-dev  # widl and Wine's IDL files, for the type library
          xvfb xauth)  # xvfb-run, for the desktop window's test
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup-windows: installing ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

mkdir -p "$deps/src" "$deps/include/headers" "$deps/fonts"
# Header-only libraries (libxlsxwriter's headers come with its build below).
cp /usr/include/xxhash.h /usr/include/stb/stb_image.h "$deps/include/headers/"
mkdir -p "$deps/include/headers/stb"
cp /usr/include/stb/stb_image_write.h "$deps/include/headers/stb/"  # the tests write pictures with it
cp /usr/share/fonts/truetype/dejavu/DejaVu*.ttf "$deps/fonts/"

# The source packages come through apt's deb-src index, added for Debian's own archive when the
# machine has none.
source_list=/etc/apt/sources.list.d/zorvaxp-deb-src.sources
need_sources() {
  [ -f "$deps/lib/libpixman-1.a" ] && [ -f "$deps/lib/libfreetype.a" ] && [ -f "$deps/lib/libpng16.a" ] &&
    [ -f "$deps/bin/libxlsxwriter.dll" ] && [ -f "$deps/bin/SDL2.dll" ] && return 1
  return 0
}
if need_sources && ! apt-cache showsrc pixman 2>/dev/null | grep -q '^Package: pixman'; then
  suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
  "${sudo_cmd[@]}" tee "$source_list" >/dev/null <<SRC
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $suite $suite-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  "${sudo_cmd[@]}" apt-get update -qq
fi

# Downloads a source package and unpacks its upstream tarball (Debian's patches to these three
# concern packaging only); prints the unpacked folder.
fetch() {
  local pkg=$1
  (cd "$deps/src" && { apt-get source --download-only -qq "$pkg" >/dev/null 2>&1 || true; })
  local orig
  orig=$(ls "$deps/src/${pkg}"_*.orig.tar.* 2>/dev/null | grep -v '\.asc$' | grep -v -- '-ft2' | head -1)
  [ -n "$orig" ] || { echo "setup-windows: cannot download the source package $pkg" >&2; exit 1; }
  local dir
  dir=$(tar tf "$orig" | head -1 | cut -d/ -f1)
  [ -d "$deps/src/$dir" ] || tar xf "$orig" -C "$deps/src"
  echo "$deps/src/$dir"
}

toolchain=$here/cmake/mingw-w64-x86_64.cmake
cross=$deps/src/meson-cross.txt
cat > "$cross" <<CROSS
[binaries]
c = 'x86_64-w64-mingw32-gcc-posix'
cpp = 'x86_64-w64-mingw32-g++-posix'
ar = 'x86_64-w64-mingw32-ar'
strip = 'x86_64-w64-mingw32-strip'
windres = 'x86_64-w64-mingw32-windres'
pkgconfig = 'false'
[host_machine]
system = 'windows'
cpu_family = 'x86_64'
cpu = 'x86_64'
endian = 'little'
CROSS

if [ ! -f "$deps/lib/libpixman-1.a" ]; then
  echo "setup-windows: cross-building pixman"
  src=$(fetch pixman)
  rm -rf "$deps/src/pixman-build"
  meson setup "$deps/src/pixman-build" "$src" --cross-file "$cross" --prefix "$deps" --libdir lib \
    -Ddefault_library=static -Dtests=disabled -Dgtk=disabled -Dlibpng=disabled -Dopenmp=disabled \
    -Dbuildtype=release >"$deps/src/pixman.log" 2>&1
  ninja -C "$deps/src/pixman-build" install >>"$deps/src/pixman.log" 2>&1
fi
cmake_dep() {
  local name=$1 src=$2; shift 2
  rm -rf "$deps/src/$name-build"
  cmake -S "$src" -B "$deps/src/$name-build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$deps" -DCMAKE_INSTALL_LIBDIR=lib "$@" \
    >"$deps/src/$name.log" 2>&1
  ninja -C "$deps/src/$name-build" install >>"$deps/src/$name.log" 2>&1
}
if [ ! -f "$deps/lib/libfreetype.a" ]; then
  echo "setup-windows: cross-building FreeType"
  cmake_dep freetype "$(fetch freetype)" -DBUILD_SHARED_LIBS=OFF -DFT_REQUIRE_ZLIB=ON -DFT_DISABLE_BZIP2=ON \
    -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
fi
if [ ! -f "$deps/lib/libpng16.a" ]; then
  echo "setup-windows: cross-building libpng"
  cmake_dep libpng "$(fetch libpng1.6)" -DPNG_SHARED=OFF -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF
fi
if [ ! -f "$deps/bin/libxlsxwriter.dll" ]; then
  echo "setup-windows: cross-building libxlsxwriter"
  # A DLL, opened when a list first saves a workbook; zlib goes inside it.
  cmake_dep libxlsxwriter "$(fetch libxlsxwriter)" -DBUILD_SHARED_LIBS=ON \
    -DZLIB_LIBRARY=/usr/x86_64-w64-mingw32/lib/libz.a -DZLIB_INCLUDE_DIR=/usr/x86_64-w64-mingw32/include
fi
if [ ! -f "$deps/bin/SDL2.dll" ]; then
  echo "setup-windows: cross-building SDL2"
  cmake_dep sdl2 "$(fetch libsdl2)" -DSDL_SHARED=ON -DSDL_STATIC=OFF -DSDL_TEST=OFF
fi

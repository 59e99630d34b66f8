#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the run command need, and
# builds the static libjpeg-turbo for both MinGW targets from Debian's own source
# package. Idempotent: a second run only checks.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_ROOT:-$here/build}
say() { printf '[deps] %s\n' "$*"; }

packages=(
  cmake ninja-build pkg-config git dpkg-dev
  g++ googletest libgtest-dev libgmock-dev libbenchmark-dev libjpeg62-turbo-dev
  clang-14 libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  nasm
  wine64 fonts-wine xvfb xauth x11-utils xdotool locales fonts-wqy-zenhei imagemagick
  python3-pil fonts-arphic-ukai
  debootstrap util-linux
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  say "installing ${#missing[@]} packages: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
else
  say "packages present"
fi

if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf8$'; then
  say "generating zh_CN.UTF-8"
  sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >>/etc/locale.gen
  locale-gen >/dev/null
fi

# Debian's source package of libjpeg-turbo, one exact version, unpacked once under
# the build folder. The version is pinned so that every machine links the same
# decoder: a Debian point release does not change it behind the build's back. A new
# version is taken by changing it here (the stamps below then rebuild the libraries).
jpeg_version=1:2.1.5-2
jpeg_upstream=${jpeg_version#*:}
jpeg_upstream=${jpeg_upstream%-*}
jpeg_src_root=$build/deps/src
jpeg_src=$jpeg_src_root/libjpeg-turbo-$jpeg_upstream
jpeg_dsc=$jpeg_src_root/libjpeg-turbo_${jpeg_version#*:}.dsc
if [ ! -f "$jpeg_dsc" ] || [ ! -f "$jpeg_src/jpeglib.h" ]; then
  if ! grep -rqs '^Types: *deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
    say "adding a deb-src entry for Debian's archive"
    cat >/etc/apt/sources.list.d/debian-src.sources <<SRC
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
    apt-get update -q
  fi
  say "fetching Debian's libjpeg-turbo source package $jpeg_version"
  rm -rf "$jpeg_src_root"
  mkdir -p "$jpeg_src_root"
  (cd "$jpeg_src_root" && apt-get source -q "libjpeg-turbo=$jpeg_version")
fi
# What was unpacked must be that version and nothing else.
if ! grep -qx "Version: $jpeg_version" "$jpeg_dsc" || [ "$(ls -d "$jpeg_src_root"/libjpeg-turbo-*/ | wc -l)" != 1 ]; then
  echo "[deps] $jpeg_src_root does not hold exactly libjpeg-turbo $jpeg_version; remove it and run again" >&2
  exit 1
fi

# Static libjpeg-turbo with SIMD for each MinGW target, installed outside the source tree.
# Built for size: one section per function so the program's link drops the encoder and
# every routine the decoder never calls. NO_GETENV: the library reads no environment
# variables (JPEGMEM, JSIMD_FORCE*), as the program reads no configuration. Its messages
# go through the system C runtime's printf.
# Unwind tables: the decoder's error exit longjmps out of libjpeg (ui/picture.cpp). On
# x86_64 that longjmp unwinds frame by frame through the functions between, which needs
# their unwind data, so the x86_64 library keeps its tables (the compiler's default
# there). On i686 longjmp restores the registers without unwinding, so the shipped
# library goes without them.
jpeg_cflags_common="-Os -ffunction-sections -fdata-sections -DNO_GETENV -D__USE_MINGW_ANSI_STDIO=0"
for target in ${DEPS_TARGETS:-x86_64 i686}; do
  prefix=$build/deps/$target-w64-mingw32
  case $target in
    x86_64) jpeg_cflags="$jpeg_cflags_common -fasynchronous-unwind-tables" ;;
    i686) jpeg_cflags="$jpeg_cflags_common -fno-asynchronous-unwind-tables" ;;
  esac
  stamp="libjpeg-turbo $jpeg_version $jpeg_cflags"
  if [ -f "$prefix/lib/libjpeg.a" ] && [ "$(cat "$prefix/.stamp" 2>/dev/null)" = "$stamp" ]; then
    continue
  fi
  rm -rf "$prefix"
  say "building libjpeg-turbo for $target-w64-mingw32 (about 30 s)"
  case $target in x86_64) proc=AMD64 ;; i686) proc=X86 ;; esac
  work=$build/deps/build-$target
  rm -rf "$work"
  cmake -S "$jpeg_src" -B "$work" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-$target.cmake" \
    -DCMAKE_SYSTEM_PROCESSOR=$proc \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_FLAGS_RELEASE="$jpeg_cflags" -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF \
    -DWITH_SIMD=ON -DREQUIRE_SIMD=ON -DCMAKE_POSITION_INDEPENDENT_CODE=OFF >"$work.log" 2>&1 \
    || { cat "$work.log"; exit 1; }
  cmake --build "$work" >>"$work.log" 2>&1 || { tail -n 50 "$work.log"; exit 1; }
  cmake --install "$work" >>"$work.log" 2>&1 || { tail -n 50 "$work.log"; exit 1; }
  echo "$stamp" >"$prefix/.stamp"
done
say "ready"

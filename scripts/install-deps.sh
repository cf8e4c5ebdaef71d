#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian machine, as root:
# the native toolchain, GoogleTest's sources, Google Benchmark, the
# mingw-w64 cross toolchains for 32-bit and 64-bit Windows (each with its
# win32 thread model, which builds the shipped DLLs, and its posix one,
# which builds the test programs, and its binutils, whose objdump the DLL
# checks read), and 32-bit and 64-bit Wine. Installs only what is missing,
# so a prepared machine goes through in a second.
#   install-deps.sh native   the native toolchain only (for the demo)
#   install-deps.sh wine     that, the i686 cross toolchain and 32-bit Wine
#                            (for scripts/bench-wine.sh)
#   install-deps.sh all      everything (default)
set -euo pipefail

want=${1:-all}
packages=()

need() { packages+=("$@"); }
have() { command -v "$1" >/dev/null 2>&1; }
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

have cmake || need cmake
have g++ || need g++
have make || need make
[ -f /usr/src/googletest/CMakeLists.txt ] || need googletest
installed libbenchmark-dev || need libbenchmark-dev
installed libncurses-dev || need libncurses-dev

if [ "$want" = all ] || [ "$want" = wine ]; then
    have i686-w64-mingw32-g++-posix || need g++-mingw-w64-i686-posix
    have i686-w64-mingw32-g++-win32 || need g++-mingw-w64-i686-win32
    have i686-w64-mingw32-objdump || need binutils-mingw-w64-i686
    have wine || need wine
    have file || need file
    installed wine32:i386 || need wine32:i386
fi
if [ "$want" = all ]; then
    have x86_64-w64-mingw32-g++-posix || need g++-mingw-w64-x86-64-posix
    have x86_64-w64-mingw32-g++-win32 || need g++-mingw-w64-x86-64-win32
    have x86_64-w64-mingw32-objdump || need binutils-mingw-w64-x86-64
    [ -x /usr/lib/wine/wine64 ] || need wine64
    have clang++ || need clang
    installed libclang-rt-14-dev || need libclang-rt-14-dev
    have tmux || need tmux
fi

if [ ${#packages[@]} -eq 0 ]; then
    exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
    echo "missing packages: ${packages[*]}; run as root to install them" >&2
    exit 1
fi

echo "installing: ${packages[*]}"
export DEBIAN_FRONTEND=noninteractive
if [ "$want" != native ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
fi
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null

#!/usr/bin/env bash
# Builds tarnwick_bench as a 32-bit Windows program (i686 mingw-w64, posix
# thread model, as the Windows test programs) and prints the table of
# doc/performance.md from a run of it under 32-bit Wine.
#
# Google Benchmark has no mingw package, so its source (Debian's, the same
# version as the native package) is fetched into build/ when missing and
# cross-built there as a static library. Everything stays below build/:
#   build/benchmark-1.7.1/        the source
#   build/benchmark-i686/         its build, installed into .../install
#   build/windows-bench/          the project's cross build
#   build/windows-bench/wine/     the Wine prefix the program runs in
# The host-session row is left out: the substitute host is a native program.
#   BENCH_REPETITIONS   repetitions of each benchmark (default 5)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/install-deps.sh" wine

repetitions=${BENCH_REPETITIONS:-5}
jobs=${BENCH_JOBS:-$(nproc)}
toolchain="$root/cmake/mingw-i686.cmake"

version=1.7.1
archive_name=benchmark_${version}.orig.tar.gz
url=http://deb.debian.org/debian/pool/main/b/benchmark/$archive_name
sha256=6430e4092653380d9dc4ccb45a1e2dc9259d581f4866dc0759713126056bc1d7
source_dir="$root/build/benchmark-$version"
gb_build="$root/build/benchmark-i686"
gb_install="$gb_build/install"
build="$root/build/windows-bench"

mkdir -p "$root/build"
if [ ! -f "$source_dir/CMakeLists.txt" ]; then
    archive="$root/build/$archive_name"
    if [ ! -f "$archive" ]; then
        echo "=== fetching $url"
        curl -fsSL -o "$archive.part" "$url"
        mv "$archive.part" "$archive"
    fi
    echo "$sha256  $archive" | sha256sum -c --quiet -
    tar -xzf "$archive" -C "$root/build"
fi

if [ ! -f "$gb_install/lib/cmake/benchmark/benchmarkConfig.cmake" ]; then
    echo "=== Google Benchmark $version: cross build"
    cmake -S "$source_dir" -B "$gb_build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
          -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$gb_install" -DBUILD_SHARED_LIBS=OFF \
          -DBENCHMARK_ENABLE_TESTING=OFF -DBENCHMARK_ENABLE_GTEST_TESTS=OFF \
          -DBENCHMARK_ENABLE_WERROR=OFF -DBENCHMARK_ENABLE_LTO=OFF \
          -DBENCHMARK_INSTALL_DOCS=OFF -DBENCHMARK_ENABLE_INSTALL=ON >/dev/null
    cmake --build "$gb_build" -j "$jobs" --target install >/dev/null
fi

echo "=== windows-bench: configure and build"
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
      -DTARNWICK_TESTS=OFF -DTARNWICK_BENCH=ON -Dbenchmark_DIR="$gb_install/lib/cmake/benchmark" >/dev/null
cmake --build "$build" -j "$jobs" --target tarnwick_bench >/dev/null
if [ ! -f "$build/bench/tarnwick_bench.exe" ]; then
    echo "tarnwick_bench.exe was not built: Google Benchmark not found for the cross build" >&2
    exit 1
fi

echo "=== tarnwick_bench.exe under Wine, $repetitions repetitions"
export TARNWICK_WINE_BUILD_DIR="$build"
status=0
"$root/scripts/bench-table.py" "$build" --runner "$root/scripts/wine-run" --repetitions "$repetitions" || status=$?
wineserver -k 2>/dev/null || true
exit $status

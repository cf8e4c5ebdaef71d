#!/usr/bin/env bash
# Builds Tarnwick.dll for 32-bit and for 64-bit Windows (win32 thread model,
# small: see cmake/mingw-i686-win32.cmake and cmake/mingw-x86_64-win32.cmake;
# the same DLLs the Windows tests run against) and lays out one plug-in
# folder per bitness that users copy into the host's plug-ins folder, plus
# a zip archive of each:
#   dist/Tarnwick/    dist/Tarnwick.zip     the 32-bit DLL, for a 32-bit host
#   dist/Tarnwick64/  dist/Tarnwick64.zip   the 64-bit DLL, for a 64-bit host
# Both hold the same language files and ReadMe.txt.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/install-deps.sh" all

rm -rf "$root/dist"
mkdir -p "$root/dist"

# ship BUILD-FOLDER TOOLCHAIN-FILE DIST-FOLDER
ship() {
    local build=$root/build/$1 toolchain=$2 folder=$3
    cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain" \
          -DCMAKE_BUILD_TYPE=MinSizeRel -DTARNWICK_TESTS=OFF -DTARNWICK_BENCH=OFF >/dev/null
    cmake --build "$build" -j "$(nproc)" --target Tarnwick
    "$root/scripts/check-exports.sh" "$build/src/Tarnwick.dll" >/dev/null &&
    "$root/scripts/check-imports.sh" "$build/src/Tarnwick.dll" "$root/packaging/dll-imports.txt" >/dev/null ||
        { echo "$build/src/Tarnwick.dll fails its export, import or size check: run scripts/check-exports.sh and scripts/check-imports.sh on it"; exit 1; }

    mkdir -p "$root/dist/$folder"
    cp "$build/src/Tarnwick.dll" "$root/dist/$folder/"
    cp "$root/lang/TarnwickEng.lng" "$root/lang/TarnwickRus.lng" "$root/dist/$folder/"
    # Windows users read the text in Notepad: CR LF line ends.
    sed 's/$/\r/' "$root/packaging/ReadMe.txt" > "$root/dist/$folder/ReadMe.txt"
    (cd "$root/dist" && cmake -E tar cf "$folder.zip" --format=zip "$folder")
    echo "dist/$folder/: $(ls "$root/dist/$folder" | tr '\n' ' ')(Tarnwick.dll: $(stat -c %s "$root/dist/$folder/Tarnwick.dll") bytes)"
    echo "dist/$folder.zip: $(stat -c %s "$root/dist/$folder.zip") bytes"
}

ship windows-dll mingw-i686-win32.cmake Tarnwick
ship windows-dll64 mingw-x86_64-win32.cmake Tarnwick64

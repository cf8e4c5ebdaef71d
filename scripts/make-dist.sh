#!/usr/bin/env bash
# Builds Tarnwick.dll for 32-bit Windows (win32 thread model, small: see
# cmake/mingw-i686-win32.cmake; the same DLL the Windows tests run against)
# and lays out the plug-in folder that users copy into the host's plug-ins
# folder, plus a zip archive of it.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/install-deps.sh" all

cmake -S "$root" -B "$root/build/windows-dll" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686-win32.cmake" \
      -DCMAKE_BUILD_TYPE=MinSizeRel -DTARNWICK_TESTS=OFF -DTARNWICK_BENCH=OFF >/dev/null
cmake --build "$root/build/windows-dll" -j "$(nproc)" --target Tarnwick
"$root/scripts/check-imports.sh" "$root/build/windows-dll/src/Tarnwick.dll" "$root/packaging/dll-imports.txt" >/dev/null ||
    { echo "the DLL fails its import or size check: run scripts/check-imports.sh on it"; exit 1; }

rm -rf "$root/dist"
mkdir -p "$root/dist/Tarnwick"
cp "$root/build/windows-dll/src/Tarnwick.dll" "$root/dist/Tarnwick/"
cp "$root/lang/TarnwickEng.lng" "$root/lang/TarnwickRus.lng" "$root/dist/Tarnwick/"
# Windows users read the text in Notepad: CR LF line ends.
sed 's/$/\r/' "$root/packaging/ReadMe.txt" > "$root/dist/Tarnwick/ReadMe.txt"
(cd "$root/dist" && cmake -E tar cf Tarnwick.zip --format=zip Tarnwick)
echo "dist/Tarnwick/: $(ls "$root/dist/Tarnwick" | tr '\n' ' ')"
echo "dist/Tarnwick.zip: $(stat -c %s "$root/dist/Tarnwick.zip") bytes"

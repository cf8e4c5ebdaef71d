#!/usr/bin/env bash
# Builds Tarnwick.dll for 32-bit Windows and lays out the plug-in folder that
# users copy into the host's plug-ins folder, plus a zip archive of it.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/install-deps.sh" all

cmake -S "$root" -B "$root/build/windows" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build/windows" -j "$(nproc)" --target Tarnwick

rm -rf "$root/dist"
mkdir -p "$root/dist/Tarnwick"
cp "$root/build/windows/src/Tarnwick.dll" "$root/dist/Tarnwick/"
i686-w64-mingw32-strip "$root/dist/Tarnwick/Tarnwick.dll"
cp "$root/lang/TarnwickEng.lng" "$root/lang/TarnwickRus.lng" "$root/dist/Tarnwick/"
# Windows users read the text in Notepad: CR LF line ends.
sed 's/$/\r/' "$root/packaging/ReadMe.txt" > "$root/dist/Tarnwick/ReadMe.txt"
(cd "$root/dist" && cmake -E tar cf Tarnwick.zip --format=zip Tarnwick)
echo "dist/Tarnwick/: $(ls "$root/dist/Tarnwick" | tr '\n' ' ')"
echo "dist/Tarnwick.zip: $(stat -c %s "$root/dist/Tarnwick.zip") bytes"

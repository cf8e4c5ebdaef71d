#!/usr/bin/env bash
# Checks the plug-in DLL's export table and imports: the nine entry points
# under their undecorated names, no decorated names, and imports from
# system DLLs only (the runtime is linked in statically).
set -u
dll=$1
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
dump=$("$objdump" -p "$dll") || { echo "cannot read $dll"; exit 1; }
status=0

exports=$(printf '%s\n' "$dump" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | grep -E '^\s*\[ *[0-9]+\]' | awk '{print $NF}')
for name in SetStartupInfo GetPluginInfo OpenPlugin ProcessEditorEvent ProcessViewerEvent Configure ExitFAR LibMain GetMinFarVersion; do
    if ! printf '%s\n' "$exports" | grep -qx "$name"; then
        echo "missing export: $name"; status=1
    fi
done
if printf '%s\n' "$exports" | grep -q '@'; then
    echo "decorated exports:"; printf '%s\n' "$exports" | grep '@'; status=1
fi

imports=$(printf '%s\n' "$dump" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
for dll_name in $imports; do
    case "$dll_name" in
        kernel32.dll|advapi32.dll|msvcrt.dll|user32.dll|ntdll.dll) ;;
        *) echo "imports a non-system DLL: $dll_name"; status=1 ;;
    esac
done

if [ $status -eq 0 ]; then
    echo "exports: $(printf '%s ' $exports)"
    echo "imports: $(printf '%s ' $imports)"
fi
exit $status

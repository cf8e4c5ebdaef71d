#!/usr/bin/env bash
# Checks the plug-in DLL's export table and imports: the nine entry points
# under their undecorated names and nothing else (no decorated names, no
# symbol of the runtime), and imports from system DLLs only (the runtime is
# linked in statically). The same for the 32-bit and the 64-bit DLL.
set -u
dll=$1
# The binutils of the DLL's own target: PE32+ is a 64-bit DLL.
objdump=${OBJDUMP:-}
if [ -z "$objdump" ]; then
    case "$(file -b "$dll")" in
        PE32+*) objdump=x86_64-w64-mingw32-objdump ;;
        *) objdump=i686-w64-mingw32-objdump ;;
    esac
fi
dump=$("$objdump" -p "$dll") || { echo "cannot read $dll"; exit 1; }
status=0

exports=$(printf '%s\n' "$dump" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | grep -E '^\s*\[ *[0-9]+\]' | awk '{print $NF}')
expected="SetStartupInfo GetPluginInfo OpenPlugin ProcessEditorEvent ProcessViewerEvent Configure ExitFAR LibMain GetMinFarVersion"
for name in $expected; do
    if ! printf '%s\n' "$exports" | grep -qx "$name"; then
        echo "missing export: $name"; status=1
    fi
done
for name in $exports; do
    case " $expected " in
        *" $name "*) ;;
        *) echo "unexpected export: $name"; status=1 ;;
    esac
done

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

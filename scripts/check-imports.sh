#!/usr/bin/env bash
# Checks what the plug-in DLL needs from Windows and how big it is: every
# imported function must be listed in the allowed list (packaging/
# dll-imports.txt: the functions of kernel32, advapi32 and msvcrt that
# Windows XP has), no other DLL may be imported, and the file must stay
# under 96 KB.
#   check-imports.sh DLL ALLOWED-LIST     (exit code 0 when all pass)
set -u
dll=$1
allowed_list=$2
max_size=$((96 * 1024))
# The binutils of the DLL's own target: PE32+ is a 64-bit DLL.
objdump=${OBJDUMP:-}
if [ -z "$objdump" ]; then
    case "$(file -b "$dll")" in
        PE32+*) objdump=x86_64-w64-mingw32-objdump ;;
        *) objdump=i686-w64-mingw32-objdump ;;
    esac
fi
dump=$("$objdump" -p "$dll") || { echo "cannot read $dll"; exit 1; }
[ -r "$allowed_list" ] || { echo "cannot read $allowed_list"; exit 1; }
status=0

# "dll function" pairs in lower case: DLL names compare ignoring case, and
# so the function names do too here (no system DLL has two that differ
# only in case).
allowed=$(sed 's/#.*//' "$allowed_list" | awk 'NF >= 2 {print tolower($1) " " tolower($2)}' | sort -u)

# objdump prints each import table as "DLL Name: X", a heading line, then
# one line per function (hint-name RVA, hint, name) up to a blank line. A
# line of any other shape (an import by ordinal, say) is reported as is, so
# that it cannot pass unseen.
imports=$(printf '%s\n' "$dump" | awk '
    /^[[:space:]]*DLL Name:/ { dll = tolower($3); next }
    dll == "" { next }
    /^[[:space:]]*$/ { dll = ""; next }
    /^[[:space:]]*vma:/ { next }
    $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ && NF == 3 { print dll " " tolower($3); next }
    { gsub(/[[:space:]]+/, "_"); print dll " unreadable-import-line" $0 }
' | sort -u)

if [ -z "$imports" ]; then
    echo "no imports found in $dll (did objdump change its format?)"; status=1
fi
not_allowed=$(comm -23 <(printf '%s\n' "$imports") <(printf '%s\n' "$allowed"))
if [ -n "$not_allowed" ]; then
    echo "imports missing from $allowed_list (add them only if Windows XP has them):"
    printf '%s\n' "$not_allowed" | sed 's/^/  /'
    status=1
fi
for dll_name in $(printf '%s\n' "$dump" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z'); do
    case "$dll_name" in
        kernel32.dll|advapi32.dll|msvcrt.dll) ;;
        *) echo "imports a DLL outside kernel32, advapi32 and msvcrt: $dll_name"; status=1 ;;
    esac
done

size=$(stat -c %s "$dll")
if [ "$size" -ge "$max_size" ]; then
    echo "$dll is $size bytes, over the limit of $max_size"; status=1
fi

if [ $status -eq 0 ]; then
    echo "size: $size bytes (limit $max_size)"
    echo "imports: $(printf '%s\n' "$imports" | wc -l) functions, all allowed:"
    printf '%s\n' "$imports" | awk '{printf "  %s %s\n", $1, $2}'
fi
exit $status

#!/bin/bash
# Checks the 32-bit release programs of a build folder: PE32 executables for Intel 80386
# that import nothing beyond Windows' own DLLs. Records their sizes.
set -euo pipefail
BUILD=${1:-build/win32}

# Windows' own system DLLs that the programs may import.
ALLOWED='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comctl32|comdlg32|version|msimg32|uxtheme|msvcrt|ws2_32|shlwapi|rpcrt4|bcrypt|ntdll|imm32|winmm|api-ms-win-[a-z0-9-]+)\.dll$'

check() {
    local exe=$1 subsystem=$2
    [ -f "$exe" ] || { echo "missing: $exe"; exit 1; }
    local kind
    kind=$(file -b "$exe")
    case "$kind" in
        "PE32 executable ($subsystem) Intel 80386"*) ;;
        *) echo "$exe: not a 32-bit $subsystem program: $kind"; exit 1 ;;
    esac
    local bad=0
    while read -r dll; do
        if ! echo "$dll" | tr 'A-Z' 'a-z' | grep -Eq "$ALLOWED"; then
            echo "$exe imports a DLL that is not Windows' own: $dll"
            bad=1
        fi
    done < <(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')
    [ "$bad" -eq 0 ] || exit 1
    echo "$exe: $kind, $(stat -c %s "$exe") bytes, imports:" \
        "$(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr '\n' ' ')"
}

check "$BUILD/app/Orvalis.exe" GUI
check "$BUILD/orvalis-report.exe" console

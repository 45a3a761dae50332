#!/usr/bin/env bash
# The program must run on a clean Windows machine: every DLL it imports must be one that Windows itself ships.
set -euo pipefail
objdump=$1 exe=$2
allowed='^(kernel32|user32|gdi32|comctl32|shell32|ole32|oleaut32|advapi32|msvcrt|comdlg32|shlwapi|version|uxtheme|ucrtbase|api-ms-win-[a-z0-9-]+)\.dll$'
imports=$("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
[ -n "$imports" ] || { echo "no import table found in $exe"; exit 1; }
bad=$(printf '%s\n' "$imports" | grep -vE "$allowed" || true)
echo "imports: $(echo $imports)"
if [ -n "$bad" ]; then
  echo "not a system DLL: $bad"
  exit 1
fi

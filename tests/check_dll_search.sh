#!/usr/bin/env bash
# The program loads DLLs from the system folder only: it asks for SetDefaultDllDirectories (falling back to
# SetDllDirectoryW), and its load configuration's DependentLoadFlags is LOAD_LIBRARY_SEARCH_SYSTEM32 (0x800).
set -euo pipefail
objdump=$1 exe=$2
headers=$("$objdump" -p "$exe")
grep -aqz '^SetDefaultDllDirectories$' "$exe" || { echo "$exe does not name SetDefaultDllDirectories"; exit 1; }
grep -q '\bSetDllDirectoryW$' <<<"$headers" || { echo "$exe does not import SetDllDirectoryW"; exit 1; }
# The structure's size and the offset of DependentLoadFlags in it, for each architecture.
case $headers in *"file format pei-x86-64"*) size=112 flags_at=78 ;; *) size=72 flags_at=54 ;; esac
read -r rva dir_size < <(sed -n 's/^Entry a \(\S*\) \(\S*\) Load Configuration Directory/\1 \2/p' <<<"$headers")
[ "$((16#$rva))" -ne 0 ] || { echo "$exe has no load configuration directory"; exit 1; }
at=$((16#$(sed -n 's/^ImageBase\s*//p' <<<"$headers") + 16#$rva)) offset=
while read -r index _ length vma _ raw _; do   # the structure's place in the file, from its section's
  [[ $index =~ ^[0-9]+$ ]] && ((at >= 16#$vma && at < 16#$vma + 16#$length)) && offset=$((16#$raw + at - 16#$vma))
done < <("$objdump" -h "$exe")
struct_size=$(od -An -tu4 -j "${offset:?lies in no section}" -N4 "$exe" | tr -d ' ')
flags=$(od -An -tx2 -j "$((offset + flags_at))" -N2 "$exe" | tr -d ' ')
echo "load configuration: directory size $((16#$dir_size)), structure size $struct_size, DependentLoadFlags 0x$flags"
[ "$((16#$dir_size))" -eq "$size" ] && [ "$struct_size" -eq "$size" ] && [ "$flags" = 0800 ] ||
  { echo "expected size $size in both and DependentLoadFlags 0x0800"; exit 1; }

#!/usr/bin/env bash
# The program loads DLLs from the system folder only: it asks for SetDefaultDllDirectories (falling back to
# SetDllDirectoryW), and its load configuration's DependentLoadFlags is LOAD_LIBRARY_SEARCH_SYSTEM32 (0x800).
set -euo pipefail
objdump=$1 exe=$2
headers=$("$objdump" -p "$exe")
grep -aqz '^SetDefaultDllDirectories$' "$exe" || { echo "$exe does not name SetDefaultDllDirectories"; exit 1; }
grep -q '\bSetDllDirectoryW$' <<<"$headers" || { echo "$exe does not import SetDllDirectoryW"; exit 1; }

case $(sed -n 's/.*file format //p' <<<"$headers") in   # expected size and offset of DependentLoadFlags
  pei-x86-64) size=112 flags_at=78 ;;
  pei-i386) size=72 flags_at=54 ;;
  *) echo "$exe: not a Windows program this check knows"; exit 1 ;;
esac
read -r rva dir_size < <(sed -n 's/^Entry a \([0-9a-f]*\) \([0-9a-f]*\) Load Configuration Directory/\1 \2/p' <<<"$headers") || { echo "$exe has no data directories"; exit 1; }
[ "$((16#$rva))" -ne 0 ] || { echo "$exe has no load configuration directory"; exit 1; }
base=$((16#$(sed -n 's/^ImageBase\s*//p' <<<"$headers")))
# The file offset of the structure, from the section that holds its address.
at=$((base + 16#$rva)) offset=
while read -r index _ length vma _ file_offset _; do
  [[ $index =~ ^[0-9]+$ ]] && ((at >= 16#$vma && at < 16#$vma + 16#$length)) && offset=$((16#$file_offset + at - 16#$vma))
done < <("$objdump" -h "$exe")
[ -n "$offset" ] || { echo "$exe: the load configuration lies in no section"; exit 1; }
struct_size=$(od -An -tu4 -j "$offset" -N4 "$exe" | tr -d ' ')
flags=$(od -An -tx2 -j "$((offset + flags_at))" -N2 "$exe" | tr -d ' ')
echo "load configuration: directory size $((16#$dir_size)), structure size $struct_size, DependentLoadFlags 0x$flags"
[ "$((16#$dir_size))" -eq "$size" ] && [ "$struct_size" -eq "$size" ] && [ "$flags" = 0800 ] ||
  { echo "expected size $size in both and DependentLoadFlags 0x0800"; exit 1; }

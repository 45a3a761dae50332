#!/usr/bin/env bash
# The program loads DLLs from the system folder only: its load configuration's DependentLoadFlags is
# LOAD_LIBRARY_SEARCH_SYSTEM32 (0x800), it names SetDefaultDllDirectories (looked up at run time) and imports
# SetDllDirectoryW, its fallback. With --first-call (a program with its symbol table, as the test build's is), also
# what the machine code does: wWinMain's first call narrows the search, and that function's first call through a
# pointer, the one to SetDefaultDllDirectories, passes 0x800.
# Usage: check_dll_search.sh OBJDUMP PROGRAM [--first-call]
set -euo pipefail
objdump=$1 exe=$2 first_call=${3:-}
headers=$("$objdump" -p "$exe")
grep -aqz '^SetDefaultDllDirectories$' "$exe" || { echo "$exe does not name SetDefaultDllDirectories"; exit 1; }
grep -q '\bSetDllDirectoryW$' <<<"$headers" || { echo "$exe does not import SetDllDirectoryW"; exit 1; }
# The structure's size and the offset of DependentLoadFlags in it, for each architecture.
case $headers in *"file format pei-x86-64"*) size=112 flags_at=78 x64=1 ;; *) size=72 flags_at=54 x64="" ;; esac
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
[ "$first_call" = --first-call ] || exit 0

# The instructions of one function, by its symbol: "call <target>" lines and the rest, without addresses.
instructions() { "$objdump" -d --no-show-raw-insn --disassemble="$1" "$exe" | sed -n 's/^ *[0-9a-f]*:\s*//p'; }
entry=$([ -n "$x64" ] && echo wWinMain || echo _wWinMain@16)
narrowing=$([ -n "$x64" ] && echo _ZN7kelvane31RestrictDllSearchToSystemFolderEv ||
               echo __ZN7kelvane31RestrictDllSearchToSystemFolderEv)
first=$(instructions "$entry" | grep -m1 '^call' || true)
echo "wWinMain's first call: ${first:-none}"
[[ $first == *"<$narrowing>" ]] || { echo "wWinMain does not narrow the DLL search before anything else"; exit 1; }
# Up to the first call through a register: the argument set up for it, 0x800 in ecx (x64) or on the stack (x86).
before=$(instructions "$narrowing" | sed -n '1,/^call\s*\*%[a-z]*$/p')
grep -q '^call\s*\*%[a-z]*$' <<<"$before" || { echo "the narrowing calls no function pointer"; exit 1; }
setup=$(tac <<<"$before" | sed -n '2,/^call/p')   # the instructions between the call before it and it
pattern=$([ -n "$x64" ] && echo '\$0x800,%ecx$' || echo '^push\s*\$0x800$\|\$0x800,(%esp)$')
grep -q "$pattern" <<<"$setup" ||
  { echo "SetDefaultDllDirectories is not called with LOAD_LIBRARY_SEARCH_SYSTEM32 (0x800):"; echo "$setup"; exit 1; }
echo "the narrowing calls SetDefaultDllDirectories(0x800) first thing"

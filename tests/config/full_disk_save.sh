#!/usr/bin/env bash
# Save on a really full disk: mounts a tiny tmpfs, fills it around a config.wtf and runs the SaveOnFullDisk test
# under Wine against it. Needs root (as in CI); prints "skipped: cannot mount" and passes where mounting is refused.
# Usage: full_disk_save.sh <emulator> <config_tests.exe>
set -u
emulator=$1
tests_exe=$2
old_config=$'SET textureCacheSize "256"\r\nSET synchronizeConfig "0"\r\n'

mount_point=$(mktemp -d /tmp/kelvane-full-disk.XXXXXX)
if ! mount -t tmpfs -o size=64k,mode=0755 kelvane-full-disk "$mount_point" 2>/dev/null; then
  rmdir "$mount_point"
  echo "skipped: cannot mount a tmpfs here (not root or no mount permission)"
  exit 0
fi
cleanup() {
  umount "$mount_point" 2>/dev/null || umount -l "$mount_point" 2>/dev/null
  rmdir "$mount_point" 2>/dev/null
}
trap cleanup EXIT

printf '%s' "$old_config" >"$mount_point/config.wtf"
# Fill every block that is left; dd stops with "No space left on device".
dd if=/dev/zero of="$mount_point/filler" bs=4096 2>/dev/null
sync
before=$(sha256sum <"$mount_point/config.wtf")
echo "free blocks after filling: $(stat -f -c %a "$mount_point")"

# Under Wine the Unix path /tmp/x is Z:\tmp\x.
export KELVANE_FULL_DISK_DIR="Z:${mount_point//\//\\}"
output=$("$emulator" "$tests_exe" --gtest_filter='SaveOnFullDisk.*' 2>&1)
status=$?
printf '%s\n' "$output"
# A skip inside the test (the folder variable lost on the way) must not pass for a success.
if ! grep -q '\[       OK \] SaveOnFullDisk\.' <<<"$output"; then
  echo "FAIL: the full-disk test did not run to success"
  status=1
fi

after=$(sha256sum <"$mount_point/config.wtf")
leftovers=$(ls -A "$mount_point" | grep -v -x -e config.wtf -e filler)
if [ "$before" != "$after" ]; then
  echo "FAIL: config.wtf changed on the full disk"
  status=1
fi
if [ -n "$leftovers" ]; then
  echo "FAIL: files left behind on the full disk: $leftovers"
  status=1
fi
exit $status

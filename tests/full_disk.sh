#!/usr/bin/env bash
# Runs tests against a really full disk: mounts a tiny tmpfs holding a game folder (WTF\config.wtf and an older
# config.wtf.bak~), fills every block that is left and runs the test program with a GoogleTest filter under Wine,
# naming the game folder in KELVANE_FULL_DISK_DIR. Afterwards both files must be byte for byte as they were and
# nothing else may be left. Needs root (as in CI); where mounting is refused it prints "skipped:" and why, and exits
# with ctest's skip code (SKIP_RETURN_CODE in tests/CMakeLists.txt), never as a pass.
# Usage: full_disk.sh <emulator> <test program> <gtest filter>
set -u
emulator=$1
tests_exe=$2
filter=$3
skip_code=77
old_config=$'SET textureCacheSize "256"\r\nSET synchronizeConfig "0"\r\n'
old_backup=$'SET synchronizeMacros "0"\r\n'

# A run that was killed (a ctest time-out) left its tmpfs mounted: the folder names the run's process, and one whose
# process is gone is unmounted and removed. Runs of other trees at the same time keep theirs.
for old in /tmp/kelvane-full-disk.*; do
  owner=${old#/tmp/kelvane-full-disk.}
  owner=${owner%%.*}
  [ -d "$old" ] && [[ $owner =~ ^[0-9]+$ ]] && ! kill -0 "$owner" 2>/dev/null || continue
  umount "$old" 2>/dev/null || umount -l "$old" 2>/dev/null
  rmdir "$old" 2>/dev/null && echo "removed the full-disk folder $old that a killed run left"
done
mount_point=$(mktemp -d "/tmp/kelvane-full-disk.$$.XXXXXX")
if ! mount -t tmpfs -o size=64k,mode=0755 kelvane-full-disk "$mount_point" 2>/dev/null; then
  rmdir "$mount_point"
  echo "skipped: cannot mount a tmpfs here (not root, or no right to mount)"
  exit "$skip_code"
fi
cleanup() {
  umount "$mount_point" 2>/dev/null || umount -l "$mount_point" 2>/dev/null
  rmdir "$mount_point" 2>/dev/null
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

wtf="$mount_point/WTF"
mkdir "$wtf"
printf '%s' "$old_config" >"$wtf/config.wtf"
printf '%s' "$old_backup" >"$wtf/config.wtf.bak~"
# Fill every block that is left; dd stops with "No space left on device".
dd if=/dev/zero of="$mount_point/filler" bs=4096 2>/dev/null
sync
before=$(cat "$wtf/config.wtf" "$wtf/config.wtf.bak~" | sha256sum)
echo "free blocks after filling: $(stat -f -c %a "$mount_point")"

# Under Wine the Unix path /tmp/x is Z:\tmp\x.
export KELVANE_FULL_DISK_DIR="Z:${mount_point//\//\\}"
output=$("$emulator" "$tests_exe" --gtest_filter="$filter" 2>&1)
status=$?
printf '%s\n' "$output"
# A skip inside the test (the folder variable lost on the way) must not pass for a success.
if ! grep -qE '^\[  PASSED  \] [1-9][0-9]* test' <<<"$output" || grep -q '^\[  SKIPPED \]' <<<"$output"; then
  echo "FAIL: the full-disk tests did not all run to success"
  status=1
fi

after=$(cat "$wtf/config.wtf" "$wtf/config.wtf.bak~" | sha256sum)
leftovers=$( (ls -A "$mount_point" | grep -v -x -e WTF -e filler; ls -A "$wtf" | grep -v -x -e config.wtf -e 'config.wtf.bak~') )
if [ "$before" != "$after" ]; then
  echo "FAIL: config.wtf or its backup changed on the full disk"
  status=1
fi
if [ -n "$leftovers" ]; then
  echo "FAIL: files left behind on the full disk: $leftovers"
  status=1
fi
exit $status

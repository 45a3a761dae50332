#!/usr/bin/env bash
# Runs tests as an ordinary account, where Wine enforces the read-only attribute and Unix rights as Windows enforces
# its own (as root it ignores both). Creates the account when missing and runs copies of the test program and of the
# programs beside it from the account's home, in a Wine prefix of the run's own there, on the test run's display,
# with KELVANE_RIGHTS_ENFORCED set. Needs root (as in CI); elsewhere it prints "skipped:" and why, and exits with
# ctest's skip code (SKIP_RETURN_CODE in tests/CMakeLists.txt), never as a pass. The account and its home (a Wine
# prefix and the programs, hundreds of MB) are removed afterwards, and a run removes what a killed one left.
# Usage: ordinary_account.sh <test program> <gtest filter> [<program to test; default: kelvane.exe of the build>]
set -u
tests_exe=$1
filter=$2
build=$(dirname "$(dirname "$tests_exe")")
program=${3:-$build/kelvane.exe}
account=kelvane-tests
# Seconds for the prefix's first start, and again for the tests; an emulated CPU sets more.
limit=${KELVANE_ACCOUNT_STEP_LIMIT:-300}
skip_code=77

if [ "$(id -u)" -ne 0 ]; then
  echo "skipped: not root, so the tests already run as an ordinary account"
  exit "$skip_code"
fi
# Ends the account's Wine and removes the account with its home: after the run, and before it when a killed run left
# them.
remove_account() {
  id "$account" >/dev/null 2>&1 || return 0
  local old_home uid
  old_home=$(getent passwd "$account" | cut -d: -f6)
  uid=$(id -u "$account")
  if [ -d "$old_home/build/wineprefix" ]; then
    runuser -u "$account" -- env WINEPREFIX="$old_home/build/wineprefix" wineserver -k 2>/dev/null
    runuser -u "$account" -- env WINEPREFIX="$old_home/build/wineprefix" wineserver -w 2>/dev/null
  fi
  userdel --remove "$account" 2>/dev/null
  rm -rf "/tmp/.wine-$uid"   # the wineserver's socket folder
  ! id "$account" >/dev/null 2>&1 && [ ! -e "$old_home" ] || echo "FAIL: the account $account or $old_home is left"
}
remove_account
trap remove_account EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
useradd --create-home --shell /usr/sbin/nologin "$account" || { echo "FAIL: cannot create the account $account"; exit 1; }
home=$(getent passwd "$account" | cut -d: -f6)
# The build folder may lie where the account cannot read: the programs are copied, keeping their layout (the test
# program starts ..\kelvane.exe and copies the stand-in game from its own folder).
run=$home/build
prefix=$run/wineprefix
mkdir -p "$run/tests" "$prefix"
cp "$program" "$run/kelvane.exe"
cp "$build"/tests/*.exe "$run/tests/"
chown -R "$account:" "$run"

as_account() {
  runuser -u "$account" -- env -i PATH=/usr/bin:/bin HOME="$home" USER="$account" LANG=C.UTF-8 DISPLAY="$DISPLAY" \
    WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" KELVANE_RIGHTS_ENFORCED=1 "$@"
}

as_account wineserver -p
# --foreground: in the script's process group, which Ctrl-C reaches; the account's Wine is ended afterwards anyway.
as_account timeout --foreground "$limit" /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 </dev/null
# A crash must fail the test at once instead of waiting for someone to close winedbg's dialog.
as_account /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
  >/dev/null 2>&1 || { echo "FAIL: the prefix $prefix could not be prepared"; exit 1; }

output=$(as_account timeout --foreground "$limit" /usr/lib/wine/wine64 "$run/tests/$(basename "$tests_exe")" \
  --gtest_filter="$filter" 2>&1)
status=$?
printf '%s\n' "$output"
echo "(ran as $(as_account id -un), uid $(as_account id -u))"
# A skip, or a filter that matched nothing, must not pass for a success.
if ! grep -qE '^\[  PASSED  \] [1-9][0-9]* test' <<<"$output" || grep -q '^\[  SKIPPED \]' <<<"$output"; then
  echo "FAIL: the tests did not all run to success as $account"
  status=1
fi
exit $status

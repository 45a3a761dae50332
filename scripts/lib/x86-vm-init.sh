#!/bin/bash
# PID 1 of the emulated machine that scripts/lib/x86-vm.sh boots. The second disk (/io) carries what to run in and
# the results out. Without /io/kelvane.exe it only prepares the two Wine prefixes, which the image keeps: a 32-bit
# one (32-bit Windows) and a 64-bit one, where 32-bit programs run under WoW64 as on 64-bit Windows. With it:
#   out/win32-release   the smoke test against /io/kelvane.exe in the 32-bit prefix
#   out/wow64-release   the end-to-end and smoke tests against /io/kelvane.exe in the 64-bit prefix
#   out/wow64-tests     every ctest test of the 32-bit test build, through ctest, and each test program's list of
#                       tests (<program>.list), which the host compares with the 64-bit build's
# /io/tree holds the test build's programs and test files, and the scripts they name, laid out as in the host's tree,
# which /io/root-path names; /io/build-dir names the build folder in it. Each results folder gets, per program, its
# output (<program>.log) and exit code (<program>.exit-code). /io/limits gives each step's time limit; the host's
# limit of the whole boot is their sum and a margin.
export PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
export HOME=/root USER=root LANG=C.UTF-8 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
prefix32=/root/wineprefix
prefix64=/root/wineprefix64
xvfb_pid=""

log() { echo "x86-vm: $*"; [ -d /io/out ] && echo "$*" >> /io/out/vm.log; }
uptime_s() { cut -d' ' -f1 /proc/uptime; }
stop_wine() {   # $1: prefix
  WINEPREFIX=$1 wineserver -k 2>/dev/null
  WINEPREFIX=$1 wineserver -w 2>/dev/null
}
# Nothing may hold a file on /io when it is unmounted, or the host reads an unclean file system: Wine's servers and
# Xvfb are ended first, and what the unmount says is written to the serial console, which the host keeps.
power_off() {
  stop_wine "$prefix64"
  stop_wine "$prefix32"
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
    cp /tmp/xvfb.log /io/out/ 2>/dev/null
  fi
  sync
  if mountpoint -q /io; then
    if umount /io; then
      echo "x86-vm: results disk unmounted"
    else
      echo "x86-vm: results disk NOT unmounted; files open on it:"
      ls -l /proc/[0-9]*/fd 2>/dev/null | grep ' /io/'
    fi
  fi
  mount -o remount,ro / 2>/dev/null   # the prefixes' boot writes the image itself
  sync
  echo o > /proc/sysrq-trigger
  sleep 60
}
trap power_off EXIT

mountpoint -q /proc || mount -t proc proc /proc
mountpoint -q /sys || mount -t sysfs sys /sys
mountpoint -q /dev || mount -t devtmpfs dev /dev
mkdir -p /dev/pts /dev/shm /io
mount -t devpts devpts /dev/pts
mount -t tmpfs shm /dev/shm
mount -t tmpfs tmp /tmp
chmod 1777 /tmp /dev/shm
mount -o remount,rw /
if ! mount -t ext4 /dev/vdb /io; then
  echo "x86-vm: no second disk; nothing to do"
  exit 1
fi
mkdir -p /io/out
log "up after $(uptime_s) s; $(uname -r), $(nproc) cpus"
. /io/limits
# The refusal tests' account makes its own 64-bit prefix, which takes minutes on an emulated CPU.
export KELVANE_ACCOUNT_STEP_LIMIT=$account_step

# The image keeps the prefixes this block makes, so its text is part of the image's cache key (scripts/lib/x86-vm.sh).
loader() { [ "$1" = win32 ] && echo /usr/lib/wine/wine || echo /usr/lib/wine/wine64; }
prepare_prefix() {   # $1: prefix, $2: WINEARCH
  local wine view
  wine=$(loader "$2")
  rm -rf "$1"
  WINEPREFIX=$1 WINEARCH=$2 timeout "$wineboot_timeout" "$wine" wineboot -i > "/io/out/wineboot-$2.log" 2>&1
  log "wineboot -i ($2): exit code $?"
  # A crash must end the process at once: winedbg's dialog or its automatic debugger would hang the run. DirectDraw's
  # display memory is pinned as on the host (256 MiB), so the texture tests expect the same figure.
  for view in 32 64; do
    [ "$2" = win32 ] && [ "$view" = 64 ] && continue
    WINEPREFIX=$1 "$wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger \
      /t REG_SZ /d '' /f /reg:$view >/dev/null 2>&1 || return 1
  done
  WINEPREFIX=$1 "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
    >/dev/null 2>&1 &&
    WINEPREFIX=$1 "$wine" reg add 'HKCU\Software\Wine\Direct3D' /v VideoMemorySize /t REG_SZ /d 256 /f \
      >/dev/null 2>&1 &&
    WINEPREFIX=$1 wineserver -w &&
    touch "$1/.kelvane-ready"
}
if [ ! -f "$prefix32/.kelvane-ready" ] || [ ! -f "$prefix64/.kelvane-ready" ]; then
  prepare_prefix "$prefix32" win32
  prepare_prefix "$prefix64" win64
  log "prefixes ready: $([ -f "$prefix32/.kelvane-ready" ] && [ -f "$prefix64/.kelvane-ready" ] && echo yes || echo no)"
  [ -f "$prefix32/.kelvane-ready" ] && [ -f "$prefix64/.kelvane-ready" ] && touch /io/out/prefix-ready
fi

[ -f /io/kelvane.exe ] || exit 0

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>/tmp/display >/tmp/xvfb.log 2>&1 &
xvfb_pid=$!
for _ in $(seq 300); do [ -s /tmp/display ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 /tmp/display)"

start_wine() {   # $1: prefix, $2: WINEARCH; Wine's services started now, detached, as the host's test session does
  export WINEPREFIX=$1 WINEARCH=$2
  wineserver -p
  "$(loader "$2")" wineboot >/dev/null 2>&1 </dev/null
}

# The test build's test files name absolute paths: the tree appears where the host had it.
root=$(cat /io/root-path)
build=$(cat /io/build-dir)
mkdir -p "$(dirname "$root")"
ln -s /io/tree "$root"

run_program() {   # $1: results folder, $2: Wine's loader, $3: test program, $4: the program file it tests
  local name
  name=$(basename "$3" .exe)
  mkdir -p "$1"
  KELVANE_EXE=$4 timeout -k 10 "$program_timeout" "$2" "$3" > "$1/$name.log" 2>&1
  echo $? > "$1/$name.exit-code"
  log "$(basename "$1") $name: exit code $(cat "$1/$name.exit-code") after $(uptime_s) s"
}

# 32-bit Windows: the 32-bit-only prefix.
start_wine "$prefix32" win32
log "Xvfb on $DISPLAY, 32-bit Wine started after $(uptime_s) s"
run_program /io/out/win32-release /usr/lib/wine/wine "$root/$build/tests/smoke_tests.exe" 'Z:\io\kelvane.exe'
stop_wine "$prefix32"

# 64-bit Windows: the same 32-bit programs under WoW64, started as the host's tests start theirs.
start_wine "$prefix64" win64
log "64-bit Wine started after $(uptime_s) s"
for program in e2e_tests smoke_tests; do
  run_program /io/out/wow64-release /usr/lib/wine/wine64 "$root/$build/tests/$program.exe" 'Z:\io\kelvane.exe'
done

mkdir -p /io/out/wow64-tests
timeout -k 10 "$ctest_timeout" ctest --test-dir "$root/$build" --no-tests=error --output-on-failure \
  --output-junit /io/out/wow64-tests/ctest-results.xml --test-output-size-passed 10000000 \
  --test-output-size-failed 10000000 > /io/out/wow64-tests/ctest.log 2>&1
echo $? > /io/out/wow64-tests/ctest.exit-code
log "ctest: exit code $(cat /io/out/wow64-tests/ctest.exit-code) after $(uptime_s) s"
list_tests() {
  local program
  for program in "$root/$build"/tests/*_tests.exe; do
    /usr/lib/wine/wine64 "$program" --gtest_list_tests > "/io/out/wow64-tests/$(basename "$program" .exe).list" 2>&1
  done
}
export -f list_tests
export root build
timeout -k 10 "$lists_timeout" bash -c list_tests
log "test lists written after $(uptime_s) s"

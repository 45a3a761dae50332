#!/bin/bash
# PID 1 of the emulated machine that scripts/lib/x86-vm.sh boots. The second disk (/io) carries what to run in and
# the results out. Without /io/smoke_tests.exe it only prepares the 32-bit Wine prefix, which the image keeps; with
# it, it runs the smoke test against /io/kelvane.exe and writes its output, XML and exit code to /io/out.
export PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
export HOME=/root USER=root LANG=C.UTF-8
export WINEPREFIX=/root/wineprefix WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
smoke_timeout=${SMOKE_TIMEOUT:-600}

log() { echo "x86-vm: $*"; [ -d /io/out ] && echo "$*" >> /io/out/vm.log; }
power_off() {
  sync
  umount /io 2>/dev/null
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
mount -o remount,rw /
if ! mount -t ext4 /dev/vdb /io; then
  echo "x86-vm: no second disk; nothing to do"
  exit 1
fi
mkdir -p /io/out
log "up after $(cut -d' ' -f1 /proc/uptime) s; $(uname -r), $(nproc) cpus"

# The image keeps the prefix this block makes, so its text is part of the image's cache key (scripts/lib/x86-vm.sh).
if [ ! -f "$WINEPREFIX/.kelvane-ready" ]; then
  rm -rf "$WINEPREFIX"
  wine wineboot -i > /io/out/wineboot.log 2>&1
  log "wineboot -i: exit code $?"
  # A crash must end the process at once: winedbg's dialog or its automatic debugger would hang the run.
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 &&
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /t REG_SZ /d '' /f \
      >/dev/null 2>&1 &&
    touch "$WINEPREFIX/.kelvane-ready"
  wineserver -w
  log "prefix ready: $([ -f "$WINEPREFIX/.kelvane-ready" ] && echo yes || echo no)"
  [ -f "$WINEPREFIX/.kelvane-ready" ] && touch /io/out/prefix-ready
fi

[ -f /io/smoke_tests.exe ] || exit 0

fdfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$fdfile" >/io/out/xvfb.log 2>&1 &
for _ in $(seq 300); do [ -s "$fdfile" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$fdfile")"
# Wine's services started now, detached, as the host's test session does.
wineserver -p
wine wineboot >/dev/null 2>&1 </dev/null
log "Xvfb on $DISPLAY, Wine started after $(cut -d' ' -f1 /proc/uptime) s"

KELVANE_EXE='Z:\io\kelvane.exe' timeout -k 10 "$smoke_timeout" wine /io/smoke_tests.exe \
  '--gtest_output=xml:Z:\io\out\smoke_tests.xml' > /io/out/smoke_tests.log 2>&1
echo $? > /io/out/exit-code
log "smoke_tests.exe: exit code $(cat /io/out/exit-code) after $(cut -d' ' -f1 /proc/uptime) s"
wineserver -k

# Sourced by the scripts: a private Wine prefix, an Xvfb display and one wineserver kept alive for the run.
# wine_session_start PREFIX [SCREEN] sets WINEPREFIX and DISPLAY; wine_session_stop ends what it started;
# wine_session_traps [FINISH] runs FINISH (default wine_session_stop) on exit and on INT and TERM, so an
# interrupted run leaves no wineserver or Xvfb behind.

WINE64=/usr/lib/wine/wine64
export LANG=C.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml="   # no Mono or Gecko installer prompts
export WINEDEBUG=-all
export WINEARCH=win64

# wineserver -p exits with this when a server already serves the prefix (one a killed run left): that one is kept.
_wineserver_already_running=2
_xvfb_pid=""
_wine_session_started=""

# Runs a Wine program of the prefix's set-up, quiet when it works; what it said, and a failure, when it does not. Its
# output goes to a file: services it starts would hold a pipe open.
_wine_setup_step() {
  local log=$WINEPREFIX/setup-step.log
  "$WINE64" "$@" >"$log" 2>&1 </dev/null || { echo "wine: '$*' failed in $WINEPREFIX:" >&2; cat "$log" >&2; return 1; }
}
wine_reg() { "$WINE64" reg "$@" >/dev/null 2>&1; }   # its exit code only: a query may fail by design

wine_session_traps() {
  local finish=${1:-wine_session_stop}
  trap "$finish" EXIT
  trap "$finish; trap - EXIT; exit 130" INT
  trap "$finish; trap - EXIT; exit 143" TERM
}

wine_session_start() {
  local prefix=$1 screen=${2:-1024x768x24}
  export WINEPREFIX=$prefix
  # The caller's GoogleTest settings (a filter, a repeat, a shuffle) would change what every test program runs.
  local variable
  for variable in $(compgen -e | grep '^GTEST_' || true); do unset "$variable"; done
  # wineserver runs in the prefix's folder: on a fresh machine it must exist before the server can start.
  mkdir -p "$prefix"

  if [ -z "${KELVANE_USE_DISPLAY:-}" ] || [ -z "${DISPLAY:-}" ]; then
    local fdfile
    fdfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset 3>"$fdfile" 2>/dev/null &
    _xvfb_pid=$!
    for _ in $(seq 100); do
      [ -s "$fdfile" ] && break
      sleep 0.1
    done
    if [ ! -s "$fdfile" ]; then
      rm -f "$fdfile"
      echo "wine: Xvfb did not start" >&2
      return 1
    fi
    export DISPLAY=":$(head -n1 "$fdfile")"
    rm -f "$fdfile"
  fi

  # From here on there may be a server to stop, even if the start is interrupted.
  _wine_session_started=1
  local code=0
  wineserver -p || code=$?
  if [ "$code" != 0 ] && [ "$code" != "$_wineserver_already_running" ]; then
    echo "wine: cannot start a wineserver for $prefix (exit code $code)" >&2
    return 1
  fi
  if [ ! -f "$prefix/.kelvane-ready" ]; then
    echo "wine: preparing the private prefix $prefix (once)"
    _wine_setup_step wineboot -i || return 1
    # A crash must fail the test at once instead of waiting for someone to close winedbg's dialog.
    _wine_setup_step reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f || return 1
    # DirectDraw's display memory would otherwise follow the X screen; pin it so figures are repeatable.
    _wine_setup_step reg add 'HKCU\Software\Wine\Direct3D' /v VideoMemorySize /t REG_SZ /d 256 /f || return 1
    touch "$prefix/.kelvane-ready"
  fi
  # Start Wine's own services now, detached from our output: started by the first test instead, they would
  # inherit its output pipe and ctest would wait for them until its timeout.
  "$WINE64" wineboot >/dev/null 2>&1 </dev/null || true
}

wine_session_stop() {
  if [ -n "$_wine_session_started" ]; then
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    _wine_session_started=""
  fi
  if [ -n "$_xvfb_pid" ]; then
    kill "$_xvfb_pid" 2>/dev/null || true
    wait "$_xvfb_pid" 2>/dev/null || true
    _xvfb_pid=""
  fi
}

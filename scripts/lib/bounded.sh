# Sourced by the scripts: a command with a time limit that leaves nothing behind. `timeout` puts the command in a
# process group of its own, which Ctrl-C at the terminal and a signal to the script never reach; so the command runs
# in the background, the script waits for it (a wait that a trapped signal interrupts at once), and bounded_end,
# called from the script's traps, ends it: timeout passes the signal on to the command's whole group, and kills it
# 10 s later if it is still there.
#   bounded SECONDS COMMAND...   runs COMMAND; its exit code, or 124 (137 after the kill) when it ran out of time
#   bounded_traps [FINISH]       on exit, INT and TERM: bounded_end, then FINISH; INT and TERM end the script
_bounded_pid=""

bounded() {
  local code=0
  timeout -k 10 "$@" &
  _bounded_pid=$!
  wait "$_bounded_pid" || code=$?
  _bounded_pid=""
  return "$code"
}

bounded_end() {
  [ -n "$_bounded_pid" ] || return 0
  kill -TERM "$_bounded_pid" 2>/dev/null || true
  wait "$_bounded_pid" 2>/dev/null || true
  _bounded_pid=""
}

bounded_traps() {
  local finish="bounded_end${1:+; $1}"
  trap "$finish" EXIT
  trap "$finish; trap - EXIT; exit 130" INT
  trap "$finish; trap - EXIT; exit 143" TERM
}

#!/bin/sh
# The interactive handset in a pseudo-terminal: tmux runs mivorun-sim with the demo world,
# keys go in with send-keys and the screen comes back with capture-pane. It checks the idle
# page, the contacts page after SKYPE, the incoming-call page after :ring "Alice", and that
# quitting (q, and Ctrl-C) runs the Close command and gives the terminal back.
#
#   interactive_test.sh MIVORUN_SIM RES_DIR
# Exit status 77 (skipped) when tmux is not installed.
set -u

SIM=$1
RES=$2
if ! command -v tmux >/dev/null 2>&1; then
  echo "tmux is not installed: skipped"
  exit 77
fi

WORK=$(mktemp -d "${TMPDIR:-/tmp}/mivorun-tmux-XXXXXX")
# The tmux servers' sockets live in the work directory and go with it.
TMUX_TMPDIR=$WORK
export TMUX_TMPDIR
SOCKET="mivorun-test-$$"
SESSIONS=0
T="tmux -L $SOCKET-0 -f /dev/null"
cleanup() {
  n=0
  while [ $n -le $SESSIONS ]; do
    tmux -L "$SOCKET-$n" -f /dev/null kill-server >/dev/null 2>&1
    n=$((n + 1))
  done
  rm -rf "$WORK"
}
trap cleanup EXIT

FAILED=0
fail() {
  echo "FAIL: $1"
  echo "---- screen ----"
  $T capture-pane -p -t test 2>/dev/null
  echo "----------------"
  FAILED=1
}

# Waits up to ten seconds for the screen to match the extended regular expression.
wait_for() {
  i=0
  while [ $i -lt 100 ]; do
    if $T capture-pane -p -t test 2>/dev/null | grep -Eq -- "$1"; then return 0; fi
    sleep 0.1
    i=$((i + 1))
  done
  return 1
}

# Starts the handset in a fresh session; the pane stays after the program ends.
start() {
  # Each run gets a tmux server of its own: a client started while the previous server is
  # still shutting down would reach that dying server.
  $T kill-server >/dev/null 2>&1
  SESSIONS=$((SESSIONS + 1))
  T="tmux -L $SOCKET-$SESSIONS -f /dev/null"
  rm -f "$WORK/trace" "$WORK/status"
  $T new-session -d -s test -x 120 -y 40 \
    "LANG=C.UTF-8 TERM=screen '$SIM' --res '$RES' --trace '$WORK/trace'; echo \"status \$?\" > '$WORK/status'; sleep 60"
  wait_for '[A-Z][a-z][a-z]/[0-9][0-9]/[0-9]{4}' || fail "the idle page (date row) did not appear"
  wait_for '[0-9][0-9]:[0-9][0-9](am|pm)' || fail "the idle page (time row) did not appear"
  wait_for 'Tray icon: +ready' || fail "the tray icon is not ready"
}

# Checks that the program closed: exit status 0, the trace ending with the tray removal, and
# the terminal out of the handset's screen.
check_closed() {
  i=0
  while [ ! -s "$WORK/status" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
  [ "$(cat "$WORK/status" 2>/dev/null)" = "status 0" ] || fail "$1: exit status '$(cat "$WORK/status" 2>/dev/null)'"
  [ "$(tail -n 2 "$WORK/trace" | tr '\n' ' ')" = "Shell_NotifyIcon(NIM_DELETE) exit " ] ||
    fail "$1: the trace does not end with the tray removal: $(tail -n 2 "$WORK/trace" | tr '\n' ' ')"
  wait_for 'mivorun-sim: closed' || fail "$1: no closing line"
  $T capture-pane -p -t test | grep -q 'Tray icon' && fail "$1: the handset screen is still shown"
  [ "$($T display-message -p -t test '#{alternate_on}')" = "0" ] || fail "$1: the terminal was not restored"
}

start
$T send-keys -t test s
wait_for '^ *.Contacts ' || fail "SKYPE did not show the contacts page"
wait_for 'Alice Smith' || fail "the contacts page shows no contact"

$T send-keys -t test ':ring "Alice"' Enter
wait_for 'Incoming Call' || fail ':ring "Alice" did not show the incoming-call page'
wait_for '^ *.Alice +.' || fail "the incoming-call page does not show the caller"
wait_for 'ok: ring "Alice"' || fail "the command line did not confirm the command"

$T send-keys -t test ':ring' Enter
wait_for 'error: usage: ring' || fail "a bad command shows no error"

$T send-keys -t test q
check_closed "q"

# Ctrl-C closes the same way.
start
$T send-keys -t test C-c
check_closed "Ctrl-C"

[ $FAILED -eq 0 ] && echo "interactive handset: all checks passed"
exit $FAILED

#!/bin/sh
# cmake --install into a temporary prefix, then the installed program: its version, the man
# page, a scenario script whose output must equal the build's, and (with tmux) the interactive
# handset finding its shipped files without --res, also after the installation tree was moved.
#
#   install_test.sh CMAKE BUILD_DIR BUILT_SIM VERSION SCRIPT
set -u

CMAKE=$1
BUILD=$2
BUILT_SIM=$3
VERSION=$4
SCRIPT=$5

WORK=$(mktemp -d "${TMPDIR:-/tmp}/mivorun-install-XXXXXX")
TMUX_TMPDIR=$WORK
export TMUX_TMPDIR
# Each run of the handset gets a tmux server of its own (a client started while a previous
# server shuts down would reach the dying one).
RUNS=0
T="tmux -L mivorun-install-$$-0 -f /dev/null"
cleanup() {
  n=0
  while [ $n -le $RUNS ]; do
    tmux -L "mivorun-install-$$-$n" -f /dev/null kill-server >/dev/null 2>&1
    n=$((n + 1))
  done
  rm -rf "$WORK"
}
trap cleanup EXIT

FAILED=0
fail() {
  echo "FAIL: $1"
  FAILED=1
}

PREFIX=$WORK/prefix
"$CMAKE" --install "$BUILD" --prefix "$PREFIX" >"$WORK/install.log" 2>&1 ||
  { cat "$WORK/install.log"; echo "FAIL: cmake --install"; exit 1; }

for f in bin/mivorun-sim share/mivorun/lang.ini share/mivorun/setup.ini \
  share/mivorun/demo_world.scn share/man/man1/mivorun-sim.1; do
  [ -f "$PREFIX/$f" ] || fail "$f is not installed"
done
[ -x "$PREFIX/bin/mivorun-sim" ] || fail "bin/mivorun-sim is not executable"

out=$("$PREFIX/bin/mivorun-sim" --version) || fail "--version: exit status $?"
[ "$out" = "mivorun-sim $VERSION" ] || fail "--version says '$out', expected 'mivorun-sim $VERSION'"

# The installed program runs a story exactly as the built one does.
"$PREFIX/bin/mivorun-sim" --script "$SCRIPT" >"$WORK/installed.out" 2>&1 ||
  fail "the installed program's script run: exit status $?"
"$BUILT_SIM" --script "$SCRIPT" >"$WORK/built.out" 2>&1
cmp -s "$WORK/installed.out" "$WORK/built.out" ||
  fail "the installed program's script output differs from the built one's"

# The interactive handset copies lang.ini and setup.ini from its data directory into the
# start directory when it starts: the installed program must find them on its own.
interactive() {
  sim=$1
  dir=$2
  mkdir -p "$dir"
  RUNS=$((RUNS + 1))
  T="tmux -L mivorun-install-$$-$RUNS -f /dev/null"
  $T new-session -d -s t -x 120 -y 40 "LANG=C.UTF-8 TERM=screen '$sim' --dir '$dir'; sleep 60"
  # Up to 30 seconds: the machine may be busy with other tests.
  i=0
  while [ $i -lt 300 ] && ! $T capture-pane -p -t t 2>/dev/null | grep -q 'Tray icon'; do
    sleep 0.1
    i=$((i + 1))
  done
  screen=$($T capture-pane -p -t t 2>&1)
  $T send-keys -t t q >/dev/null 2>&1
  echo "$screen" | grep -q 'Tray icon' || { fail "$3: the handset did not start: $screen"; return; }
  cmp -s "$dir/lang.ini" "$PREFIX/share/mivorun/lang.ini" ||
    fail "$3: lang.ini was not taken from the installed data directory"
  [ -f "$dir/setup.ini" ] || fail "$3: setup.ini was not copied"
}
if command -v tmux >/dev/null 2>&1; then
  interactive "$PREFIX/bin/mivorun-sim" "$WORK/start1" "installed"
  mv "$PREFIX" "$WORK/moved"
  PREFIX=$WORK/moved
  interactive "$PREFIX/bin/mivorun-sim" "$WORK/start2" "moved installation"
else
  echo "tmux is not installed: the interactive part is left out"
fi

[ $FAILED -eq 0 ] && echo "install test passed"
exit $FAILED

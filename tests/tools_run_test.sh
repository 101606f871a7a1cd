#!/bin/sh
# tools/run's installation step with stand-in commands on PATH (dpkg, id, sudo, apt-get,
# cmake): what it installs and how, and that without sudo rights or without the network it
# says so, installs nothing and builds nothing.
#
#   tools_run_test.sh TOOLS_RUN
set -u

RUN=$1
WORK=$(mktemp -d "${TMPDIR:-/tmp}/mivorun-run-XXXXXX")
trap 'rm -rf "$WORK"' EXIT
BIN=$WORK/bin
LOG=$WORK/log
mkdir -p "$BIN"
for tool in bash dirname cat; do ln -s "$(command -v $tool)" "$BIN/$tool"; done

# dpkg: the packages named in $MISSING are not installed.
cat >"$BIN/dpkg" <<'STUB'
#!/bin/sh
for p in $MISSING; do [ "$2" = "$p" ] && exit 1; done
exit 0
STUB
cat >"$BIN/id" <<'STUB'
#!/bin/sh
echo "$USER_ID"
STUB
# apt-get: logs its arguments; fails when the step named in $APT_FAILS comes.
cat >"$BIN/apt-get" <<'STUB'
#!/bin/sh
echo "apt-get $*" >>"$LOG"
case "$*" in
  *update*) [ "$APT_FAILS" = update ] && exit 100 ;;
  *--download-only*) [ "$APT_FAILS" = download ] && exit 100 ;;
  *) [ "$APT_FAILS" = install ] && exit 100 ;;
esac
exit 0
STUB
cat >"$BIN/cmake" <<'STUB'
#!/bin/sh
echo "cmake $*" >>"$LOG"
STUB
chmod +x "$BIN"/dpkg "$BIN"/id "$BIN"/apt-get "$BIN"/cmake

FAILED=0
fail() {
  echo "FAIL: $1"
  echo "---- output ----"
  cat "$WORK/out"
  echo "---- commands ----"
  cat "$LOG" 2>/dev/null
  echo "------------------"
  FAILED=1
}

# run NAME STATUS: runs tools/run --build-only (stdin not a terminal) and checks the status.
run() {
  rm -f "$LOG"
  PATH=$BIN LOG=$LOG MISSING=$MISSING USER_ID=$USER_ID APT_FAILS=${APT_FAILS:-} \
    "$RUN" --build-only </dev/null >"$WORK/out" 2>&1
  status=$?
  [ $status -eq "$2" ] || fail "$1: exit status $status, expected $2"
}
said() { grep -q -- "$2" "$WORK/out" || fail "$1: does not say '$2'"; }
ran() { grep -q -- "$2" "$LOG" 2>/dev/null || fail "$1: did not run '$2'"; }
not_ran() { ! grep -q -- "$2" "$LOG" 2>/dev/null || fail "$1: ran '$2'"; }

# Everything there: no installation, the default preset's mivorun-sim is built.
MISSING="" USER_ID=0
run "all present" 0
not_ran "all present" apt-get
ran "all present" "cmake --preset default"
ran "all present" "cmake --build --preset default --target mivorun-sim"

# Root: only the missing packages, fetched completely before anything is installed.
MISSING="libcli11-dev make" USER_ID=0
run "root" 0
said "root" "installing the missing packages: make libcli11-dev"
ran "root" "apt-get update"
ran "root" "apt-get install -y -qq --no-install-recommends --download-only make libcli11-dev"
ran "root" "apt-get install -y -qq --no-install-recommends make libcli11-dev"
not_ran "root" "libgtest-dev"
[ "$(grep -n -- --download-only "$LOG" | cut -d: -f1)" -lt \
  "$(grep -n -v -- --download-only "$LOG" | grep 'apt-get install' | cut -d: -f1)" ] ||
  fail "root: installed before everything was fetched"

# No network: the update or the download fails; nothing installed, nothing built.
for step in update download; do
  APT_FAILS=$step
  run "no network ($step)" 1
  said "no network ($step)" "cannot fetch make libcli11-dev"
  said "no network ($step)" "nothing was installed"
  not_ran "no network ($step)" "apt-get install -y -qq --no-install-recommends make"
  not_ran "no network ($step)" cmake
done
APT_FAILS=install
run "failed installation" 1
said "failed installation" "installing make libcli11-dev failed"
not_ran "failed installation" cmake
APT_FAILS=

# A user without sudo: says what to install, as root; runs nothing.
USER_ID=1000
run "no sudo" 1
said "no sudo" "not root and no sudo: install make libcli11-dev as root"
not_ran "no sudo" apt-get
not_ran "no sudo" cmake

# A user whose sudo refuses (no rights, or a password and no terminal to ask it on).
printf '#!/bin/sh\necho "sudo $*" >>"$LOG"\nexit 1\n' >"$BIN/sudo"
chmod +x "$BIN/sudo"
run "no sudo rights" 1
said "no sudo rights" "no sudo rights: install make libcli11-dev as root"
not_ran "no sudo rights" apt-get
not_ran "no sudo rights" cmake

# A user with sudo: apt-get through sudo.
printf '#!/bin/sh\necho "sudo $*" >>"$LOG"\n[ "$1" = -n ] && shift\n"$@"\n' >"$BIN/sudo"
run "sudo" 0
ran "sudo" "sudo apt-get install -y -qq --no-install-recommends make libcli11-dev"
ran "sudo" "cmake --build --preset default --target mivorun-sim"

[ $FAILED -eq 0 ] && echo "tools/run test passed"
exit $FAILED

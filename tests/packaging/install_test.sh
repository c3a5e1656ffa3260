#!/usr/bin/env bash
# The installed Linux program: `cmake --install` into a scratch prefix, then
# the layout, the stripped files and their debug links, the hardening of the
# program and the library, and the installed program itself on Xvfb: started
# through <prefix>/bin, it finds the stand-in library and dvn_find finds 2.
#
# Usage: install_test.sh BUILD-DIR WM-CLOSE-WINDOW
set -euo pipefail

build=$(cd "$1" && pwd)
wm_close_window=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../../scripts/xvfb.sh
source "$here/../../scripts/xvfb.sh"

work=$(mktemp -d)
prefix=$work/prefix
panel_pid=
cleanup() {
  [[ -n $panel_pid ]] && kill "$panel_pid" 2>/dev/null || true
  stop_xvfb
  rm -rf "$work"
}
trap cleanup EXIT

failures=0
fail() {
  echo "install_test: FAIL: $*" >&2
  failures=$((failures + 1))
}

cmake --install "$build" --prefix "$prefix" >"$work/install.log" ||
  { cat "$work/install.log" >&2; echo "install_test: FAIL: cmake --install failed" >&2; exit 1; }

private=$prefix/lib/dalvenix-test
for file in bin/dalvenix-test lib/dalvenix-test/dalvenix-test lib/dalvenix-test/libdalvenix.so \
  lib/dalvenix-test/.debug/dalvenix-test.debug lib/dalvenix-test/.debug/libdalvenix.so.debug \
  share/applications/dalvenix-test.desktop share/doc/dalvenix-test/README.md; do
  [[ -e $prefix/$file ]] || fail "$file is not installed"
done
[[ -x $prefix/bin/dalvenix-test ]] || fail "bin/dalvenix-test is not executable"

desktop=$prefix/share/applications/dalvenix-test.desktop
grep -qx "Name=DALVENIX TEST" "$desktop" || fail "the desktop entry is not named DALVENIX TEST"
grep -qx "Exec=dalvenix-test" "$desktop" || fail "the desktop entry does not start dalvenix-test"

# Stripped, pointing at the debug information beside, which has it all.
for file in dalvenix-test libdalvenix.so; do
  sections=$(readelf -SW "$private/$file")
  [[ $sections != *" .debug_info "* ]] || fail "$file still carries its debug information"
  [[ $sections != *" .symtab "* ]] || fail "$file still carries its symbol table"
  link=$(readelf -p .gnu_debuglink "$private/$file" 2>/dev/null | grep -o "$file\.debug" || true)
  [[ -n $link ]] || fail "$file has no debug link to $file.debug"
  readelf -SW "$private/.debug/$file.debug" 2>/dev/null | grep -q " .debug_info " ||
    fail ".debug/$file.debug holds no debug information"
done

# Hardening: symbols bound at start, relocations read-only after it, stack
# protection and checked functions; no RUNPATH to search for Qt and the C++
# runtime in the program's folder.
for file in dalvenix-test libdalvenix.so; do
  dynamic=$(readelf -dW "$private/$file")
  [[ $dynamic == *BIND_NOW* ]] || fail "$file is not linked with -z now"
  readelf -lW "$private/$file" 2>/dev/null | grep -q GNU_RELRO || fail "$file has no RELRO segment"
  [[ $dynamic != *RUNPATH* && $dynamic != *"(RPATH)"* ]] || fail "$file has a RUNPATH or RPATH"
  symbols=$(readelf --dyn-syms -W "$private/$file")
  [[ $symbols == *__stack_chk_fail* ]] || fail "$file is not built with stack protection"
done
# Checked functions: the library formats its trace with snprintf, which
# _FORTIFY_SOURCE turns into the checked call. The program's own code calls
# nothing that has a checked form, so its compile commands tell instead.
readelf --dyn-syms -W "$private/libdalvenix.so" | grep -qE "__[a-z]+_chk@" ||
  fail "libdalvenix.so calls no checked (_FORTIFY_SOURCE) function"
commands=$(grep -F '"command":' "$build/compile_commands.json")
for source in main_qt.cpp qt/qt_main_window.cpp panel/main_window.cpp device/shared_library.cpp; do
  command=$(grep -F -- "/$source\"" <<<"$commands" | head -n 1)
  if [[ -z $command ]]; then
    fail "$source is not in the compilation database"
  elif [[ $command != *-D_FORTIFY_SOURCE=2* ]]; then
    fail "$source is not compiled with _FORTIFY_SOURCE=2"
  fi
done

# The installed program, started through bin/ from elsewhere: btnFind(0)
# finds the two boards of the stand-in beside it.
start_xvfb
cd /
DALVENIX_SIM_TRACE=$work/trace.txt "$prefix/bin/dalvenix-test" 2>"$work/err" &
panel_pid=$!
if window=$(wait_for_window "DALVENIX TEST"); then
  xdotool mousemove --window "$window" 128 32 click 1
  for ((tries = 0; tries < 100; tries++)); do
    [[ -f $work/trace.txt ]] && (($(wc -l <"$work/trace.txt") >= 2)) && break
    sleep 0.05
  done
  "$wm_close_window" "$window"
  status=0
  wait "$panel_pid" || status=$?
  panel_pid=
  ((status == 0)) || fail "the installed program ended with status $status"
  expected=$'dvn_find(0, 0, 0, 0) = 0\ndvn_getdevs(0, 0, 0, 0) = 2\ndvn_free(0, 0, 0, 0) = 0'
  actual=$(cat "$work/trace.txt" 2>/dev/null || true)
  [[ $actual == "$expected" ]] || fail "the installed program's calls differ:
$actual
--- error stream
$(cat "$work/err")"
else
  fail "the installed program showed no window titled DALVENIX TEST: $(cat "$work/err")"
fi

if ((failures > 0)); then
  echo "install_test: $failures failed" >&2
  exit 1
fi
echo "install_test: the install is complete, stripped, hardened and runs"

#!/usr/bin/env bash
# fighost's window on an X server (Xvfb), driven with xdotool as a person drives it: it opens at a
# size that fits the screen, End and Home go to the last and first frame (the pictures of the
# screen tell), and it comes back at the size it was left with.
# Usage: fighost_desktop_test.sh FIGHOST SOURCE   (starts an X server of its own)
set -uo pipefail
fighost=$1 source=$2
for tool in Xvfb xdotool import compare; do
  command -v "${tool}" >/dev/null || { echo "SKIPPED: ${tool} is not installed"; exit 77; }
done
scratch=$(mktemp -d)
pid=
xserver=
trap '[ -n "${pid}" ] && kill "${pid}" 2>/dev/null; [ -n "${xserver}" ] && kill "${xserver}" 2>/dev/null; rm -rf "${scratch}"' EXIT
# An X server of this test's own on a display number it picks itself and tells when it is ready
# (-displayfd), so that other tests starting servers at the same time cannot take it; it is not
# reset when the first fighost quits, so the second finds it as it was.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"${scratch}/display" 2>/dev/null &
xserver=$!
for _ in $(seq 100); do
  [ -s "${scratch}/display" ] && break
  sleep 0.1
done
[ -s "${scratch}/display" ] || { echo "FAILED: no X server"; exit 1; }
export DISPLAY=":$(head -n 1 "${scratch}/display")"
export XDG_CONFIG_HOME=${scratch}/config QT_QPA_PLATFORM=xcb DBUS_SESSION_BUS_ADDRESS=disabled:
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

# Starts fighost on the sample walk at frame 1 and waits for its window; sets window.
start() {
  "${fighost}" open "${source}/examples/human.bvh" --frame 1 &
  pid=$!
  window=
  for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name '^fighost$' 2>/dev/null | head -n 1)
    [ -n "${window}" ] && break
    sleep 0.1
  done
  [ -n "${window}" ] || { echo "FAILED: no window"; exit 1; }
  sleep 1
  xdotool windowactivate --sync "${window}" 2>/dev/null
  xdotool windowfocus --sync "${window}" 2>/dev/null
}
size() { xdotool getwindowgeometry --shell "${window}" | sed -n 's/^\(WIDTH\|HEIGHT\)=//p' | paste -sd x; }
shot() { sleep 0.5; import -window root "${scratch}/$1.png"; }
same() { [ "$(compare -metric AE "${scratch}/$1.png" "${scratch}/$2.png" /dev/null 2>&1)" = 0 ]; }
stop() {
  xdotool windowactivate --sync "${window}" 2>/dev/null
  xdotool key ctrl+q
  wait "${pid}"; pid=
}

start
echo "opened at $(size)"
# Three quarters of 1280 × 1024, less what the window manager would take (none here).
[ "$(size)" = 960x768 ] || fail "the window opened at $(size), not 960x768"
shot first
xdotool key End
shot last
xdotool key Home
shot home
same first last && fail "End changed nothing"
same first home || fail "Home did not come back to the first frame"

xdotool windowsize --sync "${window}" 1000 700
sleep 0.5
stop
[ -s "${XDG_CONFIG_HOME}/fighost/fighost.conf" ] || fail "nothing kept in fighost.conf"
start
echo "opened at $(size)"
[ "$(size)" = 1000x700 ] || fail "the window came back at $(size), not 1000x700"
stop
exit $((failures != 0))

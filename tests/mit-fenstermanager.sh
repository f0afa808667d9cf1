#!/bin/sh
# Runs a test program on an X server of its own whose window manager puts
# frames and title bars round the windows, as a desktop does:
#   mit-fenstermanager.sh BREITExHOEHE PROGRAMM [ARGUMENTE...]
# Ends with 77 (skipped) when Xvfb or openbox is not installed.
set -u
groesse=$1
shift
if ! command -v Xvfb >/dev/null 2>&1 || ! command -v openbox >/dev/null 2>&1; then
  echo "Xvfb oder openbox fehlt: übersprungen"
  exit 77
fi
ordner=$(mktemp -d)
# The servers end with this script even when it is killed (a test's time
# out), instead of keeping the files it was handed (a build lock) open.
mitende="setpriv --pdeathsig TERM"
# The server names its display once it is ready for clients.
$mitende Xvfb -displayfd 3 -screen 0 "${groesse}x24" -nolisten tcp 3>"$ordner/anzeige" 2>"$ordner/xvfb.log" &
xvfb=$!
versuche=0
while [ ! -s "$ordner/anzeige" ] && [ $versuche -lt 200 ]; do
  sleep 0.05
  versuche=$((versuche + 1))
done
if [ ! -s "$ordner/anzeige" ]; then
  echo "Xvfb startet nicht: übersprungen"
  cat "$ordner/xvfb.log"
  kill $xvfb 2>/dev/null
  rm -rf "$ordner"
  exit 77
fi
DISPLAY=:$(cat "$ordner/anzeige")
export DISPLAY
$mitende openbox --sm-disable >"$ordner/openbox.log" 2>&1 &
fenstermanager=$!
# The window manager has taken over once it names itself on the root window.
versuche=0
while [ $versuche -lt 100 ]; do
  if command -v xprop >/dev/null 2>&1; then
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  elif [ $versuche -ge 20 ]; then
    break
  fi
  sleep 0.05
  versuche=$((versuche + 1))
done
QT_QPA_PLATFORM=xcb "$@"
ergebnis=$?
kill $fenstermanager $xvfb 2>/dev/null
wait $fenstermanager $xvfb 2>/dev/null
rm -rf "$ordner"
exit $ergebnis

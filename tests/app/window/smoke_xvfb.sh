#!/usr/bin/env bash
# The program on a real (virtual) display: with a fresh settings folder it
# shows its main window and the about box, quits on close requests with
# status 0 and leaves a settings file with the welcome hint off.
# Usage: smoke_xvfb.sh PATH_TO_VELMARIX   (runs itself under xvfb-run)
set -u
program=$1
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${SMOKE_INNER:-}" ]; then
  SMOKE_INNER=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$program"
fi
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
fail() { echo "smoke test: $*"; kill "$pid" 2>/dev/null; exit 1; }

XDG_CONFIG_HOME=$config QT_QPA_PLATFORM=xcb "$program" & pid=$!
# A generous bound that only proves start-up ends.
main=$(timeout 30 xdotool search --sync --onlyvisible --name '^Velmarix 3\.5$' | head -1)
[ -n "$main" ] || fail "no main window"
about=$(timeout 30 xdotool search --sync --onlyvisible --name '^About Velmarix$' | head -1)
[ -n "$about" ] || fail "no about box at the first start"
"$here/x11_close.py" "$about"
for _ in $(seq 100); do xdotool search --onlyvisible --name '^About Velmarix$' >/dev/null || break; sleep 0.1; done
"$here/x11_close.py" "$main"
for _ in $(seq 300); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "still running after the close request"
wait "$pid"; status=$?
[ "$status" -eq 0 ] || fail "exit status $status"
settings=$config/Velmarix/UserSettings_3.4.ini
[ -f "$settings" ] || fail "no settings file written"
iconv -f UTF-16 -t UTF-8 "$settings" | grep -q 'show_welcome_hint = 0' || fail "welcome hint not saved off"
echo "smoke test passed"

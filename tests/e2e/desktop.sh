#!/usr/bin/env bash
# Runs a command on a desktop as a Korean user has it: Xvfb at 1024x768 (SOLBITSEM_E2E_SCREEN
# gives another size), the openbox window
# manager, a session bus and fcitx5 with Hangul (2-beolsik) active in every window.
# Usage: desktop.sh COMMAND [ARGS...]; HOME, XDG_* and DISPLAY are the desktop's own.
set -euo pipefail
work="$(mktemp -d)"
cleanup() {
    local pids
    pids="$(jobs -p)"
    [ -n "$pids" ] && kill $pids 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
export XDG_RUNTIME_DIR="$work/run" XDG_CACHE_HOME="$work/home/.cache"
mkdir -p "$XDG_CONFIG_HOME/fcitx5/conf" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

cat > "$XDG_CONFIG_HOME/fcitx5/profile" <<'PROFILE'
[Groups/0]
Name=Default
Default Layout=us
DefaultIM=hangul

[Groups/0/Items/0]
Name=keyboard-us
Layout=

[Groups/0/Items/1]
Name=hangul
Layout=

[GroupOrder]
0=Default
PROFILE
# Hangul is on in every new window, as a Korean desktop is set up.
cat > "$XDG_CONFIG_HOME/fcitx5/config" <<'CONFIG'
[Behavior]
ActiveByDefault=True
ShareInputState=All
CONFIG

Xvfb -displayfd 3 -screen 0 "${SOLBITSEM_E2E_SCREEN:-1024x768}x24" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || { echo "Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(cat "$work/display")"

dbus-daemon --session --fork --nopidfile --address="unix:path=$work/bus" --print-pid=4 4>"$work/bus.pid"
dbus_pid="$(cat "$work/bus.pid")"
export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/bus"
openbox --sm-disable >"$work/openbox.log" 2>&1 &
fcitx5 --disable=notificationitem,kimpanel,clipboard,emoji,quickphrase,spell,unicode,wayland,waylandim,notifications \
    >"$work/fcitx5.log" 2>&1 &
# fcitx5 is ready when it owns its bus name.
for _ in $(seq 200); do
    dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
        string:org.fcitx.Fcitx5 2>/dev/null | grep -q 'boolean true' && break
    sleep 0.05
done
export QT_IM_MODULE=fcitx XMODIFIERS=@im=fcitx QT_QPA_PLATFORM=xcb
status=0
"$@" || status=$?
kill "$dbus_pid" 2>/dev/null || true
exit $status

#!/usr/bin/env bash
# session.sh SECONDS COMMAND [ARGS...]
#
# Runs COMMAND inside a private desktop of its own, the way a screen reader
# user's desktop is set up, so that nothing leaks in from (or out to) the
# machine's own session:
#   - Xvfb on a display number that Xvfb itself picks as free (-displayfd),
#   - a private D-Bus session bus,
#   - the AT-SPI accessibility bus and registry (at-spi2-core),
#   - the openbox window manager, which gives the keyboard focus to new
#     windows as a desktop does (without one, key presses land nowhere),
#   - a temporary HOME / XDG_* folders, so that settings and kept results
#     start empty and are thrown away.
# COMMAND finds DISPLAY, DBUS_SESSION_BUS_ADDRESS, QT_* and XDG_* set, and
# A11Y_SESSION_DIR (the temporary folder, for logs).
#
# Every process started here is started in a process group of its own and
# killed by that id when COMMAND ends, fails, or the SECONDS deadline passes;
# the exit status is COMMAND's (124 on the deadline).
set -euo pipefail

if [ $# -lt 2 ]; then
    echo "usage: $0 SECONDS COMMAND [ARGS...]" >&2
    exit 2
fi
deadline=$1
shift

for tool in Xvfb dbus-daemon dbus-send openbox setsid /usr/libexec/at-spi-bus-launcher /usr/libexec/at-spi2-registryd; do
    if ! command -v "$tool" >/dev/null; then
        echo "session.sh: $tool is missing (packages: xvfb dbus at-spi2-core openbox)" >&2
        exit 2
    fi
done

session_dir=$(mktemp -d "${TMPDIR:-/tmp}/a11y-session.XXXXXX")
groups=()        # process group ids to kill at the end
watchdog=""

cleanup() {
    local status=$?
    trap - EXIT INT TERM
    [ -n "$watchdog" ] && kill -- "-$watchdog" 2>/dev/null || true
    # Last started first: the program and the window manager before the
    # buses they talk to.
    local i
    for ((i = ${#groups[@]} - 1; i >= 0; i--)); do
        kill -TERM -- "-${groups[i]}" 2>/dev/null || true
    done
    for ((i = ${#groups[@]} - 1; i >= 0; i--)); do
        # Give each group a moment to end by itself, then force it.
        local n
        for n in $(seq 1 20); do
            kill -0 -- "-${groups[i]}" 2>/dev/null || break
            sleep 0.1
        done
        kill -KILL -- "-${groups[i]}" 2>/dev/null || true
    done
    if [ "${A11Y_KEEP_SESSION_DIR:-0}" = 1 ]; then
        echo "session.sh: logs kept in $session_dir" >&2
    else
        rm -rf "$session_dir"
    fi
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'echo "session.sh: deadline of ${deadline}s passed, stopping" >&2; exit 124' TERM

# start NAME COMMAND...: starts COMMAND in the background as the leader of a
# new process group (setsid), so that it and anything it starts (the AT-SPI
# launcher starts its own dbus-daemon) can be killed together by its id.
start() {
    local name=$1
    shift
    setsid "$@" >"$session_dir/$name.log" 2>&1 &
    groups+=("$!")
}

# wait_for DESCRIPTION SECONDS COMMAND...: polls COMMAND until it succeeds.
wait_for() {
    local what=$1 seconds=$2
    shift 2
    local end=$((SECONDS + seconds))
    until "$@" >/dev/null 2>&1; do
        if [ "$SECONDS" -ge "$end" ]; then
            echo "session.sh: gave up waiting for $what after ${seconds}s; its logs:" >&2
            tail -n 20 "$session_dir"/*.log >&2 || true
            return 1
        fi
        sleep 0.1
    done
}

# The deadline: a background timer sends this script TERM. The script waits
# for COMMAND with `wait`, which a signal interrupts, so the trap runs at once.
# The timer is a process group of its own, killed with its sleep at the end,
# and keeps no output open (a pipe reading this script would wait for it).
setsid sh -c "sleep $deadline && kill -TERM $$" </dev/null >/dev/null 2>&1 &
watchdog=$!

mkdir -p "$session_dir"/{home,config,data,cache,runtime}
chmod 700 "$session_dir/runtime"
export HOME="$session_dir/home" XDG_CONFIG_HOME="$session_dir/config" XDG_DATA_HOME="$session_dir/data"
export XDG_CACHE_HOME="$session_dir/cache" XDG_RUNTIME_DIR="$session_dir/runtime"
export A11Y_SESSION_DIR="$session_dir"
unset WAYLAND_DISPLAY SESSION_MANAGER AT_SPI_BUS_ADDRESS

# Xvfb writes the display number it chose on file descriptor 3 once it
# accepts connections: that is both the free display and the ready signal.
start xvfb Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$session_dir/display"
wait_for "Xvfb" 15 test -s "$session_dir/display"
export DISPLAY=":$(head -n 1 "$session_dir/display")"

# The private session bus; its address, printed on file descriptor 3, is the
# ready signal.
start dbus dbus-daemon --session --nofork --print-address=3 3>"$session_dir/bus-address"
wait_for "the D-Bus session bus" 15 test -s "$session_dir/bus-address"
DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$session_dir/bus-address")
export DBUS_SESSION_BUS_ADDRESS

# The accessibility bus, started now rather than on first use so that it is
# known to be there before the program asks for it.
start at-spi-bus /usr/libexec/at-spi-bus-launcher --launch-immediately
# Ask whether the launcher holds its name before asking it anything: a call
# to the name before that would have D-Bus start a second launcher.
bus_named() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus | grep -q 'boolean true'
}
wait_for "the AT-SPI bus launcher" 15 bus_named
bus_address() {
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress | grep -q 'string "unix:'
}
wait_for "the AT-SPI bus" 15 bus_address
# The registry (the desktop object every AT-SPI client starts from) is
# started by the accessibility bus on the first call to it; it lives in the
# launcher's process group.
registry_up() {
    local address
    address=$(dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress | sed -n 's/.*string "\(.*\)"/\1/p')
    dbus-send --bus="$address" --print-reply --dest=org.a11y.atspi.Registry /org/a11y/atspi/accessible/root \
        org.freedesktop.DBus.Properties.Get string:org.a11y.atspi.Accessible string:Name
}
wait_for "the AT-SPI registry" 15 registry_up

# Qt's AT-SPI bridge on whatever the desktop settings say; GTK (Orca) too.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 GTK_MODULES=gail:atk-bridge NO_AT_BRIDGE=0
export QT_QPA_PLATFORM=xcb

start openbox openbox --sm-disable
wait_for "the window manager" 15 wmctrl -m

setsid "$@" &
groups+=("$!")
command_pid=${groups[-1]}
wait "$command_pid"

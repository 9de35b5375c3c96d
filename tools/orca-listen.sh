#!/usr/bin/env bash
# tools/orca-listen.sh SCENARIO [BUILD_DIR] [TRANSCRIPT]
#
# Records what the Orca screen reader would say while a student goes through
# one scenario with the keyboard, and writes it as a transcript (by default
# BUILD_DIR/orca/SCENARIO.txt). Scenarios:
#   welcome    the welcome and options windows, gone through with Tab
#   questions  two choice questions, the first answered wrong with the answer
#              window, the second right
#   typed      a typed question, answered
#   exam       a 2-minute exam: one question answered, then the clock runs out
#   exhibit    a typed question's exhibit opened, its text read with Down
#   review     a quiz quit, 'Review answers': Down/Up, Tab to the topic scores
#   results    'Keep my results' ticked, then the options window's 'Results...'
#   matching   a matching question: a meaning for each item, then NEXT
# Nothing is heard: Orca runs with no speech server and its debug log gives
# the lines it would speak. Everything runs on a private display, D-Bus and
# AT-SPI bus (tests/accessibility/session.sh) and is stopped at the end, or
# after 400 seconds at most. ORCA_LISTEN_KEEP_LOG=1 keeps Orca's whole debug
# log beside the transcript.
# Needs: xvfb dbus at-spi2-core openbox xdotool wmctrl python3-pyatspi orca.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

if [ $# -lt 1 ]; then
    sed -n '2,21p' "${BASH_SOURCE[0]}" | sed 's/^# \{0,1\}//' >&2
    exit 2
fi
scenario=$1
build=${2:-build}
transcript=${3:-$build/orca/$scenario.txt}
program=$build/src/lan_switching_quiz
if [ ! -x "$program" ]; then
    echo "orca-listen.sh: no program at $program: build it first" >&2
    exit 2
fi
mkdir -p "$(dirname "$transcript")"
exec tests/accessibility/session.sh 400 /usr/bin/python3 tools/orca_listen.py "$scenario" "$program" "$transcript"

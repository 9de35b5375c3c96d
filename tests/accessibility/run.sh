#!/usr/bin/env bash
# tests/accessibility/run.sh [BUILD_DIR] [--window NAME]... [--dump]
#
# Checks that a blind student (Orca, through AT-SPI) and a keyboard-only
# student can use every window of a quiz: see check_accessibility.py for what
# is checked. Starts its own display, D-Bus, AT-SPI bus and window manager
# (session.sh), runs the program from BUILD_DIR (default: build) with the
# scenario bank, prints one line per failure, and stops everything it started.
# Exit status: 0 all passed, 1 failures, 2 a window could not be reached,
# 124 the 4-minute deadline passed. A run takes about 20 seconds.
#   --window NAME  check only that window (repeatable): welcome, options,
#                  question, diagram, answer, typed-question, exhibit,
#                  result-box, review, results
#   --dump         print each checked window's AT-SPI tree
# Needs: xvfb dbus at-spi2-core openbox xdotool wmctrl python3-pyatspi.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."

build=build
if [ $# -gt 0 ] && [ "${1#--}" = "$1" ]; then
    build=$1
    shift
fi
program=$build/src/lan_switching_quiz
if [ ! -x "$program" ]; then
    echo "run.sh: no program at $program: build it first" >&2
    exit 2
fi
# The system's python: pyatspi comes from a Debian package, which a python
# from elsewhere on the PATH (pyenv, a venv) would not see.
exec tests/accessibility/session.sh 240 /usr/bin/python3 tests/accessibility/check_accessibility.py \
    "$program" --bank src/bank/scenarios/scenarios.json "$@"

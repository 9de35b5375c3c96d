#!/usr/bin/env bash
# Builds the benchmark executables in an existing build directory and prints
# the figures: start-up and peak memory against a bare Qt Widgets program,
# loading the bank, NEXT on the question window, whole quizzes, large
# exhibits and the results file. Windows go on a virtual X display
# (xvfb-run) when there is one to be had, else on the display in DISPLAY,
# else offscreen.
#   bench/run-benchmarks.sh BUILD_DIR
# Environment: BENCH_RUNS (runs per figure, at least 10; default 15),
# BENCH_PLATFORM=offscreen to skip X, BENCH_VERBOSE=1 to see Qt's messages.
set -euo pipefail

if [ $# -ne 1 ]; then
    echo "usage: $0 BUILD_DIR" >&2
    exit 2
fi
build=$(cd "$1" && pwd)
runs=${BENCH_RUNS:-15}
[ "$runs" -ge 10 ] 2>/dev/null || runs=10

# Under a virtual X server, unless already there or not wanted.
if [ -z "${BENCH_UNDER_XVFB:-}" ] && [ "${BENCH_PLATFORM:-}" != offscreen ] \
    && command -v xvfb-run >/dev/null && command -v xauth >/dev/null; then
    export BENCH_UNDER_XVFB=1
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$0" "$build"
fi

if [ "${BENCH_PLATFORM:-}" = offscreen ] || [ -z "${DISPLAY:-}" ]; then
    export QT_QPA_PLATFORM=offscreen
    platform="offscreen (no X display)"
else
    export QT_QPA_PLATFORM=xcb
    platform="xcb on ${BENCH_UNDER_XVFB:+Xvfb }display $DISPLAY"
fi

if ! cmake --build "$build" --target benchmarks --parallel "$(nproc)" >/dev/null 2>"$build/bench-build.log"; then
    cat "$build/bench-build.log" >&2
    echo "The benchmarks did not build. Is add_subdirectory(bench) in the top CMakeLists.txt?" >&2
    exit 1
fi
bin=$build/bench

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)
qt=$(dpkg-query -W -f='${Version}' libqt6core6 2>/dev/null || true)
type=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$build/CMakeCache.txt" | head -n 1)
echo "== Benchmarks: $(nproc) cores, ${cpu:-unknown CPU}; Qt ${qt:-6}; ${type:-default} build; $platform"
echo
echo "-- Start-up, process start to the window shown (median of $runs runs each)"
"$bin/bench_startup_compare" "$runs" "$bin/bench_startup_program" "$bin/bench_startup_bare" \
    "$bin/bench_startup_bare_text"
echo
echo "-- Inside the program"
messages=/dev/null
[ -n "${BENCH_VERBOSE:-}" ] && messages=/dev/stderr
"$bin/bench_timings" "$runs" 2>"$messages"
"$bin/bench_review" "$runs" 2>"$messages"
"$bin/bench_bank_formats" "$runs" 2>"$messages"
"$bin/bench_lab" "$runs" 2>"$messages"
"$bin/bench_lab_window" "$runs" 2>"$messages"
# The results file; its ten-year file is made on the first run and kept.
"$bin/bench_history" "$runs" 2>"$messages"

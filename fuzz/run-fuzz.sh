#!/usr/bin/env bash
# Builds one libFuzzer target per importer with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for SECONDS (default 10), seeded
# with the sample banks of the tests. Crashing inputs are kept in
# build-fuzz/artifacts/; the corpus grows in build-fuzz/corpus/FORMAT/.
#   fuzz/run-fuzz.sh [SECONDS [FORMAT...]]    FORMAT: aiken gift moodle-xml json
# Prints one line of figures per format; exits 1 when any target crashed.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

seconds=${1:-10}
shift || true
formats=("$@")
[ ${#formats[@]} -eq 0 ] && formats=(aiken gift moodle-xml json)
out=build-fuzz
mkdir -p "$out/artifacts"

sources=(src/bank/question_json.cpp src/bank/formats/*.cpp)
flags=(-std=c++17 -O1 -g -fPIC -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
       -Isrc $(pkg-config --cflags Qt6Core))

declare -A enum=([aiken]=Aiken [gift]=Gift [moodle-xml]=MoodleXml [json]=Json)
declare -A seeds=([aiken]="aiken-*" [gift]="gift-*" [moodle-xml]="moodle-*" [json]="json-*")

# The importers are compiled once for all targets, again only when changed.
library=$out/libbankformats-fuzz.a
if [ ! -f "$library" ] || [ -n "$(find "${sources[@]}" src/bank/*.h src/bank/formats/*.h -newer "$library")" ]; then
    mkdir -p "$out/obj"
    printf '%s\n' "${sources[@]}" | xargs -P "$(nproc)" -I{} sh -c \
        'clang++-14 "$@" -c {} -o "'"$out"'/obj/$(basename {} .cpp).o"' sh "${flags[@]}"
    rm -f "$library"
    ar rcs "$library" "$out"/obj/*.o
fi

status=0
for format in "${formats[@]}"; do
    [ -n "${enum[$format]:-}" ] || { echo "unknown format: $format" >&2; exit 2; }
    binary=$out/fuzz_$format
    if [ ! -x "$binary" ] || [ -n "$(find fuzz/fuzz_import.cpp "$library" -newer "$binary")" ]; then
        clang++-14 "${flags[@]}" -DFUZZ_FORMAT="BankFormat::${enum[$format]}" fuzz/fuzz_import.cpp "$library" \
            $(pkg-config --libs Qt6Core) -o "$binary"
    fi
    corpus=$out/corpus/$format
    mkdir -p "$corpus"
    # shellcheck disable=SC2086
    cp -n tests/data/formats/${seeds[$format]} "$corpus/"
    log=$out/fuzz_$format.log
    if ! "$binary" "$corpus" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
        -dict="fuzz/$format.dict" -artifact_prefix="$out/artifacts/$format-" -print_final_stats=1 >"$log" 2>&1; then
        status=1
        echo "$format: CRASH, see $log and $out/artifacts/" >&2
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    cov=$(grep -o 'cov: [0-9]* ft: [0-9]* corp: [0-9]*' "$log" | tail -n 1)
    echo "$format: ${runs:-0} executions in ${seconds} s, $cov"
done
exit $status

#!/usr/bin/env bash
# Builds one libFuzzer target per importer, and two for the lab simulator
# (its consoles and its lab reader), with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for SECONDS (default 10), seeded
# with the sample banks of the tests and fuzz/seeds/. Crashing inputs are
# kept in build-fuzz/artifacts/; the corpus grows in build-fuzz/corpus/FORMAT/.
#   fuzz/run-fuzz.sh [SECONDS [FORMAT...]]
#   FORMAT: aiken gift moodle-xml json lab-console lab-definition
# Prints one line of figures per format; exits 1 when any target crashed.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

seconds=${1:-10}
shift || true
formats=("$@")
[ ${#formats[@]} -eq 0 ] && formats=(aiken gift moodle-xml json lab-console lab-definition)
out=build-fuzz
mkdir -p "$out/artifacts"

sources=(src/bank/question_json.cpp src/bank/question_record.cpp src/bank/formats/*.cpp)
flags=(-std=c++17 -O1 -g -fPIC -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
       -Isrc $(pkg-config --cflags Qt6Core))

declare -A enum=([aiken]=Aiken [gift]=Gift [moodle-xml]=MoodleXml [json]=Json)
declare -A seeds=([aiken]="aiken-*" [gift]="gift-*" [moodle-xml]="moodle-*" [json]="json-*")

# Each library is compiled once for all its targets, again only when changed.
build_library() {  # NAME "FOLDER..." SOURCE...: the folders' headers count as sources
    local name=$1 library=$out/lib$1-fuzz.a headers=()
    for folder in $2; do headers+=("$folder"/*.h); done
    shift 2
    if [ ! -f "$library" ] || [ -n "$(find "$@" "${headers[@]}" -newer "$library")" ]; then
        mkdir -p "$out/obj-$name"
        printf '%s\n' "$@" | xargs -P "$(nproc)" -I{} sh -c \
            'clang++-14 "$@" -c {} -o "'"$out/obj-$name"'/$(basename {} .cpp).o"' sh "${flags[@]}"
        rm -f "$library"
        ar rcs "$library" "$out/obj-$name"/*.o
    fi
}
build_library bankformats "src/bank src/bank/formats" "${sources[@]}"
build_library lab src/lab src/lab/*.cpp

status=0
for format in "${formats[@]}"; do
    binary=$out/fuzz_$format
    if [[ $format == lab-* ]]; then
        target=(fuzz/fuzz_${format//-/_}.cpp "$out/liblab-fuzz.a")
        seed_files=(fuzz/seeds/"$format"/*)
    else
        [ -n "${enum[$format]:-}" ] || { echo "unknown format: $format" >&2; exit 2; }
        target=(-DFUZZ_FORMAT="BankFormat::${enum[$format]}" fuzz/fuzz_import.cpp "$out/libbankformats-fuzz.a" "$out/liblab-fuzz.a")
        # shellcheck disable=SC2206
        seed_files=(tests/data/formats/${seeds[$format]})
    fi
    if [ ! -x "$binary" ] || [ -n "$(find $(printf '%s\n' "${target[@]}" | grep -v '^-D') -newer "$binary")" ]; then
        clang++-14 "${flags[@]}" "${target[@]}" $(pkg-config --libs Qt6Core) -o "$binary"
    fi
    corpus=$out/corpus/$format
    mkdir -p "$corpus"
    cp -n "${seed_files[@]}" "$corpus/"
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

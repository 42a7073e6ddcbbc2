#!/bin/bash
# Builds the libFuzzer targets (preset native-fuzz) and runs each for a given time.
#   scripts/fuzz.sh [SECONDS] [what ...]     default: 20 seconds, every target
# New inputs go to build/native-fuzz/corpus/<what>/; the committed seeds in
# tests/fuzz/corpus/<what>/ are only read. A finding stops the run with its crash file.
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_EACH=${1:-20}
shift || true

cmake --preset native-fuzz >/dev/null
cmake --build --preset native-fuzz -j "$(nproc)"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for program in build/native-fuzz/fuzz_*; do
        [ -x "$program" ] && targets+=("${program##*/fuzz_}")
    done
fi

for what in "${targets[@]}"; do
    work=build/native-fuzz/corpus/$what
    mkdir -p "$work" build/native-fuzz/findings
    echo "--- fuzz_$what for ${SECONDS_EACH}s"
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
        "build/native-fuzz/fuzz_$what" -max_total_time="$SECONDS_EACH" -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix=build/native-fuzz/findings/"$what"- \
        "$work" "tests/fuzz/corpus/$what" 2>&1 | grep -E "^(#[0-9]+ +DONE|stat::number_of_executed_units|==[0-9]+==ERROR|SUMMARY)" || true
    if ls build/native-fuzz/findings/"$what"-* >/dev/null 2>&1; then
        echo "fuzz_$what found a failing input: $(ls build/native-fuzz/findings/"$what"-*)"
        exit 1
    fi
done

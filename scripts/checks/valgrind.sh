#!/bin/bash
# Every native (non-ASan) test program under valgrind's memcheck: invalid reads and writes,
# uninitialised values and definite leaks fail the check.
#   scripts/checks/valgrind.sh [BUILD_DIR]      default: build/native (built by scripts/test.sh)
set -euo pipefail
cd "$(dirname "$0")/../.."
BUILD=${1:-build/native}

programs=()
for program in "$BUILD"/tests/*/test_*; do
    [ -x "$program" ] && [ -f "$program" ] && programs+=("$program")
done
if [ ${#programs[@]} -eq 0 ]; then
    echo "no test programs in $BUILD/tests (build the native preset first)"
    exit 1
fi

# Two at a time: the machine has two cores and memcheck runs one thread per program.
export VALGRIND_OPTS=""
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
# GoogleTest prints a test parameter without a printer as its raw bytes, padding included:
# uninitialised by nature, and no fault of the code under test.
cat >"$logs/gtest.supp" <<'SUPP'
{
   gtest-prints-padding-bytes
   Memcheck:Cond
   ...
   fun:_ZN7testing8internal20PrintBytesInObjectToEPKhmPSo
}
{
   gtest-prints-padding-bytes-value8
   Memcheck:Value8
   ...
   fun:_ZN7testing8internal20PrintBytesInObjectToEPKhmPSo
}
SUPP
start=$(date +%s)
status=0
printf '%s\n' "${programs[@]}" | xargs -P 2 -I{} bash -c '
    program={}; name=$(basename "$program")
    # Each program from its own folder, as CTest runs it.
    if (cd "$(dirname "$program")" && valgrind --error-exitcode=1 --leak-check=full \
            --errors-for-leak-kinds=definite --show-leak-kinds=definite --quiet \
            --suppressions="'"$logs"'/gtest.supp" \
            "./$name" --gtest_brief=1) >"'"$logs"'/$name.log" 2>&1; then
        echo "valgrind ok:     $name"
    else
        echo "valgrind FAILED: $name"; tail -40 "'"$logs"'/$name.log"; exit 1
    fi' || status=1
echo "valgrind: ${#programs[@]} programs in $(( $(date +%s) - start )) s"
exit $status

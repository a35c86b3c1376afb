#!/usr/bin/env bash
# Runs the test suite under valgrind memcheck, in its own plain build (build-memcheck: no
# sanitizers, which valgrind cannot run beside). Each test program runs once with all its tests,
# and every process it starts (zeq, copies of itself) is checked too. Exits non-zero when valgrind
# reports an invalid read or write, a use of uninitialised memory, a bad free or a definite leak in
# any process, or when a test fails. Slow (the whole suite takes about an hour of CPU); not part of
# scripts/test.sh.
#
#   scripts/memcheck.sh [REGEX]   only the ctest tests whose names match REGEX (ctest -R)
#
# ZEQ_MEMCHECK_BUILD names another plain build folder to use (default build-memcheck).
# Logs, one per process, stay in build-memcheck/memcheck/; scripts/valgrind.supp lists what is
# suppressed, and why.
set -euo pipefail
cd "$(dirname "$0")/.."

regex=${1:-}
build=${ZEQ_MEMCHECK_BUILD:-build-memcheck}
logs=$PWD/$build/memcheck

if ! command -v valgrind >/dev/null; then
    echo "memcheck: valgrind is not installed (apt-get install valgrind)" >&2
    exit 2
fi
bash scripts/setup-deps.sh

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZEQ_SANITIZE=OFF "${launcher[@]}" >/dev/null
cmake --build "$build" -j "${ZEQ_JOBS:-2}"

# One line per program to run: WORKING_DIR<TAB>ARG<TAB>ARG... A test program found by gtest's
# discovery appears once, without a filter; commands of cmake and ctest (package and comparison
# tests) are not ours and are left out.
programs=$(ctest --test-dir "$build" --show-only=json-v1 ${regex:+-R "$regex"} | python3 -c '
import json, os, sys
build = os.path.realpath(sys.argv[1])
seen = set()
for test in json.load(sys.stdin)["tests"]:
    command = test.get("command") or []
    if not command or not os.path.realpath(command[0]).startswith(build + os.sep):
        continue
    if any(arg.startswith("--gtest_filter=") for arg in command):
        command = command[:1]
    if tuple(command) in seen:
        continue
    seen.add(tuple(command))
    folder = next((p["value"] for p in test.get("properties", []) if p["name"] == "WORKING_DIRECTORY"), build)
    print("\t".join([folder] + command))
' "$build")
if [ -z "$programs" ]; then
    echo "memcheck: no test matches '${regex}'" >&2
    exit 2
fi

# Code that PCRE2 compiles at run time for Qt's regular expressions reads whole 16-byte words past
# a string's end, which memcheck reports though the bytes are never used: interpret them instead.
export QT_ENABLE_REGEXP_JIT=0

rm -rf "$logs"
mkdir -p "$logs"
# --vgdb=no: valgrind's debugger link would leave its FIFOs in the temporary folder, where tests
# look for files left behind, and a program run under a test's file-size limit failed with it.
valgrind_options=(
    --tool=memcheck --vgdb=no --leak-check=full --errors-for-leak-kinds=definite
    --show-leak-kinds=definite --trace-children=yes --trace-children-skip='/bin/*,/usr/bin/*,/usr/sbin/*'
    --num-callers=30 --suppressions="$PWD/scripts/valgrind.supp" --gen-suppressions=all --log-file="$logs/%q{ZEQ_MEMCHECK_NAME}.%p.log"
)
failed=()
count=0
total=$(wc -l <<<"$programs")
while IFS=$'\t' read -r -a line; do
    folder=${line[0]}
    command=("${line[@]:1}")
    name=$(basename "${command[0]}")
    count=$((count + 1))
    start=$SECONDS
    status=0
    (cd "$folder" && ZEQ_MEMCHECK_NAME=$name valgrind "${valgrind_options[@]}" "${command[@]}" \
        >"$logs/$name.out" 2>&1) || status=$?
    echo "memcheck: [$count/$total] $name: exit $status, $((SECONDS - start)) s"
    [ "$status" -ne 0 ] && failed+=("$name (exit $status, see $logs/$name.out)")
done <<<"$programs"

# Killed processes (the tests of interrupted writes kill their writers) write no summary.
reported=()
for log in "$logs"/*.log; do
    if grep -qE 'ERROR SUMMARY: [1-9]' "$log"; then
        reported+=("$log")
    fi
done

echo "memcheck: $count programs, $(ls "$logs"/*.log | wc -l) processes checked"
if [ ${#reported[@]} -gt 0 ]; then
    echo "memcheck: valgrind reported errors in:"
    printf '  %s\n' "${reported[@]}"
fi
if [ ${#failed[@]} -gt 0 ]; then
    echo "memcheck: failed under valgrind:"
    printf '  %s\n' "${failed[@]}"
fi
[ ${#reported[@]} -eq 0 ] && [ ${#failed[@]} -eq 0 ]

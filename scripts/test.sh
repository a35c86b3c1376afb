#!/usr/bin/env bash
# Builds the library and runs every test twice: a plain RelWithDebInfo build, then the same suite
# under AddressSanitizer + UndefinedBehaviorSanitizer (the consumer package test included).
# Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup-deps.sh

jobs=${ZEQ_JOBS:-$(nproc)}
werror=${ZEQ_WERROR:-OFF}
if [ "${CI:-}" = "true" ]; then
    werror=ON
fi

run_suite() {
    local dir=$1
    shift
    echo "== configure $dir"
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZEQ_WERROR="$werror" "$@" >/dev/null
    echo "== build $dir"
    cmake --build "$dir" -j "$jobs"
    echo "== test $dir"
    ctest --test-dir "$dir" --output-on-failure -j "$jobs" --timeout 600
}

if command -v clang-format >/dev/null; then
    echo "== format check"
    git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
fi

run_suite build
# Leaks are errors too; Qt's own one-time allocations are not reported as leaks by LSan.
ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0} \
UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1} \
    run_suite build-asan -DZEQ_SANITIZE=ON
echo "== all tests passed (plain and sanitizer builds)"

#!/usr/bin/env bash
# Runs each libFuzzer target of fuzz/ for SECONDS (default 60), one after another, under address and
# undefined-behaviour sanitizers. New inputs and findings go to build-fuzz/runs/, never into git: a
# finding worth keeping is minimised and copied into fuzz/corpus/<name>/ by hand, where the normal
# test suite replays it. Exits non-zero when any target found a crash, leak, hang or sanitizer report.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]   (every target when none is named)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
if ! [[ $seconds =~ ^[0-9]+$ ]] || [ "$seconds" -eq 0 ]; then
    echo "usage: scripts/fuzz.sh [SECONDS] [TARGET...]  (seconds per target, default 60)" >&2
    exit 2
fi
shift || true

missing=()
for p in clang libclang-rt-14-dev; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "fuzz: installing ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    "${sudo_cmd[@]}" apt-get update -qq
    "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
bash scripts/setup-deps.sh

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZEQ_FUZZ=ON \
    -DBUILD_TESTING=OFF -DZEQ_BUILD_TOOLS=ON "${launcher[@]}" >/dev/null

# The target list is the one fuzz/CMakeLists.txt builds; the spectra target needs the program's
# spectrum module and lives beside it.
read -r -a targets < <(sed -n 's/^set(ZEQ_FUZZ_\(TOOL_\)\{0,1\}TARGETS \(.*\))$/\2/p' fuzz/CMakeLists.txt | paste -sd ' ')
if [ $# -gt 0 ]; then
    for t in "$@"; do
        if ! [[ " ${targets[*]} " == *" $t "* ]]; then
            echo "fuzz: no target \"$t\"; the targets: ${targets[*]}" >&2
            exit 2
        fi
    done
    targets=("$@")
fi
cmake --build build-fuzz -j2 --target "${targets[@]/#/fuzz_}"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

failed=0
summary=()
for t in "${targets[@]}"; do
    runs=build-fuzz/runs/$t
    rm -rf "$runs/findings"
    mkdir -p "$runs/corpus" "$runs/findings"
    dict=()
    [ -f "fuzz/$t.dict" ] && dict=(-dict="fuzz/$t.dict")
    echo "fuzz: $t for ${seconds}s, log in $runs/log"
    rc=0
    # The scratch corpus comes first, so that libFuzzer writes new inputs there.
    program=build-fuzz/fuzz/fuzz_$t
    [ "$t" = spectra ] && program=build-fuzz/tools/zeq/fuzz_spectra
    # An input that first reaches a mass range builds the averagine model's bins for it, which under
    # the sanitizers takes up to a second on a slow day: a hang still stands out at five.
    "$program" -max_total_time="$seconds" -timeout=5 -max_len=65536 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$runs/findings/" "${dict[@]}" \
        "$runs/corpus" "fuzz/corpus/$t" >"$runs/log" 2>&1 || rc=$?
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$runs/log" | tail -1)
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$runs/log" | tail -1)
    findings=$(find "$runs/findings" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' \
        -o -name 'oom-*' \) | wc -l)
    if [ "$rc" -ne 0 ] && [ "$findings" -eq 0 ]; then
        findings=1 # a failure without an artefact: the log says what
    fi
    [ "$findings" -ne 0 ] && failed=1
    summary+=("$(printf '%-20s %6ss %12s execs %8s exec/s  %s findings' "$t" "$seconds" "${execs:-?}" \
        "${speed:-?}" "$findings")")
done
printf '%s\n' "${summary[@]}"
exit "$failed"

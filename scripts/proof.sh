#!/usr/bin/env bash
# The proof build: the program again with clang, AddressSanitizer and UndefinedBehaviorSanitizer,
# the tests on it, and every libFuzzer target for a short fixed time on its corpus.
#   bash scripts/proof.sh          the CI form: the core and its tests, fuzzers 10 s each
#   bash scripts/proof.sh --all    the whole suite, windows included
#   bash scripts/proof.sh --long   the whole suite and the long runs whose figures the README states
# Any sanitizer report, crash or broken fuzz property ends it non-zero.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
long=0
all=0
[ "${1:-}" = "--long" ] && long=1 && all=1
[ "${1:-}" = "--all" ] && all=1
SOLBITSEM_EXTRA_PACKAGES="clang libclang-rt-14-dev" bash "$root/scripts/deps.sh"

build="$root/build-proof"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" -DSOLBITSEM_FUZZ=ON > "$root/build-proof.log" 2>&1 \
    || { cat "$root/build-proof.log"; exit 1; }
if [ $all -eq 1 ]; then
    cmake --build "$build" -j"$(nproc)"
    tests="."
    windowed=""
else
    # The CI form keeps within its time: the core's tests, the crash driver and the fuzzers,
    # leaving out the two core tests that run the program's window build.
    windowed="tst_startup|tst_ledgerexport"
    targets=(crashdriver solbitsem_postal_db)
    for t in "$root"/tests/core/tst_*.cpp "$root"/fuzz/fuzz_*.cpp; do
        name="$(basename "$t" .cpp)"
        [[ "$name" =~ ^($windowed)$ ]] || targets+=("$name")
    done
    cmake --build "$build" -j"$(nproc)" --target "${targets[@]}"
    tests="^core/"
fi
skip="${windowed:-^$}"

# Qt keeps some allocations until exit on purpose; leaks are not what this run looks for.
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
(cd "$build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" -R "$tests" -E "$skip")

seconds=10
[ $long -eq 1 ] && seconds="${SOLBITSEM_FUZZ_SECONDS:-3600}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
for fuzzer in "$build"/fuzz/fuzz_*; do
    [ -f "$fuzzer" ] && [ -x "$fuzzer" ] || continue # not the generated folders beside them
    name="$(basename "$fuzzer")"
    corpus="$root/fuzz/corpus/${name#fuzz_}"
    mkdir -p "$work/$name"
    echo "== $name ($seconds s)"
    # New inputs go to a scratch folder; the seeds in the repository stay as they are.
    rc=0
    "$fuzzer" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 -artifact_prefix="$work/$name-" \
        "$work/$name" "$corpus" > "$work/$name.log" 2>&1 || rc=$?
    grep -E "^stat::number_of_executed_units|^stat::peak_rss" "$work/$name.log" || true
    if [ $rc -ne 0 ]; then
        tail -40 "$work/$name.log"
        echo "$name failed"
        exit 1
    fi
done

if [ $long -eq 1 ]; then
    echo "== crash rounds"
    (cd "$build/tests" && SOLBITSEM_CRASH_ROUNDS="${SOLBITSEM_CRASH_ROUNDS:-1000}" QT_QPA_PLATFORM=offscreen \
        ./tst_durability killKeepsAcknowledgedWrites | grep -E "QINFO|Totals")
fi

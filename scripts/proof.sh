#!/usr/bin/env bash
# The proof build: the program again with clang, AddressSanitizer and UndefinedBehaviorSanitizer,
# the tests on it, and every libFuzzer target for a short fixed time on its corpus.
#   bash scripts/proof.sh          the CI form: the core and its tests, fuzzers 10 s each
#   bash scripts/proof.sh --all    the whole suite, windows included
#   bash scripts/proof.sh --long   the whole suite and the long runs whose figures docs/TESTING.md states:
#                                  every fuzzer to 10,000,000 executions (SOLBITSEM_FUZZ_RUNS), new
#                                  inputs kept in build-proof/fuzz-found/<fuzzer> for a merge
# Any sanitizer report, crash or broken fuzz property ends it non-zero.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
long=0
all=0
[ "${1:-}" = "--long" ] && long=1 && all=1
[ "${1:-}" = "--all" ] && all=1
SOLBITSEM_EXTRA_PACKAGES="clang libclang-rt-14-dev lld" bash "$root/scripts/deps.sh"

build="$root/build-proof"
# The CI form keeps within its time: the core's tests, the crash driver and the fuzzers, leaving
# out the two core tests that run the program's window build.
windowed=(tst_startup tst_ledgerexport)
leave_out="$(IFS=';'; echo "${windowed[*]}")"
# The CI form compiles without optimising, which takes 40 % less time; the long runs want the
# fuzzers' speed. lld links a sanitized test in a fifth of the time ld takes.
optimise="-O0 -g1"
[ $all -eq 1 ] && optimise="-O1 -g1"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="$optimise" -DSOLBITSEM_FUZZ=ON -DSOLBITSEM_PROOF_LEAVE_OUT="$leave_out" \
    -DCMAKE_EXE_LINKER_FLAGS="-fuse-ld=lld" -DCMAKE_SHARED_LINKER_FLAGS="-fuse-ld=lld" \
    > "$root/build-proof.log" 2>&1 || { cat "$root/build-proof.log"; exit 1; }
if [ $all -eq 1 ]; then
    cmake --build "$build" -j"$(nproc)"
    tests="."
    skip="^$"
else
    cmake --build "$build" -j"$(nproc)" --target solbitsem_proof
    tests="^core/"
    skip="$(IFS='|'; echo "${windowed[*]}")"
fi

# Qt keeps some allocations until exit on purpose; leaks are not what this run looks for.
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
(cd "$build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" -R "$tests" -E "$skip")

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# One fuzzer: its report goes to <name>.report and its exit status to <name>.rc.
fuzz_one() {
    local fuzzer="$1" name seeds max_len options asan found budget label rc=0 start=$SECONDS
    name="$(basename "$fuzzer")"
    seeds=("$root/fuzz/corpus/${name#fuzz_}")
    max_len=4096
    options=()
    asan="$ASAN_OPTIONS"
    if [ "$name" = fuzz_jet ]; then
        # An old file is whole pages of 2 KB; the test's files seed it, cut to their first 16 pages.
        # Each input is read in a child process first: a small quarantine keeps that fork cheap,
        # and libmdb's warnings stay out of the log.
        seeds+=("$root/tests/fixtures/jet3")
        max_len=32768
        options=(-close_fd_mask=2)
        asan="$asan:quarantine_size_mb=16"
    fi
    found="$work/$name"
    if [ $long -eq 1 ]; then
        found="$build/fuzz-found/$name"
        # Recording where every block was allocated is a third of a long run's time; an input
        # that fails is run again on its own with the full options to see that.
        asan="$asan:malloc_context_size=0"
        budget=(-runs="${SOLBITSEM_FUZZ_RUNS:-10000000}")
        label="${budget[0]#-runs=} executions"
    else
        budget=(-max_total_time=10)
        label="10 s"
    fi
    mkdir -p "$found" "${seeds[0]}" "$build/fuzz-artifacts"
    {
        echo "== $name ($label)"
        # New inputs go to the build (in CI a scratch folder); the seeds in the repository stay as
        # they are. An input that takes 20 s is a hang, and fails the run like a crash.
        ASAN_OPTIONS="$asan" "$fuzzer" "${budget[@]}" "${options[@]}" -max_len=$max_len -timeout=20 \
            -print_final_stats=1 -artifact_prefix="$build/fuzz-artifacts/$name-" "$found" "${seeds[@]}" \
            > "$work/$name.log" 2>&1 || rc=$?
        grep -E "^stat::number_of_executed_units|^stat::peak_rss" "$work/$name.log" || true
        echo "seconds: $((SECONDS - start)), corpus: $(find "$found" "${seeds[@]}" -type f | wc -l) inputs"
        if [ $rc -ne 0 ]; then
            tail -40 "$work/$name.log"
            echo "$name failed"
        fi
    } > "$work/$name.report"
    echo $rc > "$work/$name.rc"
}

# As many fuzzers at a time as there are cores; the reports follow in name order.
names=()
for fuzzer in "$build"/fuzz/fuzz_*; do
    [ -f "$fuzzer" ] && [ -x "$fuzzer" ] || continue # not the generated folders beside them
    while [ "$(jobs -rp | wc -l)" -ge "$(nproc)" ]; do wait -n || true; done
    fuzz_one "$fuzzer" &
    names+=("$(basename "$fuzzer")")
done
wait
failed=0
for name in "${names[@]}"; do
    cat "$work/$name.report"
    [ "$(cat "$work/$name.rc" 2>/dev/null)" = 0 ] || failed=1
done
[ $failed -eq 0 ] || exit 1

if [ $long -eq 1 ]; then
    echo "== crash rounds"
    (cd "$build/tests" && SOLBITSEM_CRASH_ROUNDS="${SOLBITSEM_CRASH_ROUNDS:-1000}" QT_QPA_PLATFORM=offscreen \
        ./tst_durability killKeepsAcknowledgedWrites | grep -E "QINFO|Totals")
fi

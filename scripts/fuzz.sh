#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and the sanitizers, and runs each from a copy of its
# seed corpus for a bounded time (NMR_FUZZ_SECONDS, 10 by default). A crash or a failed
# invariant stops the script with the failing input saved in build-fuzz/findings.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$root/scripts/packages.sh"
nmr_install_packages clang libclang-rt-14-dev

cd "$root"
cmake --preset fuzz
cmake --build --preset fuzz --parallel
nmr_took "installing clang and building the fuzz targets"
findings="$root/build-fuzz/findings"
mkdir -p "$findings"
for target in read write codepage profile results drawfile; do
    corpus="$root/build-fuzz/corpus-$target"
    rm -rf "$corpus"
    cp -r "$root/fuzz/corpus/$target" "$corpus"
    log="$root/build-fuzz/fuzz_$target.log"
    status=0
    "$root/build-fuzz/fuzz/fuzz_$target" -max_total_time="${NMR_FUZZ_SECONDS:-10}" \
        -artifact_prefix="$findings/$target-" -print_final_stats=1 "$corpus" >"$log" 2>&1 || status=$?
    nmr_took "fuzz_$target, $(grep -E '^stat::number_of_executed_units' "$log" || echo 'no count')"
    if [ "$status" -ne 0 ]; then
        tail -n 40 "$log"
        exit "$status"
    fi
done

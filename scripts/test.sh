#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: once as a Release build, once with
# AddressSanitizer and UndefinedBehaviorSanitizer. Warnings are errors here.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc)
# A test program that hangs (a child left waiting for input) fails after ten minutes, not ctest's 25.

# Laid out for /usr as a Debian package is (the multiarch library folder), which the SDK test installs.
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DTMV_WERROR=ON -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure --timeout 600 -j"$jobs"

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DTMV_SANITIZE=ON -DTMV_BENCHMARKS=OFF -DTMV_WERROR=ON >/dev/null
cmake --build build-sanitize -j"$jobs"
# No leak check: Mesa's allocations cannot be told from ours (its frames do not unwind).
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-sanitize --output-on-failure --timeout 600 -j"$jobs"

# Each fuzz target for a short while, every one even after a failure; a crash leaves its input in
# build-fuzz/ and fails the run at the end.
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DTMV_FUZZ=ON -DTMV_WERROR=ON >/dev/null
cmake --build build-fuzz -j"$jobs"
# New inputs go to build-fuzz/corpus/<target>; the seeds in fuzz/corpus/<target>, when there are any,
# are read but never written.
failed=()
for target in build-fuzz/fuzz/fuzz_*; do
    [ -x "$target" ] || continue
    name=$(basename "$target")
    echo "fuzzing $name for ${TMV_FUZZ_SECONDS:-20} s"
    mkdir -p "build-fuzz/corpus/$name"
    corpora=("corpus/$name")
    [ -d "fuzz/corpus/$name" ] && corpora+=("../fuzz/corpus/$name")
    if ! (cd build-fuzz && "../$target" -max_total_time="${TMV_FUZZ_SECONDS:-20}" -print_final_stats=0 \
        -close_fd_mask=3 "${corpora[@]}" >/dev/null 2>"$name.log"); then
        tail -n 60 "build-fuzz/$name.log"
        failed+=("$name")
    fi
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzz targets failed: ${failed[*]} (logs in build-fuzz/<target>.log)"
    exit 1
fi

tests=$(($(ctest --test-dir build -N | grep -c 'Test *#') + $(ctest --test-dir build-sanitize -N | grep -c 'Test *#')))
echo "test programs: $tests passed, 0 failed"

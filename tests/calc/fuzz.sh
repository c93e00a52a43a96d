#!/bin/sh
# Builds the evaluator's fuzz target (libFuzzer with AddressSanitizer, its leak
# check and UndefinedBehaviorSanitizer) with clang in its own build directory
# and runs it for a bounded time, by default 60 seconds.
#
#   tests/calc/fuzz.sh [seconds]
#
# Needs the Debian packages clang and libclang-rt-14-dev. The build directory is
# build-fuzz below the project root unless FUZZ_BUILD_DIR names another.
set -eu

seconds=${1:-60}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${FUZZ_BUILD_DIR:-$root/build-fuzz}

cmake -S "$here/fuzz" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2

corpus="$build/corpus"
mkdir -p "$corpus"
i=0
for seed in '2+3*4' '-2^2' '- 2^2' '2^(-1)' '(-8)^0.5' 'sin(0)^2' 'arcctg(0)' '1.5e-3/x' \
    '-(Y)^_z1' 'cth(ln(2))' 'exp(20000)' '0^(-1)' '(1)+heaviside(-1)*sign(x)'; do
    i=$((i + 1))
    printf '%s' "$seed" >"$corpus/seed$i"
done

log="$build/fuzz.log"
if "$build/fuzz_calc" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
    -dict="$here/fuzz/calc.dict" -artifact_prefix="$build/" "$corpus" >"$log" 2>&1; then
    runs=$(grep -o 'Done [0-9]* runs' "$log" | tail -n 1)
    echo "fuzz_calc: no crash, hang or leak in $seconds s ($runs)"
else
    tail -n 40 "$log"
    echo "fuzz_calc: FAILED, see $log and the crash-/leak-/timeout- files in $build" >&2
    exit 1
fi

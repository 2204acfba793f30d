#!/bin/sh
# run.sh BUILD_DIR [SECONDS]: builds the art reader's fuzzer natively in
# BUILD_DIR and runs it for SECONDS (default 60). New inputs it finds go to
# BUILD_DIR/corpus; the seeds in fuzz/corpus/art stay as they are. A crash
# leaves its input in BUILD_DIR as crash-* and makes the exit code non-zero.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
out=${1:?usage: run.sh BUILD_DIR [SECONDS]}
seconds=${2:-60}

cmake -S "$here" -B "$out" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$out" -j "$(nproc)" >/dev/null
mkdir -p "$out/corpus"
echo "fuzzing the art reader for $seconds s (seeds: $here/corpus/art)"
exec "$out/art_reader_fuzz" -max_total_time="$seconds" -max_len=4200 -print_final_stats=1 \
  -artifact_prefix="$out/" "$out/corpus" "$here/corpus/art"

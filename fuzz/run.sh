#!/usr/bin/env bash
# Builds the .edt reader fuzzer with clang (libFuzzer, ASan, UBSan) in
# build-fuzz/ and runs it for SECONDS seconds on a copy of the seed corpus.
#   fuzz/run.sh SECONDS
# Inputs found along the way go to fuzz/corpus-run/ (not versioned); a crash
# leaves fuzz/crash-* and makes the script fail.
set -euo pipefail
if [ $# -ne 1 ] || ! [[ "$1" =~ ^[0-9]+$ ]]; then
  echo "usage : fuzz/run.sh SECONDES" >&2
  exit 2
fi
racine="$(cd "$(dirname "$0")/.." && pwd)"
cd "$racine"
clang="${CLANGXX:-clang++}"
# libFuzzer's runtime comes in its own package, not with clang.
if [ -z "${CLANGXX:-}" ]; then
  scripts/deps.sh clang libclang-rt-14-dev
fi
sortie=build-fuzz
mkdir -p "$sortie" fuzz/corpus-run
drapeaux=(-std=c++17 -O1 -g -fno-omit-frame-pointer
          -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all
          -Isrc/model)
sources=(src/model/*.cpp fuzz/fuzz_lireedt.cpp)
binaire="$sortie/fuzz_lireedt"
# Rebuilt only when a source is newer than the binary.
if [ ! -x "$binaire" ] || [ -n "$(find src/model fuzz/fuzz_lireedt.cpp -newer "$binaire" -print -quit)" ]; then
  echo "Construction de $binaire" >&2
  "$clang" "${drapeaux[@]}" "${sources[@]}" -o "$binaire"
fi
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# The quarantine of freed blocks would otherwise count against the memory
# limit, which is meant for what one input costs.
export ASAN_OPTIONS="detect_leaks=1:quarantine_size_mb=8:malloc_context_size=8"
exec "$binaire" -max_total_time="$1" -rss_limit_mb=100 -timeout=1 -max_len=16384 \
  -print_final_stats=1 -artifact_prefix=fuzz/ fuzz/corpus-run fuzz/corpus

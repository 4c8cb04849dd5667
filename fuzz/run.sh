#!/usr/bin/env bash
# Builds one fuzzer with clang (libFuzzer, ASan, UBSan) in build-fuzz/ and
# runs it for SECONDS seconds on a copy of its seed corpus.
#   fuzz/run.sh [lireedt|config|gif] SECONDS      (lireedt when omitted)
#   lireedt : the .edt reader (seed corpus fuzz/corpus/)
#   config  : the Horaku.cfg reader (fuzz/corpus-config/)
#   gif     : the GIF encoder, decoded again by giflib (fuzz/corpus-gif/)
# Inputs found along the way go to fuzz/corpus-run/ (fuzz/corpus-run-config/,
# fuzz/corpus-run-gif/; not versioned); a crash leaves fuzz/crash-* and makes
# the script fail.
set -euo pipefail
usage() {
  echo "usage : fuzz/run.sh [lireedt|config|gif] SECONDES" >&2
  exit 2
}
if [ $# -eq 1 ]; then
  cible=lireedt
  secondes="$1"
elif [ $# -eq 2 ]; then
  cible="$1"
  secondes="$2"
else
  usage
fi
[[ "$secondes" =~ ^[0-9]+$ ]] || usage
racine="$(cd "$(dirname "$0")/.." && pwd)"
cd "$racine"
clang="${CLANGXX:-clang++}"
paquets=(clang libclang-rt-14-dev)
case "$cible" in
  lireedt)
    sources=(src/model/*.cpp fuzz/fuzz_lireedt.cpp)
    dependances=(src/model fuzz/fuzz_lireedt.cpp)
    inclure=(-Isrc/model)
    bibliotheques=()
    graines=fuzz/corpus
    trouves=fuzz/corpus-run
    ;;
  config)
    sources=(src/model/*.cpp fuzz/fuzz_config.cpp)
    dependances=(src/model fuzz/fuzz_config.cpp)
    inclure=(-Isrc/model)
    bibliotheques=()
    graines=fuzz/corpus-config
    trouves=fuzz/corpus-run-config
    ;;
  gif)
    sources=(src/picture/gif.cpp fuzz/fuzz_gif.cpp)
    dependances=(src/picture/gif.cpp src/picture/gif.h fuzz/fuzz_gif.cpp)
    inclure=(-Isrc/picture)
    bibliotheques=(-lgif)
    graines=fuzz/corpus-gif
    trouves=fuzz/corpus-run-gif
    paquets+=(libgif-dev)
    ;;
  *)
    usage
    ;;
esac
# libFuzzer's runtime comes in its own package, not with clang.
if [ -z "${CLANGXX:-}" ]; then
  scripts/deps.sh "${paquets[@]}"
fi
sortie=build-fuzz
mkdir -p "$sortie" "$trouves"
drapeaux=(-std=c++17 -O1 -g -fno-omit-frame-pointer
          -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all
          "${inclure[@]}")
binaire="$sortie/fuzz_$cible"
# Rebuilt only when a source is newer than the binary.
if [ ! -x "$binaire" ] || [ -n "$(find "${dependances[@]}" -newer "$binaire" -print -quit)" ]; then
  echo "Construction de $binaire" >&2
  "$clang" "${drapeaux[@]}" "${sources[@]}" "${bibliotheques[@]}" -o "$binaire"
fi
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# The quarantine of freed blocks would otherwise count against the memory
# limit, which is meant for what one input costs.
export ASAN_OPTIONS="detect_leaks=1:quarantine_size_mb=8:malloc_context_size=8"
# A generous time per input: on a machine shared with builds, a niced fuzzer
# may wait seconds for the processor, which is no hang of the code.
exec "$binaire" -max_total_time="$secondes" -rss_limit_mb=200 -timeout=20 -max_len=16384 \
  -print_final_stats=1 -artifact_prefix=fuzz/ "$trouves" "$graines"

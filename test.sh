#!/usr/bin/env bash
# Construit Horaku et lance toute la suite de tests.
#   ./test.sh              construction dans build/, tests avec CTest
#   ./test.sh --sanitize   idem dans build-asan/ avec AddressSanitizer et UBSan
set -euo pipefail
cd "$(dirname "$0")"
mapfile -t paquets < <(grep -v '^#' scripts/paquets.txt)
scripts/deps.sh "${paquets[@]}"

dossier=build
options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${1:-}" = "--sanitize" ]; then
  dossier=build-asan
  options=(-DCMAKE_BUILD_TYPE=Debug -DHORAKU_SANITIZE=ON -DHORAKU_BENCH=OFF)
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:halt_on_error=1"
  export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
elif [ -n "${1:-}" ]; then
  echo "usage : ./test.sh [--sanitize]" >&2
  exit 2
fi
if [ -n "${CI:-}" ]; then
  options+=(-DHORAKU_WERROR=ON)
fi
cmake -S . -B "$dossier" -G Ninja "${options[@]}"
cmake --build "$dossier"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$dossier" --output-on-failure -j2

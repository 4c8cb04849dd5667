#!/usr/bin/env bash
# Met en forme tous les fichiers C++ suivis par git avec le clang-format de Debian
# et le .clang-format du dépôt.
#   scripts/format.sh           reformate les fichiers sur place
#   scripts/format.sh --check   ne change rien ; échoue en nommant les fichiers mal formés
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v clang-format >/dev/null; then
  echo "clang-format absent (paquet clang-format)" >&2
  exit 1
fi
mapfile -t fichiers < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--check" ]; then
  mal=()
  for f in "${fichiers[@]}"; do
    if ! clang-format --dry-run -Werror "$f" >/dev/null 2>&1; then
      mal+=("$f")
    fi
  done
  if [ ${#mal[@]} -ne 0 ]; then
    printf 'mal formé : %s\n' "${mal[@]}" >&2
    echo "corrigez avec scripts/format.sh" >&2
    exit 1
  fi
  echo "mise en forme conforme : ${#fichiers[@]} fichiers"
elif [ -n "${1:-}" ]; then
  echo "usage : scripts/format.sh [--check]" >&2
  exit 2
else
  clang-format -i "${fichiers[@]}"
fi

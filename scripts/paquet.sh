#!/usr/bin/env bash
# Construit le paquet Debian de Horaku avec CPack (dépendances calculées par
# dpkg-shlibdeps d'après les programmes).
#   scripts/paquet.sh            configure et construit build-paquet/ (Release), puis le paquet
#   scripts/paquet.sh DOSSIER    fait le paquet d'un dossier de construction déjà construit
# Le paquet va dans DOSSIER/paquet/ ; son chemin est la dernière ligne affichée.
set -euo pipefail
racine=$(cd "$(dirname "$0")/.." && pwd)
if [ $# -gt 1 ]; then
  echo "usage : scripts/paquet.sh [DOSSIER-DE-CONSTRUCTION]" >&2
  exit 2
fi
if [ $# -eq 0 ]; then
  mapfile -t paquets < <(grep -v '^#' "$racine/scripts/paquets.txt")
  "$racine/scripts/deps.sh" "${paquets[@]}"
  dossier=$racine/build-paquet
  cmake -S "$racine" -B "$dossier" -G Ninja -DCMAKE_BUILD_TYPE=Release -DHORAKU_BENCH=OFF
  cmake --build "$dossier" --target horaku horaku-cli icones
else
  dossier=$(cd "$1" && pwd)
fi
cd "$dossier"
rm -rf paquet
cpack -G DEB --config CPackConfig.cmake >&2
ls "$dossier"/paquet/*.deb

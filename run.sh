#!/usr/bin/env bash
# Installe les paquets manquants, construit Horaku dans build/ et le lance
# depuis le dossier courant, où vit alors « Horaku.cfg ».
#   ./run.sh
set -euo pipefail
ici=$(pwd)
racine=$(cd "$(dirname "$0")" && pwd)
mapfile -t paquets < <(grep -v '^#' "$racine/scripts/paquets.txt")
"$racine/scripts/deps.sh" "${paquets[@]}"

cmake -S "$racine" -B "$racine/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$racine/build" --target horaku horaku-cli

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "Horaku : aucun écran disponible (ni DISPLAY ni WAYLAND_DISPLAY) ; sans écran, utilisez $racine/build/bin/horaku-cli." >&2
  exit 1
fi
cd "$ici"
exec "$racine/build/bin/horaku"

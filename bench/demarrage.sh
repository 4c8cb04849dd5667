#!/usr/bin/env bash
# Démarrage : temps du lancement au premier dessin de l'image et mémoire de
# pointe à cet instant, pour Horaku (examples/realiste.edt comme emploi du
# temps par défaut) et pour un programme Qt minimal (fenêtre, menu, image dans
# une étiquette), mesurés dans la même exécution, en alternance, hors écran
# puis sous un Xvfb déjà lancé.  Objectif : au plus 1,5 fois le plancher.
#   bench/demarrage.sh [DOSSIER_DE_CONSTRUCTION] [TOURS]
set -euo pipefail
racine=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$racine/build}")
tours=${2:-20}
cmake --build "$build" --target demarrage_horaku demarrage_plancher horaku-cli >/dev/null

travail=$(mktemp -d)
xvfb=
nettoyer() {
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  rm -rf "$travail"
}
trap nettoyer EXIT
cd "$travail"
exemple="$racine/examples/realiste.edt"
printf 'Horaku 2.0a\r\n\xab Horaku \xb7 cfg2 \xbb\r\n\r\n%s\r\n' "$exemple" > Horaku.cfg
"$build/bin/horaku-cli" image "$exemple" realiste.png

horaku=("$build/bench/demarrage_horaku")
plancher=("$build/bench/demarrage_plancher" realiste.png)

# Une mesure : « ms Kio » ; la date de lancement passe par l'environnement.
une() { HORAKU_T0=$EPOCHREALTIME "$@" 2>/dev/null | tail -1; }

mediane() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

serie() {
  local nom=$1
  : > "h_$nom" && : > "p_$nom"
  une "${horaku[@]}" >/dev/null && une "${plancher[@]}" >/dev/null # caches chauds
  for _ in $(seq "$tours"); do
    une "${horaku[@]}" >> "h_$nom"
    une "${plancher[@]}" >> "p_$nom"
  done
  local ht hm pt pm
  ht=$(cut -d' ' -f1 "h_$nom" | mediane)
  hm=$(cut -d' ' -f2 "h_$nom" | mediane)
  pt=$(cut -d' ' -f1 "p_$nom" | mediane)
  pm=$(cut -d' ' -f2 "p_$nom" | mediane)
  awk -v n="$nom" -v ht="$ht" -v hm="$hm" -v pt="$pt" -v pm="$pm" -v t="$tours" 'BEGIN {
    printf "%-10s Horaku %6.1f ms %5.1f Mio | plancher %6.1f ms %5.1f Mio | rapport %.2f × en temps, %.2f × en mémoire (médianes de %d)\n",
      n, ht, hm / 1024, pt, pm / 1024, ht / pt, hm / pm, t }'
}

QT_QPA_PLATFORM=offscreen serie "hors écran"

if command -v Xvfb >/dev/null && command -v xwininfo >/dev/null; then
  ecran=:$((90 + RANDOM % 100))
  Xvfb "$ecran" -screen 0 1920x1200x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  for _ in $(seq 50); do xwininfo -root -display "$ecran" >/dev/null 2>&1 && break; sleep 0.1; done
  (unset QT_QPA_PLATFORM WAYLAND_DISPLAY; DISPLAY=$ecran serie "Xvfb")
else
  echo "Xvfb absent : mesure sous X sautée" >&2
fi

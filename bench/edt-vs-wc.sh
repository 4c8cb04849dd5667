#!/usr/bin/env bash
# Writes the very large timetable (about 600,000 lines) and measures, in the
# same run, reading it and writing it (whole processes, disk included) against
# `wc -l` on the same file.  Best of N runs of each.
#   bench/edt-vs-wc.sh [DOSSIER_DE_CONSTRUCTION] [N]
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
construction="${1:-$racine/build}"
essais="${2:-7}"
bench="$construction/bench/bench_edt"
cli="$construction/bin/horaku-cli"
if [ ! -x "$bench" ]; then
  echo "$bench absent : construire d'abord (cmake --build $construction --target bench_edt horaku-cli)" >&2
  exit 1
fi
dossier="$(mktemp -d)"
trap 'rm -rf "$dossier"' EXIT
fichier="$dossier/tres-grand.edt"

# Wall time of one command in seconds, output discarded.
duree() {
  local debut fin
  debut=$(date +%s%N)
  "$@" >/dev/null
  fin=$(date +%s%N)
  echo "$(( (fin - debut) / 1000 ))" | awk '{ printf "%.4f", $1 / 1e6 }'
}
meilleur() {
  local m="" d
  for _ in $(seq "$essais"); do
    d=$(duree "$@")
    if [ -z "$m" ] || awk -v a="$d" -v b="$m" 'BEGIN { exit !(a < b) }'; then m=$d; fi
  done
  echo "$m"
}

"$bench" --ecrire "$fichier" >/dev/null
echo "fichier : $(wc -l <"$fichier") lignes, $(stat -c %s "$fichier") octets"
wc_l=$(meilleur wc -l "$fichier")
lecture=$(meilleur "$bench" --lire "$fichier")
ecriture=$(meilleur "$bench" --ecrire "$fichier")
printf 'wc -l                  %s s\n' "$wc_l"
printf 'lecture (processus)    %s s   %s x wc -l\n' "$lecture" "$(awk -v a="$lecture" -v b="$wc_l" 'BEGIN { printf "%.1f", a / b }')"
printf 'ecriture (processus)   %s s   %s x wc -l\n' "$ecriture" "$(awk -v a="$ecriture" -v b="$wc_l" 'BEGIN { printf "%.1f", a / b }')"
# Inside the process, without start-up nor building the timetable in memory.
printf 'dans le processus :    %s, %s\n' "$("$bench" --lire "$fichier")" "$("$bench" --ecrire "$fichier")"
if [ -x "$cli" ]; then
  printf 'horaku-cli reecrire    %s s\n' "$(meilleur "$cli" reecrire "$fichier" "$dossier/copie.edt")"
  cmp -s "$fichier" "$dossier/copie.edt" && echo "reecrire : mêmes octets"
fi

#!/usr/bin/env bash
# Writes the very large timetable (about 600,000 lines, 6 MB) and measures, in
# the same run, reading and writing it against `wc -l` on the same file.
# Best of N runs of each, in CPU time (user and system, `perf stat`'s
# task-clock) when perf is there, else in wall time:
#   - wc -l: the whole process;
#   - plancher: the whole process of `lire_edt --plancher` (the file's bytes
#     read and counted, as many empty sequences built and freed);
#   - lecture: the whole process of `lire_edt` (start, Charger, exit), a
#     program linked with the model alone, and Charger alone as it times it
#     (wall);
#   - ecriture: Enregistrer as the program times it (text, write, flush to
#     disk, rename); the process itself first builds the timetable in memory.
#   bench/edt-vs-wc.sh [DOSSIER_DE_CONSTRUCTION] [N]
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
construction="${1:-$racine/build}"
essais="${2:-7}"
bench="$construction/bench/bench_edt"
lire="$construction/bench/lire_edt"
cli="$construction/bin/horaku-cli"
for p in "$bench" "$lire"; do
  if [ ! -x "$p" ]; then
    echo "$p absent : construire d'abord (cmake --build $construction --target bench_edt lire_edt horaku-cli)" >&2
    exit 1
  fi
done
dossier="$(mktemp -d)"
trap 'rm -rf "$dossier"' EXIT
fichier="$dossier/tres-grand.edt"

# CPU time (else wall time) of one command in seconds, output discarded.
if command -v perf >/dev/null && perf stat -x, -e task-clock true 2>/dev/null >/dev/null; then
  mesure="temps CPU"
  duree() {
    perf stat -x, -e task-clock "$@" 2>&1 >/dev/null | awk -F, '/task-clock/ { printf "%.4f\n", $1 / 1000 }'
  }
else
  mesure="temps écoulé"
  duree() {
    local debut fin
    debut=$(date +%s%N)
    "$@" >/dev/null
    fin=$(date +%s%N)
    awk -v n="$((fin - debut))" 'BEGIN { printf "%.4f\n", n / 1e9 }'
  }
fi
plus_petit() { sort -g | head -n 1; }
fois() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", a / b }'; }

"$bench" --ecrire "$fichier" >/dev/null
echo "fichier : $(wc -l <"$fichier") lignes, $(stat -c %s "$fichier") octets ($mesure ; charge : $(cut -d' ' -f1-3 /proc/loadavg))"
wc_l=$(for _ in $(seq "$essais"); do duree wc -l "$fichier"; done | plus_petit)
plancher=$(for _ in $(seq "$essais"); do duree "$lire" --plancher "$fichier"; done | plus_petit)
lecture=$(for _ in $(seq "$essais"); do duree "$lire" "$fichier"; done | plus_petit)
charger=$(for _ in $(seq "$essais"); do "$lire" "$fichier" | awk '{ print $2 }'; done | plus_petit)
enregistrer=$(for _ in $(seq "$essais"); do "$bench" --ecrire "$fichier" | awk '{ print $2 }'; done | plus_petit)
printf 'wc -l (processus)              %s s\n' "$wc_l"
printf 'plancher (processus)           %s s   %s x wc -l\n' "$plancher" "$(fois "$plancher" "$wc_l")"
printf 'lecture (processus)            %s s   %s x wc -l\n' "$lecture" "$(fois "$lecture" "$wc_l")"
printf 'lecture (Charger seul)         %s s   %s x wc -l\n' "$charger" "$(fois "$charger" "$wc_l")"
printf 'ecriture (Enregistrer seul)    %s s   %s x wc -l\n' "$enregistrer" "$(fois "$enregistrer" "$wc_l")"
if [ -x "$cli" ]; then
  reecrire=$(for _ in $(seq "$essais"); do duree "$cli" reecrire "$fichier" "$dossier/copie.edt"; done | plus_petit)
  printf 'horaku-cli reecrire (processus) %s s\n' "$reecrire"
  if cmp -s "$fichier" "$dossier/copie.edt"; then echo "reecrire : mêmes octets"; else echo "reecrire : OCTETS DIFFÉRENTS"; exit 1; fi
fi

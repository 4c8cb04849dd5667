#!/usr/bin/env bash
# Le programme installé par le paquet Debian, lancé depuis ses fichiers
# déballés : --version et une option inconnue sans écran, puis sous Xvfb avec
# openbox, lancé par son entrée de menu comme un gestionnaire de fichiers le
# fait pour realiste.edt, il ouvre ce fichier plutôt que l'emploi du temps par
# défaut (petit.edt), dans une fenêtre qui porte l'icône.
#   paquet_openbox.sh DOSSIER-DU-PAQUET DOSSIER-EXEMPLES
# Code 77 (test sauté) s'il manque dpkg-deb, Xvfb, openbox, xdotool ou xprop.
set -euo pipefail
paquet=$(realpath "$1"/*.deb)
exemples=$(realpath "$2")
for outil in dpkg-deb gio xvfb-run openbox xdotool xprop; do
  command -v "$outil" >/dev/null || { echo "outil absent : $outil" >&2; exit 77; }
done
travail=$(mktemp -d)
trap 'rm -rf "$travail"' EXIT
dpkg-deb -x "$paquet" "$travail/racine"
horaku=$travail/racine/usr/bin/horaku
cd "$travail"

version=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$horaku" --version)
[ "$version" = "Horaku 2.0a" ] || { echo "--version : $version" >&2; exit 1; }
code=0
"$horaku" --inconnue 2> refus.txt || code=$?
grep -q "^Horaku : option inconnue « --inconnue »" refus.txt && [ $code -eq 2 ] ||
  { echo "option inconnue : code $code, $(cat refus.txt)" >&2; exit 1; }

cp "$exemples/realiste.edt" .
printf 'Horaku 2.0a\r\n\xab Horaku \xb7 cfg2 \xbb\r\n\r\n%s\r\n' "$exemples/petit.edt" > Horaku.cfg
cat > dans_xvfb.sh <<'FIN'
set -euo pipefail
openbox > openbox.log 2>&1 &
pids=($!)
trap 'kill "${pids[@]}" 2>/dev/null || true' EXIT
# Une fenêtre montrée avant qu'openbox ne gère l'écran peut rester invisible.
for _ in $(seq 1 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done
PATH=$1/usr/bin:$PATH env -u QT_QPA_PLATFORM \
  gio launch "$1/usr/share/applications/fr.horaku.Horaku.desktop" realiste.edt 2> horaku.err
for _ in $(seq 1 100); do
  fenetre=$(xdotool search --onlyvisible --name '^Horaku' | head -1 || true)
  [ -n "$fenetre" ] && break
  sleep 0.1
done
titre=$(xdotool getwindowname "${fenetre:?aucune fenêtre Horaku}")
[ "$titre" = "Horaku - realiste.edt" ] || { echo "titre : $titre" >&2; exit 1; }
xprop -id "$fenetre" _NET_WM_ICON | grep -q 'Icon (32 x 32)' || { echo "fenêtre sans icône" >&2; exit 1; }
echo "$titre, avec son icône"
FIN
if ! xvfb-run -a -s "-screen 0 1366x768x24" bash dans_xvfb.sh "$travail/racine"; then
  cat horaku.err >&2 || true
  exit 1
fi

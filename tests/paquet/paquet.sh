#!/usr/bin/env bash
# Le paquet Debian déballé dans une racine de travail.   paquet.sh MODE DOSSIER-DU-PAQUET SOURCES
#  contenu : fichiers, desktop-file-validate, appstreamcli ; GIO voit un .edt (extension ou
#            première ligne) et l'ouvre avec Horaku.
#  ecran :   sous Xvfb avec openbox, l'entrée de menu lancée pour realiste.edt, comme par un
#            gestionnaire de fichiers, ouvre ce fichier et non l'emploi du temps par défaut.
# Code 77 (test sauté) s'il manque un outil.
set -euo pipefail
mode=$1 paquet=$(realpath "$2"/*.deb) sources=$(realpath "$3")
outils=(dpkg-deb gio desktop-file-validate appstreamcli update-mime-database file)
[ "$mode" = ecran ] && outils=(dpkg-deb gio xvfb-run openbox xdotool xprop)
for outil in "${outils[@]}"; do
  command -v "$outil" >/dev/null || { echo "outil absent : $outil" >&2; exit 77; }
done
travail=$(mktemp -d)
trap 'rm -rf "$travail"' EXIT
cd "$travail"
dpkg-deb -x "$paquet" racine
r=$travail/racine/usr id=fr.horaku.Horaku
export PATH=$r/bin:$PATH
echec() { echo "$*" >&2; exit 1; }

if [ "$mode" = contenu ]; then
  export XDG_DATA_DIRS=$r/share XDG_DATA_HOME=$travail/v XDG_CONFIG_HOME=$travail/v
  [ -x "$r/bin/horaku" ] && [ -x "$r/bin/horaku-cli" ] || echec "programmes absents"
  diff <(ls "$sources/src/widgets/aide") <(ls "$r/share/doc/horaku/aide") || echec "pages d'aide"
  for t in 16 24 32 48 64 128 256; do
    file "$r/share/icons/hicolor/${t}x$t/apps/$id.png" | grep -q "PNG image data, $t x $t," ||
      echec "icône ${t}x$t"
  done
  file "$r/share/icons/hicolor/scalable/apps/$id.svg" | grep -q SVG || echec "icône SVG"
  desktop-file-validate "$r/share/applications/$id.desktop"
  appstreamcli validate --no-net --strict "$r/share/metainfo/$id.metainfo.xml"
  appstreamcli validate-tree --no-net --strict racine
  update-mime-database "$r/share/mime"
  update-desktop-database "$r/share/applications"
  cp "$sources/examples/realiste.edt" sans_extension
  for f in "$sources/examples/realiste.edt" sans_extension; do
    type=$(gio info -a standard::content-type "$f" | sed -n 's/.*content-type: //p')
    [ "$type" = application/x-horaku-edt ] || echec "$f : type $type"
  done
  associations=$(gio mime application/x-horaku-edt)
  grep -q "^Default application.*: $id.desktop$" <<< "$associations" || echec "$associations"
  echo "$(basename "$paquet") : $(stat -c %s "$paquet") octets"
  exit 0
fi

# Sans écran, --version répond et une option inconnue est refusée (code 2).
[ "$(env -u DISPLAY -u QT_QPA_PLATFORM horaku --version)" = "Horaku 2.0a" ] || echec "--version"
code=0
horaku --inconnue 2> refus.txt || code=$?
[ $code = 2 ] && grep -q "^Horaku : option inconnue « --inconnue »" refus.txt || echec "refus : $code"
cp "$sources/examples/realiste.edt" .
printf 'Horaku 2.0a\r\n\xab Horaku \xb7 cfg2 \xbb\r\n\r\n%s\r\n' "$sources/examples/petit.edt" > Horaku.cfg
cat > dans_xvfb.sh <<'FIN'
openbox > openbox.log 2>&1 &
ob=$!
trap 'kill $ob' EXIT
# Une fenêtre montrée avant qu'openbox ne gère l'écran peut rester invisible.
for _ in $(seq 1 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' && break
  sleep 0.1
done
env -u QT_QPA_PLATFORM gio launch "$1/share/applications/fr.horaku.Horaku.desktop" realiste.edt
for _ in $(seq 1 100); do
  fenetre=$(xdotool search --onlyvisible --name '^Horaku' | head -1) && [ -n "$fenetre" ] && break
  sleep 0.1
done
titre=$(xdotool getwindowname "${fenetre:?aucune fenêtre Horaku}")
[ "$titre" = "Horaku - realiste.edt" ] || { echo "titre : $titre" >&2; exit 1; }
xprop -id "$fenetre" _NET_WM_ICON | grep -q 'Icon (32 x 32)' || { echo "sans icône" >&2; exit 1; }
echo "$titre, avec son icône"
FIN
timeout 60 xvfb-run -a -s "-screen 0 1366x768x24" bash dans_xvfb.sh "$r" 2> horaku.err ||
  echec "$(cat horaku.err)"

#!/usr/bin/env bash
# Le paquet Debian, déballé dans une racine de travail : les deux programmes,
# les pages d'aide, l'entrée de menu, le type .edt, l'icône à toutes ses
# tailles et la fiche AppStream ; les validateurs du bureau les acceptent, et
# le bureau associe les .edt (extension ou première ligne) à Horaku.
#   contenu.sh DOSSIER-DU-PAQUET DOSSIER-AIDE FICHIER.edt
# Code 77 (test sauté) s'il manque un outil.
set -euo pipefail
paquet=$(realpath "$1"/*.deb)
aide=$(realpath "$2")
edt=$(realpath "$3")
for outil in dpkg-deb desktop-file-validate appstreamcli update-mime-database \
  update-desktop-database gio file; do
  command -v "$outil" >/dev/null || { echo "outil absent : $outil" >&2; exit 77; }
done
racine=$(mktemp -d)
trap 'rm -rf "$racine"' EXIT
dpkg-deb -x "$paquet" "$racine"
cd "$racine/usr"
id=fr.horaku.Horaku
for f in bin/horaku bin/horaku-cli; do
  [ -x "$f" ] || { echo "programme absent : $f" >&2; exit 1; }
done
for f in share/applications/$id.desktop share/mime/packages/$id.xml \
  share/metainfo/$id.metainfo.xml share/icons/hicolor/scalable/apps/$id.svg; do
  [ -s "$f" ] || { echo "fichier absent : $f" >&2; exit 1; }
done
for t in 16 24 32 48 64 128 256; do
  file "share/icons/hicolor/${t}x$t/apps/$id.png" | grep -q "PNG image data, $t x $t," ||
    { echo "icône ${t}x$t absente ou d'une autre taille" >&2; exit 1; }
done
diff <(ls "$aide") <(ls share/doc/horaku/aide) || { echo "pages d'aide différentes" >&2; exit 1; }

desktop-file-validate share/applications/$id.desktop
appstreamcli validate --no-net --strict share/metainfo/$id.metainfo.xml
appstreamcli validate-tree --no-net --strict "$racine"

# Le bureau tel que GIO le voit, réduit à la racine de travail.
export XDG_DATA_DIRS=$racine/usr/share XDG_DATA_HOME=$racine/vide
export XDG_CONFIG_HOME=$racine/vide XDG_CONFIG_DIRS=$racine/vide PATH=$racine/usr/bin:$PATH
update-mime-database "$racine/usr/share/mime"
update-desktop-database "$racine/usr/share/applications"
cp "$edt" "$racine/sans_extension"
for f in "$edt" "$racine/sans_extension"; do
  type=$(gio info -a standard::content-type "$f" | sed -n 's/.*content-type: //p')
  [ "$type" = application/x-horaku-edt ] || { echo "$f : type $type" >&2; exit 1; }
done
associations=$(gio mime application/x-horaku-edt)
grep -q "^Default application.*: $id.desktop$" <<< "$associations" ||
  { echo "les .edt ne s'ouvrent pas avec Horaku : $associations" >&2; exit 1; }
echo "$(basename "$paquet") : $(stat -c %s "$paquet") octets"

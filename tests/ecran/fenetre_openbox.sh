#!/usr/bin/env bash
# Le vrai programme sous Xvfb à 1366×768, comme un portable, avec un vrai
# gestionnaire de fenêtres (openbox) qui encadre les fenêtres :
#  - « horaku examples/realiste.edt » (largeur d'une heure 150) ouvre ce
#    fichier ; le panneau est ancré dans la fenêtre (aucune fenêtre
#    « Affichage » à part), la fenêtre tient dans l'écran avec sa barre de
#    titre et ses boutons, et l'image défile ;
#  - le clavier dans le panneau (Tab jusqu'à « Nom », Espace) puis Ctrl+S
#    enregistre le fichier : les raccourcis marchent le focus dans le panneau ;
#  - examples/grand.edt s'ouvre dans une fenêtre pas plus haute que l'écran,
#    dont la zone client est plus petite que l'image (elle défile).
#   fenetre_openbox.sh HORAKU HORAKU-CLI DOSSIER-EXEMPLES
# Code 77 (test sauté) s'il manque Xvfb, openbox, xdotool, xprop ou ImageMagick.
set -euo pipefail
horaku=$(realpath "$1")
cli=$(realpath "$2")
exemples=$(realpath "$3")

for outil in xvfb-run openbox xdotool xprop xwininfo identify; do
  if ! command -v "$outil" >/dev/null; then
    echo "outil absent : $outil (paquets xvfb, openbox, xdotool, x11-utils, imagemagick)" >&2
    exit 77
  fi
done

travail=$(mktemp -d)
trap 'rm -rf "$travail"' EXIT
cd "$travail"
cp "$exemples/realiste.edt" "$exemples/grand.edt" .
"$cli" image grand.edt grand.png
"$cli" image realiste.edt realiste.png
read -r _ hauteurGrand < <(identify -format '%w %h\n' grand.png)
read -r largeurRealiste _ < <(identify -format '%w %h\n' realiste.png)

cat > dans_xvfb.sh <<'FIN'
#!/usr/bin/env bash
set -euo pipefail
horaku=$1 hauteurGrand=$2 largeurRealiste=$3
export XDG_CONFIG_HOME=$PWD/reglages
# Une configuration sans emploi du temps par défaut : pas de message du premier démarrage.
printf 'Horaku 2.0a\r\n\xab Horaku \xb7 cfg2 \xbb\r\n\r\n\r\n' > Horaku.cfg
openbox > openbox.log 2>&1 &
pids=($!)
trap 'kill "${pids[@]}" 2>/dev/null || true' EXIT
# Le gestionnaire de fenêtres est prêt quand il s'annonce sur la racine.
for _ in $(seq 1 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done

# Cadre d'une fenêtre nommée : gauche haut largeur hauteur, bords compris.
cadre() {
  local info extents g d h b
  info=$(xwininfo -name "$1")
  extents=$(xprop -name "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
  read -r g d h b <<< "$extents"
  local x y l ht
  x=$(awk '/Absolute upper-left X/ {print $NF}' <<< "$info")
  y=$(awk '/Absolute upper-left Y/ {print $NF}' <<< "$info")
  l=$(awk '/Width:/ {print $NF}' <<< "$info")
  ht=$(awk '/Height:/ {print $NF}' <<< "$info")
  echo "$((x - g)) $((y - h)) $((l + g + d)) $((ht + h + b))"
}
attendre() {
  for _ in $(seq 1 100); do
    if xprop -name "$1" _NET_FRAME_EXTENTS 2>/dev/null | grep -q '='; then return 0; fi
    sleep 0.1
  done
  echo "fenêtre « $1 » jamais encadrée" >&2
  return 1
}
echec() { echo "$1" >&2; import -window root echec.png 2>/dev/null || true; exit 1; }
# Attend (5 s au plus) que le cadre de la fenêtre tienne dans l'écran ; le
# programme se redimensionne quand le gestionnaire l'a encadrée.
dans_ecran() {
  local x y l h
  for _ in $(seq 1 50); do
    read -r x y l h < <(cadre "$1")
    if [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + l)) -le "$largeurEcran" ] &&
      [ $((y + h)) -le "$hauteurEcran" ]; then
      echo "$x $y $l $h"
      return 0
    fi
    sleep 0.1
  done
  echo "$x $y $l $h"
  return 1
}
read -r largeurEcran hauteurEcran < <(xwininfo -root | awk '/Width:/ {w=$NF} /Height:/ {h=$NF} END {print w, h}')

# 1. Le fichier nommé sur la ligne de commande, le panneau ancré.
env -u QT_QPA_PLATFORM "$horaku" realiste.edt 2>> horaku.err &
pid=$!
pids+=($pid)
attendre "Horaku - realiste.edt"
if ! place=$(dans_ecran "Horaku - realiste.edt"); then
  echec "fenêtre hors de l'écran (boutons de la barre de titre cachés) : $place"
fi
read -r fx fy fl fh <<< "$place"
if xwininfo -name Affichage > /dev/null 2>&1; then
  echec "le panneau « Affichage » est une fenêtre à part"
fi
client=$(xwininfo -name "Horaku - realiste.edt" | awk '/Width:/ {print $NF}')
# Le panneau ancré prend au moins ses 110 pixels à côté de l'image.
if [ "$client" -ge $((largeurRealiste + 1 + 110)) ]; then
  echec "la zone client ($client) montre toute l'image ($largeurRealiste) et le panneau : pas de défilement"
fi

# 2. Le focus dans le panneau, Ctrl+S enregistre.
avant=$(md5sum < realiste.edt)
xdotool windowactivate --sync "$(xdotool search --name '^Horaku - realiste.edt$' | head -1)"
xdotool key --delay 100 Tab Tab space
sleep 0.5
xdotool key ctrl+s
sleep 1
if [ "$(md5sum < realiste.edt)" = "$avant" ]; then
  echec "Ctrl+S, le focus dans le panneau, n'a rien enregistré"
fi
kill "$pid"; wait "$pid" 2>/dev/null || true

# 3. Une image plus haute que l'écran : la fenêtre tient dans l'écran et défile.
env -u QT_QPA_PLATFORM "$horaku" grand.edt 2>> horaku.err &
pid=$!
pids+=($pid)
attendre "Horaku - grand.edt"
if ! place=$(dans_ecran "Horaku - grand.edt"); then
  echec "fenêtre de grand.edt hors de l'écran : $place (écran ${largeurEcran}x$hauteurEcran)"
fi
read -r gx gy gl gh <<< "$place"
client=$(xwininfo -name "Horaku - grand.edt" | awk '/Height:/ {print $NF}')
if [ "$client" -gt "$hauteurGrand" ]; then
  echec "la zone client ($client) montre toute l'image ($hauteurGrand) : pas de défilement"
fi
echo "realiste.edt ${fl}x$fh, panneau ancré, Ctrl+S depuis le panneau ; grand.edt ${gl}x$gh dans ${largeurEcran}x$hauteurEcran"
FIN
if ! xvfb-run -a -s "-screen 0 1366x768x24" bash dans_xvfb.sh "$horaku" "$hauteurGrand" "$largeurRealiste"; then
  cat horaku.err >&2 || true
  [ -n "${HORAKU_ECRANS:-}" ] && cp echec.png "$HORAKU_ECRANS/" 2>/dev/null
  exit 1
fi

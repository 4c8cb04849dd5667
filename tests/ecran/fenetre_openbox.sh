#!/usr/bin/env bash
# Le vrai programme sous Xvfb avec un vrai gestionnaire de fenêtres (openbox),
# qui encadre les fenêtres et transmet Alt+F4 et le bouton de fermeture :
#  - au démarrage, le coin haut gauche du cadre du panneau est le coin haut
#    droit du cadre de la fenêtre principale ;
#  - Alt+F4 sur le panneau le laisse affiché et le programme continue ;
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
"$cli" image "$exemples/grand.edt" grand.png
read -r _ hauteurGrand < <(identify -format '%w %h\n' grand.png)

cat > dans_xvfb.sh <<'FIN'
#!/usr/bin/env bash
set -euo pipefail
horaku=$1 exemples=$2 hauteurGrand=$3
openbox > openbox.log 2>&1 &
ob=$!
pids=($ob)
trap 'kill "${pids[@]}" 2>/dev/null || true' EXIT
sleep 1

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
lancer() {
  printf 'Horaku 2.0a\r\n\xab Horaku \xb7 cfg2 \xbb\r\n\r\n%s\r\n' "$1" > Horaku.cfg
  env -u QT_QPA_PLATFORM "$horaku" 2>> horaku.err &
  pid=$!
  pids+=($pid)
}
read -r _ _ largeurEcran hauteurEcran < <(xwininfo -root | awk '/Width:/ {w=$NF} /Height:/ {h=$NF} END {print 0, 0, w, h}')

# 1. Le panneau contre le cadre de la fenêtre, dès le démarrage.
lancer "$exemples/realiste.edt"
attendre "Horaku - realiste.edt"
attendre Affichage
sleep 1
read -r fx fy fl _ < <(cadre "Horaku - realiste.edt")
read -r px py pl _ < <(cadre Affichage)
attendu=$((fx + fl))
if [ $((attendu + pl)) -gt "$largeurEcran" ]; then attendu=$((largeurEcran - pl)); fi
if [ "$px $py" != "$attendu $fy" ]; then
  echo "panneau en $px,$py au lieu de $attendu,$fy (cadre principal $fx,$fy largeur $fl)" >&2
  exit 1
fi

# 2. Alt+F4 sur le panneau : il reste affiché, le programme continue.
xdotool windowactivate --sync "$(xdotool search --name '^Affichage$' | head -1)"
xdotool key alt+F4
sleep 1
if ! xwininfo -name Affichage | grep -q IsViewable; then
  echo "Alt+F4 a fermé le panneau" >&2
  exit 1
fi
if ! kill -0 "$pid" 2>/dev/null; then
  echo "Alt+F4 sur le panneau a arrêté le programme" >&2
  exit 1
fi
kill "$pid"; wait "$pid" 2>/dev/null || true

# 3. Une image plus haute que l'écran : la fenêtre tient dans l'écran et défile.
lancer "$exemples/grand.edt"
attendre "Horaku - grand.edt"
sleep 1
read -r gx gy gl gh < <(cadre "Horaku - grand.edt")
client=$(xwininfo -name "Horaku - grand.edt" | awk '/Height:/ {print $NF}')
if [ "$gy" -lt 0 ] || [ $((gy + gh)) -gt "$hauteurEcran" ]; then
  echo "fenêtre de grand.edt hors de l'écran : $gx,$gy ${gl}x$gh (écran ${largeurEcran}x$hauteurEcran)" >&2
  exit 1
fi
if [ "$client" -gt "$hauteurGrand" ]; then
  echo "la zone client ($client) montre toute l'image ($hauteurGrand) : pas de défilement" >&2
  exit 1
fi
echo "panneau à $px,$py ; Alt+F4 ignoré ; grand.edt ${gl}x$gh dans ${largeurEcran}x$hauteurEcran"
FIN
if ! xvfb-run -a -s "-screen 0 1920x1200x24" bash dans_xvfb.sh "$horaku" "$exemples" "$hauteurGrand"; then
  cat horaku.err >&2 || true
  exit 1
fi

#!/usr/bin/env bash
# Le vrai programme sous Xvfb : avec un emploi du temps par défaut configuré,
# la fenêtre doit montrer exactement l'image que « horaku-cli image » exporte
# pour le même fichier, en haut à gauche de sa zone client, plus une colonne
# et une ligne blanches ; le panneau « Affichage » est ancré à sa droite, à côté
# de l'image et non par-dessus.
#   fumee_xvfb.sh HORAKU HORAKU-CLI EXEMPLE.edt
# Code 77 (test sauté) si Xvfb ou ImageMagick manquent.
set -euo pipefail
horaku=$1
cli=$2
exemple=$(realpath "$3")

for outil in xvfb-run xwininfo import compare identify; do
  if ! command -v "$outil" >/dev/null; then
    echo "outil absent : $outil (paquets xvfb, x11-utils, imagemagick)" >&2
    exit 77
  fi
done

travail=$(mktemp -d)
trap 'rm -rf "$travail"' EXIT
cd "$travail"
# Horaku.cfg : version, signature de 17 octets, ligne réservée, défaut.
printf 'Horaku 2.0a\r\n\xab Horaku \xb7 cfg2 \xbb\r\n\r\n%s\r\n' "$exemple" > Horaku.cfg
"$cli" image "$exemple" attendu.png
read -r largeur hauteur < <(identify -format '%w %h\n' attendu.png)

cat > dans_xvfb.sh <<'FIN'
#!/usr/bin/env bash
set -euo pipefail
horaku=$1 titre=$2 largeur=$3 hauteur=$4
env -u QT_QPA_PLATFORM "$horaku" 2> horaku.err &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
for _ in $(seq 1 200); do
  if xwininfo -name "$titre" > fenetre.txt 2>/dev/null; then
    x=$(awk '/Absolute upper-left X/ {print $NF}' fenetre.txt)
    y=$(awk '/Absolute upper-left Y/ {print $NF}' fenetre.txt)
    l=$(awk '/Width:/ {print $NF}' fenetre.txt)
    h=$(awk '/Height:/ {print $NF}' fenetre.txt)
    # Le panneau ancré élargit la fenêtre au-delà de l'image et de sa marge.
    if [ "$l" -gt $((largeur + 60)) ] && [ "$h" -gt "$hauteur" ]; then
      import -window root ecran.png
      # L'image est à gauche de la zone client, sous la barre de menus.
      for menu in $(seq 10 50); do
        haut=$((y + menu))
        convert ecran.png -crop "${largeur}x${hauteur}+${x}+${haut}" +repage vu.png
        if [ "$(compare -metric AE vu.png attendu.png null: 2>&1 || true)" = 0 ]; then
          convert ecran.png -crop "$((largeur + 1))x$((hauteur + 1))+${x}+${haut}" +repage client.png
          # À droite de la marge, le panneau : ses textes, pas l'image.
          convert ecran.png -crop "$((l - largeur - 1))x$((hauteur + 1))+$((x + largeur + 1))+${haut}" \
            +repage panneau.png
          echo "$x $y $l $h" > place.txt
          exit 0
        fi
      done
    fi
  fi
  sleep 0.1
done
echo "la fenêtre n'a pas montré l'image attendue" >&2
exit 1
FIN
titre="Horaku - $(basename "$exemple")"
if ! xvfb-run -a -s "-screen 0 1920x1200x24" bash dans_xvfb.sh "$horaku" "$titre" "$largeur" "$hauteur"; then
  cat horaku.err >&2 || true
  [ -f vu.png ] && echo "différence : $(compare -metric AE vu.png attendu.png null: 2>&1)" >&2
  exit 1
fi

# Une colonne et une ligne blanches à droite et sous l'image.
autres=$({
  convert client.png -crop "1x$((hauteur + 1))+${largeur}+0" +repage -format %c histogram:info:-
  convert client.png -crop "$((largeur + 1))x1+0+${hauteur}" +repage -format %c histogram:info:-
} | grep -vc '#FFFFFF' || true)
if [ "$autres" != 0 ]; then
  echo "la marge d'un pixel autour de l'image n'est pas blanche" >&2
  exit 1
fi

# Le panneau, ancré à droite, montre ses contrôles (autre chose que du blanc).
couleurs=$(convert panneau.png -format %k info:)
if [ "$couleurs" -lt 3 ]; then
  echo "aucun panneau à droite de l'image ($couleurs couleurs)" >&2
  exit 1
fi
echo "fenêtre conforme : image ${largeur}x${hauteur} identique à l'export, panneau ancré à droite"

#!/usr/bin/env bash
# Compare, sur les mêmes images, l'encodeur GIF de Horaku (tout compris :
# arbre de couleurs, couleurs les plus proches, palette, LZW, octets du
# fichier), le LZW seul de giflib sur l'image déjà réduite à la même palette,
# « convert in.bmp out.gif » d'ImageMagick et Pillow (palette adaptative).
# Affiche les temps médians, les rapports et les tailles des fichiers, et
# vérifie que nos GIF redonnent l'image au pixel près (blanc transparent).
#
#   bench/compare-gif.sh            construction dans build-compare/
#   HORAKU_BUILD=dossier bench/compare-gif.sh
#
# Images : les exemples realiste.edt et grand.edt tels que le dessin les
# rend, puis deux emplois du temps synthétiques de bench_gif (1200×900,
# 1500×7000). La machine est partagée et bruyante : ne comparer que les
# rapports d'une même exécution.
set -euo pipefail
racine=$(cd "$(dirname "$0")/.." && pwd)
build=${HORAKU_BUILD:-$racine/build-compare}
python=/usr/bin/python3 # Pillow vient du paquet Debian

"$racine/scripts/deps.sh" g++ cmake ninja-build qt6-base-dev libbenchmark-dev libgif-dev \
  imagemagick python3-pil

# Configuré à chaque fois : giflib, installé après coup, est alors trouvé.
if [ -f "$build/CMakeCache.txt" ]; then
  cmake -S "$racine" -B "$build" >/dev/null
else
  cmake -S "$racine" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" --target bench_gif >/dev/null

travail=$(mktemp -d)
trap 'rm -rf "$travail"' EXIT

# Les images en BMP, nos GIF et ceux de giflib à côté ; puis les temps.
"$build/bench/bench_gif" --ecrire="$travail" >"$travail/images.txt"
images=()
while read -r nom _; do images+=("$travail/$nom.bmp"); done <"$travail/images.txt"
"$build/bench/bench_gif" --benchmark_filter='^(horaku|giflib_lzw)/' \
  --benchmark_repetitions=7 --benchmark_report_aggregates_only=true \
  --benchmark_format=json >"$travail/bench.json" 2>/dev/null

# ImageMagick : la commande entière, médiane de trois.
for i in "${images[@]}"; do
  nom=$(basename "$i" .bmp)
  for _ in 1 2 3; do
    debut=$(date +%s%N)
    convert "$i" "$travail/$nom-imagemagick.gif"
    fin=$(date +%s%N)
    echo "$nom $(((fin - debut) / 1000))" >>"$travail/imagemagick.txt"
  done
done

"$python" - "$travail" "${images[@]}" <<'EOF'
import io, json, os, statistics, subprocess, sys, time
from PIL import Image

travail, images = sys.argv[1], sys.argv[2:]
noms = [os.path.splitext(os.path.basename(i))[0] for i in images]

temps = {}  # (image, codeur) -> ms
for b in json.load(open(os.path.join(travail, "bench.json")))["benchmarks"]:
    if b.get("aggregate_name") == "median":
        codeur, image = b["run_name"].split("/", 1)
        temps[(image, codeur)] = b["real_time"]  # en ms

imagemagick = {}
for ligne in open(os.path.join(travail, "imagemagick.txt")):
    nom, us = ligne.split()
    imagemagick.setdefault(nom, []).append(int(us) / 1000)
for nom, v in imagemagick.items():
    temps[(nom, "imagemagick")] = statistics.median(v)

# Pillow : conversion et écriture seules, l'image déjà chargée.
for chemin, nom in zip(images, noms):
    im = Image.open(chemin).convert("RGB")
    im.load()
    mesures = []
    for _ in range(5):
        tampon = io.BytesIO()
        debut = time.perf_counter()
        im.convert("P", palette=Image.ADAPTIVE).save(tampon, "GIF")
        mesures.append((time.perf_counter() - debut) * 1000)
    temps[(nom, "pillow")] = statistics.median(mesures)
    with open(os.path.join(travail, nom + "-pillow.gif"), "wb") as f:
        f.write(tampon.getvalue())

def identique(nom):
    """Notre GIF, posé sur du blanc, redonne-t-il le BMP au pixel près ?"""
    bmp = Image.open(os.path.join(travail, nom + ".bmp")).convert("RGB")
    gif = Image.open(os.path.join(travail, nom + "-horaku.gif")).convert("RGBA")
    fond = Image.new("RGBA", gif.size, (255, 255, 255, 255))
    fond.alpha_composite(gif)
    return fond.convert("RGB").tobytes() == bmp.tobytes()

libelles = {"horaku": "Horaku (tout)", "giflib_lzw": "giflib, LZW seul",
            "imagemagick": "ImageMagick convert", "pillow": "Pillow adaptative"}
ok = True
for chemin, nom in zip(images, noms):
    largeur, hauteur = Image.open(chemin).size
    exact = identique(nom)
    ok = ok and exact
    print(f"\n{nom} ({largeur}×{hauteur}) : GIF relu {'identique' if exact else 'DIFFÉRENT'} du BMP")
    print(f"  {'codeur':<22}{'ms':>10}{'÷ Horaku':>10}{'octets':>12}{'÷ giflib':>10}")
    ref = temps.get((nom, "horaku"))
    taille_giflib = None
    chemin_giflib = os.path.join(travail, nom + "-giflib.gif")
    if os.path.exists(chemin_giflib):
        taille_giflib = os.path.getsize(chemin_giflib)
    for codeur in ("horaku", "giflib_lzw", "imagemagick", "pillow"):
        ms = temps.get((nom, codeur))
        fichier = os.path.join(travail, f"{nom}-{codeur.split('_')[0]}.gif")
        if ms is None or not os.path.exists(fichier):
            continue
        taille = os.path.getsize(fichier)
        rapport_t = f"{ms / ref:.2f}" if ref else "-"
        rapport_o = f"{taille / taille_giflib:.3f}" if taille_giflib else "-"
        print(f"  {libelles[codeur]:<22}{ms:>10.1f}{rapport_t:>10}{taille:>12}{rapport_o:>10}")
sys.exit(0 if ok else 1)
EOF

#!/usr/bin/env python3
"""Écrit les emplois du temps d'exemple de examples/ (format .edt, Windows-1252, CR LF)."""
import os
import random

ICI = os.path.dirname(os.path.abspath(__file__))
SORTIE = os.path.join(ICI, "..", "examples")

ARIAL = ("Arial", 9, 0, "0000", 1)
LIBELLES = [("Jours", "Lundi"), ("Classes", "604"), ("Groupes", "G1"), ("Salles", "Salle 4"),
            ("Divers", "Divers"), ("Titre", "Titre"), ("Heure", "10:30"), ("Suppl", "Inutilisé"),
            ("Web", "Inutilisé")]


def hm(h, m):
    return "%02d:%02d:00" % (h, m)


def ecrire(nom, titre, semaines, polices, options, listes, jours, heure_larg):
    """jours: 7 × (affiche, [par semaine: [(debut, fin, [4 textes])]])"""
    l = ["Horaku 2.0a", "## Ne pas modifier ce fichier ! ##", titre, "", "0", str(len(semaines))]
    for n, c in semaines:
        l += [n, str(c)]
    l.append("9")
    for (lib, ex), (face, taille, couleur, style, jeu) in zip(LIBELLES, polices):
        l += [lib, ex, face, str(taille), str(couleur), style, str(jeu)]
    l += ["55", str(options["marge"]), "1", "0"]
    l += [str(int(options[k])) for k in ("nom", "contour", "reserve", "jours", "heures")]
    l.append(options["heure_jours"])
    l += ["0"] * 7
    for liste in listes:
        l.append(str(len(liste)))
        l += liste
    l.append("7")
    for affiche, par_semaine in jours:
        l.append(str(affiche))
        for seqs in par_semaine:
            l.append(str(len(seqs)))
            for d, f, textes in seqs:
                l += [d, f] + list(textes)
    l.append(str(heure_larg))
    with open(os.path.join(SORTIE, nom), "wb") as fichier:
        fichier.write(("\r\n".join(l) + "\r\n").encode("cp1252"))


def petit():
    polices = [ARIAL] * 8 + [("Times New Roman", 8, 16711680, "0000", 1)]
    cours = [(8, 0, 9, 0, "Maths", "", "Salle 12"), (9, 0, 10, 0, "Français", "", "Salle 3"),
             (10, 15, 11, 10, "Anglais", "", "Salle 7"), (13, 30, 15, 30, "EPS", "", "Gymnase")]
    jours = []
    for j in range(7):
        seqs = []
        if j < 5:
            for i, (h1, m1, h2, m2, mat, grp, salle) in enumerate(cours):
                if (i + j) % 5 != 4:
                    seqs.append((hm(h1, m1), hm(h2, m2), ["6e A", grp, salle, mat]))
        jours.append((1 if j < 5 else 0, [seqs]))
    ecrire("petit.edt", "", [("Semaine", 16776960)], polices,
           dict(marge=1, nom=0, contour=0, reserve=0, jours=0, heures=0, heure_jours="00:00:00"),
           [["6e A"], [], ["Salle 12", "Salle 3", "Salle 7", "Gymnase"], []], jours, 60)


def realiste():
    polices = [("Arial", 10, 8388608, "1000", 1),          # jours : gras, bleu marine
               ("Arial", 9, 0, "1000", 1),                 # classes : gras
               ("Arial", 8, 128, "0100", 1),               # groupes : italique, bordeaux
               ("Times New Roman", 9, 32768, "0000", 1),   # salles : vert
               ("Arial", 9, 0, "0000", 1),                 # divers
               ("Times New Roman", 16, 0, "1000", 1),      # titre
               ("Arial", 8, 8421504, "0000", 1),           # heures
               ARIAL,
               ("Times New Roman", 8, 16711680, "0000", 1)]
    # (début, fin, classe, groupe, salle, matière) pour la semaine A ; B remplace quelques cours.
    semaine_a = {
        0: [((8, 0), (8, 55), "4e B", "", "Salle 104", "Mathématiques"),
            ((8, 55), (9, 50), "4e B", "", "Salle 104", "Français"),
            ((10, 5), (11, 0), "4e B", "Gr. 1", "Labo 2", "Physique-chimie"),
            ((11, 0), (11, 55), "4e B", "", "Salle 210", "Histoire-géo"),
            ((13, 30), (15, 25), "4e B", "", "Gymnase", "EPS")],
        1: [((8, 0), (9, 50), "4e B", "", "Salle 104", "Français"),
            ((10, 5), (11, 0), "4e B", "Gr. 2", "Salle 12", "Anglais"),
            ((11, 0), (11, 55), "4e B", "", "Salle 104", "Mathématiques"),
            ((14, 20), (15, 15), "4e B", "", "Salle 5", "Éducation musicale")],
        2: [((8, 0), (8, 55), "4e B", "Gr. 1", "Salle 12", "Espagnol"),
            ((8, 55), (9, 50), "4e B", "", "Salle 210", "Histoire-géo"),
            ((10, 5), (11, 55), "4e B", "", "CDI", "Vie de classe")],
        3: [((8, 55), (9, 50), "4e B", "", "Salle 104", "Mathématiques"),
            ((10, 5), (11, 0), "4e B", "Gr. 2", "Salle 14", "Technologie"),
            ((13, 30), (14, 25), "4e B", "", "Salle 12", "Anglais"),
            ((14, 25), (16, 20), "4e B", "", "Atelier", "Arts plastiques")],
        4: [((8, 0), (8, 55), "4e B", "", "Labo 1", "SVT"),
            ((8, 55), (9, 50), "4e B", "", "Salle 104", "Français"),
            ((10, 5), (11, 55), "4e B", "Gr. 1", "Salle 14", "Technologie"),
            ((13, 30), (14, 25), "4e B", "", "Salle 210", "Histoire-géo")],
    }
    semaine_b = {j: list(v) for j, v in semaine_a.items()}
    semaine_b[0][2] = ((10, 5), (11, 0), "4e B", "Gr. 2", "Labo 2", "Physique-chimie")
    semaine_b[2] = [((8, 0), (9, 50), "4e B", "", "Labo 1", "SVT"),
                    ((10, 5), (11, 55), "4e B", "Gr. 2", "Salle 12", "Espagnol")]
    semaine_b[4][2] = ((10, 5), (11, 55), "4e B", "Gr. 2", "Salle 14", "Technologie")
    semaine_b[4].append(((14, 25), (16, 20), "4e B", "", "Gymnase", "Association sportive"))

    def seqs(table, j):
        return [(hm(*d), hm(*f), [c, g, s, m]) for d, f, c, g, s, m in table.get(j, [])]

    jours = [(1 if j < 5 else 0, [seqs(semaine_a, j), seqs(semaine_b, j)]) for j in range(7)]
    salles = sorted({x[4] for t in (semaine_a, semaine_b) for v in t.values() for x in v})
    matieres = sorted({x[5] for t in (semaine_a, semaine_b) for v in t.values() for x in v})
    ecrire("realiste.edt", "Collège Jean-Moulin — 4e B — année 2026-2027",
           [("Semaine A", 0xF0E0B0), ("Semaine B", 0xB0E8C8)], polices,
           dict(marge=2, nom=1, contour=1, reserve=0, jours=1, heures=1, heure_jours="12:05:00"),
           [["4e B"], ["Gr. 1", "Gr. 2"], salles, matieres], jours, 150)


def grand():
    rnd = random.Random(2026)
    polices = [ARIAL] * 8 + [("Times New Roman", 8, 16711680, "0000", 1)]
    semaines = [("Sem %d" % (i + 1), rnd.choice([0xFFFF00, 0x80FFFF, 0xC0C0FF, 0xFFC0C0,
                                                 0xC0FFC0, 0xE0E0E0])) for i in range(52)]
    classes = ["6e A", "6e B", "5e A", "5e B", "4e A", "4e B", "3e A", "3e B"]
    salles = ["Salle %d" % i for i in range(1, 25)]
    matieres = ["Maths", "Français", "Anglais", "Histoire", "SVT", "Physique", "EPS", "Arts",
                "Musique", "Techno"]
    jours = []
    for j in range(7):
        par_semaine = []
        for k in range(52):
            seqs = []
            for s in range(10):
                debut = 8 * 60 + s * 55
                seqs.append((hm(debut // 60, debut % 60), hm((debut + 55) // 60, (debut + 55) % 60),
                             [rnd.choice(classes), rnd.choice(["", "G1", "G2"]),
                              rnd.choice(salles), rnd.choice(matieres)]))
            par_semaine.append(seqs)
        jours.append((1, par_semaine))
    ecrire("grand.edt", "Grand emploi du temps", semaines, polices,
           dict(marge=1, nom=1, contour=0, reserve=0, jours=1, heures=1, heure_jours="07:30:00"),
           [classes, ["G1", "G2"], salles, matieres], jours, 60)


if __name__ == "__main__":
    os.makedirs(SORTIE, exist_ok=True)
    petit()
    realiste()
    grand()

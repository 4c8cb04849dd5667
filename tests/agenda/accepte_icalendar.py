#!/usr/bin/env python3
"""Un emploi du temps à semaines A et B, exporté sur septembre avec une semaine de
vacances, relu par un lecteur iCalendar indépendant (python3-icalendar de Debian) :
chaque séquence à sa date et à son heure, A et B en alternance comme demandé.

Usage : accepte_icalendar.py HORAKU_CLI ENTREE.edt DOSSIER_TEMPORAIRE
Code 77 (test sauté) si le module icalendar est absent."""
import datetime
import json
import os
import subprocess
import sys

try:
    import icalendar
except ImportError:
    print("python3-icalendar absent : test sauté")
    sys.exit(77)
try:
    from zoneinfo import ZoneInfo
except ImportError:
    print("zoneinfo absent : test sauté")
    sys.exit(77)

cli, edt, dossier = sys.argv[1:4]
FUSEAU = "Europe/Paris"
env = dict(os.environ, TZ=FUSEAU)
modele = json.loads(subprocess.run([cli, "verifier", edt], check=True, env=env,
                                   capture_output=True).stdout)
types = [s["nom"] for s in modele["semaines"]]
assert len(types) == 2, types
groupes = [l["libelle"] for l in modele["libelles"][1:5]]

DU, AU = datetime.date(2024, 9, 1), datetime.date(2024, 9, 30)
VACANCES = (datetime.date(2024, 9, 16), datetime.date(2024, 9, 22))


def attendus(types_par_lundi):
    """Les événements que le fichier doit contenir, construits à partir du
    modèle lu par « verifier » et du type voulu pour chaque semaine."""
    ev = set()
    jour = DU
    while jour <= AU:
        lundi = jour - datetime.timedelta(days=jour.weekday())
        if not (VACANCES[0] <= jour <= VACANCES[1]) and modele["jours"][jour.weekday()]["affiche"]:
            t = types_par_lundi[lundi]
            for s in modele["jours"][jour.weekday()]["parSemaine"][t]:
                if not any(s["textes"]):
                    continue
                h = lambda x: datetime.time.fromisoformat(x)
                resume = " – ".join(s["textes"][g] for g in (0, 1, 3) if s["textes"][g])
                ev.add((datetime.datetime.combine(jour, h(s["debut"])),
                        datetime.datetime.combine(jour, h(s["fin"])),
                        resume, s["textes"][2], types[t]))
        jour += datetime.timedelta(days=1)
    return ev


def lire(chemin):
    with open(chemin, "rb") as f:
        cal = icalendar.Calendar.from_ical(f.read())
    lus, uids = set(), set()
    paris = ZoneInfo(FUSEAU)
    for ev in cal.walk("VEVENT"):
        debut, fin = ev.decoded("DTSTART"), ev.decoded("DTEND")
        assert debut.tzinfo is not None, "heure sans fuseau"
        assert ev["DTSTART"].params.get("TZID") == FUSEAU, ev["DTSTART"].params
        # The instant the reader understood is the wall time in Paris.
        local = debut.replace(tzinfo=None)
        assert debut.utcoffset() == local.replace(tzinfo=paris).utcoffset(), debut
        lieu = str(ev.get("LOCATION", ""))
        categorie = ev["CATEGORIES"].to_ical().decode()
        lus.add((local, fin.replace(tzinfo=None), str(ev.get("SUMMARY", "")), lieu, categorie))
        uids.add(str(ev["UID"]))
        for ligne in str(ev["DESCRIPTION"]).split("\n"):
            g, _, _ = ligne.partition(" : ")
            assert g in groupes, ligne
    assert len(uids) == len(lus), "UID en double"
    tzids = [str(c["TZID"]) for c in cal.walk("VTIMEZONE")]
    assert tzids == [FUSEAU], tzids
    return lus


def exporter(nom, options):
    sortie = os.path.join(dossier, nom)
    r = subprocess.run([cli, "calendrier", edt, sortie, "--du", DU.isoformat(),
                        "--au", AU.isoformat(),
                        "--vacances", VACANCES[0].isoformat() + ":" + VACANCES[1].isoformat()]
                       + options, env=env, capture_output=True)
    assert r.returncode == 0, r.stderr
    return lire(sortie)


lundis = [datetime.date(2024, 8, 26) + datetime.timedelta(weeks=k) for k in range(6)]
cas = {
    # Sunday 1 September opens the week of 26 August: A; the holiday week is skipped.
    "sautees": ([], dict(zip(lundis, [0, 1, 0, None, 1, 0]))),
    "comptees": (["--vacances-comptent"], dict(zip(lundis, [0, 1, 0, None, 0, 1]))),
    "B d'abord": (["--premiere-semaine", "2"], dict(zip(lundis, [1, 0, 1, None, 0, 1]))),
}
for nom, (options, par_lundi) in cas.items():
    lus = exporter(nom.replace(" ", "_").replace("'", "") + ".ics", options)
    voulus = attendus(par_lundi)
    assert voulus, nom
    if lus != voulus:
        print(nom, ": en trop", sorted(lus - voulus)[:5], "manquants", sorted(voulus - lus)[:5])
        sys.exit(1)
    print(nom, ":", len(lus), "événements conformes")

#include "vuesimage.h"

#include "cp1252.h"
#include "erreurs.h"
#include "exportation.h"
#include "fichiers.h"
#include "tropgrand.h"
#include "vecteur.h"

#include <QCollator>
#include <QLocale>
#include <QPainter>

#include <algorithm>
#include <cerrno>
#include <set>
#include <sys/stat.h>
#include <tuple>

namespace horaku
{

namespace
{

using Cle = std::tuple<int, int, int>; // day, week type, position

std::set<Cle> BoitesEnConflit(const std::vector<Conflit>& conflits)
{
    std::set<Cle> boites;
    for (const Conflit& c : conflits) {
        boites.emplace(c.jour, c.semaine, static_cast<int>(c.a));
        boites.emplace(c.jour, c.semaine, static_cast<int>(c.b));
    }
    return boites;
}

Surcouche Marques(const Vue& vue, bool marques)
{
    if (!marques) return {};
    std::vector<Conflit> conflits = ConflitsVue(vue);
    if (conflits.empty()) return {};
    return [conflits = std::move(conflits)](QPainter& p, const DescriptionImage& d) {
        MarquerConflits(p, d, conflits);
    };
}

void CreerDossier(const std::string& chemin)
{
    struct stat st {
    };
    if (::stat(chemin.c_str(), &st) == 0) {
        if (!S_ISDIR(st.st_mode)) throw ErreurCreer(chemin, kCausePasFichier);
        return;
    }
    if (::mkdir(chemin.c_str(), 0777) != 0) throw ErreurCreer(chemin);
}

} // namespace

void TrierVues(std::vector<Vue>& vues)
{
    QCollator collateur{QLocale(QLocale::French, QLocale::France)};
    collateur.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<std::pair<QString, std::size_t>> cles;
    for (std::size_t i = 0; i < vues.size(); ++i)
        cles.emplace_back(QString::fromUtf8(Cp1252VersUtf8(vues[i].valeur)), i);
    std::stable_sort(cles.begin(), cles.end(), [&](const auto& x, const auto& y) {
        return collateur.compare(x.first, y.first) < 0;
    });
    std::vector<Vue> triees;
    triees.reserve(vues.size());
    for (const auto& c : cles)
        triees.push_back(std::move(vues[c.second]));
    vues = std::move(triees);
}

void MarquerConflits(QPainter& p, const DescriptionImage& d, const std::vector<Conflit>& conflits)
{
    const std::set<Cle> boites = BoitesEnConflit(conflits);
    p.save();
    p.setClipping(false);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(220, 0, 0));
    for (const JourImage& j : d.jours)
        for (const BoiteImage& b : j.boites) {
            if (!boites.count({j.jour, b.semaine, b.sequence})) continue;
            // Right and bottom exclusive: the corner is the last pixel in.
            const int c = std::min(7, (b.rect.b - b.rect.h) / 2);
            const QPoint coin(b.rect.d - 1, b.rect.h);
            const QPoint triangle[3] = {coin, coin - QPoint(c, 0), coin + QPoint(0, c)};
            p.drawPolygon(triangle, 3);
        }
    p.restore();
}

ResultatDessin RedessinerVue(Vue& vue, bool marques)
{
    ResultatDessin r = Redessiner(vue.edt);
    if (r.etat == ResultatDessin::Dessine && marques) {
        const std::vector<Conflit> conflits = ConflitsVue(vue);
        if (!conflits.empty()) {
            QPainter p(&r.image);
            MarquerConflits(p, r.description, conflits);
        }
    }
    return r;
}

std::vector<std::string> ExporterVues(std::vector<Vue>& vues, const std::string& format,
                                      const std::string& sortie, bool marques,
                                      const std::string& titreCp1252)
{
    if (vues.empty()) throw ErreurHoraku(kMessageAucuneVue);
    if (format == "pdf") {
        std::vector<REdt*> edts;
        std::vector<Surcouche> surcouches;
        for (Vue& v : vues) {
            edts.push_back(&v.edt);
            surcouches.push_back(Marques(v, marques));
        }
        const DocumentVecteur doc = DessinerPdfPages(edts, surcouches, titreCp1252);
        if (!doc.dessine) throw ErreurHoraku(MessageRien(vues.front().edt));
        EcrireFichierAtomique(sortie, doc.octets);
        return {sortie};
    }
    static const std::set<std::string> kFormats = {"png", "svg", "gif", "bmp", "edt"};
    if (!kFormats.count(format)) throw ErreurHoraku(kMessageFormatInconnu);
    CreerDossier(sortie);
    const std::vector<std::string> noms = NomsFichiersVues(vues);
    std::vector<std::string> ecrits;
    for (std::size_t i = 0; i < vues.size(); ++i) {
        Vue& v = vues[i];
        const std::string chemin = sortie + "/" + noms[i] + "." + format;
        if (format == "edt") {
            REdt copie;
            copie.Copier(v.edt);
            copie.Fichier = chemin;
            copie.Enregistrer();
        } else if (format == "svg") {
            const DocumentVecteur doc =
                DessinerVecteur(v.edt, FormatVecteur::Svg, Marques(v, marques));
            if (!doc.dessine) throw ErreurHoraku(MessageRien(v.edt));
            EcrireFichierAtomique(chemin, doc.octets);
        } else {
            const ResultatDessin r = RedessinerVue(v, marques);
            if (r.etat == ResultatDessin::Rien) throw ErreurHoraku(MessageRien(v.edt));
            if (r.etat == ResultatDessin::TropGrand)
                throw ErreurHoraku(MessageTropGrand(v.edt, r.description));
            ExporterImage(r.image, chemin);
        }
        ecrits.push_back(chemin);
    }
    return ecrits;
}

} // namespace horaku

// The picture commands of horaku-cli: the same redraw and export as the main
// window, on the offscreen platform so that no display is needed.
#include "commandes.h"

#include "classesedt.h"
#include "dessin.h"
#include "erreurs.h"
#include "exportation.h"
#include "fichiers.h"
#include "json.h"
#include "tropgrand.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace horaku::cli
{

namespace
{

// stderr carries only the program's own message: Qt's notes stay quiet.
void SansNotesQt(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fputs((LigneVisible(message.toStdString()) + '\n').c_str(), stderr);
}

void Rect4(Json& j, const Rect& r)
{
    j.tableau().entier(r.g).entier(r.h).entier(r.d).entier(r.b).finTableau();
}

void PointJson(Json& j, const Point& p)
{
    j.objet().cle("x").entier(p.x).cle("y").entier(p.y).finObjet();
}

} // namespace

std::unique_ptr<QGuiApplication> Application(int& argc, char** argv)
{
    qInstallMessageHandler(SansNotesQt);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
}

int Image(int argc, char** argv)
{
    const char* entree = argv[2];
    const char* sortie = argv[3];
    REdt e;
    LireOuEchouer(e, entree);
    RefuserSortieSurEntree(entree, sortie);
    auto app = Application(argc, argv);
    // A vector picture is drawn straight from the layout, without the raster
    // picture or its pixel limit.
    if (ExtensionVectorielle(sortie)) {
        if (!ExporterVecteur(e, sortie)) throw ErreurHoraku(MessageRien(e));
        return 0;
    }
    const ResultatDessin r = Redessiner(e);
    if (r.etat == ResultatDessin::Rien) throw ErreurHoraku(MessageRien(e));
    if (r.etat == ResultatDessin::TropGrand) throw ErreurHoraku(MessageTropGrand(e, r.description));
    ExporterImage(r.image, sortie);
    return 0;
}

int Geometrie(int argc, char** argv, std::ostream& sortie)
{
    REdt e;
    LireOuEchouer(e, argv[2]);
    auto app = Application(argc, argv);
    const DescriptionImage d = Disposer(e, MesureurQt());
    if (d.demesure) throw ErreurHoraku(MessageTropGrand(e, d));
    Json j;
    j.objet();
    j.cle("dessine").booleen(d.dessine);
    if (d.dessine) {
        const RMesures& m = e.Mesures;
        j.cle("largeur").entier(d.largeur);
        j.cle("hauteur").entier(d.hauteur);
        j.cle("heureDebut").texte(TempsVersTexte(e.HeureDebut));
        j.cle("heureFin").texte(TempsVersTexte(e.HeureFin));
        j.cle("mesures").objet();
        j.cle("hautLigne").entier(m.HautLigne);
        j.cle("pixParMinute").reel(m.PixParMinute);
        j.cle("hautMax").entier(m.HautMax);
        j.cle("largTotale").entier(m.LargTotale);
        j.cle("partGroupe").tableau();
        for (float p : m.PartGroupe)
            j.reel(p);
        j.finTableau();
        j.finObjet();
        j.cle("titre");
        if (d.titre)
            PointJson(j, *d.titre);
        else
            j.nul();
        j.cle("heures");
        if (d.heures) {
            j.objet();
            j.cle("axe")
                .tableau()
                .entier(d.heures->axeDebut.x)
                .entier(d.heures->axeDebut.y)
                .entier(d.heures->axeFin.x)
                .entier(d.heures->axeFin.y)
                .finTableau();
            j.cle("etiquettes").tableau();
            for (const EtiquetteHeure& et : d.heures->etiquettes)
                j.objet().cle("texte").texte(et.texte).cle("x").entier(et.x).finObjet();
            j.finTableau();
            j.finObjet();
        } else {
            j.nul();
        }
        j.cle("jours").tableau();
        for (const JourImage& jour : d.jours) {
            j.objet();
            j.cle("jour").entier(jour.jour);
            j.cle("haut").entier(jour.haut);
            j.cle("nom");
            if (jour.nom)
                PointJson(j, *jour.nom);
            else
                j.nul();
            j.cle("boites").tableau();
            for (const BoiteImage& b : jour.boites) {
                j.objet();
                j.cle("semaine").entier(b.semaine);
                j.cle("sequence").entier(b.sequence);
                j.cle("rect");
                Rect4(j, b.rect);
                j.cle("cellules").tableau();
                for (const Rect& c : b.cellules)
                    Rect4(j, c);
                j.finTableau();
                j.finObjet();
            }
            j.finTableau();
            j.finObjet();
        }
        j.finTableau();
        j.cle("web");
        PointJson(j, d.web);
    }
    j.finObjet();
    sortie << j.resultat() << '\n';
    return 0;
}

} // namespace horaku::cli

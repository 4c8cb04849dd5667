// Shared by the window tests: a Services that answers from a script and
// records every box and chooser, a private working folder per test, and a
// few timetables written to disk.
#pragma once

#include "classesedt.h"
#include "edt_test.h"
#include "principale.h"
#include "reglages.h"
#include "services.h"
#include "variables.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QDockWidget>
#include <QGuiApplication>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <optional>

namespace outils_ui
{

using namespace horaku;

class ServicesScriptes final : public Services
{
public:
    // Answers to the next boxes, in order.  A box asked with no answer left
    // gets its escape button (Cancel, else No, else OK) and is noted in
    // `imprevus`.
    QList<QMessageBox::StandardButton> reponses;
    // Names for the next choosers; nullopt is Cancel.  An unscripted chooser
    // is cancelled and noted.
    QList<std::optional<QString>> noms;

    // Answers of the colour and font choosers, in order; nullopt is Cancel.
    // An unscripted chooser is cancelled and noted.
    QList<std::optional<std::int32_t>> couleurs;
    QList<std::optional<RPolice>> polices;

    QList<Question> questions;
    // For each box: whether a wait cursor was still over the program.
    QList<bool> sousAttente;
    QList<Selecteur> selecteurs;
    QList<std::int32_t> couleursProposees; // the colour each chooser opened with
    QList<RPolice> policesProposees;
    QStringList imprevus;

    QMessageBox::StandardButton Demander(QWidget*, const Question& question) override
    {
        questions.append(question);
        sousAttente.append(QGuiApplication::overrideCursor() != nullptr);
        if (!reponses.isEmpty()) return reponses.takeFirst();
        if (question.boutons & QMessageBox::Cancel) {
            imprevus << question.texte;
            return QMessageBox::Cancel;
        }
        if (question.boutons & QMessageBox::No) {
            imprevus << question.texte;
            return QMessageBox::No;
        }
        return QMessageBox::Ok;
    }

    std::optional<QString> Choisir(QWidget*, const Selecteur& selecteur) override
    {
        selecteurs.append(selecteur);
        if (!noms.isEmpty()) return noms.takeFirst();
        imprevus << QStringLiteral("sélecteur");
        return std::nullopt;
    }

    std::optional<std::int32_t> ChoisirCouleur(QWidget*, std::int32_t initiale) override
    {
        couleursProposees.append(initiale);
        if (!couleurs.isEmpty()) return couleurs.takeFirst();
        imprevus << QStringLiteral("couleur");
        return std::nullopt;
    }

    std::optional<RPolice> ChoisirPolice(QWidget*, const RPolice& initiale) override
    {
        policesProposees.append(initiale);
        if (!polices.isEmpty()) return polices.takeFirst();
        imprevus << QStringLiteral("police");
        return std::nullopt;
    }

    QStringList Textes() const
    {
        QStringList t;
        for (const Question& q : questions)
            t << q.texte;
        return t;
    }
};

// Key by key, as typed; characters beyond ASCII arrive with their text only,
// as a keyboard layout that has them sends them.
inline void TaperTexte(QWidget* cible, const QString& texte)
{
    for (const QChar c : texte) {
        if (c.unicode() < 0x80)
            QTest::keyClick(cible, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, cible, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// A fresh working folder for one test; the previous one comes back after.
class DossierDeTravail
{
public:
    DossierDeTravail() : precedent_(QDir::currentPath()) { QDir::setCurrent(dossier_.path()); }
    ~DossierDeTravail() { QDir::setCurrent(precedent_); }
    DossierDeTravail(const DossierDeTravail&) = delete;
    DossierDeTravail& operator=(const DossierDeTravail&) = delete;

    QString Chemin(const QString& nom) const { return dossier_.filePath(nom); }

private:
    QString precedent_;
    QTemporaryDir dossier_;
    // No settings left by an earlier test (CTest gives each program its own).
    bool sansReglages_ = (Reglages().clear(), true);
};

// Two days, two week types, texts in every group: a picture of a few hundred pixels.
inline REdt EdtExemple()
{
    using namespace horaku::test;
    REdt e;
    e.Titre = "Essai";
    e.HeureAffichJours = H(12);
    e.Semaines.push_back(RSemaine{"Sem 2", 0x80FF80});
    e.AjusterSemaines();
    Ajouter(e, 0, 0, Seq(H(8), H(9), {"604", "G1", "S4", "Maths"}));
    Ajouter(e, 0, 1,
            Seq(H(9), H(10, 30),
                {"603", "G2", "S12",
                 "Fran\xE7"
                 "ais"}));
    Ajouter(e, 1, 0, Seq(H(13), H(14), {"501", "", "S1", ""}));
    return e;
}

inline QString Ecrire(const REdt& modele, const QString& chemin)
{
    REdt e;
    e.Copier(modele);
    e.Fichier = chemin.toStdString();
    e.Enregistrer();
    return chemin;
}

// "Horaku.cfg" in the current folder naming `defaut` (empty: none).
inline QString EcrireConfiguration(const QString& defaut)
{
    RConfig c;
    c.EdtDefaut = defaut.toStdString();
    EcrireConfig(c);
    return defaut;
}

// A font of the timetable with every attribute given.
inline RPolice Police(const char* nom, int taille, std::int32_t couleur, bool gras, bool italique,
                      bool souligne, bool barre, int orientation = 0)
{
    RPolice p;
    p.Nom = nom;
    p.Taille = taille;
    p.Couleur = couleur;
    p.Gras = gras;
    p.Italique = italique;
    p.Souligne = souligne;
    p.Barre = barre;
    p.Jeu = 1;
    p.Orientation = orientation;
    return p;
}

// The main window shown on plan.edt, the default timetable of a fresh working folder, holding
// `modele` (none: no timetable).  Unpacks as `auto& [dossier, plan, services, fenetre] = o;`.
struct FenetreOuverte {
    explicit FenetreOuverte(const std::optional<REdt>& modele = EdtExemple())
        : plan(EcrireConfiguration(
              modele ? Ecrire(*modele, dossier.Chemin(QStringLiteral("plan.edt"))) : QString())),
          fenetre(services)
    {
        fenetre.show();
    }
    bool Exposee() { return QTest::qWaitForWindowExposed(&fenetre); }
    DossierDeTravail dossier;
    QString plan;
    ServicesScriptes services;
    TFenetre_Principale fenetre;
};

// Docked right of a picture area that fits the picture and its white pixel, or the panel's height.
inline bool PanneauAncre(TFenetre_Principale& fenetre)
{
    QDockWidget* dock = fenetre.DockPanneau();
    const QWidget* zone = fenetre.findChild<QWidget*>(QStringLiteral("Defilement"));
    const QSize image = fenetre.Image().size() + QSize(1, 1);
    return !dock->isFloating() && fenetre.dockWidgetArea(dock) == Qt::RightDockWidgetArea &&
           fenetre.rect().contains(dock->geometry()) &&
           dock->geometry().left() >= zone->geometry().right() && zone->width() == image.width() &&
           zone->height() == qMax(image.height(), dock->height());
}

// Runs `action` on the next modal dialog of type T once it is up; a dialog
// the action leaves open is closed without its checks, so a failed test
// never hangs.
template <typename T> void AuProchain(std::function<void(T*)> action, int essais = 200)
{
    QTimer::singleShot(10, [action, essais] {
        auto* d = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!d) {
            if (essais > 0) AuProchain<T>(action, essais - 1);
            return;
        }
        action(d);
        if (d->isVisible()) d->QDialog::done(QDialog::Rejected);
    });
}

} // namespace outils_ui

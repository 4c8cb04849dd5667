// La fenêtre « Vues d'établissement » : valeurs triées, nombres de séquences et de conflits,
// erreurs, fichiers retrouvés d'une fois sur l'autre, vue ouverte jamais enregistrée.
#include "etablissement.h"
#include "outils_ui.h"

#include <QLabel>
#include <QTableWidget>
#include <QtTest>

using namespace horaku::test;
using namespace outils_ui;

class TestUiVues : public QObject
{
    Q_OBJECT

private slots:
    void valeursEtVueOuverte()
    {
        DossierDeTravail dossier;
        REdt a, b;
        Ajouter(a, 0, 0, Seq(H(8), H(8, 55), {"6e A", "", "Salle 12", ""}));
        Ajouter(b, 0, 0, Seq(H(8, 30), H(9), {"5e B", "", "salle 12 ", ""}));
        Ajouter(b, 1, 0, Seq(H(8), H(9), {"5e B", "", "Gymnase", ""}));
        const QStringList fichiers = {Ecrire(a, dossier.Chemin("a.edt")),
                                      Ecrire(b, dossier.Chemin("b.edt")),
                                      dossier.Chemin("absent.edt")};
        ServicesScriptes services;
        TFiche_Vues premiere(nullptr, services);
        premiere.FixerFichiers(fichiers);
        const auto* table = premiere.findChild<QTableWidget*>(QStringLiteral("TableValeurs"));
        QStringList cases;
        for (int i = 0; i < table->rowCount() * 3; ++i)
            cases << table->item(i / 3, i % 3)->text();
        QCOMPARE(cases, (QStringList{"Gymnase", "1", "0", "Salle 12", "2", "1"}));
        const QString erreurs = premiere.findChild<QLabel*>(QStringLiteral("LabelErreurs"))->text();
        QVERIFY(erreurs.startsWith(fichiers[2] + " : "));

        TFiche_Vues fiche(nullptr, services);
        QCOMPARE(fiche.Fichiers(), fichiers);
        fiche.findChild<QTableWidget*>(QStringLiteral("TableValeurs"))->selectRow(1);
        TFenetre_Principale fenetre(services);
        QVERIFY(fenetre.OuvrirNonEnregistre(fiche.VueChoisie()));
        QCOMPARE(fenetre.EdtCourant()->Titre, std::string("Salle 12"));
        QVERIFY(fenetre.EdtCourant()->Fichier.empty() && fenetre.EdtCourant()->EdtModifie);
    }
};

QTEST_MAIN(TestUiVues)
#include "tst_ui_vues.moc"

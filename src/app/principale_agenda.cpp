// The timetable into the user's calendar: the export dialog's choices are
// remembered per timetable file in the program's settings, the .ics file is
// written like every other save.
#include "principale.h"

#include "agenda.h"
#include "calendrier.h"
#include "classesedt.h"
#include "fichiers.h"
#include "reglages.h"
#include "services.h"

#include <QFileInfo>
#include <QSettings>

using namespace horaku;

namespace
{

QString Evenements(std::size_t n)
{
    // French keeps 0 and 1 in the singular.
    return n < 2 ? QStringLiteral("%1 événement écrit").arg(n)
                 : QStringLiteral("%1 événements écrits").arg(n);
}

} // namespace

void TFenetre_Principale::MenuExporterAgendaClick()
{
    if (!edt_) return;
    const QString fichier = QString::fromStdString(edt_->Fichier);
    QFileInfo info(fichier);
    // The same file opened from another folder keeps its choices and UIDs.
    const QString identite = fichier.isEmpty() ? QString()
                             : info.exists()   ? info.canonicalFilePath()
                                               : info.absoluteFilePath();
    QSettings reglages = Reglages();

    TFiche_Agenda fiche(this, *edt_, services_);
    fiche.FixerOptions(LireChoixAgenda(reglages, identite, fiche.Options()));
    if (fiche.exec() != QDialog::Accepted) return;
    OptionsAgenda options = fiche.Options();
    EcrireChoixAgenda(reglages, identite, options);

    Selecteur selecteur;
    selecteur.sorte = Selecteur::EnregistrerAgenda;
    selecteur.titre = QStringLiteral("Exporter vers un agenda");
    selecteur.filtres = QStringLiteral("Agenda iCalendar (*.ics)");
    selecteur.suffixe = QStringLiteral("ics");
    selecteur.nom = fichier.isEmpty() ? QStringLiteral("emploi du temps.ics")
                                      : info.absolutePath() + QLatin1Char('/') +
                                            info.completeBaseName() + QStringLiteral(".ics");
    selecteur.confirmerRemplacement = true;
    const std::optional<QString> choisi = services_.Choisir(this, selecteur);
    if (!choisi) return;
    QString chemin = *choisi;
    if (QFileInfo(chemin).suffix().isEmpty()) chemin += QStringLiteral(".ics");

    RefuserSortieSurEntree(edt_->Fichier, chemin.toStdString());
    options.fuseau = FuseauDeLaMachine();
    const Agenda agenda = ExporterAgenda(*edt_, options, chemin.toStdString());
    Question q;
    q.texte = QStringLiteral("%1 dans « %2 ».").arg(Evenements(agenda.evenements), chemin);
    if (agenda.fuseauInconnu)
        q.texte += QStringLiteral("\n\nFuseau horaire de l'ordinateur inconnu : les heures sont "
                                  "écrites en temps universel (UTC).");
    for (const SequenceEcartee& e : agenda.ecartees)
        q.texte += QLatin1Char('\n') + QString::fromStdString(TexteEcartee(*edt_, e));
    q.icone = QMessageBox::Information;
    services_.Demander(this, q);
}

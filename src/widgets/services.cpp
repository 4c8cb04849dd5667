#include "services.h"

#include "dessin.h"
#include "erreurs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QRegularExpression>

#include <new>
#include <stdexcept>
#include <utility>

namespace horaku
{

void Services::MontrerErreur(QWidget* parent, const QString& message)
{
    Demander(parent, {message, QMessageBox::Ok, QMessageBox::Critical});
}

void Services::MontrerException(QWidget* parent)
{
    MontrerErreur(parent, TexteException(std::current_exception()));
}

QString SuffixeDuFiltre(const QString& filtre)
{
    static const QRegularExpression motif(QStringLiteral("\\(\\*\\.([A-Za-z0-9]+)[ )]"));
    const QRegularExpressionMatch m = motif.match(filtre);
    return m.hasMatch() ? m.captured(1) : QString();
}

QString TexteException(std::exception_ptr exception)
{
    if (!exception) return {};
    try {
        std::rethrow_exception(exception);
    } catch (const std::bad_alloc&) {
        return QStringLiteral("Mémoire insuffisante");
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return {};
    }
}

QMessageBox::StandardButton ServicesQt::Demander(QWidget* parent, const Question& question)
{
    // A name or a line from a file may carry control characters: shown, not obeyed.
    const QString texte =
        QString::fromStdString(ControlesVisibles(question.texte.toStdString(), true));
    QMessageBox boite(question.icone, question.titre, texte, question.boutons, parent);
    return static_cast<QMessageBox::StandardButton>(boite.exec());
}

std::optional<QString> ServicesQt::Choisir(QWidget* parent, const Selecteur& selecteur)
{
    QFileDialog dialogue(parent, selecteur.titre, selecteur.dossier, selecteur.filtres);
    // Qt's own dialog everywhere: its texts come from the French translation
    // and it applies the default suffix the same way on every desktop.
    dialogue.setOption(QFileDialog::DontUseNativeDialog);
    dialogue.setAcceptMode(selecteur.sorte == Selecteur::OuvrirEdt ? QFileDialog::AcceptOpen
                                                                   : QFileDialog::AcceptSave);
    // Opening asks only for an existing folder: a missing file is reported by
    // the reader, like any other file it cannot read.
    dialogue.setFileMode(QFileDialog::AnyFile);
    dialogue.setDefaultSuffix(selecteur.suffixe);
    // A name typed without extension takes the one of the filter the user
    // chose: "mon2" under "Image PNG (*.png)" is mon2.png, not a GIF.
    QObject::connect(&dialogue, &QFileDialog::filterSelected, &dialogue,
                     [&dialogue, &selecteur](const QString& filtre) {
                         const QString suffixe = SuffixeDuFiltre(filtre);
                         dialogue.setDefaultSuffix(suffixe.isEmpty() ? selecteur.suffixe : suffixe);
                     });
    dialogue.setOption(QFileDialog::DontConfirmOverwrite, !selecteur.confirmerRemplacement);
    if (!selecteur.nom.isEmpty()) dialogue.selectFile(selecteur.nom);
    if (dialogue.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList noms = dialogue.selectedFiles();
    if (noms.isEmpty() || noms.front().isEmpty()) return std::nullopt;
    return noms.front();
}

std::optional<std::int32_t> ServicesQt::ChoisirCouleur(QWidget* parent, std::int32_t initiale)
{
    QColorDialog dialogue(CouleurQt(initiale), parent);
    // Qt's own dialog, translated like the file choosers; it always shows
    // the custom colours and accepts any colour.
    dialogue.setOption(QColorDialog::DontUseNativeDialog);
    if (dialogue.exec() != QDialog::Accepted) return std::nullopt;
    return CouleurRef(dialogue.selectedColor());
}

ServicesQt::ServicesQt(ChoixPolice choixPolice) : choixPolice_(std::move(choixPolice)) {}

std::optional<RPolice> ServicesQt::ChoisirPolice(QWidget* parent, const RPolice& initiale)
{
    if (!choixPolice_) return std::nullopt;
    return choixPolice_(parent, initiale, *this);
}

} // namespace horaku

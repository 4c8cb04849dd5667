// Every question, warning and error box of the windows, and every file
// chooser, goes through one Services object handed to the windows when they
// are built.  The program uses ServicesQt (real boxes and choosers); the tests
// pass their own, which answers from a script and records what was asked.
#pragma once

#include "classesedt.h"

#include <QMessageBox>
#include <QString>

#include <cstdint>
#include <exception>
#include <functional>
#include <optional>

class QWidget;

namespace horaku
{

// A modal box: the caption is the product name unless told otherwise.
struct Question {
    QString texte;
    QMessageBox::StandardButtons boutons = QMessageBox::Ok;
    QMessageBox::Icon icone = QMessageBox::NoIcon;
    QString titre = QStringLiteral("Horaku");
};

// A file chooser.  The can-close checks are not the chooser's business: the
// window runs them on the returned name and asks again on the same name when
// they refuse it.
struct Selecteur {
    enum Sorte { OuvrirEdt, EnregistrerEdt, EnregistrerImage, EnregistrerAgenda };
    Sorte sorte = OuvrirEdt;
    QString titre;   // empty: the toolkit's own caption
    QString filtres; // "Description (*.x);;Autre (*.y)"
    QString suffixe; // added to a name typed without extension
    QString dossier; // initial folder
    QString nom;     // proposed name, possibly a full path
    bool confirmerRemplacement = false;
};

class Services
{
public:
    virtual ~Services() = default;
    // The button chosen; closing the box counts as its escape button.
    virtual QMessageBox::StandardButton Demander(QWidget* parent, const Question& question) = 0;
    // The chosen name, or nothing when the user cancelled.
    virtual std::optional<QString> Choisir(QWidget* parent, const Selecteur& selecteur) = 0;
    // Colour and font choosers: the chosen value (a colour in the
    // timetable's red-in-the-low-byte form), or nothing when cancelled.
    virtual std::optional<std::int32_t> ChoisirCouleur(QWidget* parent, std::int32_t initiale) = 0;
    virtual std::optional<RPolice> ChoisirPolice(QWidget* parent, const RPolice& initiale) = 0;

    // The application's standard error box.
    void MontrerErreur(QWidget* parent, const QString& message);
    // Shows the exception being handled (call from a catch block).
    void MontrerException(QWidget* parent);
};

// The real boxes and choosers.  The font chooser is one of the program's own
// dialogs, which live above this layer: the program hands it in.
class ServicesQt final : public Services
{
public:
    using ChoixPolice = std::function<std::optional<RPolice>(QWidget*, const RPolice&, Services&)>;
    explicit ServicesQt(ChoixPolice choixPolice = {});

    QMessageBox::StandardButton Demander(QWidget* parent, const Question& question) override;
    std::optional<QString> Choisir(QWidget* parent, const Selecteur& selecteur) override;
    std::optional<std::int32_t> ChoisirCouleur(QWidget* parent, std::int32_t initiale) override;
    std::optional<RPolice> ChoisirPolice(QWidget* parent, const RPolice& initiale) override;

private:
    ChoixPolice choixPolice_;
};

// The first extension a chooser's filter names ("png" for "Image PNG (*.png)");
// empty when it names none.
QString SuffixeDuFiltre(const QString& filtre);

// The French text of the exception being handled; empty for one that carries
// no message.
QString TexteException(std::exception_ptr exception);

} // namespace horaku

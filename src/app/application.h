// The program's start and its general error handler.  LancerHoraku runs the
// whole life of the program (main() only calls it); Application catches what
// an event handler lets escape, shows it in the French error box and lets the
// event loop go on.
#pragma once

#include <QApplication>
#include <QStringList>

#include <functional>

class TFenetre_Principale;

namespace horaku
{

class Services;

class Application final : public QApplication
{
    Q_OBJECT

public:
    Application(int& argc, char** argv);

    // Where the error box goes; nothing is shown while none is set.
    void DefinirServices(Services* services);
    bool notify(QObject* destinataire, QEvent* evenement) override;

private:
    Services* services_ = nullptr;
};

// Loads Qt's own French texts (standard buttons, file and printer dialogs)
// and the few printer dialog texts its catalogue lacks.
void ChargerTraductions(QCoreApplication& application);
// Before the application object exists: the dates, sizes and units Qt writes
// from the session's locale (file choosers) come out French.
void PreparerLocaleFrancaise();
// Once the application object exists: the C library's numbers stay neutral.
void GarderNombresC();

// What the command line asks for.  Qt's own options (-platform, -style…) are
// let through for QApplication, with their value.
struct LigneDeCommande {
    enum class Action { Lancer, Aide, Version, Erreur };
    Action action = Action::Lancer;
    QString fichier; // the timetable to open instead of the default one, as typed
    QString texte;   // Aide, Version: for the standard output; Erreur: the line for stderr
};
// `arguments` without the program's name.
LigneDeCommande AnalyserLigneDeCommande(const QStringList& arguments);

// The whole run: command line, application, help viewer, main window, event
// loop.  `avantBoucle` is called with the window just before the loop starts
// (the start-up benchmark hooks its timer there).  Answers the exit code: 0,
// 1 without a display, 2 for a command line it refuses.
int LancerHoraku(int& argc, char** argv,
                 const std::function<void(TFenetre_Principale&)>& avantBoucle = {});

// A French line for a machine without any display; empty when one is there
// or when a platform is named explicitly.
QString AbsenceAffichage();

} // namespace horaku

// The program's start and its general error handler.  LancerHoraku runs the
// whole life of the program (main() only calls it); Application catches what
// an event handler lets escape, shows it in the French error box and lets the
// event loop go on.
#pragma once

#include <QApplication>

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

// The whole run: application, help viewer, main window, event loop.
// `avantBoucle` is called with the window just before the loop starts (the
// start-up benchmark hooks its timer there).  Answers the exit code.
int LancerHoraku(int& argc, char** argv,
                 const std::function<void(TFenetre_Principale&)>& avantBoucle = {});

// A French line for a machine without any display; empty when one is there
// or when a platform is named explicitly.
QString AbsenceAffichage();

} // namespace horaku

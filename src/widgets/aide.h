// The help viewer: one entry point taking the command numbers of the compiled
// HTML help interface.  The viewer is a help window of our own that shows the
// pages compiled into the program (resources under ":/aide/").  The program
// initialises it at start, ends it at exit, opens it from the menu and from
// the "Aide" buttons of the two editing dialogs, and closes it on "Quitter".
#pragma once

#include <QString>
#include <QtGlobal>

class QWidget;

namespace horaku
{

enum class CommandeAide {
    AfficherSommaire = 1, // opens the window at "Horaku.chm" or "Horaku.chm::/Page.html"
    FermerTout = 18,      // closes every help window
    Initialiser = 28,     // stores a cookie at the address given as data
    Terminer = 29,        // releases everything; the data is the cookie
};

// `proprietaire` is accepted for the interface's sake and never becomes the
// help window's parent: the window belongs to no other window, is not modal
// and outlives the dialog that asked for it.  An unknown file or topic shows
// nothing and reports nothing.  AfficherSommaire answers a non-zero handle of
// the help window when a page is shown, 0 otherwise; the other commands
// answer 0.
quintptr HtmlHelp(QWidget* proprietaire, const QString& fichier, CommandeAide commande,
                  quintptr donnee);

} // namespace horaku

// Opening a file named by the command line rather than chosen in the chooser.
#include "principale.h"

void TFenetre_Principale::OuvrirFichier(const QString& chemin)
{
    if (!FermerEmploiDuTemps()) return;
    dernierOuvert_ = chemin;
    if (OpenDialogEdtCanClose(chemin)) edt_ = ChargerEdt(chemin);
    ActualiserFenetre();
    Redessiner();
    PlacerPanneau();
}

// The display-options panel: a small tool window standing against the main
// window's right edge while a timetable is open.  Each control edits one
// display option of the current timetable, marks it modified and redraws at
// once; the panel keeps no data of its own.  It reaches the timetable, the
// redraw and its own placement through HotePanneau (the main window).
#pragma once

#include "dessin.h"

#include <QPoint>
#include <QRect>
#include <QWidget>

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTimeEdit;

namespace horaku
{

class Services;

class HotePanneau
{
public:
    virtual REdt* EdtCourant() = 0;
    virtual ResultatDessin::Etat Redessiner() = 0;
    virtual void PlacerPanneau() = 0;

protected:
    ~HotePanneau() = default;
};

// Top-left corner of the panel's frame (of size `panneau`) for a main window
// whose frame is `cadre`: against its right edge, top to top.  The panel stays
// on the screen's available area `ecran`: with no room at the right it stands
// inside the screen's right edge, over the main window.  An empty `ecran`
// (no screen known) bounds nothing.
QPoint PlacePanneau(const QRect& cadre, QSize panneau, const QRect& ecran);

// Client area of the panel window.
inline constexpr QSize kTaillePanneau{110, 185};
inline constexpr int kMargeMax = 10;

} // namespace horaku

class TFiche_Panneau final : public QWidget
{
    Q_OBJECT

public:
    TFiche_Panneau(horaku::HotePanneau& hote, horaku::Services& services, QWidget* proprietaire);

    // Shows the timetable's options in the controls without running their
    // handlers.  A margin outside 0…10 is brought into that range, as the
    // spinner shows it.
    void Remplir(horaku::REdt& edt);

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override;
    // The user cannot close the panel: a close request (its title bar, the
    // window manager's close key) is ignored and the panel stays shown.
    void closeEvent(QCloseEvent* evenement) override;
    // The window manager frames the panel some time after it is shown; until
    // then its position counts its title bar in, so the main window places it
    // again once the frame is there.
    void showEvent(QShowEvent* evenement) override;
    void moveEvent(QMoveEvent* evenement) override;

private:
    void CreerLargeur();
    void CreerCases();
    void CreerHeureJours();
    void CreerMarge();
    void OrdonnerTabulation();

    void EHeureLargExit();
    void DTPHeureAffichJoursExit();
    void CBAffichContourEdtClick(bool coche);
    void CBAffichNomClick(bool coche);
    void CBAffichHeuresClick(bool coche);
    void CBAffichJoursClick(bool coche);
    void EMargeChange(int valeur);
    // Sets one flag of the current timetable and marks it modified.
    void ChangerCase(bool horaku::REdt::*champ, bool coche);
    // Every control's change goes through here: `changer` edits the current
    // timetable, the picture is redrawn and the panel placed again; when the
    // redraw refuses the picture, the options and the modified flag come back
    // as they were and the controls show them.
    void ChangerOption(const std::function<void(horaku::REdt&)>& changer);
    template <typename Fonction> void Protege(Fonction&& fonction);

    horaku::HotePanneau& hote_;
    bool sansCadre_ = true; // shown, and not yet framed by the window manager
    horaku::Services& services_;

    QWidget* Panneau = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* EHeureLarg = nullptr;
    QCheckBox* CBAffichContourEdt = nullptr;
    QCheckBox* CBAffichNom = nullptr;
    QCheckBox* CBAffichHeures = nullptr;
    QCheckBox* CBAffichJours = nullptr;
    QTimeEdit* DTPHeureAffichJours = nullptr;
    QLabel* Label3 = nullptr;
    QSpinBox* UDMarge = nullptr;
};

// The display-options panel: docked in the main window (on the right unless
// the user puts it elsewhere or floats it) while a timetable is open.  Each
// control edits one display option of the current timetable, marks it
// modified and redraws at once; the panel keeps no data of its own.  It
// reaches the timetable, the redraw and its own placement through HotePanneau
// (the main window).
#pragma once

#include "dessin.h"

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

// Size of the panel's controls.
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

// "Vues d'établissement": the timetables of a school chosen one by one
// (remembered between runs), a data group and a template, the list of the
// values with their numbers of sequences and clashes, the chosen view's
// picture with its clash marks; it exports every view, or closes with one view
// for the main window to open as a new timetable never saved.
#pragma once

#include "vues.h"

#include <QDialog>

#include <memory>
#include <vector>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace horaku
{
class Services;
}

class TFiche_Vues final : public QDialog
{
    Q_OBJECT

public:
    // The result of exec() when the user asks to open the chosen view.
    static constexpr int kOuvrir = 2;

    TFiche_Vues(QWidget* proprietaire, horaku::Services& services);

    void FixerFichiers(const QStringList& fichiers);
    QStringList Fichiers() const;
    const std::vector<horaku::Vue>& Vues() const { return vues_; }
    // The chosen view, copied out as a timetable never saved.
    std::unique_ptr<horaku::REdt> VueChoisie() const;

    void BtnAjouterClick();
    void BtnRetirerClick();
    void BtnExporterClick();

private:
    void CreerFichiers();
    void CreerChoix();
    void CreerValeurs();
    void CreerBoutons();
    // Reads the files again and rebuilds the views and the list.
    void Calculer();
    void MontrerVue();
    void Retenir() const;

    horaku::Services& services_;
    horaku::Etablissement etablissement_;
    std::vector<horaku::Vue> vues_;
    QListWidget* ListeFichiers = nullptr;
    QLabel* LabelErreurs = nullptr;
    QComboBox* ComboGroupe = nullptr;
    QComboBox* ComboGabarit = nullptr;
    QComboBox* ComboFormat = nullptr;
    QTableWidget* TableValeurs = nullptr;
    QLabel* ImageVue = nullptr;
    QPushButton* BtnOuvrir = nullptr;
    QPushButton* BtnExporter = nullptr;
};

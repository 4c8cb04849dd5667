// The calendar export dialog: the school period, the week type of its first
// week, the holiday periods and whether holiday weeks count in the rotation.
// It edits plain OptionsAgenda values; the main window remembers them per
// timetable file in the program's settings (never in the .edt file), asks for
// the .ics name and writes the calendar.
#pragma once

#include "calendrier.h"

#include <QDate>
#include <QDialog>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QListWidget;
class QPushButton;
class QSettings;

namespace horaku
{
class REdt;
class Services;

// The choices last made for the timetable file `fichierEdt` (empty for a
// timetable never saved), or `defaut` where nothing valid is kept.
OptionsAgenda LireChoixAgenda(QSettings& reglages, const QString& fichierEdt,
                              const OptionsAgenda& defaut);
void EcrireChoixAgenda(QSettings& reglages, const QString& fichierEdt, const OptionsAgenda& choix);
// From today to the 5th of July that ends the school year, first week type 1.
OptionsAgenda ChoixParDefaut(const QDate& aujourdhui);

QDate VersQDate(const Date& d);
Date DeQDate(const QDate& d);
} // namespace horaku

class TFiche_Agenda final : public QDialog
{
    Q_OBJECT

public:
    TFiche_Agenda(QWidget* proprietaire, const horaku::REdt& edt, horaku::Services& services);

    void FixerOptions(const horaku::OptionsAgenda& options);
    // The dates, the first week type and the holidays as shown.
    horaku::OptionsAgenda Options() const;

    // OK closes only on a valid period.
    void done(int resultat) override;

    // The holiday list's text for one period.
    static QString TextePeriode(const horaku::PeriodeVacances& p);

private:
    void CreerPeriode();
    void CreerVacances();
    void CreerBoutons();

    void BtnAjouterVacancesClick();
    void BtnSupprimerVacancesClick();
    void Avertir(const QString& texte, QWidget* champ);

    const horaku::REdt& edt_;
    horaku::Services& services_;
    std::vector<horaku::PeriodeVacances> vacances_;

    QDateEdit* DTPDu = nullptr;
    QDateEdit* DTPAu = nullptr;
    QComboBox* CBPremiereSemaine = nullptr;
    QListWidget* LBVacances = nullptr;
    QDateEdit* DTPVacancesDebut = nullptr;
    QDateEdit* DTPVacancesFin = nullptr;
    QPushButton* BtnAjouterVacances = nullptr;
    QPushButton* BtnSupprimerVacances = nullptr;
    QCheckBox* CBVacancesComptent = nullptr;
};

#include "agenda.h"

#include "classesedt.h"
#include "saisie.h"
#include "saisieauclic.h"
#include "services.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

#include <algorithm>

using namespace horaku;

namespace horaku
{

QDate VersQDate(const Date& d)
{
    return QDate(d.annee, d.mois, d.jour);
}

Date DeQDate(const QDate& d)
{
    return Date{d.year(), d.month(), d.day()};
}

OptionsAgenda ChoixParDefaut(const QDate& aujourdhui)
{
    OptionsAgenda o;
    o.du = DeQDate(aujourdhui);
    QDate fin(aujourdhui.year(), 7, 5);
    if (fin < aujourdhui) fin = fin.addYears(1);
    o.au = DeQDate(fin);
    return o;
}

namespace
{

// One group per timetable file; the path is hashed because settings keys may
// not hold every character a path can.
QString Groupe(const QString& fichierEdt)
{
    const QByteArray empreinte =
        QCryptographicHash::hash(fichierEdt.toUtf8(), QCryptographicHash::Sha1).toHex();
    return QStringLiteral("Agenda/") + QString::fromLatin1(empreinte);
}

std::optional<Date> DateReglage(const QVariant& v)
{
    return LireDate(v.toString().toStdString());
}

} // namespace

OptionsAgenda LireChoixAgenda(QSettings& reglages, const QString& fichierEdt,
                              const OptionsAgenda& defaut)
{
    OptionsAgenda o = defaut;
    reglages.beginGroup(Groupe(fichierEdt));
    const std::optional<Date> du = DateReglage(reglages.value(QStringLiteral("du")));
    const std::optional<Date> au = DateReglage(reglages.value(QStringLiteral("au")));
    // A hand-edited or damaged entry falls back to the defaults, never to an
    // impossible period.
    if (du && au && JourSerie(*au) >= JourSerie(*du)) {
        o.du = *du;
        o.au = *au;
    }
    bool ok = false;
    const int premiere = reglages.value(QStringLiteral("premiereSemaine")).toInt(&ok);
    if (ok && premiere >= 1) o.premiereSemaine = premiere;
    if (reglages.contains(QStringLiteral("vacances"))) {
        o.vacances.clear();
        for (const QString& p : reglages.value(QStringLiteral("vacances")).toStringList())
            if (const std::optional<PeriodeVacances> v = LirePeriode(p.toStdString()))
                o.vacances.push_back(*v);
    }
    o.vacancesComptent =
        reglages.value(QStringLiteral("vacancesComptent"), defaut.vacancesComptent).toBool();
    reglages.endGroup();
    return o;
}

void EcrireChoixAgenda(QSettings& reglages, const QString& fichierEdt, const OptionsAgenda& choix)
{
    reglages.beginGroup(Groupe(fichierEdt));
    reglages.setValue(QStringLiteral("fichier"), fichierEdt);
    reglages.setValue(QStringLiteral("du"), QString::fromStdString(TexteDate(choix.du)));
    reglages.setValue(QStringLiteral("au"), QString::fromStdString(TexteDate(choix.au)));
    reglages.setValue(QStringLiteral("premiereSemaine"), choix.premiereSemaine);
    QStringList vacances;
    for (const PeriodeVacances& p : choix.vacances)
        vacances << QString::fromStdString(TexteDate(p.debut) + ":" + TexteDate(p.fin));
    reglages.setValue(QStringLiteral("vacances"), vacances);
    reglages.setValue(QStringLiteral("vacancesComptent"), choix.vacancesComptent);
    reglages.endGroup();
    reglages.sync();
}

} // namespace horaku

namespace
{

QDateEdit* ChampDate(QWidget* parent, const char* nom)
{
    auto* champ = new QDateEdit(parent);
    champ->setObjectName(QString::fromLatin1(nom));
    champ->setCalendarPopup(true);
    champ->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    // Only the dates a calendar can receive.
    champ->setMinimumDate(VersQDate(kPremiereDateAgenda));
    champ->setMaximumDate(VersQDate(kDerniereDateAgenda));
    SaisieAuClic(champ);
    return champ;
}

} // namespace

TFiche_Agenda::TFiche_Agenda(QWidget* proprietaire, const REdt& edt, Services& services)
    : QDialog(proprietaire), edt_(edt), services_(services)
{
    setObjectName(QStringLiteral("Fiche_Agenda"));
    setWindowTitle(QStringLiteral("Exporter vers un agenda"));
    auto* colonne = new QVBoxLayout(this);
    Q_UNUSED(colonne);
    CreerPeriode();
    CreerVacances();
    CreerBoutons();
    FixerOptions(ChoixParDefaut(QDate::currentDate()));
}

void TFiche_Agenda::CreerPeriode()
{
    auto* boite = new QGroupBox(QStringLiteral("Période scolaire"), this);
    auto* grille = new QFormLayout(boite);
    DTPDu = ChampDate(boite, "DTPDu");
    DTPAu = ChampDate(boite, "DTPAu");
    CBPremiereSemaine = new QComboBox(boite);
    CBPremiereSemaine->setObjectName(QStringLiteral("CBPremiereSemaine"));
    for (const RSemaine& s : edt_.Semaines)
        CBPremiereSemaine->addItem(Texte1252(s.Nom));
    grille->addRow(QStringLiteral("Premier jour :"), DTPDu);
    grille->addRow(QStringLiteral("Dernier jour :"), DTPAu);
    grille->addRow(QStringLiteral("Type de la première semaine :"), CBPremiereSemaine);
    layout()->addWidget(boite);
}

void TFiche_Agenda::CreerVacances()
{
    auto* boite = new QGroupBox(QStringLiteral("Vacances (aucune séquence ces jours-là)"), this);
    auto* colonne = new QVBoxLayout(boite);
    LBVacances = new QListWidget(boite);
    LBVacances->setObjectName(QStringLiteral("LBVacances"));
    LBVacances->setMinimumHeight(90);
    colonne->addWidget(LBVacances);

    auto* ligne = new QHBoxLayout;
    DTPVacancesDebut = ChampDate(boite, "DTPVacancesDebut");
    DTPVacancesFin = ChampDate(boite, "DTPVacancesFin");
    ligne->addWidget(new QLabel(QStringLiteral("Du"), boite));
    ligne->addWidget(DTPVacancesDebut);
    ligne->addWidget(new QLabel(QStringLiteral("au"), boite));
    ligne->addWidget(DTPVacancesFin);
    colonne->addLayout(ligne);

    auto* boutons = new QHBoxLayout;
    BtnAjouterVacances = new QPushButton(QStringLiteral("Ajouter"), boite);
    BtnAjouterVacances->setObjectName(QStringLiteral("BtnAjouterVacances"));
    BtnSupprimerVacances = new QPushButton(QStringLiteral("Supprimer"), boite);
    BtnSupprimerVacances->setObjectName(QStringLiteral("BtnSupprimerVacances"));
    boutons->addWidget(BtnAjouterVacances);
    boutons->addWidget(BtnSupprimerVacances);
    boutons->addStretch();
    colonne->addLayout(boutons);

    CBVacancesComptent = new QCheckBox(
        QStringLiteral("Les semaines de vacances comptent dans l'alternance des semaines"), boite);
    CBVacancesComptent->setObjectName(QStringLiteral("CBVacancesComptent"));
    colonne->addWidget(CBVacancesComptent);
    layout()->addWidget(boite);

    // The holiday pickers stay inside the period: a new first or last day
    // takes with it those that fell outside, so that their calendars open at
    // the right month.
    const auto suivre = [this] {
        for (QDateEdit* champ : {DTPVacancesDebut, DTPVacancesFin})
            if (champ->date() < DTPDu->date() || champ->date() > DTPAu->date())
                champ->setDate(DTPDu->date());
    };
    connect(DTPDu, &QDateEdit::dateChanged, this, suivre);
    connect(DTPAu, &QDateEdit::dateChanged, this, suivre);
    connect(BtnAjouterVacances, &QPushButton::clicked, this,
            &TFiche_Agenda::BtnAjouterVacancesClick);
    connect(BtnSupprimerVacances, &QPushButton::clicked, this,
            &TFiche_Agenda::BtnSupprimerVacancesClick);
    connect(LBVacances, &QListWidget::currentRowChanged, this,
            [this](int ligne) { BtnSupprimerVacances->setEnabled(ligne >= 0); });
}

void TFiche_Agenda::CreerBoutons()
{
    auto* boutons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    boutons->setObjectName(QStringLiteral("BBBoutons"));
    boutons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    boutons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annuler"));
    connect(boutons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(boutons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout()->addWidget(boutons);
}

QString TFiche_Agenda::TextePeriode(const PeriodeVacances& p)
{
    const QString format = QStringLiteral("dd/MM/yyyy");
    return QStringLiteral("du %1 au %2")
        .arg(VersQDate(p.debut).toString(format), VersQDate(p.fin).toString(format));
}

void TFiche_Agenda::FixerOptions(const OptionsAgenda& o)
{
    DTPDu->setDate(VersQDate(o.du));
    DTPAu->setDate(VersQDate(o.au));
    const int n = CBPremiereSemaine->count();
    CBPremiereSemaine->setCurrentIndex(
        o.premiereSemaine >= 1 && o.premiereSemaine <= n ? o.premiereSemaine - 1 : 0);
    vacances_ = o.vacances;
    LBVacances->clear();
    for (const PeriodeVacances& p : vacances_)
        LBVacances->addItem(TextePeriode(p));
    BtnSupprimerVacances->setEnabled(false);
    CBVacancesComptent->setChecked(o.vacancesComptent);
    DTPVacancesDebut->setDate(VersQDate(o.du));
    DTPVacancesFin->setDate(VersQDate(o.du));
}

OptionsAgenda TFiche_Agenda::Options() const
{
    OptionsAgenda o;
    o.du = DeQDate(DTPDu->date());
    o.au = DeQDate(DTPAu->date());
    o.premiereSemaine = CBPremiereSemaine->currentIndex() + 1;
    o.vacances = vacances_;
    o.vacancesComptent = CBVacancesComptent->isChecked();
    return o;
}

void TFiche_Agenda::Avertir(const QString& texte, QWidget* champ)
{
    Question q;
    q.texte = texte;
    q.icone = QMessageBox::Warning;
    services_.Demander(this, q);
    champ->setFocus();
}

void TFiche_Agenda::BtnAjouterVacancesClick()
{
    const QDate debut = DTPVacancesDebut->date(), fin = DTPVacancesFin->date();
    if (fin < debut) {
        Avertir(QStringLiteral("La fin des vacances précède leur début."), DTPVacancesFin);
        return;
    }
    const PeriodeVacances p{DeQDate(debut), DeQDate(fin)};
    // Kept in date order, so that the list reads like a school calendar.
    const auto place =
        std::find_if(vacances_.begin(), vacances_.end(), [&](const PeriodeVacances& v) {
            return JourSerie(v.debut) > JourSerie(p.debut);
        });
    const int ligne = int(place - vacances_.begin());
    vacances_.insert(place, p);
    LBVacances->insertItem(ligne, TextePeriode(p));
    LBVacances->setCurrentRow(ligne);
}

void TFiche_Agenda::BtnSupprimerVacancesClick()
{
    const int ligne = LBVacances->currentRow();
    if (ligne < 0 || ligne >= int(vacances_.size())) return;
    vacances_.erase(vacances_.begin() + ligne);
    delete LBVacances->takeItem(ligne);
    BtnSupprimerVacances->setEnabled(LBVacances->currentRow() >= 0);
}

void TFiche_Agenda::done(int resultat)
{
    if (resultat == QDialog::Accepted && DTPAu->date() < DTPDu->date()) {
        Avertir(QStringLiteral("Le dernier jour précède le premier jour."), DTPAu);
        return;
    }
    // A period longer than a calendar holds is told here, before a file name
    // is asked for.
    const std::string refus = resultat == QDialog::Accepted ? VerifierOptions(edt_, Options()) : "";
    if (!refus.empty()) {
        Avertir(QString::fromStdString(refus), DTPAu);
        return;
    }
    QDialog::done(resultat);
}

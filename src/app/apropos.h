// The About box: version, the maker's web site and six picture links to
// humanitarian organisations.  The main window shows it modally; it changes
// nothing in the timetable or the configuration.
#pragma once

#include <QDialog>
#include <QString>
#include <QUrl>

#include <functional>

namespace horaku
{

class TFiche_APropos final : public QDialog
{
    Q_OBJECT

public:
    explicit TFiche_APropos(QWidget* proprietaire);

    // Asks the desktop to open a web address; its result is not looked at.
    // Tests put their own function here to see which address a click opens.
    static std::function<void(const QUrl&)> OuvrirAdresse;

    // The maker's web site, as shown on SiteWebEditeur and opened by it.
    static QString AdresseEditeur();

private:
    void CreerEntete();
    void CreerBandeau();
    void CreerLiens();
    void CreerPied();

    void SiteWebEditeurClick();
    void OuvrirLien(const QUrl& adresse);
};

} // namespace horaku

// The password definition dialog.  A timetable's password is a plain text
// stored in its file; this dialog is the only place that shows or changes it,
// and nothing ever asks for it.  The caller hands over the text to edit; it is
// replaced only when the dialog closes with OK after a valid change.
#pragma once

#include <QDialog>

#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace horaku
{
class Services;

inline constexpr int kMotDePasseMin = 4;
inline constexpr int kMotDePasseMax = 10;
} // namespace horaku

class TFiche_DefinirMotDePasse final : public QDialog
{
    Q_OBJECT

public:
    // `cible` holds Windows-1252 bytes and must outlive the dialog.
    TFiche_DefinirMotDePasse(QWidget* proprietaire, std::string& cible, horaku::Services& services);

    bool Modifie() const { return modifie_; }

    // The single gate of every close: OK, Cancel, Escape and the close box.
    void done(int resultat) override;

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override;
    void showEvent(QShowEvent* evenement) override;

private:
    void CreerCase();
    void CreerChamps();
    void CreerBoutons();

    void ActiverSaisie();
    bool VerifierSaisie();
    void CBPassClick();
    void MEPassChange();
    void MEConfirmationExit();
    bool FormCloseQuery(int resultat);

    std::string& cible_;
    horaku::Services& services_;
    bool modifie_ = false;

    QCheckBox* CBPass = nullptr;
    QLabel* LMotdepasse = nullptr;
    QLineEdit* MEPass = nullptr;
    QLabel* LConfirmation = nullptr;
    QLineEdit* MEConfirmation = nullptr;
    QWidget* Panel1 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
};

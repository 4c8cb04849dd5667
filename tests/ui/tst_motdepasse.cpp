// The password definition dialog driven as a user drives it: the box, the two
// hidden fields, OK, Cancel, Escape and the close box, with the scripted
// message service answering.
#include "definirmotdepasse.h"
#include "outils_ui.h"
#include "saisie.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace horaku;
using namespace outils_ui;

namespace
{

const QString kDifferents = QStringLiteral(
    "Le mot de passe et sa confirmation ne sont pas identiques.\nVous devez recommencer la "
    "saisie.");
const QString kLongueur = QStringLiteral(
    "Le mot de passe doit contenir entre 4 et 10 caractères.\nVous devez recommencer la saisie.");
const QString kAnnuler = QStringLiteral("Vous avez modifié le mot de passe.\nEtes-vous certain de "
                                        "vouloir annuler cette modification ?");

struct Banc {
    ServicesScriptes services;
    std::string cible;
    std::unique_ptr<TFiche_DefinirMotDePasse> dialogue;

    explicit Banc(const std::string& motDePasse) : cible(motDePasse)
    {
        dialogue = std::make_unique<TFiche_DefinirMotDePasse>(nullptr, cible, services);
        dialogue->show();
        dialogue->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dialogue.get()));
    }
    template <typename T> T* Enfant(const char* nom)
    {
        return dialogue->findChild<T*>(QString::fromLatin1(nom));
    }
    QCheckBox* Case() { return Enfant<QCheckBox>("CBPass"); }
    QLineEdit* Pass() { return Enfant<QLineEdit>("MEPass"); }
    QLineEdit* Confirmation() { return Enfant<QLineEdit>("MEConfirmation"); }
    void Cocher()
    {
        Case()->setFocus();
        QTest::mouseClick(Case(), Qt::LeftButton);
    }
    // Typed by the keyboard into one field, without leaving it.
    static void Taper(QLineEdit* champ, const QString& texte)
    {
        champ->selectAll();
        QTest::keyClick(champ, Qt::Key_Backspace);
        TaperTexte(champ, texte);
    }
    void Ok() { QTest::mouseClick(Enfant<QPushButton>("BitBtn1"), Qt::LeftButton); }
    void Annuler() { QTest::mouseClick(Enfant<QPushButton>("BitBtn2"), Qt::LeftButton); }
};

// The colour actually painted behind a field's text, away from the text.
QColor Fond(QLineEdit* champ)
{
    const QImage image = champ->grab().toImage();
    return image.pixelColor(image.width() - 4, image.height() / 2);
}

} // namespace

class TestMotDePasse : public QObject
{
    Q_OBJECT

private slots:
    void etatInitial_data();
    void etatInitial();
    void valider_data();
    void valider();
    void confirmationQuitteeVerifie_data();
    void confirmationQuitteeVerifie();
    void annuler_data();
    void annuler();
    void decocherPuisOk();
    void okSansChangementNeVerifiePas();
    void placesEtTextes();
};

void TestMotDePasse::etatInitial_data()
{
    QTest::addColumn<QByteArray>("motDePasse");
    QTest::newRow("sans mot de passe") << QByteArray();
    QTest::newRow("avec mot de passe") << QByteArray("abcd");
    QTest::newRow("accentué") << QByteArray("\xE9t\xE9s");
}

void TestMotDePasse::etatInitial()
{
    QFETCH(QByteArray, motDePasse);
    Banc b(motDePasse.toStdString());
    const bool protege = !motDePasse.isEmpty();
    QCOMPARE(b.Case()->isChecked(), protege);
    QCOMPARE(QApplication::focusWidget(), b.Case());
    const QString attendu = Texte1252(motDePasse.toStdString());
    for (QLineEdit* champ : {b.Pass(), b.Confirmation()}) {
        QCOMPARE(champ->isEnabled(), protege);
        QCOMPARE(champ->text(), attendu);
        QCOMPARE(champ->echoMode(), QLineEdit::Password);
        QCOMPARE(champ->displayText(), QString(attendu.size(), u'*'));
        QVERIFY(champ->font().bold() || champ->styleSheet().contains(QLatin1String("bold")));
        const QColor fond =
            QApplication::palette().color(protege ? QPalette::Base : QPalette::Button);
        QCOMPARE(Fond(champ), fond);
    }
    QCOMPARE(b.Enfant<QLabel>("LMotdepasse")->isEnabled(), protege);
    QCOMPARE(b.Enfant<QLabel>("LConfirmation")->isEnabled(), protege);
    QVERIFY(!b.dialogue->Modifie());
}

void TestMotDePasse::valider_data()
{
    QTest::addColumn<QString>("pass");
    QTest::addColumn<QString>("confirmation");
    QTest::addColumn<QString>("message"); // empty: accepted

    QTest::newRow("4 caractères") << "abcd"
                                  << "abcd" << QString();
    QTest::newRow("10 caractères") << "abcdefghij"
                                   << "abcdefghij" << QString();
    QTest::newRow("3 caractères") << "abc"
                                  << "abc" << kLongueur;
    QTest::newRow("11 caractères") << "abcdefghijk"
                                   << "abcdefghijk" << kLongueur;
    QTest::newRow("confirmation différente") << "abcd"
                                             << "abce" << kDifferents;
    QTest::newRow("confirmation vide") << "abcd" << QString() << kDifferents;
    QTest::newRow("différence et longueur: la différence d'abord") << "ab"
                                                                   << "abc" << kDifferents;
    QTest::newRow("accents: un caractère chacun")
        << QStringLiteral("éàçè") << QStringLiteral("éàçè") << QString();
    QTest::newRow("blancs comptés") << "  ab"
                                    << "  ab" << QString();
}

void TestMotDePasse::valider()
{
    QFETCH(QString, pass);
    QFETCH(QString, confirmation);
    QFETCH(QString, message);
    const std::string ancien = "avant";
    Banc b(ancien);
    Banc::Taper(b.Pass(), pass);
    Banc::Taper(b.Confirmation(), confirmation);
    b.Ok();
    if (message.isEmpty()) {
        QVERIFY(b.services.questions.isEmpty());
        QVERIFY(!b.dialogue->isVisible());
        QCOMPARE(b.dialogue->result(), int(QDialog::Accepted));
        QCOMPARE(b.cible, Octets1252(pass));
        return;
    }
    QCOMPARE(b.services.Textes(), QStringList{message});
    const Question& q = b.services.questions.front();
    QVERIFY(q.titre.isEmpty());
    QCOMPARE(q.icone, QMessageBox::Critical);
    QCOMPARE(q.boutons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(b.dialogue->isVisible());
    QVERIFY(b.Pass()->text().isEmpty());
    QVERIFY(b.Confirmation()->text().isEmpty());
    QCOMPARE(QApplication::focusWidget(), b.Pass());
    QCOMPARE(b.cible, ancien);
}

void TestMotDePasse::confirmationQuitteeVerifie_data()
{
    QTest::addColumn<QString>("pass");
    QTest::addColumn<QString>("confirmation");
    QTest::addColumn<QString>("message");

    QTest::newRow("différents") << "abcd"
                                << "abcx" << kDifferents;
    QTest::newRow("trop court") << "ab"
                                << "ab" << kLongueur;
    QTest::newRow("corrects: rien") << "abcde"
                                    << "abcde" << QString();
}

void TestMotDePasse::confirmationQuitteeVerifie()
{
    QFETCH(QString, pass);
    QFETCH(QString, confirmation);
    QFETCH(QString, message);
    Banc b("");
    b.Cocher();
    Banc::Taper(b.Pass(), pass);
    b.Confirmation()->setFocus();
    Banc::Taper(b.Confirmation(), confirmation);
    // Tab leaves the confirmation field.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QVERIFY(QApplication::focusWidget() != b.Confirmation() || !message.isEmpty());
    if (message.isEmpty()) {
        QTest::qWait(20);
        QVERIFY(b.services.questions.isEmpty());
        QCOMPARE(b.Pass()->text(), pass);
        return;
    }
    QTRY_COMPARE(b.services.Textes(), QStringList{message});
    QVERIFY(b.Pass()->text().isEmpty());
    QVERIFY(b.Confirmation()->text().isEmpty());
    QCOMPARE(QApplication::focusWidget(), b.Pass());
    QVERIFY(b.dialogue->isVisible());
}

void TestMotDePasse::annuler_data()
{
    QTest::addColumn<bool>("changer");
    QTest::addColumn<QString>("moyen");
    QTest::addColumn<int>("reponse");
    QTest::addColumn<bool>("ferme");

    for (const char* moyen : {"bouton", "echap", "fermeture"}) {
        const QString m = QString::fromLatin1(moyen);
        QTest::addRow("%s sans changement", moyen) << false << m << 0 << true;
        QTest::addRow("%s après changement, Non", moyen)
            << true << m << int(QMessageBox::No) << false;
        QTest::addRow("%s après changement, Oui", moyen)
            << true << m << int(QMessageBox::Yes) << true;
    }
}

void TestMotDePasse::annuler()
{
    QFETCH(bool, changer);
    QFETCH(QString, moyen);
    QFETCH(int, reponse);
    QFETCH(bool, ferme);
    Banc b("abcd");
    if (changer) QTest::keyClick(b.Pass(), Qt::Key_X);
    if (reponse) b.services.reponses << QMessageBox::StandardButton(reponse);
    if (moyen == QLatin1String("bouton"))
        b.Annuler();
    else if (moyen == QLatin1String("echap"))
        QTest::keyClick(b.dialogue.get(), Qt::Key_Escape);
    else
        b.dialogue->close();
    if (changer) {
        QCOMPARE(b.services.Textes(), QStringList{kAnnuler});
        QVERIFY(b.services.questions.front().titre.isEmpty());
        QCOMPARE(b.services.questions.front().icone, QMessageBox::Warning);
    } else {
        QVERIFY(b.services.questions.isEmpty());
    }
    QCOMPARE(!b.dialogue->isVisible(), ferme);
    if (ferme) QCOMPARE(b.dialogue->result(), int(QDialog::Rejected));
    // Whatever happened, Cancel never replaces the password.
    QCOMPARE(b.cible, std::string("abcd"));
}

void TestMotDePasse::decocherPuisOk()
{
    Banc b("abcd");
    b.Cocher();
    QVERIFY(!b.Case()->isChecked());
    QVERIFY(b.Pass()->text().isEmpty());
    QVERIFY(b.Confirmation()->text().isEmpty());
    QVERIFY(!b.Pass()->isEnabled());
    QCOMPARE(Fond(b.Pass()), QApplication::palette().color(QPalette::Button));
    b.Ok();
    QVERIFY(!b.dialogue->isVisible());
    QCOMPARE(b.dialogue->result(), int(QDialog::Accepted));
    QVERIFY(b.cible.empty());
    QVERIFY(b.services.questions.isEmpty());
}

void TestMotDePasse::okSansChangementNeVerifiePas()
{
    // A password of a length the dialog would refuse came from the file: OK
    // without a change leaves it alone, without a message.
    Banc b("ab");
    // A change made by the program is not the user's.
    b.Confirmation()->setText(QStringLiteral("zz"));
    b.Ok();
    QVERIFY(b.services.questions.isEmpty());
    QVERIFY(!b.dialogue->isVisible());
    QCOMPARE(b.cible, std::string("ab"));
}

void TestMotDePasse::placesEtTextes()
{
    Banc b("");
    QCOMPARE(b.dialogue->windowTitle(), QStringLiteral("Définition d'un mot de passe"));
    QCOMPARE(b.dialogue->size(), QSize(273, 143));
    QCOMPARE(b.Case()->text(), QStringLiteral("Activer la protection de l'emploi du temps"));
    QCOMPARE(b.Pass()->geometry(), QRect(121, 36, 80, 21));
    QCOMPARE(b.Confirmation()->geometry(), QRect(121, 63, 80, 21));
    // Both buttons inside the bottom strip, whose texts fit.
    for (const char* nom : {"BitBtn1", "BitBtn2"}) {
        QPushButton* bouton = b.Enfant<QPushButton>(nom);
        QVERIFY(bouton->mapTo(b.dialogue.get(), QPoint(0, bouton->height())).y() <= 143);
        QVERIFY(bouton->sizeHint().width() <= bouton->width() + 8);
    }
    QVERIFY(b.Enfant<QPushButton>("BitBtn1")->isDefault());
    // Typing a line break or a character the file cannot hold does nothing.
    b.Cocher();
    TaperTexte(b.Pass(), QStringLiteral("a\u4E2Db"));
    QCOMPARE(b.Pass()->text(), QStringLiteral("ab"));
}

QTEST_MAIN(TestMotDePasse)
#include "tst_motdepasse.moc"

// The About box: every picture and its address open the same web address and
// leave the box open; OK closes it; the strips stack without gaps and every
// link can be reached and read.
#include "apropos.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <set>

using namespace horaku;

class TestAPropos final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void liens_data();
    void liens();
    void adressesDistinctes();
    void clicsQuiNOuvrentRien_data();
    void clicsQuiNOuvrentRien();
    void fermeture_data();
    void fermeture();
    void bandesEmpilees();
    void chaqueLienLisibleEtAtteignable();
    void adresseInjoignableSansMessage();

private:
    std::function<void(const QUrl&)> parDefaut_;
    QList<QUrl> ouvertes_;
};

void TestAPropos::initTestCase()
{
    parDefaut_ = TFiche_APropos::OuvrirAdresse;
    QVERIFY(parDefaut_);
}

void TestAPropos::init()
{
    ouvertes_.clear();
    TFiche_APropos::OuvrirAdresse = [this](const QUrl& adresse) { ouvertes_ << adresse; };
}

void TestAPropos::cleanupTestCase()
{
    TFiche_APropos::OuvrirAdresse = nullptr;
}

void TestAPropos::liens_data()
{
    QTest::addColumn<QString>("image");
    QTest::addColumn<QString>("texte");
    QTest::newRow("logo et bouton du site") << "ImageLogo"
                                            << "SiteWebEditeur";
    for (int k = 1; k <= 6; ++k)
        QTest::newRow(qPrintable(QStringLiteral("lien %1").arg(k)))
            << QStringLiteral("ImageLien%1").arg(k) << QStringLiteral("LabelLien%1").arg(k);
}

void TestAPropos::liens()
{
    QFETCH(QString, image);
    QFETCH(QString, texte);

    TFiche_APropos boite(nullptr);
    boite.show();
    QVERIFY(QTest::qWaitForWindowExposed(&boite));
    auto* controleImage = boite.findChild<QLabel*>(image);
    auto* controleTexte = boite.findChild<QWidget*>(texte);
    QVERIFY(controleImage && controleTexte);
    QVERIFY(!controleImage->pixmap().isNull());
    QCOMPARE(controleTexte->cursor().shape(), Qt::PointingHandCursor);
    if (texte != QLatin1String("SiteWebEditeur"))
        QCOMPARE(controleImage->cursor().shape(), Qt::PointingHandCursor);

    auto* defilement = boite.findChild<QScrollArea*>(QStringLiteral("ScrollBox"));
    defilement->ensureWidgetVisible(controleImage, 0, 0);
    QTest::mouseClick(controleImage, Qt::LeftButton);
    QCOMPARE(ouvertes_.size(), 1);
    defilement->ensureWidgetVisible(controleTexte, 0, 0);
    QTest::mouseClick(controleTexte, Qt::LeftButton);
    QCOMPARE(ouvertes_.size(), 2);
    QCOMPARE(ouvertes_.at(1), ouvertes_.at(0));
    QTest::mouseClick(controleImage, Qt::LeftButton);
    QCOMPARE(ouvertes_.size(), 3);
    QCOMPARE(ouvertes_.at(2), ouvertes_.at(0));
    QVERIFY(boite.isVisible());

    // The address opened is the one the text shows.
    const QUrl adresse = ouvertes_.at(0);
    QCOMPARE(adresse.scheme(), QStringLiteral("https"));
    const QString affichee = controleTexte->property("text").toString();
    QCOMPARE(adresse.host(), affichee);
}

void TestAPropos::adressesDistinctes()
{
    TFiche_APropos boite(nullptr);
    QTest::mouseClick(boite.findChild<QWidget*>(QStringLiteral("ImageLogo")), Qt::LeftButton);
    for (int k = 1; k <= 6; ++k)
        QTest::mouseClick(boite.findChild<QWidget*>(QStringLiteral("ImageLien%1").arg(k)),
                          Qt::LeftButton);
    const std::set<QUrl> differentes(ouvertes_.begin(), ouvertes_.end());
    QCOMPARE(ouvertes_.size(), 7);
    QCOMPARE(int(differentes.size()), 7);
    // The maker's site is the one the picture's credit line shows.
    QCOMPARE(ouvertes_.at(0).host(), TFiche_APropos::AdresseEditeur());
}

void TestAPropos::clicsQuiNOuvrentRien_data()
{
    QTest::addColumn<QString>("controle");
    QTest::addColumn<int>("geste");
    enum { BoutonDroit, RelacheAilleurs };
    for (const char* nom : {"ImageLogo", "ImageLien1", "LabelLien4"}) {
        QTest::newRow(qPrintable(QStringLiteral("%1, bouton droit").arg(QLatin1String(nom))))
            << QString::fromLatin1(nom) << int(BoutonDroit);
        QTest::newRow(qPrintable(QStringLiteral("%1, relâché ailleurs").arg(QLatin1String(nom))))
            << QString::fromLatin1(nom) << int(RelacheAilleurs);
    }
}

void TestAPropos::clicsQuiNOuvrentRien()
{
    QFETCH(QString, controle);
    QFETCH(int, geste);

    TFiche_APropos boite(nullptr);
    QWidget* cible = boite.findChild<QWidget*>(controle);
    QVERIFY(cible);
    if (geste == 0) {
        QTest::mouseClick(cible, Qt::RightButton);
    } else {
        // Pressed on the link, released beside it: the user changed their mind.
        QTest::mousePress(cible, Qt::LeftButton);
        QTest::mouseRelease(cible, Qt::LeftButton, Qt::NoModifier,
                            QPoint(cible->width() + 5, cible->height() / 2));
    }
    QVERIFY(ouvertes_.isEmpty());
}

void TestAPropos::fermeture_data()
{
    QTest::addColumn<int>("maniere");
    QTest::addColumn<int>("resultat");
    QTest::newRow("bouton OK") << 0 << int(QDialog::Accepted);
    QTest::newRow("touche Entrée après un lien") << 1 << int(QDialog::Accepted);
    QTest::newRow("touche Echap") << 2 << int(QDialog::Rejected);
}

void TestAPropos::fermeture()
{
    QFETCH(int, maniere);
    QFETCH(int, resultat);

    QWidget proprietaire;
    proprietaire.show();
    TFiche_APropos boite(&proprietaire);
    QSignalSpy fini(&boite, &QDialog::finished);
    boite.open();
    QVERIFY(QTest::qWaitForWindowExposed(&boite));
    QVERIFY(boite.isModal());

    switch (maniere) {
    case 0:
        QTest::mouseClick(boite.findChild<QPushButton*>(QStringLiteral("BBOK")), Qt::LeftButton);
        break;
    case 1:
        QTest::mouseClick(boite.findChild<QPushButton*>(QStringLiteral("SiteWebEditeur")),
                          Qt::LeftButton);
        QCOMPARE(ouvertes_.size(), 1);
        QTest::keyClick(&boite, Qt::Key_Return);
        break;
    default:
        QTest::keyClick(&boite, Qt::Key_Escape);
        break;
    }
    QCOMPARE(fini.size(), 1);
    QCOMPARE(boite.result(), resultat);
    QVERIFY(!boite.isVisible());
    QVERIFY(proprietaire.isVisible());
}

void TestAPropos::bandesEmpilees()
{
    TFiche_APropos boite(nullptr);
    QCOMPARE(boite.size(), QSize(542, 577));
    QCOMPARE(boite.minimumSize(), boite.maximumSize());

    // Strip, scroll box and button strip fill the lower part, edge to edge.
    const QRect bandeau = boite.findChild<QWidget*>(QStringLiteral("StaticText1"))->geometry();
    const QRect defilement = boite.findChild<QWidget*>(QStringLiteral("ScrollBox"))->geometry();
    const QRect pied = boite.findChild<QWidget*>(QStringLiteral("Panel1"))->geometry();
    QCOMPARE(bandeau.height(), 28);
    QCOMPARE(defilement.height(), 343);
    QCOMPARE(pied.height(), 58);
    QCOMPARE(pied.bottom(), boite.height() - 1);
    QCOMPARE(defilement.bottom() + 1, pied.top());
    QCOMPARE(bandeau.bottom() + 1, defilement.top());
    for (const QRect& bande : {bandeau, defilement, pied}) {
        QCOMPARE(bande.left(), 0);
        QCOMPARE(bande.width(), boite.width());
    }

    // Nothing of the upper part runs into the strip.
    for (const char* nom : {"ImageLogo", "Label1", "Label2", "SiteWebEditeur"}) {
        const QRect controle = boite.findChild<QWidget*>(QLatin1String(nom))->geometry();
        QVERIFY2(controle.bottom() < bandeau.top(), nom);
        QVERIFY2(controle.right() < boite.width(), nom);
    }
    // "Site Web : " ends before the address begins.
    auto* siteWeb = boite.findChild<QLabel*>(QStringLiteral("Label2"));
    auto* adresse = boite.findChild<QPushButton*>(QStringLiteral("SiteWebEditeur"));
    const int finEtiquette =
        siteWeb->x() + siteWeb->fontMetrics().horizontalAdvance(siteWeb->text().trimmed());
    const int largeurAdresse = adresse->fontMetrics().horizontalAdvance(adresse->text());
    const int debutAdresse = adresse->x() + (adresse->width() - largeurAdresse) / 2;
    QVERIFY(finEtiquette < debutAdresse);
}

void TestAPropos::chaqueLienLisibleEtAtteignable()
{
    TFiche_APropos boite(nullptr);
    boite.show();
    QVERIFY(QTest::qWaitForWindowExposed(&boite));
    auto* defilement = boite.findChild<QScrollArea*>(QStringLiteral("ScrollBox"));
    QWidget* fenetre = defilement->viewport();
    QCOMPARE(defilement->horizontalScrollBar()->maximum(), 0);
    QVERIFY(defilement->verticalScrollBar()->maximum() > 0);

    auto* texteSite = boite.findChild<QPushButton*>(QStringLiteral("SiteWebEditeur"));
    QVERIFY(texteSite->fontMetrics().horizontalAdvance(texteSite->text()) <= texteSite->width());

    for (int k = 1; k <= 6; ++k) {
        auto* image = boite.findChild<QLabel*>(QStringLiteral("ImageLien%1").arg(k));
        auto* texte = boite.findChild<QLabel*>(QStringLiteral("LabelLien%1").arg(k));
        QVERIFY(image && texte);
        // The picture is drawn at the size of its place, the address fits its label.
        QCOMPARE(image->pixmap().size(), image->size());
        QVERIFY2(texte->fontMetrics().horizontalAdvance(texte->text()) <= texte->width(),
                 qPrintable(texte->text()));
        QVERIFY(texte->font().underline());
        // Scrolled to, both lie wholly inside the visible area.
        for (QWidget* controle : {static_cast<QWidget*>(image), static_cast<QWidget*>(texte)}) {
            defilement->ensureWidgetVisible(controle, 0, 0);
            const QRect visible(controle->mapTo(fenetre, QPoint(0, 0)), controle->size());
            QVERIFY2(fenetre->rect().contains(visible), qPrintable(controle->objectName()));
        }
    }
}

void TestAPropos::adresseInjoignableSansMessage()
{
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        QSKIP("ouvrirait un vrai navigateur");
    // The desktop's own handler, which has nothing to open addresses with here.
    TFiche_APropos::OuvrirAdresse = parDefaut_;
    TFiche_APropos boite(nullptr);
    boite.show();
    QVERIFY(QTest::qWaitForWindowExposed(&boite));

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("openUrl")));
    QTest::mouseClick(boite.findChild<QWidget*>(QStringLiteral("ImageLien1")), Qt::LeftButton);
    QTest::qWait(50);
    QVERIFY(boite.isVisible());
    for (QWidget* fenetre : QApplication::topLevelWidgets())
        QVERIFY2(fenetre == &boite || !fenetre->isVisible(), qPrintable(fenetre->objectName()));
}

QTEST_MAIN(TestAPropos)
#include "tst_apropos.moc"

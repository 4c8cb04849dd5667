#include "application.h"

#include "aide.h"
#include "principale.h"
#include "services.h"
#include "variables.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>

namespace horaku
{

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

void Application::DefinirServices(Services* services)
{
    services_ = services;
}

bool Application::notify(QObject* destinataire, QEvent* evenement)
{
    try {
        return QApplication::notify(destinataire, evenement);
    } catch (...) {
        // The handler stops where it was; its state stays, the loop goes on.
        if (services_) services_->MontrerException(activeWindow());
        return true;
    }
}

void ChargerTraductions(QCoreApplication& application)
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    auto* traduction = new QTranslator(&application);
    if (traduction->load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(traduction);
    else
        delete traduction;
}

QString AbsenceAffichage()
{
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
        !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return {};
    return QStringLiteral("Horaku : aucun écran disponible (ni DISPLAY ni WAYLAND_DISPLAY) ; "
                          "sans écran, utilisez horaku-cli.");
}

namespace
{

QtMessageHandler gestionnairePrecedent = nullptr;

// While the platform starts, its raw complaints become one French line.
void MessagesDemarrage(QtMsgType type, const QMessageLogContext& contexte, const QString& message)
{
    const bool plateforme = contexte.category && QByteArray(contexte.category).startsWith("qt.qpa");
    if (type == QtFatalMsg) {
        std::fprintf(
            stderr, "%s\n",
            qUtf8Printable(QStringLiteral(
                "Horaku : impossible d'ouvrir l'écran ; sans écran, utilisez horaku-cli.")));
        std::_Exit(1);
    }
    if (plateforme) return;
    if (gestionnairePrecedent) gestionnairePrecedent(type, contexte, message);
}

} // namespace

int LancerHoraku(int& argc, char** argv,
                 const std::function<void(TFenetre_Principale&)>& avantBoucle)
{
    if (const QString absence = AbsenceAffichage(); !absence.isEmpty()) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(absence));
        return 1;
    }
    // The picture is shown pixel for pixel, whatever the screen's scale.
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    gestionnairePrecedent = qInstallMessageHandler(MessagesDemarrage);
    Application application(argc, argv);
    qInstallMessageHandler(gestionnairePrecedent);
    ChargerTraductions(application);
    QCoreApplication::setApplicationName(QString::fromUtf8(kNomProduit));
    // Help windows have no owner: the run ends with the main window, not with
    // the last window.
    QApplication::setQuitOnLastWindowClosed(false);

    ServicesQt services;
    application.DefinirServices(&services);
    DossierProgramme = QCoreApplication::applicationDirPath().toStdString() + "/";

    quintptr cookie = 0;
    HtmlHelp(nullptr, QString(), CommandeAide::Initialiser, reinterpret_cast<quintptr>(&cookie));
    try {
        TFenetre_Principale fenetre(services);
        QObject::connect(&fenetre, &TFenetre_Principale::Fermee, &application,
                         &QCoreApplication::quit, Qt::QueuedConnection);
        if (avantBoucle) avantBoucle(fenetre);
        fenetre.show();
        QApplication::exec();
    } catch (...) {
        services.MontrerException(nullptr);
    }
    HtmlHelp(nullptr, QString(), CommandeAide::Terminer, cookie);
    application.DefinirServices(nullptr);
    return 0;
}

} // namespace horaku

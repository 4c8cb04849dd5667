#include "application.h"

#include "aide.h"
#include "choixpolice.h"
#include "principale.h"
#include "services.h"
#include "variables.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <clocale>
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

namespace
{

// The texts of Qt's printer and file dialogs that its French catalogue leaves
// in English.  Asked last, after Qt's own catalogue: a text that catalogue
// translates keeps its translation.
class TraductionsManquantes final : public QTranslator
{
public:
    using QTranslator::QTranslator;

    QString translate(const char* contexte, const char* source, const char* desambiguisation,
                      int n) const override
    {
        Q_UNUSED(desambiguisation);
        Q_UNUSED(n);
        if (!contexte || !source) return {};
        const QByteArray c(contexte);
        if (c == "QAbstractFileIconProvider" || c == "QFileSystemModel") {
            if (qstrcmp(source, "Folder") == 0) return QStringLiteral("Dossier");
            return {};
        }
        if (!c.startsWith("QPrint") && !c.startsWith("QPageSetup") && !c.startsWith("QUnixPrint") &&
            !c.startsWith("QCups") && !c.startsWith("QPPD"))
            return {};
        static const QHash<QByteArray, QString> textes{
            {"Printer Properties", QStringLiteral("Propriétés de l'imprimante")},
            {"Advanced", QStringLiteral("Avancé")},
            {"Advanced Option Conflicts", QStringLiteral("Conflits entre options avancées")},
            {"Banner page at end", QStringLiteral("Page de garde à la fin")},
            {"Banner page at start", QStringLiteral("Page de garde au début")},
            {"CUPS Banner page", QStringLiteral("Page de garde CUPS")},
            {"Double Sided Printing", QStringLiteral("Impression recto verso")},
            {"Duplex Settings Conflicts", QStringLiteral("Conflits de réglages recto verso")},
            {"Invalid Pages Definition", QStringLiteral("Définition des pages incorrecte")},
            {"Long side binding", QStringLiteral("Reliure sur le bord long")},
            {"Short side binding", QStringLiteral("Reliure sur le bord court")},
            {"Off", QStringLiteral("Désactivée")},
            {"Page Setup Conflicts", QStringLiteral("Conflits de mise en page")},
            {"Please choose a different file name.",
             QStringLiteral("Veuillez choisir un autre nom de fichier.")},
            {"Please turn one of those options off.",
             QStringLiteral("Veuillez désactiver l'une de ces options.")},
            {"There are conflicts in some options. Please fix them.",
             QStringLiteral("Certaines options sont en conflit. Veuillez les corriger.")},
        };
        return textes.value(QByteArray(source));
    }

    bool isEmpty() const override { return false; }
};

} // namespace

void PreparerLocaleFrancaise()
{
    // The file choosers write their dates, sizes and units in the session's
    // locale, not in the program's default one: those categories are made
    // French, whatever the session speaks.  LC_ALL would win over them, so
    // its value moves to LANG, which yields to them.
    if (!qEnvironmentVariableIsEmpty("LC_ALL")) {
        qputenv("LANG", qgetenv("LC_ALL"));
        qunsetenv("LC_ALL");
    }
    qputenv("LC_TIME", "fr_FR.UTF-8");
    qputenv("LC_NUMERIC", "fr_FR.UTF-8");
    qputenv("LC_MESSAGES", "fr_FR.UTF-8");
}

void GarderNombresC()
{
    // Qt has set the C library's locale from the session: its numbers stay
    // those of the files and of the command-line tool (a point, not a comma).
    std::setlocale(LC_NUMERIC, "C");
}

void ChargerTraductions(QCoreApplication& application)
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    // Installed first, so asked after Qt's own catalogue.
    QCoreApplication::installTranslator(new TraductionsManquantes(&application));
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

// QApplication's own options, which it takes out of the arguments itself;
// those of the first list take the next argument as their value.
const QStringList kOptionsQtAvecValeur = {
    QStringLiteral("platform"),        QStringLiteral("platformpluginpath"),
    QStringLiteral("platformtheme"),   QStringLiteral("plugin"),
    QStringLiteral("qwindowgeometry"), QStringLiteral("qwindowicon"),
    QStringLiteral("qwindowtitle"),    QStringLiteral("session"),
    QStringLiteral("style"),           QStringLiteral("stylesheet"),
    QStringLiteral("display"),         QStringLiteral("geometry"),
    QStringLiteral("title"),           QStringLiteral("name")};
const QStringList kOptionsQt = {QStringLiteral("reverse"), QStringLiteral("widgetcount"),
                                QStringLiteral("nograb"), QStringLiteral("dograb"),
                                QStringLiteral("sync")};

QString TexteAide()
{
    return QStringLiteral(
        "Utilisation : horaku [FICHIER.edt]\n"
        "Horaku décrit, dessine, imprime et exporte des emplois du temps.\n"
        "\n"
        "  FICHIER.edt    ouvre cet emploi du temps au lieu de l'emploi du temps par défaut\n"
        "  -h, --help     affiche cette aide\n"
        "  --version      affiche la version\n"
        "\n"
        "Horaku lit et écrit son fichier de configuration Horaku.cfg (l'emploi du temps\n"
        "par défaut) dans le dossier courant. Sans écran, utilisez horaku-cli.\n");
}

} // namespace

LigneDeCommande AnalyserLigneDeCommande(const QStringList& arguments)
{
    LigneDeCommande ligne;
    const auto refuser = [&ligne](const QString& texte) {
        ligne.action = LigneDeCommande::Action::Erreur;
        ligne.texte = QStringLiteral("Horaku : ") + texte;
        return ligne;
    };
    bool options = true;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (options && argument == QLatin1String("--")) {
            options = false;
        } else if (options && argument.size() > 1 && argument.startsWith(QLatin1Char('-'))) {
            if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
                ligne.action = LigneDeCommande::Action::Aide;
                ligne.texte = TexteAide();
                return ligne;
            }
            if (argument == QLatin1String("--version")) {
                ligne.action = LigneDeCommande::Action::Version;
                ligne.texte = QString::fromUtf8(kTexteVersion) + QLatin1Char('\n');
                return ligne;
            }
            // Qt reads "--style" as "-style", and "-style=fusion" as well.
            const QString nom = argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1)
                                    .section(QLatin1Char('='), 0, 0);
            if (kOptionsQtAvecValeur.contains(nom)) {
                if (!argument.contains(QLatin1Char('='))) ++i;
            } else if (!kOptionsQt.contains(nom)) {
                return refuser(QStringLiteral("option inconnue « ") + argument +
                               QStringLiteral(" » ; horaku --help donne l'aide."));
            }
        } else if (!ligne.fichier.isEmpty()) {
            return refuser(QStringLiteral("un seul emploi du temps à la fois (« ") + ligne.fichier +
                           QStringLiteral(" » et « ") + argument + QStringLiteral(" »)."));
        } else {
            ligne.fichier = argument;
        }
    }
    return ligne;
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
    // Help, version and refusals need no display.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QFile::decodeName(argv[i]);
    const LigneDeCommande ligne = AnalyserLigneDeCommande(arguments);
    switch (ligne.action) {
    case LigneDeCommande::Action::Aide:
    case LigneDeCommande::Action::Version:
        std::fputs(qUtf8Printable(ligne.texte), stdout);
        return 0;
    case LigneDeCommande::Action::Erreur:
        std::fprintf(stderr, "%s\n", qUtf8Printable(ligne.texte));
        return 2;
    case LigneDeCommande::Action::Lancer:
        break;
    }
    if (const QString absence = AbsenceAffichage(); !absence.isEmpty()) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(absence));
        return 1;
    }
    // The picture is shown pixel for pixel, whatever the screen's scale.
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    PreparerLocaleFrancaise();
    gestionnairePrecedent = qInstallMessageHandler(MessagesDemarrage);
    Application application(argc, argv);
    GarderNombresC();
    qInstallMessageHandler(gestionnairePrecedent);
    ChargerTraductions(application);
    QCoreApplication::setApplicationName(QString::fromUtf8(kNomProduit));
    // Under Wayland the compositor finds the menu entry, and so the icon, by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("fr.horaku.Horaku"));
    // Compiled into the program, not into the library its tests link.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icones/fr.horaku.Horaku.svg")));
    // Help windows have no owner: the run ends with the main window, not with
    // the last window.
    QApplication::setQuitOnLastWindowClosed(false);

    ServicesQt services(ChoisirPoliceModale);
    application.DefinirServices(&services);
    DossierProgramme = QCoreApplication::applicationDirPath().toStdString() + "/";

    quintptr cookie = 0;
    HtmlHelp(nullptr, QString(), CommandeAide::Initialiser, reinterpret_cast<quintptr>(&cookie));
    try {
        TFenetre_Principale fenetre(services, nullptr, ligne.fichier);
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

#include "Startup.h"

#include "CommandLine.h"
#include "DemoFolder.h"
#include "FrmLetturaGiornali.h"
#include "export/FrmEsporta.h"
#include "platform/AccessibleLineEdit.h"
#include "platform/Announcer.h"
#include "platform/Appearance.h"
#include "platform/CurrentProfile.h"
#include "platform/DesktopNotification.h"
#include "platform/MainMenu.h"
#include "platform/ProgramFolder.h"
#include "platform/QtToolkit.h"
#include "platform/Screen.h"
#include "platform/Worker.h"
#include "reader/FrmGiornaliScaricati.h"
#include "reader/FrmLeggiGiornale.h"
#include "service/FrmDownload.h"
#include "service/ServiceAddress.h"
#include "service/ServiceRequest.h"
#include "subscriptions/Deliveries.h"
#include "unzip/CodeModule.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdio>

namespace {

void printError(const QString& text) {
    std::fprintf(stderr, "lettore-giornali: %s\n", qPrintable(text));
}

bool badArguments(const CommandLine& options) {
    if (!options.error.isEmpty())
        printError(options.error + QStringLiteral(" Vedere lettore-giornali --help."));
    return !options.error.isEmpty();
}

// Qt's own dialogs (the file chooser) speak Italian when the translations are installed.
void loadQtTranslations() {
    static QTranslator translator;
    if (translator.load(QStringLiteral("qtbase_it"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&translator);
}

} // namespace

int checkInstallation(const QStringList& arguments) {
    const CommandLine options = CommandLine::parse(arguments);
    if (badArguments(options))
        return 2;
    ProgramFolder::set(options.programFolder);
    if (!QDir().mkpath(ProgramFolder::join(QStringLiteral("Giornali")))) {
        printError(QStringLiteral("Impossibile creare la cartella «%1».").arg(ProgramFolder::join("Giornali")));
        return 1;
    }
    std::printf("Cartella del programma: %s\n", qPrintable(ProgramFolder::path()));
    const Outcome<QString> library = CodeModule::describeLibrary();
    if (!library) {
        printError(library.reason());
        return 1;
    }
    std::printf("Libreria di decompressione: %s\n", qPrintable(library.value()));
    return 0;
}

// The newspapers that come by themselves: checked once the main menu is up, and every so many minutes.
Deliveries* startDeliveries(int minutes) {
    Deliveries::Hooks hooks;
    hooks.profile = [] {
        const CurrentProfile& profile = CurrentProfile::instance();
        return SubscriptionCheck::Profile{profile.NomeUtente, profile.PasswordUtente};
    };
    hooks.otherDownloadRunning = [] { return Screen<FrmDownload>::isLoaded(); };
    hooks.openArchive = [] {
        const FrmLeggiGiornale* reader = Screen<FrmLeggiGiornale>::ifLoaded();
        return reader && !reader->issueKey().isEmpty() ? reader->issueKey() + QStringLiteral(".zip") : QString();
    };
    hooks.say = [](const QString& text) {
        if (!sayWhereTheUserIs(text))
            notifyDesktop(QStringLiteral("Lettore Giornali"), text);
    };
    auto* deliveries = new Deliveries(ProgramFolder::path(), hooks, qApp);
    deliveries->start(minutes, ProgramFolder::join(QStringLiteral("impostazioni.ini")));
    return deliveries;
}

void wireSubsystems() {
    MainMenu::setShow([] { Screen<FrmLetturaGiornali>::show(); });
    FrmLeggiGiornale::setExportAction(
        [](QWidget* reader, const QString& folder, const QString& title, const QString& key) {
            FrmEsporta::choose(reader, {.issueFolder = folder, .title = title, .key = key},
                               ProgramFolder::join(QStringLiteral("impostazioni.ini")));
        });
    FrmGiornaliScaricati::setExportAction(
        [](QWidget* window, const QString& archive, const QString& title, const QString& key) {
            FrmEsporta::choose(window, {.archive = archive, .title = title, .key = key},
                               ProgramFolder::join(QStringLiteral("impostazioni.ini")));
        });
}

namespace {

void showMainMenu(const CommandLine& options) {
    if (!options.service.isEmpty())
        ServiceAddress::setBase(options.service);
    if (options.waitSeconds > 0)
        ServiceRequest::setTimeLimitMs(options.waitSeconds * 1000);
    const QString unwritable = ProgramFolder::prepareForWriting(); // the download stores archives in Giornali

    loadQtTranslations();
    installAccessibleLineEdit();
    static QtToolkit toolkit;
    Toolkit::install(&toolkit);
    Appearance::install(ProgramFolder::join(QStringLiteral("impostazioni.ini")));
    wireSubsystems();
    if (unwritable.isEmpty())
        Screen<FrmLetturaGiornali>::show();
    else
        toolkit.message(nullptr, unwritable, QStringLiteral("Lettore Giornali Progetto Ondaris"),
                        Toolkit::Icon::Exclamation, [] { Screen<FrmLetturaGiornali>::show(); });
    startDeliveries(options.checkMinutes);
}

// The program ends with the reason, once its event loop runs.
void endWith(const QString& reason) {
    printError(reason);
    QMetaObject::invokeMethod(
        qApp, [] { QCoreApplication::exit(1); }, Qt::QueuedConnection);
}

// The demo folder is prepared in a worker and its service started without waiting; the menu follows.
void startDemo(const CommandLine& options) {
    const QString folder =
        options.programFolder.isEmpty()
            ? ProgramFolder::defaultFor(QCoreApplication::applicationDirPath()) + QStringLiteral("/demo")
            : options.programFolder;
    ProgramFolder::set(folder);
    runInWorker(
        qApp, [folder] { return DemoFolder::prepare(folder); },
        [folder, options](const Outcome<>& prepared) {
            if (!prepared)
                return endWith(prepared.reason());
            if (!options.service.isEmpty())
                return showMainMenu(options);
            DemoFolder::startService(folder, [options](const Outcome<QString>& address) {
                if (!address)
                    return endWith(address.reason());
                ServiceAddress::setBase(address.value());
                showMainMenu(options);
            });
        });
}

} // namespace

std::optional<int> startUp(const QStringList& arguments) {
    const CommandLine options = CommandLine::parse(arguments);
    if (badArguments(options))
        return 2;
    if (options.help) {
        std::fputs(qPrintable(CommandLine::helpText()), stdout);
        return 0;
    }
    if (options.demo) {
        startDemo(options);
        return std::nullopt;
    }
    ProgramFolder::set(options.programFolder);
    showMainMenu(options);
    return std::nullopt;
}

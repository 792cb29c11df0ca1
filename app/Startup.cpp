#include "Startup.h"

#include "CommandLine.h"
#include "DemoFolder.h"
#include "FrmLetturaGiornali.h"
#include "platform/AccessibleLineEdit.h"
#include "platform/Appearance.h"
#include "platform/FileError.h"
#include "platform/MainMenu.h"
#include "platform/ProgramFolder.h"
#include "platform/QtToolkit.h"
#include "platform/Screen.h"
#include "service/ServiceAddress.h"
#include "service/ServiceRequest.h"
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

void wireSubsystems() {
    MainMenu::setShow([] { Screen<FrmLetturaGiornali>::show(); });
}

std::optional<int> startUp(const QStringList& arguments) {
    const CommandLine options = CommandLine::parse(arguments);
    if (badArguments(options))
        return 2;
    if (options.help) {
        std::fputs(qPrintable(CommandLine::helpText()), stdout);
        return 0;
    }
    if (options.demo) {
        const QString folder =
            options.programFolder.isEmpty()
                ? ProgramFolder::defaultFor(QCoreApplication::applicationDirPath()) + QStringLiteral("/demo")
                : options.programFolder;
        try {
            DemoFolder::prepare(folder);
            if (options.service.isEmpty())
                ServiceAddress::setBase(DemoFolder::startService(folder));
        } catch (const FileError& error) {
            printError(error.message());
            return 1;
        }
    } else {
        ProgramFolder::set(options.programFolder);
    }
    if (!options.service.isEmpty())
        ServiceAddress::setBase(options.service);
    if (options.waitSeconds > 0)
        ServiceRequest::setTimeLimitMs(options.waitSeconds * 1000);
    const QString unwritable = ProgramFolder::prepareForWriting(); // the download stores archives in Giornali

    loadQtTranslations();
    installAccessibleLineEdit();
    static QtToolkit toolkit;
    Toolkit::install(&toolkit);
    if (!unwritable.isEmpty())
        toolkit.message(unwritable, QStringLiteral("Lettore Giornali Progetto Ondaris"), Toolkit::Icon::Exclamation);
    Appearance::install(ProgramFolder::join(QStringLiteral("impostazioni.ini")));
    wireSubsystems();
    Screen<FrmLetturaGiornali>::show();
    return std::nullopt;
}

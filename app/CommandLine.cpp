#include "CommandLine.h"

#include "service/ServiceAddress.h"

#include <QCommandLineParser>
#include <QUrl>
#include <cstring>

namespace {

const QCommandLineOption kFolderOption(QStringList{QStringLiteral("c"), QStringLiteral("cartella")}, QString(),
                                       QStringLiteral("percorso"));
const QCommandLineOption kDemoOption(QStringLiteral("demo"));
const QCommandLineOption kCheckOption(QStringLiteral("verifica"));
const QCommandLineOption kServiceOption(QStringList{QStringLiteral("s"), QStringLiteral("servizio")}, QString(),
                                        QStringLiteral("indirizzo"));
const QCommandLineOption kWaitOption(QStringLiteral("attesa"), QString(), QStringLiteral("secondi"));
const QCommandLineOption kCheckEveryOption(QStringLiteral("controllo"), QString(), QStringLiteral("minuti"));
const QCommandLineOption kUpdateOption(QStringLiteral("aggiorna"));
const QCommandLineOption kHelpOption(QStringList{QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("aiuto")});

// Why the arguments were refused when the parser knows every option: an option that needs a value came last.
QString missingValue(const QStringList& arguments) {
    const QString last = arguments.size() > 1 ? arguments.last() : QString();
    const QString name = last.startsWith(QLatin1String("--")) ? last.mid(2) : last.mid(1);
    for (const QCommandLineOption* option : {&kFolderOption, &kServiceOption, &kWaitOption, &kCheckEveryOption}) {
        if (last.startsWith(QLatin1Char('-')) && option->names().contains(name))
            return QStringLiteral("Argomenti non validi: manca %1 dopo %2.")
                .arg(option == &kFolderOption    ? QStringLiteral("il percorso")
                     : option == &kServiceOption ? QStringLiteral("l'indirizzo")
                     : option == &kWaitOption    ? QStringLiteral("il numero di secondi")
                                                 : QStringLiteral("il numero di minuti"),
                     last);
    }
    return QStringLiteral("Argomenti non validi.");
}

} // namespace

CommandLine CommandLine::parse(const QStringList& arguments, const QProcessEnvironment& environment) {
    CommandLine result;
    QCommandLineParser parser;
    parser.addOptions({kFolderOption, kDemoOption, kCheckOption, kServiceOption, kWaitOption, kCheckEveryOption,
                       kUpdateOption, kHelpOption});
    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        result.error = unknown.isEmpty() ? missingValue(arguments)
                                         : QStringLiteral("Opzione sconosciuta: %1.").arg(unknown.first());
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        result.error = QStringLiteral("Argomento inatteso: %1.").arg(parser.positionalArguments().first());
        return result;
    }
    result.help = parser.isSet(kHelpOption);
    result.demo = parser.isSet(kDemoOption);
    result.programFolder =
        parser.isSet(kFolderOption) ? parser.value(kFolderOption) : environment.value(QLatin1String(kFolderVariable));
    result.service = parser.isSet(kServiceOption) ? parser.value(kServiceOption)
                                                  : environment.value(QLatin1String(kServiceVariable));
    if (parser.isSet(kWaitOption)) {
        bool number = false;
        result.waitSeconds = parser.value(kWaitOption).toInt(&number);
        if (!number || result.waitSeconds < 1)
            result.error =
                QStringLiteral("Attesa non valida: %1 (serve un numero di secondi).").arg(parser.value(kWaitOption));
    }
    result.update = parser.isSet(kUpdateOption);
    if (parser.isSet(kCheckEveryOption)) {
        bool number = false;
        result.checkMinutes = parser.value(kCheckEveryOption).toInt(&number);
        if (!number || result.checkMinutes < 0)
            result.error = QStringLiteral("Intervallo di controllo non valido: %1 (serve un numero di minuti, 0 per "
                                          "mai).")
                               .arg(parser.value(kCheckEveryOption));
    }
    if (!result.service.isEmpty()) {
        const QUrl url(result.service, QUrl::StrictMode);
        if (!url.isValid() || (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https")) ||
            url.host().isEmpty())
            result.error = QStringLiteral("Indirizzo del servizio non valido: %1.").arg(result.service);
    }
    return result;
}

bool CommandLine::asksFor(int argc, char** argv, std::initializer_list<const char*> names) {
    for (int i = 1; i < argc; ++i) {
        for (const char* name : names) {
            if (!std::strcmp(argv[i], name))
                return true;
        }
    }
    return false;
}

bool CommandLine::asksForHelp(int argc, char** argv) {
    return asksFor(argc, argv, {"-h", "--help", "--aiuto"});
}

bool CommandLine::asksForCheck(int argc, char** argv) {
    return asksFor(argc, argv, {"--verifica"});
}

bool CommandLine::asksForUpdate(int argc, char** argv) {
    return asksFor(argc, argv, {"--aggiorna"});
}

QString CommandLine::helpText() {
    return QStringLiteral(
               "Uso: lettore-giornali [opzioni]\n"
               "\n"
               "Lettore di giornali quotidiani da usare con la tastiera: Invio va avanti, Esc torna indietro.\n"
               "\n"
               "Opzioni:\n"
               "  -c, --cartella <percorso>  Cartella del programma, che contiene accesso.txt, Giornali e Temp.\n"
               "                             Senza questa opzione vale la variabile d'ambiente %1,\n"
               "                             altrimenti la cartella dell'eseguibile, se vi si può scrivere;\n"
               "                             per una copia installata, la cartella dei dati dell'utente\n"
               "                             (%4).\n"
               "  -s, --servizio <indirizzo> Indirizzo del servizio dei giornali (per esempio http://host:8080).\n"
               "                             Senza questa opzione vale la variabile d'ambiente %2,\n"
               "                             altrimenti %3.\n"
               "  --attesa <secondi>         Quanto a lungo aspettare il servizio quando non risponde (30).\n"
               "  --controllo <minuti>       Ogni quanti minuti controllare se sono arrivati i giornali in\n"
               "                             abbonamento (30; 0: solo a richiesta). Vale anche la voce\n"
               "                             controllo del gruppo [abbonamenti] di impostazioni.ini.\n"
               "  --aggiorna                 Controlla una volta i giornali in abbonamento e scarica quelli\n"
               "                             nuovi, senza aprire finestre; una riga per giornale, poi esce\n"
               "                             (codice 1 se uno non è stato scaricato).\n"
               "  --demo                     Prepara una cartella dimostrativa (la sottocartella \"demo\"\n"
               "                             della cartella predefinita, o quella indicata con --cartella)\n"
               "                             con un profilo e giornali di prova, avvia il servizio\n"
               "                             dimostrativo e lo usa.\n"
               "  --verifica                 Mostra la cartella del programma e la libreria di decompressione\n"
               "                             che userebbe, ed esce (codice 1 se la libreria non si carica).\n"
               "  -h, --help, --aiuto        Mostra questo aiuto ed esce.\n"
               "\n"
               "Tasti in ogni finestra: Ctrl++ e Ctrl+- ingrandiscono e rimpiccioliscono, Ctrl+0 torna al 100%;\n"
               "Ctrl+Maiusc+C attiva e disattiva il contrasto elevato. Le scelte restano in impostazioni.ini\n"
               "nella cartella del programma.\n")
        .arg(QLatin1String(kFolderVariable), QLatin1String(kServiceVariable), ServiceAddress::defaultBase(),
             QStringLiteral("~/.local/share/lettore-giornali"));
}

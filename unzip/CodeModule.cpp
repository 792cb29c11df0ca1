#include "CodeModule.h"

#include "UnzipRun.h"
#include "platform/ProgramFiles.h"
#include "platform/Toolkit.h"

#include <QDir>
#include <QLibrary>
#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>

namespace {

constexpr qsizetype kMaxChunk = 32801;
constexpr qsizetype kMaxName = 256;
constexpr int32_t kMaxPasswordBuffer = 257;

// What the window thread and the runs share, under one mutex: the library chosen, the run under way and what the
// last run left.
struct Shared {
    std::mutex mutex;
    QString chosenLibrary;
    const UnzipRun* running = nullptr;
    QString lastMessage;
    int lastEntriesStarted = 0;
};

Shared& shared() {
    static Shared state;
    return state;
}

std::atomic<bool> g_cancelRequested{false};

// Makes the run the one under way, unless another is; once the run ends, what it printed becomes the last message.
class RunUnderWay {
public:
    explicit RunUnderWay(const UnzipRun& run) : m_run(run) {
        const std::lock_guard lock(shared().mutex);
        m_admitted = shared().running == nullptr;
        if (!m_admitted)
            return;
        shared().running = &run;
        shared().lastMessage.clear();
        shared().lastEntriesStarted = 0;
    }
    ~RunUnderWay() {
        if (!m_admitted)
            return;
        const std::lock_guard lock(shared().mutex);
        shared().running = nullptr;
        shared().lastMessage = m_run.MessageText;
        shared().lastEntriesStarted = m_run.entriesStarted;
    }
    bool admitted() const { return m_admitted; }

private:
    const UnzipRun& m_run;
    bool m_admitted = false;
};

// Bytes from the library, up to the limit or the first zero byte, in the local 8-bit code page.
QString localText(const char* bytes, qsizetype limit) {
    if (!bytes)
        return {};
    qsizetype length = 0;
    while (length < limit && bytes[length] != '\0')
        ++length;
    return QString::fromLocal8Bit(bytes, length);
}

template <typename Function> Outcome<Function> resolve(QLibrary& library, const char* name) {
    auto function = reinterpret_cast<Function>(library.resolve(name));
    if (!function)
        return Failure{
            QStringLiteral("Funzione «%1» non trovata nella libreria di decompressione.").arg(QLatin1String(name))};
    return function;
}

// The loader's own words are the system's, often in English: the reason given is ours.
Failure notLoaded(const QString& path) {
    return Failure{QStringLiteral("Impossibile caricare la libreria di decompressione «%1»: il file manca o non è una "
                                  "libreria che questo programma può usare")
                       .arg(QDir::toNativeSeparators(path))};
}

UnzipVersion blankVersion() {
    UnzipVersion version{};
    version.length = sizeof(UnzipVersion);
    std::memset(version.level, ' ', 9);
    std::memset(version.date, ' ', 19);
    std::memset(version.archiveLibrary, ' ', 9);
    return version;
}

} // namespace

namespace CodeModule {

QString LastMessage() {
    if (const UnzipRun* run = UnzipRun::current())
        return run->MessageText;
    const std::lock_guard lock(shared().mutex);
    return shared().lastMessage;
}

void requestCancel() {
    g_cancelRequested = true;
}

void clearCancel() {
    g_cancelRequested = false;
}

int entriesStarted() {
    const std::lock_guard lock(shared().mutex);
    return shared().running ? shared().running->entriesStarted.load() : shared().lastEntriesStarted;
}

void windowThreadGone() {
    WindowThreadQuestion::programEnding();
}

QString libraryPath() {
    QString chosen;
    {
        const std::lock_guard lock(shared().mutex);
        chosen = shared().chosenLibrary;
    }
    return chosen.isEmpty() ? ProgramFiles::find(QStringLiteral("unzip32")) : chosen;
}

void setLibraryPath(const QString& path) {
    const std::lock_guard lock(shared().mutex);
    shared().chosenLibrary = path;
}

Outcome<QString> describeLibrary() {
    const QString path = libraryPath();
    QLibrary library(path);
    if (!library.load())
        return notLoaded(path);
    const auto version = resolve<decltype(&UzpVersion2)>(library, "UzpVersion2");
    const auto unzip = resolve<decltype(&Wiz_SingleEntryUnzip)>(library, "Wiz_SingleEntryUnzip");
    if (!version || !unzip)
        return Failure{version ? unzip.reason() : version.reason()};
    UnzipVersion record = blankVersion();
    version.value()(&record);
    return QStringLiteral("%1 (versione %2.%3.%4)")
        .arg(QDir::toNativeSeparators(library.fileName()))
        .arg(record.library[0])
        .arg(record.library[1])
        .arg(record.library[2]);
}

Outcome<int32_t> VBUnzip(const QString& zipFileName, const QString& extractDir, int16_t extractNewer,
                         int16_t spaceToUnderScore, int16_t promptOverwrite, int16_t messageLevel,
                         int16_t writeToStdOut, int16_t testZip, int16_t extractList, int16_t extractOnlyNewer,
                         int16_t displayComment, int16_t honorDirectories, int16_t overWriteFiles,
                         int16_t convertCRtoCRLF, int16_t verbose, int16_t caseSensitive, int16_t privilege,
                         const WindowThreadQuestion::Context& questionContext) {
    UnzipRun run(questionContext);
    const RunUnderWay underWay(run);
    if (!underWay.admitted())
        return Failure{QStringLiteral("Un'altra decompressione è già in corso.")};

    const UnzipNameList include{}, exclude{};
    const QByteArray zip = zipFileName.toLocal8Bit();
    const QByteArray folder = extractDir.toLocal8Bit();
    const UnzipOptions options{extractOnlyNewer, spaceToUnderScore, promptOverwrite, messageLevel,   writeToStdOut,
                               testZip,          extractList,       extractNewer,    displayComment, honorDirectories,
                               overWriteFiles,   convertCRtoCRLF,   verbose,         caseSensitive,  privilege,
                               zip.constData(),  folder.constData()};
    const UnzipCallbacks callbacks{&PrintCallback,   nullptr, &ReplaceCallback, &PasswordCallback, &ListingCallback,
                                   &ServiceCallback, {}};
    UnzipVersion version = blankVersion();

    const QString path = libraryPath();
    QLibrary library(path);
    if (!library.load())
        return notLoaded(path);
    const auto versionFunction = resolve<decltype(&UzpVersion2)>(library, "UzpVersion2");
    if (!versionFunction)
        return Failure{versionFunction.reason()};
    versionFunction.value()(&version);
    const auto unzip = resolve<decltype(&Wiz_SingleEntryUnzip)>(library, "Wiz_SingleEntryUnzip");
    if (!unzip)
        return Failure{unzip.reason()};
    return unzip.value()(0, &include, 0, &exclude, &options, &callbacks);
}

extern "C" {

int32_t PrintCallback(const char* chunk, uint32_t length) {
    UnzipRun* run = UnzipRun::current();
    if (!run)
        return 0;
    try {
        QString text = localText(chunk, std::min<qsizetype>(length, kMaxChunk));
        if (text.startsWith(QLatin1Char('\n')))
            text = QStringLiteral("\r\n");
        run->MessageText += text;
    } catch (...) {
    }
    return 0;
}

int32_t ReplaceCallback(const char* name) {
    try {
        const QString text = QStringLiteral("Overwrite ") + localText(name, kMaxName) + QLatin1Char('?');
        const UnzipRun* run = UnzipRun::current();
        const Toolkit::Answer answer = WindowThreadQuestion::ask<Toolkit::Answer>(
            run ? run->questionContext : std::nullopt,
            [text](QObject* context, std::function<void(const Toolkit::Answer&)> reply) {
                Toolkit::current().askYesNoCancel(context, text, QStringLiteral("VBUnZip32 - File Already Exists!"),
                                                  reply);
            },
            Toolkit::Answer::Cancel);
        switch (answer) {
        case Toolkit::Answer::Yes:
            return 102;
        case Toolkit::Answer::No:
            return 100;
        case Toolkit::Answer::Cancel:
            break;
        }
    } catch (...) {
    }
    return 104;
}

int32_t PasswordCallback(char* buffer, int32_t size, const char*, const char*) {
    UnzipRun* run = UnzipRun::current();
    if (run && run->PasswordDeclined)
        return 1;
    QString password;
    try {
        password = WindowThreadQuestion::ask<QString>(
            run ? run->questionContext : std::nullopt,
            [](QObject* context, std::function<void(const QString&)> reply) {
                Toolkit::current().askText(context, QStringLiteral("Please Enter The Password!"), QString(), reply);
            },
            QString());
    } catch (...) {
    }
    if (password.isEmpty()) {
        if (run)
            run->PasswordDeclined = 1;
        return 1;
    }
    if (!buffer || size <= 0)
        return 1;
    // Never past the buffer the library gives: a password too long for it is cut, and then fails as a wrong one.
    const int32_t room = std::min(size, kMaxPasswordBuffer);
    std::memset(buffer, 0, static_cast<size_t>(room));
    const QByteArray bytes = password.toLocal8Bit().left(room - 1);
    std::memcpy(buffer, bytes.constData(), static_cast<size_t>(bytes.size()));
    return 0;
}

void ListingCallback(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, char, const char*,
                     const char*, uint32_t, char) {}

// Asked before each entry: a cancel requested meanwhile stops the run there.
int32_t ServiceCallback(const char*, uint32_t) {
    if (UnzipRun* run = UnzipRun::current())
        ++run->entriesStarted;
    return g_cancelRequested ? 1 : 0;
}

} // extern "C"

} // namespace CodeModule

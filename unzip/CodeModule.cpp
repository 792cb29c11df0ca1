#include "CodeModule.h"

#include "UnzipError.h"
#include "platform/ProgramFiles.h"
#include "platform/Toolkit.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>
#include <QSemaphore>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <cstring>
#include <functional>
#include <memory>

namespace {

const QString kSource = QStringLiteral("CodeModule::VBUnzip");
constexpr qsizetype kMaxChunk = 32801;
constexpr qsizetype kMaxName = 256;
constexpr int32_t kMaxPasswordBuffer = 257;

// The printed text of the run. It is also what the job reports as the last message: the two are equal after every
// chunk, so one string serves both, and appending never copies what was printed before.
struct ModuleState {
    QString MessageText;
    int16_t PasswordDeclined = 0;
};

ModuleState& state() {
    static ModuleState moduleState;
    return moduleState;
}

QString& chosenLibrary() {
    static QString path;
    return path;
}

std::atomic<bool> g_running{false};
std::atomic<bool> g_cancelRequested{false};
std::atomic<int> g_entriesStarted{0};
std::atomic<bool> g_windowGone{false};

// Runs a question on the window thread, where every box belongs, and waits for its answer; on the window thread
// itself it just runs. Once the window thread stops answering (the program ends) the question gets the answer of
// a box closed with Cancel, so an extraction still running never waits forever.
template <typename Answer> Answer onWindowThread(std::function<Answer()> ask, Answer closed) {
    QCoreApplication* application = QCoreApplication::instance();
    if (!application || QThread::currentThread() == application->thread())
        return ask();
    struct Exchange {
        explicit Exchange(Answer closedAnswer) : answer(std::move(closedAnswer)) {}
        QSemaphore done;
        Answer answer;
    };
    auto exchange = std::make_shared<Exchange>(closed);
    QMetaObject::invokeMethod(
        application,
        [exchange, ask] {
            exchange->answer = ask();
            exchange->done.release();
        },
        Qt::QueuedConnection);
    while (!exchange->done.tryAcquire(1, 100)) {
        if (g_windowGone)
            return closed;
    }
    return exchange->answer;
}

// Bytes from the library, up to the limit or the first zero byte, in the local 8-bit code page.
QString localText(const char* bytes, qsizetype limit) {
    if (!bytes)
        return {};
    qsizetype length = 0;
    while (length < limit && bytes[length] != '\0')
        ++length;
    return QString::fromLocal8Bit(bytes, length);
}

template <typename Function> Function resolve(QLibrary& library, const char* name) {
    auto function = reinterpret_cast<Function>(library.resolve(name));
    if (!function)
        throw UnzipError(
            UnzipError::kFunctionNotFound, kSource,
            QStringLiteral("Funzione «%1» non trovata nella libreria di decompressione.").arg(QLatin1String(name)));
    return function;
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
    return state().MessageText;
}

void resetState() {
    state() = ModuleState();
}

void requestCancel() {
    g_cancelRequested = true;
}

void clearCancel() {
    g_cancelRequested = false;
}

int entriesStarted() {
    return g_entriesStarted;
}

void windowThreadGone() {
    g_windowGone = true;
}

QString libraryPath() {
    return chosenLibrary().isEmpty() ? ProgramFiles::find(QStringLiteral("unzip32")) : chosenLibrary();
}

Outcome<QString> describeLibrary() {
    QLibrary library(libraryPath());
    if (!library.load())
        return Failure{QStringLiteral("Impossibile caricare la libreria di decompressione «%1»: %2")
                           .arg(QDir::toNativeSeparators(libraryPath()), library.errorString())};
    try {
        UnzipVersion version = blankVersion();
        resolve<decltype(&UzpVersion2)>(library, "UzpVersion2")(&version);
        resolve<decltype(&Wiz_SingleEntryUnzip)>(library, "Wiz_SingleEntryUnzip");
        return QStringLiteral("%1 (versione %2.%3.%4)")
            .arg(QDir::toNativeSeparators(library.fileName()))
            .arg(version.library[0])
            .arg(version.library[1])
            .arg(version.library[2]);
    } catch (const UnzipError& error) {
        return Failure{error.description()};
    }
}

void setLibraryPath(const QString& path) {
    chosenLibrary() = path;
}

int32_t VBUnzip(const QString& zipFileName, const QString& extractDir, int16_t extractNewer, int16_t spaceToUnderScore,
                int16_t promptOverwrite, int16_t messageLevel, int16_t writeToStdOut, int16_t testZip,
                int16_t extractList, int16_t extractOnlyNewer, int16_t displayComment, int16_t honorDirectories,
                int16_t overWriteFiles, int16_t convertCRtoCRLF, int16_t verbose, int16_t caseSensitive,
                int16_t privilege) {
    if (g_running.exchange(true))
        throw UnzipError(UnzipError::kInvalidCall, kSource, QStringLiteral("Un'altra decompressione è già in corso."));
    struct Release {
        ~Release() { g_running = false; }
    } release;

    resetState();
    g_entriesStarted = 0;
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

    QLibrary library(libraryPath());
    if (!library.load())
        throw UnzipError(UnzipError::kLibraryNotLoaded, kSource,
                         QStringLiteral("Impossibile caricare la libreria di decompressione «%1»: %2")
                             .arg(QDir::toNativeSeparators(libraryPath()), library.errorString()));
    resolve<decltype(&UzpVersion2)>(library, "UzpVersion2")(&version);
    const auto unzip = resolve<decltype(&Wiz_SingleEntryUnzip)>(library, "Wiz_SingleEntryUnzip");
    return unzip(0, &include, 0, &exclude, &options, &callbacks);
}

extern "C" {

int32_t PrintCallback(const char* chunk, uint32_t length) {
    try {
        QString text = localText(chunk, std::min<qsizetype>(length, kMaxChunk));
        if (text.startsWith(QLatin1Char('\n')))
            text = QStringLiteral("\r\n");
        state().MessageText += text;
    } catch (...) {
    }
    return 0;
}

int32_t ReplaceCallback(const char* name) {
    try {
        const QString text = QStringLiteral("Overwrite ") + localText(name, kMaxName) + QLatin1Char('?');
        const auto ask = [text] {
            return Toolkit::current().askYesNoCancel(text, QStringLiteral("VBUnZip32 - File Already Exists!"));
        };
        switch (onWindowThread<Toolkit::Answer>(ask, Toolkit::Answer::Cancel)) {
        case Toolkit::Answer::No:
            return 100;
        case Toolkit::Answer::Cancel:
            return 104;
        case Toolkit::Answer::Yes:
            break;
        }
    } catch (...) {
    }
    return 102;
}

int32_t PasswordCallback(char* buffer, int32_t size, const char*, const char*) {
    if (state().PasswordDeclined)
        return 1;
    QString password;
    try {
        const auto ask = [] {
            return Toolkit::current().askText(QStringLiteral("Please Enter The Password!"), QString());
        };
        password = onWindowThread<QString>(ask, QString());
    } catch (...) {
    }
    if (password.isEmpty()) {
        state().PasswordDeclined = 1;
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
    ++g_entriesStarted;
    return g_cancelRequested ? 1 : 0;
}

} // extern "C"

} // namespace CodeModule

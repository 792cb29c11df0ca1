#include "ExtractionRun.h"

#include "ArchiveComment.h"
#include "EntryNames.h"
#include "LocalText.h"
#include "TextTools.h"
#include "ZipDirectory.h"

#include <archive.h>
#include <archive_entry.h>
#include <chrono>
#include <cstring>
#include <ctime>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

constexpr size_t kPrintChunk = 32000; // the driver reads at most 32,801 bytes of a chunk

int severity(int32_t code) {
    switch (code) {
    case UNZIP_OK:
        return 0;
    case UNZIP_WARNING:
        return 1;
    case UNZIP_NO_MATCH:
        return 2;
    case UNZIP_BAD_PASSWORD:
        return 3;
    case UNZIP_REFUSED:
        return 4;
    case UNZIP_DAMAGED:
        return 5;
    case UNZIP_DISK:
        return 6;
    default: // cancelled, and the codes that end a run before it starts
        return 7;
    }
}

std::string errorText(archive* a) {
    const char* text = archive_error_string(a);
    return text ? text : "errore sconosciuto";
}

// A name fit for a message: a name too long to read whole keeps its start and its end.
std::string shortened(const std::string& name) {
    constexpr size_t kKept = 60;
    if (name.size() <= 2 * kKept + 240)
        return name;
    size_t head = kKept, tail = name.size() - kKept;
    while (head > 0 && (static_cast<unsigned char>(name[head]) & 0xC0) == 0x80)
        --head; // never inside a UTF-8 character
    while (tail < name.size() && (static_cast<unsigned char>(name[tail]) & 0xC0) == 0x80)
        ++tail;
    return name.substr(0, head) + "…" + name.substr(tail);
}

std::time_t fileTime(const fs::path& path) {
    std::error_code error;
    const auto written = fs::last_write_time(path, error);
    if (error)
        return 0;
    return std::chrono::system_clock::to_time_t(std::chrono::file_clock::to_sys(written));
}

} // namespace

ExtractionRun::ExtractionRun(const UnzipOptions& options, const UnzipCallbacks& callbacks,
                             std::vector<std::string> include, std::vector<std::string> exclude,
                             const ExpansionLimits& limits)
    : m_options(options), m_callbacks(callbacks), m_include(std::move(include)), m_exclude(std::move(exclude)),
      m_limits(limits) {
    if (options.ExtractList != 0)
        m_mode = Mode::List;
    else if (options.TestZip)
        m_mode = Mode::Test;
    else if (options.WriteToStdOut)
        m_mode = Mode::Print;
}

ExtractionRun::~ExtractionRun() {
    if (m_reader)
        archive_read_free(m_reader);
    if (m_disk)
        archive_write_free(m_disk);
}

int32_t ExtractionRun::run() {
    if (!m_options.ZipFileName || !*m_options.ZipFileName || (m_mode == Mode::Extract && !m_options.ExtractDir))
        return UNZIP_BAD_OPTIONS;
    const LocalTextScope utf8Names; // names without the UTF-8 flag are converted from the DOS code page
    if (!open())
        return m_code;
    if (m_options.DisplayComment) {
        const std::string comment = archiveComment(m_options.ZipFileName);
        if (!comment.empty())
            say(0, comment + "\n");
    }
    processEntries();
    if ((!m_include.empty() || !m_exclude.empty()) && m_matched == 0)
        settle(UNZIP_NO_MATCH);
    if (m_mode == Mode::Extract)
        say(2, "Elementi estratti: " + std::to_string(m_done) + ".\n");
    else if (m_mode == Mode::Test && m_code == UNZIP_OK)
        say(2, "Nessun errore nell'archivio " + toUtf8(fromLocal(m_options.ZipFileName)) + ".\n");
    return m_code;
}

bool ExtractionRun::open() {
    m_reader = archive_read_new();
    archive_read_support_format_zip(m_reader);
    archive_read_set_options(m_reader, "zip:hdrcharset=CP850");
    archive_read_set_passphrase_callback(m_reader, this, &ExtractionRun::passwordThunk);
    if (m_options.Verbose)
        say(2, "Archivio: " + toUtf8(fromLocal(m_options.ZipFileName)) + "\n");
    m_utf8Names = ZipDirectory::unflaggedUtf8Names(m_options.ZipFileName);
    const fs::path archivePath = fromLocal(m_options.ZipFileName);
#ifdef _WIN32 // by its UTF-16 name: libarchive would read a narrow one through the C locale, ASCII only
    const int opened = archive_read_open_filename_w(m_reader, archivePath.c_str(), 64 * 1024);
#else
    const int opened = archive_read_open_filename(m_reader, m_options.ZipFileName, 64 * 1024);
#endif
    if (opened != ARCHIVE_OK) {
        std::error_code error;
        const bool exists = fs::exists(archivePath, error);
        problem(exists ? UNZIP_DAMAGED : UNZIP_NO_ARCHIVE,
                std::string(exists ? "Archivio non leggibile: " : "Archivio non trovato: ") + toUtf8(archivePath) +
                    " (" + errorText(m_reader) + ")\n");
        return false;
    }
    if (m_mode != Mode::Extract)
        return true;

    std::error_code error;
    const fs::path target = fromLocal(m_options.ExtractDir);
    fs::create_directories(target, error);
    // The target is named by its real path: links above it are the user's business, links below it are refused.
    const fs::path real = fs::canonical(target, error);
    if (error) {
        problem(UNZIP_DISK, "Cartella di destinazione non disponibile: " + toUtf8(target) + "\n");
        return false;
    }
    m_targetFolder = toUtf8(real);
    m_disk = archive_write_disk_new();
    // Links below the target are checked here (noLinksOnTheWay), once per folder, rather than by libarchive's
    // ARCHIVE_EXTRACT_SECURE_SYMLINKS, which walks every folder of the full path again for every entry.
    archive_write_disk_set_options(m_disk, ARCHIVE_EXTRACT_TIME | ARCHIVE_EXTRACT_SECURE_NODOTDOT);
    return true;
}

void ExtractionRun::processEntries() {
    for (;;) {
        archive_entry* entry = nullptr;
        m_askedForEntry = false;
        m_currentLocalName.clear();
        const int result = archive_read_next_header(m_reader, &entry);
        if (result == ARCHIVE_EOF)
            return;
        if (result == ARCHIVE_FATAL) {
            problem(UNZIP_DAMAGED, "Archivio danneggiato: " + errorText(m_reader) + "\n");
            return;
        }
        if (result < ARCHIVE_WARN) {
            problem(UNZIP_DAMAGED, "Elemento illeggibile: " + errorText(m_reader) + "\n");
            continue;
        }
        m_passwordRefused = false;
        const std::string name = entryName(entry);
        if (result == ARCHIVE_WARN) // the directory and the entry's own header disagree: said, and read all the same
            problem(UNZIP_WARNING, "  avviso: " + name + " (" + errorText(m_reader) + ")\n");
        if (!EntryNames::selected(name, m_include, m_exclude, m_options.CaseSensitive != 0))
            continue;
        ++m_matched;
        m_currentLocalName = toLocal(name);
        if (m_callbacks.service &&
            m_callbacks.service(m_currentLocalName.c_str(), static_cast<uint32_t>(archive_entry_size(entry))) != 0) {
            problem(UNZIP_CANCELLED, "Interrotto.\n");
            return;
        }
        if (processEntry(entry, name) == Outcome::Stop)
            return;
    }
}

ExtractionRun::Outcome ExtractionRun::processEntry(archive_entry* entry, const std::string& name) {
    const auto type = archive_entry_filetype(entry);
    if ((type != AE_IFREG && type != AE_IFDIR) || archive_entry_hardlink(entry)) {
        problem(UNZIP_REFUSED, "  rifiutato: " + name + " (non è un file né una cartella)\n");
        return Outcome::Failed;
    }
    return m_mode == Mode::Extract ? extract(entry, name) : readOnly(entry, name);
}

ExtractionRun::Outcome ExtractionRun::extract(archive_entry* entry, const std::string& name) {
    const bool isFolder = archive_entry_filetype(entry) == AE_IFDIR;
    const EntryNames::Placement placement =
        EntryNames::place(name, isFolder, m_options.HonorDirectories != 0, m_options.SpaceToUnderScore != 0);
    if (!placement.accepted) {
        problem(UNZIP_REFUSED, "  rifiutato: " + shortened(name) + " (" + placement.reason + ")\n");
        return Outcome::Failed;
    }
    if (placement.relative.empty() && !isFolder) {
        problem(UNZIP_WARNING, "  saltato: «" + name + "» (nome vuoto)\n");
        return Outcome::Failed;
    }
    if (placement.relative.empty())
        return Outcome::Skipped;
    const std::string target = m_targetFolder + "/" + placement.relative;
    if (!noLinksOnTheWay(placement.relative)) {
        problem(UNZIP_REFUSED, "  rifiutato: " + name + " (percorso attraverso un collegamento)\n");
        return Outcome::Failed;
    }
    if (!isFolder) {
        const auto [written, isNew] = m_written.try_emplace(sameFileKey(placement.relative), placement.relative);
        if (!isNew && written->second != placement.relative) {
            problem(UNZIP_REFUSED, "  rifiutato: " + name + " (stesso file di «" + written->second +
                                       "»: i nomi differiscono solo per maiuscole e minuscole)\n");
            return Outcome::Failed;
        }
        switch (decideExisting(entry, name, target)) {
        case Decision::Write:
            break;
        case Decision::Keep:
            return Outcome::Skipped;
        case Decision::Cancel:
            problem(UNZIP_CANCELLED, "Interrotto.\n");
            return Outcome::Stop;
        }
    }

    // A link where the entry goes is replaced by the entry; what it points to is never touched.
    std::error_code error;
    if (fs::is_symlink(fs::symlink_status(fromUtf8(target), error)))
        fs::remove(fromUtf8(target), error);

    archive_entry* out = archive_entry_clone(entry);
#ifdef _WIN32 // libarchive on Windows names files in UTF-16; from UTF-8 it would pass through the C locale's page
    archive_entry_copy_pathname_w(out, fromUtf8(target).wstring().c_str());
#else
    archive_entry_update_pathname_utf8(out, target.c_str());
#endif
    archive_entry_set_perm(out, isFolder ? 0755 : 0644); // stored permissions are never restored
    archive_entry_unset_size(out); // what is written is counted here, not taken from the archive's word
    const int header = archive_write_header(m_disk, out);
    archive_entry_free(out);
    if (header < ARCHIVE_WARN) {
        const bool refused = archive_errno(m_disk) != ENOSPC && archive_errno(m_disk) != EACCES &&
                             archive_errno(m_disk) != EROFS && archive_errno(m_disk) != EIO;
        problem(refused ? UNZIP_REFUSED : UNZIP_DISK, "  non scritto: " + name + " (" + errorText(m_disk) + ")\n");
        return Outcome::Failed;
    }
    if (isFolder) {
        archive_write_finish_entry(m_disk);
        say(2, "   cartella: " + placement.relative + "\n");
        return Outcome::Done;
    }
    return writeData(entry, name, target);
}

// True when no folder between the target and the entry is a link (a link could lead anywhere). Each folder is
// looked at once: the folders seen are kept as a tree of their parts, so no path is copied for every prefix.
bool ExtractionRun::noLinksOnTheWay(const std::string& relative) {
    std::error_code error;
    FolderNode* node = &m_checkedFolders;
    for (size_t start = 0, slash = relative.find('/'); slash != std::string::npos;
         start = slash + 1, slash = relative.find('/', start)) {
        const std::string part = relative.substr(start, slash - start);
        const auto known = node->children.find(part);
        if (known != node->children.end()) {
            node = known->second.get();
            continue;
        }
        const fs::file_status status =
            fs::symlink_status(fromUtf8(m_targetFolder + "/" + relative.substr(0, slash)), error);
        if (fs::is_symlink(status) || (fs::exists(status) && !fs::is_directory(status)))
            return false;
        node = node->children.emplace(part, std::make_unique<FolderNode>()).first->second.get();
    }
    return true;
}

// The entry's name as UTF-8: flagged names as stored, other names from code page 850, unless their bytes are
// UTF-8 all the same.
std::string ExtractionRun::entryName(archive_entry* entry) const {
    const char* utf8 = archive_entry_pathname_utf8(entry);
    const char* raw = archive_entry_pathname(entry);
    std::string name = utf8 ? utf8 : raw ? raw : "";
#ifdef _WIN32
    // On Windows a name converted from the DOS code page may be kept in UTF-16 only.
    const wchar_t* wide = archive_entry_pathname_w(entry);
    if (!utf8 && !raw && wide)
        name = toUtf8(fs::path(wide));
#endif
    const auto stored = m_utf8Names.find(name);
    return stored == m_utf8Names.end() ? name : stored->second;
}

ExtractionRun::Decision ExtractionRun::decideExisting(archive_entry* entry, const std::string& name,
                                                      const std::string& target) {
    std::error_code error;
    const fs::path path = fromUtf8(target);
    const bool exists = fs::exists(fs::symlink_status(path, error));
    if (!exists)
        return m_options.ExtractOnlyNewer ? Decision::Keep : Decision::Write;
    if ((m_options.ExtractOnlyNewer || m_options.ExtractNewer) && archive_entry_mtime(entry) <= fileTime(path)) {
        say(2, "  non più recente: " + name + "\n");
        return Decision::Keep;
    }
    if (m_options.OverWriteFiles)
        return Decision::Write;
    if (m_options.PromptOverwrite && m_callbacks.replace) {
        switch (m_callbacks.replace(toLocal(name).c_str())) {
        case 102:
            return Decision::Write;
        case 104:
            return Decision::Cancel;
        default:
            break;
        }
    }
    say(2, "  già presente, non sostituito: " + name + "\n");
    return Decision::Keep;
}

ExtractionRun::Outcome ExtractionRun::writeData(archive_entry* entry, const std::string& name,
                                                const std::string& target) {
    const la_int64_t startRead = archive_filter_bytes(m_reader, -1);
    uint64_t written = 0;
    auto abandon = [&] {
        archive_write_finish_entry(m_disk);
        std::error_code ignored;
        fs::remove(fromUtf8(target), ignored);
    };
    auto put = [&](const char* data, size_t size) -> Outcome {
        const uint64_t read =
            static_cast<uint64_t>(std::max<la_int64_t>(1, archive_filter_bytes(m_reader, -1) - startRead));
        const uint64_t after = written + size;
        if (after > m_limits.maxEntryBytes || m_runBytes + size > m_limits.maxRunBytes ||
            (after > m_limits.ratioFloor && after / read > m_limits.maxRatio)) {
            abandon();
            problem(UNZIP_REFUSED, "  rifiutato: " + name + " (si espande oltre il limite consentito)\n");
            return Outcome::Failed;
        }
        if (size > 0 && archive_write_data(m_disk, data, size) != static_cast<la_ssize_t>(size)) {
            const std::string why = errorText(m_disk);
            abandon();
            problem(UNZIP_DISK, "  non scritto: " + name + " (" + why + ")\n");
            return Outcome::Stop;
        }
        written = after;
        m_runBytes += size;
        return Outcome::Done;
    };

    Outcome stopped = Outcome::Done;
    const int result = pumpData(m_options.ConvertCRtoCRLF != 0, [&](const char* data, size_t size) {
        stopped = put(data, size);
        return stopped == Outcome::Done;
    });
    if (result == kSinkStopped)
        return stopped;
    if (result != ARCHIVE_OK) {
        abandon();
        return dataFailure(result, name, archive_entry_is_encrypted(entry));
    }
    if (archive_write_finish_entry(m_disk) < ARCHIVE_WARN) {
        const std::string why = errorText(m_disk);
        abandon();
        problem(UNZIP_DISK, "  non scritto: " + name + " (" + why + ")\n");
        return Outcome::Stop;
    }
    ++m_done;
    say(2, "  estratto: " + name + (m_options.Verbose ? " (" + std::to_string(written) + " byte)" : "") + "\n");
    return Outcome::Done;
}

int ExtractionRun::pumpData(bool convertLineEnds, const std::function<bool(const char*, size_t)>& sink) {
    TextTools::LineEndConverter converter;
    std::string converted;
    bool firstBlock = true;
    for (;;) {
        const void* block = nullptr;
        size_t size = 0;
        la_int64_t offset = 0;
        const int result = archive_read_data_block(m_reader, &block, &size, &offset);
        if (result == ARCHIVE_EOF)
            break;
        if (result != ARCHIVE_OK)
            return result;
        if (firstBlock)
            convertLineEnds = convertLineEnds && TextTools::looksLikeText(block, size); // binary stays as it is
        firstBlock = false;
        const char* data = static_cast<const char*>(block);
        if (convertLineEnds) {
            converted.clear();
            converter.convert(data, size, converted);
            data = converted.data();
            size = converted.size();
        }
        if (!sink(data, size))
            return kSinkStopped;
    }
    if (convertLineEnds) {
        converted.clear();
        converter.finish(converted);
        if (!converted.empty() && !sink(converted.data(), converted.size()))
            return kSinkStopped;
    }
    return ARCHIVE_OK;
}

ExtractionRun::Outcome ExtractionRun::readOnly(archive_entry* entry, const std::string& name) {
    const bool isFolder = archive_entry_filetype(entry) == AE_IFDIR;
    uint32_t crc = 0;
    const bool readData = !isFolder && !(m_mode == Mode::List && archive_entry_is_encrypted(entry));
    const bool print = m_mode == Mode::Print && m_callbacks.print;
    const int result =
        !readData ? ARCHIVE_OK : pumpData(print && m_options.ConvertCRtoCRLF, [&](const char* data, size_t size) {
            crc = TextTools::crc32(crc, data, size);
            for (size_t at = 0; print && at < size; at += kPrintChunk)
                m_callbacks.print(data + at, static_cast<uint32_t>(std::min(kPrintChunk, size - at)));
            return true;
        });
    if (result != ARCHIVE_OK)
        return dataFailure(result, name, archive_entry_is_encrypted(entry));

    if (m_mode == Mode::List && m_callbacks.listing) {
        const std::time_t mtime = archive_entry_mtime(entry);
        std::tm when{};
#ifdef _WIN32
        localtime_s(&when, &mtime);
#else
        localtime_r(&mtime, &when);
#endif
        const char* method = archive_format_name(m_reader);
        m_callbacks.listing(static_cast<uint32_t>(archive_entry_size(entry)), 0, 0, when.tm_mon + 1, when.tm_mday,
                            when.tm_year + 1900, when.tm_hour, when.tm_min, isFolder ? 'd' : ' ', toLocal(name).c_str(),
                            method ? method : "", crc, archive_entry_is_encrypted(entry) ? 'E' : ' ');
    } else if (m_mode == Mode::Test && !isFolder) {
        say(2, "  verifica: " + name + "  OK\n");
    }
    ++m_done;
    return Outcome::Done;
}

// A failure while reading an entry's data. Traditional encryption checks a password by one byte only, so a wrong
// password can also surface as a data error or a bad CRC: any failure of an encrypted entry counts as a password
// failure, and a warning is never taken for success.
ExtractionRun::Outcome ExtractionRun::dataFailure(int result, const std::string& name, bool encrypted) {
    const std::string why = errorText(m_reader);
    if (encrypted || m_passwordRefused) {
        problem(UNZIP_BAD_PASSWORD, "  saltato: " + name + " (password errata o mancante)\n");
        return result == ARCHIVE_FATAL ? Outcome::Stop : Outcome::Failed;
    }
    if (result == ARCHIVE_FATAL) {
        problem(UNZIP_DAMAGED, "  danneggiato: " + name + " (" + why + ")\n");
        return Outcome::Stop;
    } else {
        problem(UNZIP_WARNING, "  errore: " + name + " (" + why + ")\n");
    }
    return Outcome::Failed;
}

const char* ExtractionRun::passwordThunk(archive*, void* self) {
    return static_cast<ExtractionRun*>(self)->nextPassword();
}

// One question for each entry at most: a wrong answer fails that entry instead of asking again and again.
// A good password is kept by the reader and tried first on the next entries.
const char* ExtractionRun::nextPassword() {
    if (m_askedForEntry || !m_callbacks.password) {
        m_passwordRefused = true;
        return nullptr;
    }
    m_askedForEntry = true;
    char buffer[257] = {};
    const int32_t answer =
        m_callbacks.password(buffer, static_cast<int32_t>(sizeof buffer), "Password: ", m_currentLocalName.c_str());
    if (answer != 0 || buffer[0] == '\0') {
        m_passwordRefused = true;
        return nullptr;
    }
    m_password.assign(buffer, strnlen(buffer, sizeof buffer - 1));
    return m_password.c_str();
}

// Messages are made in UTF-8 and printed in the local code page.
void ExtractionRun::say(int level, const std::string& text) {
    if (!m_callbacks.print || m_options.MessageLevel < level || text.empty())
        return;
    const std::string local = toLocal(text);
    m_callbacks.print(local.c_str(), static_cast<uint32_t>(local.size()));
}

void ExtractionRun::problem(int32_t code, const std::string& text) {
    settle(code);
    say(1, text);
}

void ExtractionRun::settle(int32_t code) {
    if (severity(code) > severity(m_code))
        m_code = code;
}

#include "ExtractionRun.h"

#include "ArchiveComment.h"
#include "EntryNames.h"
#include "LocalText.h"
#include "ZipDirectory.h"

#include <archive.h>
#include <archive_entry.h>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

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
    default: // cancelled, an internal error, and the codes that end a run before it starts
        return 7;
    }
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
        if (processEntry(entry, name) == Flow::Stop)
            return;
    }
}

ExtractionRun::Flow ExtractionRun::processEntry(archive_entry* entry, const std::string& name) {
    const auto type = archive_entry_filetype(entry);
    if ((type != AE_IFREG && type != AE_IFDIR) || archive_entry_hardlink(entry)) {
        problem(UNZIP_REFUSED, "  rifiutato: " + name + " (non è un file né una cartella)\n");
        return Flow::Next;
    }
    return m_mode == Mode::Extract ? extract(entry, name) : readOnly(entry, name);
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

std::string ExtractionRun::errorText(archive* a) {
    const char* text = archive_error_string(a);
    return text ? text : "errore sconosciuto";
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

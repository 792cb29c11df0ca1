// The extract mode of a run: where an entry goes, what happens to a file already there, and its data written to
// the disk within the expansion limits.
#include "EntryNames.h"
#include "ExtractionRun.h"
#include "LocalText.h"
#include "TextTools.h"

#include <archive.h>
#include <archive_entry.h>
#include <chrono>
#include <ctime>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

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

ExtractionRun::Flow ExtractionRun::extract(archive_entry* entry, const std::string& name) {
    const bool isFolder = archive_entry_filetype(entry) == AE_IFDIR;
    const EntryNames::Placement placement =
        EntryNames::place(name, isFolder, m_options.HonorDirectories != 0, m_options.SpaceToUnderScore != 0);
    if (!placement.accepted) {
        problem(UNZIP_REFUSED, "  rifiutato: " + shortened(name) + " (" + placement.reason + ")\n");
        return Flow::Next;
    }
    if (placement.relative.empty() && !isFolder) {
        problem(UNZIP_WARNING, "  saltato: «" + name + "» (nome vuoto)\n");
        return Flow::Next;
    }
    if (placement.relative.empty())
        return Flow::Next;
    const std::string target = m_targetFolder + "/" + placement.relative;
    if (!noLinksOnTheWay(placement.relative)) {
        problem(UNZIP_REFUSED, "  rifiutato: " + name + " (percorso attraverso un collegamento)\n");
        return Flow::Next;
    }
    if (!isFolder) {
        const auto [written, isNew] = m_written.try_emplace(sameFileKey(placement.relative), placement.relative);
        if (!isNew && written->second != placement.relative) {
            problem(UNZIP_REFUSED, "  rifiutato: " + name + " (stesso file di «" + written->second +
                                       "»: i nomi differiscono solo per maiuscole e minuscole)\n");
            return Flow::Next;
        }
        switch (decideExisting(entry, name, target)) {
        case Decision::Write:
            break;
        case Decision::Keep:
            return Flow::Next;
        case Decision::Cancel:
            problem(UNZIP_CANCELLED, "Interrotto.\n");
            return Flow::Stop;
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
        return Flow::Next;
    }
    if (isFolder) {
        archive_write_finish_entry(m_disk);
        say(2, "   cartella: " + placement.relative + "\n");
        return Flow::Next;
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

ExtractionRun::Flow ExtractionRun::writeData(archive_entry* entry, const std::string& name, const std::string& target) {
    const la_int64_t startRead = archive_filter_bytes(m_reader, -1);
    uint64_t written = 0;
    auto abandon = [&] {
        archive_write_finish_entry(m_disk);
        std::error_code ignored;
        fs::remove(fromUtf8(target), ignored);
    };
    // False once the entry is dropped (it expands too much) or the run must stop (the disk fails): `after` says
    // which.
    Flow after = Flow::Next;
    auto put = [&](const char* data, size_t size) {
        const uint64_t read =
            static_cast<uint64_t>(std::max<la_int64_t>(1, archive_filter_bytes(m_reader, -1) - startRead));
        const uint64_t total = written + size;
        if (total > m_limits.maxEntryBytes || m_runBytes + size > m_limits.maxRunBytes ||
            (total > m_limits.ratioFloor && total / read > m_limits.maxRatio)) {
            abandon();
            problem(UNZIP_REFUSED, "  rifiutato: " + name + " (si espande oltre il limite consentito)\n");
            return false;
        }
        if (size > 0 && archive_write_data(m_disk, data, size) != static_cast<la_ssize_t>(size)) {
            const std::string why = errorText(m_disk);
            abandon();
            problem(UNZIP_DISK, "  non scritto: " + name + " (" + why + ")\n");
            after = Flow::Stop;
            return false;
        }
        written = total;
        m_runBytes += size;
        return true;
    };

    const int result = pumpData(m_options.ConvertCRtoCRLF != 0, put);
    if (result == kSinkStopped)
        return after;
    if (result != ARCHIVE_OK) {
        abandon();
        return dataFailure(result, name, archive_entry_is_encrypted(entry));
    }
    if (archive_write_finish_entry(m_disk) < ARCHIVE_WARN) {
        const std::string why = errorText(m_disk);
        abandon();
        problem(UNZIP_DISK, "  non scritto: " + name + " (" + why + ")\n");
        return Flow::Stop;
    }
    ++m_done;
    say(2, "  estratto: " + name + (m_options.Verbose ? " (" + std::to_string(written) + " byte)" : "") + "\n");
    return Flow::Next;
}

// An entry's data read block by block, the test, list and print modes, the failures of the data and the password
// questions.
#include "ExtractionRun.h"
#include "LocalText.h"
#include "TextTools.h"

#include <archive.h>
#include <archive_entry.h>
#include <cstring>
#include <ctime>

namespace {

constexpr size_t kPrintChunk = 32000; // the driver reads at most 32,801 bytes of a chunk

} // namespace

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

ExtractionRun::Flow ExtractionRun::readOnly(archive_entry* entry, const std::string& name) {
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
    return Flow::Next;
}

// A failure while reading an entry's data. Traditional encryption checks a password by one byte only, so a wrong
// password can also surface as a data error or a bad CRC: any failure of an encrypted entry counts as a password
// failure, and a warning is never taken for success.
ExtractionRun::Flow ExtractionRun::dataFailure(int result, const std::string& name, bool encrypted) {
    const std::string why = errorText(m_reader);
    if (encrypted || m_passwordRefused) {
        problem(UNZIP_BAD_PASSWORD, "  saltato: " + name + " (password errata o mancante)\n");
        return result == ARCHIVE_FATAL ? Flow::Stop : Flow::Next;
    }
    if (result == ARCHIVE_FATAL) {
        problem(UNZIP_DAMAGED, "  danneggiato: " + name + " (" + why + ")\n");
        return Flow::Stop;
    } else {
        problem(UNZIP_WARNING, "  errore: " + name + " (" + why + ")\n");
    }
    return Flow::Next;
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

#pragma once

#include "unzip/UnzipRecords.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

struct archive;
struct archive_entry;

struct ExpansionLimits {
    uint64_t maxEntryBytes = 4ull << 30; // 4 GiB written for one entry
    uint64_t maxRunBytes = 8ull << 30;   // 8 GiB written in one run
    uint64_t ratioFloor = 100ull << 20;  // past 100 MB written for one entry ...
    uint32_t maxRatio = 1000;            // ... no more than 1000 bytes out for each byte read
};

// One call of the library: reads the archive with libarchive (ZIP only) and extracts, tests, lists or prints its
// entries as the options say, talking to the caller only through its callbacks. Nothing is ever written outside
// the target folder: names that lead out and every entry that is not a plain file or folder are refused.
class ExtractionRun {
public:
    ExtractionRun(const UnzipOptions& options, const UnzipCallbacks& callbacks, std::vector<std::string> include,
                  std::vector<std::string> exclude, const ExpansionLimits& limits);
    ~ExtractionRun();

    int32_t run();

private:
    enum class Mode { Extract, Test, List, Print };
    // What comes after an entry: the next one, or the end of the run. What went wrong is in the run's code.
    enum class Flow { Next, Stop };
    enum class Decision { Write, Keep, Cancel };

    // ExtractionRun.cpp: the archive opened, its entries walked, the messages and the run's code.
    bool open();
    void processEntries();
    Flow processEntry(archive_entry* entry, const std::string& name);
    std::string entryName(archive_entry* entry) const;
    static std::string errorText(archive* a);

    // WritingEntries.cpp: the extract mode.
    Flow extract(archive_entry* entry, const std::string& name);
    bool noLinksOnTheWay(const std::string& relative);
    Decision decideExisting(archive_entry* entry, const std::string& name, const std::string& target);
    Flow writeData(archive_entry* entry, const std::string& name, const std::string& target);

    // ReadingEntries.cpp: an entry's data, the test, list and print modes, passwords.
    // Reads the entry's data block by block into the sink, line ends turned into CR LF first when asked and the
    // entry looks like text. ARCHIVE_OK at the end of the data, the reader's failure, or kSinkStopped.
    static constexpr int kSinkStopped = 1000;
    int pumpData(bool convertLineEnds, const std::function<bool(const char*, size_t)>& sink);
    Flow readOnly(archive_entry* entry, const std::string& name); // test, list and print modes
    Flow dataFailure(int result, const std::string& name, bool encrypted);

    const char* nextPassword();
    static const char* passwordThunk(archive* a, void* self);

    void say(int level, const std::string& text); // printed when MessageLevel reaches the level
    void problem(int32_t code, const std::string& text);
    void settle(int32_t code); // the run's code is the most serious seen

    const UnzipOptions& m_options;
    const UnzipCallbacks& m_callbacks;
    std::vector<std::string> m_include;
    std::vector<std::string> m_exclude;
    ExpansionLimits m_limits;
    Mode m_mode = Mode::Extract;
    archive* m_reader = nullptr;
    archive* m_disk = nullptr;
    std::string m_targetFolder;
    struct FolderNode {
        std::unordered_map<std::string, std::unique_ptr<FolderNode>> children;
    };
    FolderNode m_checkedFolders;                              // below the target, known to be real folders
    std::unordered_map<std::string, std::string> m_utf8Names; // ZipDirectory::unflaggedUtf8Names
    std::unordered_map<std::string, std::string> m_written;   // the files of this run, by sameFileKey
    int32_t m_code = UNZIP_OK;
    uint64_t m_runBytes = 0;
    int m_matched = 0;
    int m_done = 0;
    std::string m_currentLocalName; // the entry being read, for the password question
    bool m_askedForEntry = false;
    bool m_passwordRefused = false;
    std::string m_password;
};

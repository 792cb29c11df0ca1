#include "EntryNames.h"

#include <cctype>

namespace {

char fold(char c, bool caseSensitive) {
    return caseSensitive ? c : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool hasDriveLetter(std::string_view name) {
    return name.size() >= 2 && name[1] == ':' && std::isalpha(static_cast<unsigned char>(name[0]));
}

// Why Windows cannot hold a name part as it stands, or nothing. Windows opens a device for CON, PRN, AUX, NUL,
// COM1-9 and LPT1-9 with any extension, takes "a:b" for the stream b of a, forbids some characters, and drops a
// final dot or space, so that two different names would land on one file. Archives travel between systems, so
// these names are refused everywhere.
const char* windowsProblem(const std::string& part) {
    for (const char c : part) {
        if (static_cast<unsigned char>(c) < 0x20 || std::string_view("<>:\"|?*").find(c) != std::string_view::npos)
            return "carattere non ammesso da Windows";
    }
    if (part.back() == '.' || part.back() == ' ')
        return "nome che finisce con un punto o uno spazio";
    std::string base = part.substr(0, part.find('.'));
    while (!base.empty() && base.back() == ' ')
        base.pop_back();
    for (char& c : base)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const bool numbered =
        base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) && base[3] >= '1' && base[3] <= '9';
    if (numbered || base == "CON" || base == "PRN" || base == "AUX" || base == "NUL")
        return "nome di dispositivo riservato da Windows";
    return nullptr;
}

} // namespace

namespace EntryNames {

Placement place(std::string_view name, bool isFolder, bool honorFolders, bool spaceToUnderscore) {
    if (name.size() > kMaxNameBytes)
        return {false, {}, "nome troppo lungo"};
    std::string unified(name);
    for (char& c : unified) {
        if (c == '\\')
            c = '/';
    }
    if (!unified.empty() && unified.front() == '/')
        return {false, {}, "percorso assoluto"};
    if (hasDriveLetter(unified))
        return {false, {}, "percorso con lettera di unità"};

    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= unified.size()) {
        const size_t slash = std::min(unified.find('/', start), unified.size());
        const std::string part = unified.substr(start, slash - start);
        if (part == "..")
            return {false, {}, "percorso che esce dalla cartella"};
        if (!part.empty() && part != ".") {
            if (const char* problem = windowsProblem(part))
                return {false, {}, problem};
            parts.push_back(part);
        }
        if (parts.size() > kMaxDepth)
            return {false, {}, "troppe cartelle una dentro l'altra"};
        start = slash + 1;
    }
    if (!honorFolders) {
        if (isFolder || parts.empty())
            return {true, {}, {}};
        parts = {parts.back()};
    }
    std::string relative;
    for (const std::string& part : parts) {
        if (!relative.empty())
            relative += '/';
        relative += part;
    }
    if (spaceToUnderscore) {
        for (char& c : relative) {
            if (c == ' ')
                c = '_';
        }
    }
    return {true, relative, {}};
}

bool matches(std::string_view pattern, std::string_view name, bool caseSensitive) {
    // Iterative matching with one backtrack point for the last "*": linear in practice, never exponential.
    size_t p = 0, n = 0, starAt = std::string_view::npos, resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() &&
            (pattern[p] == '?' || fold(pattern[p], caseSensitive) == fold(name[n], caseSensitive))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starAt = p++;
            resumeAt = n;
        } else if (starAt != std::string_view::npos) {
            p = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

bool selected(std::string_view name, const std::vector<std::string>& include, const std::vector<std::string>& exclude,
              bool caseSensitive) {
    auto anyMatches = [&](const std::vector<std::string>& patterns) {
        for (const std::string& pattern : patterns) {
            if (matches(pattern, name, caseSensitive))
                return true;
        }
        return false;
    };
    return (include.empty() || anyMatches(include)) && !anyMatches(exclude);
}

} // namespace EntryNames

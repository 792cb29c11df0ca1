#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Rules on entry names, free of any archive or file: where an entry may be written, and which entries a run
// selects.
namespace EntryNames {

struct Placement {
    bool accepted = false;
    std::string relative; // "/"-separated, below the target folder; empty with accepted: nothing to write
    std::string reason;   // why it was refused
};

// Past these an entry is refused: no newspaper needs them, and every folder level costs the extraction work.
inline constexpr size_t kMaxNameBytes = 1024;
inline constexpr size_t kMaxDepth = 64; // folders and the file

// Where an entry lands below the target folder. Refused: absolute names, drive letters, ".." anywhere, names over
// kMaxNameBytes or kMaxDepth parts, and parts Windows cannot hold as they are (devices such as CON or COM1,
// ":" and the other characters it forbids, a final dot or space).
// "\" counts as a separator, "." and empty parts are dropped. Without stored folders only the last part stays
// (and a folder entry has nothing to write); with spaceToUnderscore spaces become "_".
Placement place(std::string_view name, bool isFolder, bool honorFolders, bool spaceToUnderscore);

// "*" any run of characters (also "/"), "?" any one character; letters compared ASCII-case-blind on request.
bool matches(std::string_view pattern, std::string_view name, bool caseSensitive);

// Selected when the include list is empty or matches, and the exclude list does not.
bool selected(std::string_view name, const std::vector<std::string>& include, const std::vector<std::string>& exclude,
              bool caseSensitive);

} // namespace EntryNames

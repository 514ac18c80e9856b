#pragma once
// The one attribute-filtered way the program reads names, kinds, sizes and times.
// Hidden: a name that begins with "."; system: neither directory, regular file nor
// symbolic link. A link is an entry of its own, a file of size 0, and is never followed
// as an entry; the links on the way to a path are followed, as the system follows them.
// Paths may be of any length.

#include "core/disk/EntryKind.h"

#include <sys/stat.h>

#include <cstdint>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

namespace ketrilo {

inline constexpr uint32_t faHidden = 2;
inline constexpr uint32_t faSysFile = 4;
inline constexpr uint32_t faDirectory = 16;
inline constexpr uint32_t faAnyFile = 0x1FF;

struct TSearchRec {
    std::string Name;
    uint32_t Attr = 0;
    int64_t Size = 0;     // 0 for folders and links
    std::time_t Time = 0; // last write, seconds since the epoch
    EntryKind Kind = EntryKind::File;
};

// Entries whose hidden, system or directory bit is not in mask are skipped.
// Folder(f): the entries of folder f ("." and ".." are not reported).
// Entry(p): the one entry at path p (none for a path ending in "/").
class DirectorySearch {
public:
    static DirectorySearch Folder(const std::string& folder, uint32_t mask);
    static DirectorySearch Entry(const std::string& path, uint32_t mask);
    DirectorySearch(DirectorySearch&&) noexcept;
    DirectorySearch& operator=(DirectorySearch&&) noexcept;
    ~DirectorySearch();

    [[nodiscard]] bool Found() const; // a current entry exists
    [[nodiscard]] const TSearchRec& Current() const;
    bool Next(); // advance; false at the end

private:
    struct State;
    explicit DirectorySearch(std::unique_ptr<State> state);
    std::unique_ptr<State> m_state;
};

// Every entry that Folder(folder, mask) finds, in the same order, read at once with the
// entries' status read on several threads: for folders of very many entries.
[[nodiscard]] std::vector<TSearchRec> SearchWholeFolder(const std::string& folder, uint32_t mask);
// The record a search gives for the entry name of that status.
[[nodiscard]] TSearchRec SearchRecordOf(const char* name, const struct stat& status);

// True for a visible directory (not a link, not hidden); false for a path ending in "/".
[[nodiscard]] bool IsDirectory(const std::string& path);
// The same judgement of an entry already read (an empty record is no folder).
[[nodiscard]] bool IsVisibleFolder(const TSearchRec& entry);

} // namespace ketrilo

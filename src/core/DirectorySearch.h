#pragma once
// The one attribute-filtered way the program reads names, kinds, sizes and times.
// Hidden: a name that begins with "."; system: neither directory, regular file nor
// symbolic link. Symbolic links are never followed, neither as the entry (a link is a
// file of size 0) nor on the way to it; paths may be of any length.

#include <cstdint>
#include <ctime>
#include <memory>
#include <string>

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

// Size of the entry at path with nothing filtered; 0 when there is none.
[[nodiscard]] int64_t GetFileSize64(const std::string& path);

// True for a visible directory (not a link, not hidden); false for a path ending in "/".
[[nodiscard]] bool IsDirectory(const std::string& path);

} // namespace ketrilo

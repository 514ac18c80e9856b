#include "core/disk/DirectorySearch.h"

#include "core/disk/DirectoryReader.h"
#include "core/disk/OpenByPath.h"

#include <sys/stat.h>

namespace ketrilo {

namespace {

uint32_t AttributesOf(const char* name, mode_t mode) {
    uint32_t attr = IsHiddenName(name) ? faHidden : 0;
    if (S_ISDIR(mode))
        attr |= faDirectory;
    else if (!S_ISREG(mode) && !S_ISLNK(mode))
        attr |= faSysFile;
    return attr;
}

bool PassesFilter(uint32_t attr, uint32_t mask) {
    return (attr & (faHidden | faSysFile | faDirectory) & ~mask) == 0;
}

} // namespace

TSearchRec SearchRecordOf(const char* name, const struct stat& st) {
    TSearchRec rec;
    rec.Name = name;
    rec.Attr = AttributesOf(name, st.st_mode);
    rec.Size = S_ISDIR(st.st_mode) || S_ISLNK(st.st_mode) ? 0 : st.st_size;
    rec.Time = st.st_mtime;
    rec.Kind = EntryKindOfMode(st.st_mode);
    return rec;
}

struct DirectorySearch::State {
    UniqueFd folder;
    std::unique_ptr<DirectoryReader> reader; // null for a search of one entry
    uint32_t mask = 0;
    bool found = false;
    TSearchRec current;

    void Advance() {
        found = false;
        if (!reader)
            return;
        while (reader->Next()) {
            // Hidden names are filtered before the stat they would otherwise cost.
            if (IsHiddenName(reader->Name()) && (mask & faHidden) == 0)
                continue;
            struct stat st;
            if (!reader->Status(st))
                continue; // gone since the read: nothing to report
            TSearchRec rec = SearchRecordOf(reader->Name(), st);
            if (!PassesFilter(rec.Attr, mask))
                continue;
            current = std::move(rec);
            found = true;
            return;
        }
    }
};

DirectorySearch::DirectorySearch(std::unique_ptr<State> state) : m_state(std::move(state)) {}
DirectorySearch::DirectorySearch(DirectorySearch&&) noexcept = default;
DirectorySearch& DirectorySearch::operator=(DirectorySearch&&) noexcept = default;
DirectorySearch::~DirectorySearch() = default;

DirectorySearch DirectorySearch::Folder(const std::string& folder, uint32_t mask) {
    auto state = std::make_unique<State>();
    state->mask = mask;
    state->folder = OpenFolderByPath(folder);
    if (state->folder.Valid())
        state->reader = std::make_unique<DirectoryReader>(state->folder.Get());
    state->Advance();
    return DirectorySearch(std::move(state));
}

DirectorySearch DirectorySearch::Entry(const std::string& path, uint32_t mask) {
    auto state = std::make_unique<State>();
    state->mask = mask;
    struct stat st;
    if (!path.empty() && path.back() != '/' && StatByPath(path, st)) {
        const size_t slash = path.rfind('/');
        const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
        TSearchRec rec = SearchRecordOf(name.c_str(), st);
        if (PassesFilter(rec.Attr, mask)) {
            state->current = std::move(rec);
            state->found = true;
        }
    }
    return DirectorySearch(std::move(state));
}

bool DirectorySearch::Found() const {
    return m_state->found;
}

const TSearchRec& DirectorySearch::Current() const {
    return m_state->current;
}

bool DirectorySearch::Next() {
    m_state->Advance();
    return m_state->found;
}

std::vector<TSearchRec> SearchWholeFolder(const std::string& folder, uint32_t mask) {
    const UniqueFd fd = OpenFolderByPath(folder);
    if (!fd.Valid())
        return {};
    std::vector<TSearchRec> found;
    for (const EntryWithStatus& entry : ReadWholeFolder(fd.Get(), (mask & faHidden) != 0)) {
        TSearchRec rec = SearchRecordOf(entry.name.c_str(), entry.status);
        if (PassesFilter(rec.Attr, mask))
            found.push_back(std::move(rec));
    }
    return found;
}

bool IsDirectory(const std::string& path) {
    const DirectorySearch search = DirectorySearch::Entry(path, faAnyFile);
    return search.Found() && IsVisibleFolder(search.Current());
}

bool IsVisibleFolder(const TSearchRec& entry) {
    return (entry.Attr & (faHidden | faDirectory)) == faDirectory;
}

} // namespace ketrilo

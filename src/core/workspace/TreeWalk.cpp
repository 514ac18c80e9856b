#include "core/workspace/TreeWalk.h"

#include "core/disk/DirectoryReader.h"
#include "core/disk/OpenByPath.h"
#include "core/text/NameRules.h"
#include "core/text/Numbers.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <functional>
#include <thread>
#include <utility>

namespace ketrilo {

namespace {

constexpr int FolderOpenFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

bool IdOf(int fd, FolderId& id) {
    struct stat st;
    if (fstat(fd, &st) != 0)
        return false;
    id = FolderId{st.st_dev, st.st_ino};
    return true;
}

bool IsFolder(const UniqueFd& fd, const FolderId& id) {
    FolderId found;
    return fd.Valid() && IdOf(fd.Get(), found) && found == id;
}

bool OutOfHandles() {
    return errno == EMFILE || errno == ENFILE;
}

} // namespace

size_t TreeWalk::FolderIdHash::operator()(const FolderId& id) const noexcept {
    return std::hash<uint64_t>()(static_cast<uint64_t>(id.ino) * 0x9E3779B97F4A7C15ULL ^
                                 static_cast<uint64_t>(id.dev));
}

void TreeWalk::Run(WalkTask task) {
    m_folder = std::move(task.folder);
    m_ancestors = std::move(task.ancestors);
    m_onPath.insert(m_ancestors.begin(), m_ancestors.end());
    Enter(std::move(task.fd));
    while (!m_stack.empty()) {
        if (m_crew.Hungry())
            ShareOne();
        Frame& top = m_stack.back();
        if (top.next == top.pending.size())
            Leave();
        else
            Step(std::move(top.pending[top.next++]));
    }
}

// Pushes the folder open on fd once its entries are read; a folder already on the path
// to itself is not entered again.
void TreeWalk::Enter(UniqueFd fd) {
    FolderId id;
    if (!fd.Valid() || !IdOf(fd.Get(), id) || m_onPath.contains(id))
        return;
    Frame frame;
    frame.fd = std::move(fd);
    frame.id = id;
    frame.folderLength = m_folder.size();
    ReadEntries(frame);
    m_onPath.insert(id);
    m_stack.push_back(std::move(frame));
    ++m_openCount;
    StayWithinLimit();
}

void TreeWalk::ReadEntries(Frame& frame) {
    DirectoryReader reader(frame.fd.Get());
    const bool collect = m_crew.Collect();
    FolderWitness* const witness = m_crew.Witness();
    std::vector<EntryWithStatus> seen;
    int64_t files = 0;
    int64_t clusters = 0;
    while (reader.Next()) {
        const char* name = reader.Name();
        if (witness != nullptr)
            Witness(reader, seen);
        if (IsHiddenName(name))
            continue;
        const EntryKind kind = reader.Kind();
        if (kind == EntryKind::File) {
            struct stat st;
            if (reader.Status(st) && S_ISREG(st.st_mode)) {
                ++files;
                clusters = SaturatingAdd(clusters, ClustersFor(ClusterSize, st.st_size));
            }
        } else if (kind != EntryKind::Folder && kind != EntryKind::Link) {
            continue; // system entries, and entries gone since the read
        }
        const bool isLong = collect && IsLongName(name);
        if (kind == EntryKind::Folder || isLong)
            frame.pending.push_back(PendingEntry{name, kind, isLong});
    }
    m_piece.clusters = SaturatingAdd(m_piece.clusters, clusters);
    if (witness != nullptr)
        witness->FolderRead(m_crew.Root(), m_folder, frame.fd.Get(), seen);
    m_crew.FolderRead(m_folder, files, clusters);
}

// The entry with its status for the witness: a folder's type is enough, the rest are
// asked for theirs (which the count of a file then reuses).
void TreeWalk::Witness(DirectoryReader& reader, std::vector<EntryWithStatus>& seen) {
    EntryWithStatus entry{reader.Name(), {}};
    if (reader.Kind() == EntryKind::Folder)
        entry.status.st_mode = S_IFDIR;
    else if (!reader.Status(entry.status))
        return; // gone since the read
    seen.push_back(std::move(entry));
}

// The long-name test comes before the descent, so a folder's row precedes its contents'.
void TreeWalk::Step(PendingEntry entry) {
    const bool collect = m_crew.Collect();
    if (entry.isLong)
        m_piece.items.push_back(WalkPiece::Item{m_folder, entry.name, entry.kind});
    if (entry.kind != EntryKind::Folder)
        return;
    if (entry.piece != NoPiece) {
        if (collect)
            m_piece.items.push_back(WalkPiece::Item{{}, {}, EntryKind::Folder, entry.piece});
        return;
    }
    UniqueFd fd = OpenRetrying([&] {
        return UniqueFd(openat(m_stack.back().fd.Get(), entry.name.c_str(), FolderOpenFlags));
    });
    if (!fd.Valid())
        return; // unreadable: contributes nothing
    m_folder.append(entry.name).push_back('/');
    const size_t depth = m_stack.size();
    Enter(std::move(fd));
    if (m_stack.size() == depth)
        m_folder.resize(m_stack.back().folderLength);
}

void TreeWalk::Leave() {
    Frame child = std::move(m_stack.back());
    m_stack.pop_back();
    m_onPath.erase(child.id);
    if (child.fd.Valid())
        --m_openCount;
    if (m_stack.empty())
        return;
    const size_t index = m_stack.size() - 1;
    if (!m_stack[index].fd.Valid())
        Reopen(index, child.fd);
    m_folder.resize(m_stack.back().folderLength);
    m_shareFrame = std::min(m_shareFrame, m_stack.size());
}

// Closes the shallowest open handles below the top; frame 0 stays open as the anchor
// from which any folder on the path can be reopened.
void TreeWalk::StayWithinLimit() {
    while (m_openCount > m_crew.HandleLimit() && m_closedEnd + 1 < m_stack.size())
        CloseFrame(m_closedEnd++);
}

void TreeWalk::CloseFrame(size_t index) {
    if (m_stack[index].fd.Valid()) {
        m_stack[index].fd.Reset();
        --m_openCount;
    }
}

// Reopens frame index, the last closed one, now on top: through ".." of the child just
// left when that leads back to the same folder, otherwise by its names. A folder that
// cannot be found again keeps its remaining entries unread, apart from those other
// walkers have measured already.
void TreeWalk::Reopen(size_t index, UniqueFd& child) {
    Frame& frame = m_stack[index];
    UniqueFd fd;
    if (child.Valid())
        fd.Reset(openat(child.Get(), "..", FolderOpenFlags));
    child.Reset();
    if (!IsFolder(fd, frame.id))
        fd = OpenRetrying([&] { return OpenByNames(index); });
    m_closedEnd = index;
    if (m_closedEnd <= m_closedBegin)
        m_closedBegin = m_closedEnd = 1; // every frame open again
    if (!IsFolder(fd, frame.id)) {
        for (; frame.next < frame.pending.size(); ++frame.next) {
            const PendingEntry& entry = frame.pending[frame.next];
            if (entry.piece != NoPiece && m_crew.Collect())
                m_piece.items.push_back(WalkPiece::Item{{}, {}, EntryKind::Folder, entry.piece});
        }
        return;
    }
    frame.fd = std::move(fd);
    ++m_openCount;
}

// From the nearest open folder below index, or from the path itself when none is open.
UniqueFd TreeWalk::OpenByNames(size_t index) const {
    size_t anchor = index;
    while (anchor > 0 && !m_stack[anchor - 1].fd.Valid())
        --anchor;
    if (anchor == 0)
        return OpenTreeFolderByPath(m_folder.substr(0, m_stack[index].folderLength));
    int current = m_stack[anchor - 1].fd.Get();
    UniqueFd owned;
    for (size_t k = anchor; k <= index; ++k) {
        const size_t start = m_stack[k - 1].folderLength;
        const std::string name = m_folder.substr(start, m_stack[k].folderLength - start - 1);
        UniqueFd next(openat(current, name.c_str(), FolderOpenFlags));
        if (!next.Valid())
            return next;
        owned = std::move(next);
        current = owned.Get();
    }
    return owned;
}

// Hands the shallowest folder not yet stepped through to the crew: the biggest share of
// work at the least cost. Its place in this walk's order becomes a mark for its piece.
void TreeWalk::ShareOne() {
    for (size_t i = m_shareFrame; i < m_stack.size(); ++i) {
        Frame& frame = m_stack[i];
        frame.shareFrom = std::max(frame.shareFrom, frame.next);
        while (frame.shareFrom < frame.pending.size() &&
               frame.pending[frame.shareFrom].kind != EntryKind::Folder)
            ++frame.shareFrom;
        if (frame.shareFrom == frame.pending.size()) {
            if (i == m_shareFrame)
                ++m_shareFrame;
            continue;
        }
        if (!frame.fd.Valid())
            continue;
        PendingEntry& entry = frame.pending[frame.shareFrom++];
        UniqueFd fd(openat(frame.fd.Get(), entry.name.c_str(), FolderOpenFlags));
        if (!fd.Valid())
            return; // this walker meets it again in its turn
        WalkTask task;
        task.fd = std::move(fd);
        task.folder = m_folder.substr(0, frame.folderLength) + entry.name + "/";
        task.ancestors = m_ancestors;
        for (size_t k = 0; k <= i; ++k)
            task.ancestors.push_back(m_stack[k].id);
        entry.piece = m_crew.Share(std::move(task));
        return;
    }
}

template <typename Open> UniqueFd TreeWalk::OpenRetrying(Open open) {
    for (size_t attempt = 0;; ++attempt) {
        UniqueFd fd = open();
        if (fd.Valid() || !OutOfHandles() || !ReleaseHandles(attempt))
            return fd;
    }
}

// Out of descriptors: closes every handle below the top (they can all be found again),
// then waits for other walkers to give theirs back. False when nothing more can free one.
bool TreeWalk::ReleaseHandles(size_t attempt) {
    bool released = false;
    for (size_t i = 0; i + 1 < m_stack.size(); ++i) {
        released = released || m_stack[i].fd.Valid();
        CloseFrame(i);
    }
    if (m_stack.size() > 1) {
        m_closedBegin = 0;
        m_closedEnd = std::max(m_closedEnd, m_stack.size() - 1);
    }
    if (released)
        return true;
    constexpr size_t WaitLimit = 2000;
    if (attempt < WaitLimit && m_crew.OthersBusy()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return true;
    }
    return false;
}

} // namespace ketrilo

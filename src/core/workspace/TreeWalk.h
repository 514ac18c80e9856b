#pragma once
// One thread's depth-first walk of one folder tree, over open directory handles with an
// explicit stack, so neither the length of a path nor the depth of a tree can stop it.

#include "core/disk/DirectoryReader.h"
#include "core/workspace/WalkShares.h"

#include <cstddef>
#include <string>
#include <unordered_set>
#include <vector>

namespace ketrilo {

class TreeWalk {
public:
    TreeWalk(WalkShares& crew, WalkPiece& piece) : m_crew(crew), m_piece(piece) {}

    // Walks the task's tree; its clusters and long names go into the piece.
    void Run(WalkTask task);

private:
    // An entry read ahead that still needs a step in walk order: a sub-folder to enter
    // or a long name to collect. Files are counted while their folder is read.
    struct PendingEntry {
        std::string name;
        EntryKind kind = EntryKind::File;
        bool isLong = false;
        size_t piece = NoPiece; // handed to another walker
    };

    struct Frame {
        UniqueFd fd; // invalid while closed to stay within the handle limit
        FolderId id;
        std::vector<PendingEntry> pending;
        size_t next = 0;         // the next entry to step through
        size_t shareFrom = 0;    // no folder before it can be handed over
        size_t folderLength = 0; // length of the walk's folder text inside this folder
    };

    struct FolderIdHash {
        size_t operator()(const FolderId& id) const noexcept;
    };

    void Enter(UniqueFd fd);
    void ReadEntries(Frame& frame);
    static void Witness(DirectoryReader& reader, std::vector<EntryWithStatus>& seen);
    void Step(PendingEntry entry);
    void Leave();
    void StayWithinLimit();
    void CloseFrame(size_t index);
    void Reopen(size_t index, UniqueFd& child);
    [[nodiscard]] UniqueFd OpenByNames(size_t index) const;
    void ShareOne();
    template <typename Open> UniqueFd OpenRetrying(Open open);
    bool ReleaseHandles(size_t attempt);

    WalkShares& m_crew;
    WalkPiece& m_piece;
    std::string m_folder; // the current folder's path, ending in "/"
    std::vector<FolderId> m_ancestors;
    std::vector<Frame> m_stack;
    std::unordered_set<FolderId, FolderIdHash> m_onPath;
    size_t m_openCount = 0;
    // Frames in [m_closedBegin, m_closedEnd) have their handles closed; frame 0 stays open
    // as the anchor unless the open-file limit forced it shut too.
    size_t m_closedBegin = 1;
    size_t m_closedEnd = 1;
    size_t m_shareFrame = 0; // frames below it have nothing left to hand over
};

} // namespace ketrilo

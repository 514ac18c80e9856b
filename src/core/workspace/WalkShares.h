#pragma once
// What the walkers of one tree walk share: the folders one hands to another, the pieces
// of the result they fill, and the signals a walker reads in its loop. A TreeWalk walks
// for WalkShares; the WalkCrew that runs the walkers is one.

#include "core/disk/UniqueFd.h"
#include "core/workspace/FolderWitness.h"
#include "core/workspace/IconSource.h"

#include <sys/types.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace ketrilo {

// Each walker holds at most this many folder handles open along its path; a deeper
// folder's ancestors are closed and found again on the way back, so no depth is too deep.
inline constexpr size_t MeasureOpenFolderLimit = 64;

// A folder's identity, for the loop guard.
struct FolderId {
    dev_t dev = 0;
    ino_t ino = 0;
    bool operator==(const FolderId&) const = default;
};

inline constexpr size_t NoPiece = std::numeric_limits<size_t>::max();

// What one walker found in one handed-over tree, in walk order: long names, and the
// places where trees handed on to other walkers belong.
struct WalkPiece {
    struct Item {
        std::string folder; // the long name's folder, ending in "/"
        std::string name;
        EntryKind kind = EntryKind::File;
        size_t piece = NoPiece; // not NoPiece: the handed-on tree's piece goes here instead
    };
    std::vector<Item> items;
    int64_t clusters = 0;
};

// A folder handed to whichever walker is free; its handle is open already.
struct WalkTask {
    UniqueFd fd;
    std::string folder;              // its path, ending in "/"
    std::vector<FolderId> ancestors; // the folders on the path to it, for the loop guard
    size_t piece = 0;
};

class WalkShares {
public:
    WalkShares(const WalkShares&) = delete;
    WalkShares& operator=(const WalkShares&) = delete;

    [[nodiscard]] bool Collect() const { return m_collect; }
    [[nodiscard]] size_t HandleLimit() const { return m_handleLimit; }
    // True when a walker should hand a folder over.
    [[nodiscard]] bool Hungry() const { return m_hungry.load(std::memory_order_relaxed); }
    // True while another walker is busy (it will give handles back).
    [[nodiscard]] bool OthersBusy() const { return m_busy.load(std::memory_order_relaxed) > 1; }
    // Queues task with a new piece for it; returns the piece.
    virtual size_t Share(WalkTask task) = 0;
    // Counts a folder entered and its files; throws when the walk must stop.
    virtual void FolderRead(const std::string& folder, int64_t files, int64_t clusters) = 0;
    // Who else sees each folder read, if anyone; and the walk's root folder, ending in "/".
    [[nodiscard]] FolderWitness* Witness() const { return m_witness; }
    [[nodiscard]] const std::string& Root() const { return m_root; }

protected:
    WalkShares(bool collect, FolderWitness* witness) : m_collect(collect), m_witness(witness) {}
    ~WalkShares() = default;

    const bool m_collect;
    FolderWitness* const m_witness;
    std::string m_root;
    const size_t m_handleLimit = MeasureOpenFolderLimit;
    std::atomic<bool> m_hungry{false};
    std::atomic<int> m_busy{0};
};

} // namespace ketrilo

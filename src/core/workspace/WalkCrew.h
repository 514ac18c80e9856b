#pragma once
// The threads of one tree walk and what they share: folders that a busy walker hands
// to an idle one, the piece of the result each handed-over tree gives, and how the
// pieces join into the order of a one-thread walk.

#include "core/base/WorkProgress.h"
#include "core/disk/UniqueFd.h"
#include "core/workspace/IconSource.h"
#include "core/workspace/LongNameList.h"

#include <sys/types.h>

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <limits>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace ketrilo {

// Each walker holds at most this many folder handles open along its path; a deeper
// folder's ancestors are closed and found again on the way back, so no depth is too deep.
inline constexpr size_t MeasureOpenFolderLimit = 64;

struct WalkOptions {
    unsigned threads = 0; // 0: one per processor core, as the open-file limit allows
    // Helpers start once the walk has entered this many folders, so a small tree costs no
    // thread at all.
    size_t helpersAfterFolders = 32;
    // Hands over every folder that can be handed over, not only to idle walkers (tests).
    bool shareEveryFolder = false;
    // Runs on the walking thread as each folder is entered, with its path (tests).
    std::function<void(const std::string&)> onEnter;
};

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

class WalkCrew {
public:
    WalkCrew(bool collect, WorkProgress* progress, WalkOptions options);
    ~WalkCrew();
    WalkCrew(const WalkCrew&) = delete;
    WalkCrew& operator=(const WalkCrew&) = delete;

    // Walks the tree under folder on this thread and, once it proves big, on helpers too;
    // returns its clusters (saturated) and, with collect, appends its long names that
    // longNames lacks, in walk order. Rethrows what a walker threw (WorkCancelled).
    int64_t Run(const std::string& folder, LongNameList& longNames, IconSource& icons);

    // For the walkers.
    [[nodiscard]] bool Collect() const { return m_collect; }
    [[nodiscard]] size_t HandleLimit() const { return m_handleLimit; }
    // True when a walker should hand a folder over.
    [[nodiscard]] bool Hungry() const { return m_hungry.load(std::memory_order_relaxed); }
    // Queues task with a new piece for it; returns the piece.
    size_t Share(WalkTask task);
    // Counts a folder entered and its files; throws when the walk must stop.
    void FolderRead(const std::string& folder, int64_t files, int64_t clusters);
    // True while another walker is busy (it will give handles back).
    [[nodiscard]] bool OthersBusy() const { return m_busy.load(std::memory_order_relaxed) > 1; }

private:
    void Work();
    void UpdateHungry();
    void StartHelpers();
    int64_t Join(LongNameList& longNames, IconSource& icons);

    const bool m_collect;
    WorkProgress* const m_progress;
    const WalkOptions m_options;
    unsigned m_threads = 1;
    size_t m_handleLimit = 0;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<WalkTask> m_queue;
    std::deque<WalkPiece> m_pieces; // stable addresses: each walker writes its own
    size_t m_waiting = 0;
    bool m_done = false;
    std::exception_ptr m_error;
    std::atomic<bool> m_hungry{false};
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_busy{0};
    std::atomic<size_t> m_foldersEntered{0};
    std::atomic<bool> m_helpersStarted{false};
    std::atomic<int64_t> m_shownAt{0};
    std::vector<std::jthread> m_helpers;
};

} // namespace ketrilo

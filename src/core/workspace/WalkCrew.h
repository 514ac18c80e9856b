#pragma once
// The threads of one tree walk: they take the folders a busy walker hands to an idle one
// (WalkShares), and the pieces of the result join into the order of a one-thread walk.

#include "core/base/WorkProgress.h"
#include "core/workspace/FolderWitness.h"
#include "core/workspace/IconSource.h"
#include "core/workspace/LongNameList.h"
#include "core/workspace/WalkShares.h"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace ketrilo {

struct WalkOptions {
    unsigned threads = 0; // 0: one per processor core, as the open-file limit allows
    // Helpers start once the walk has entered this many folders, so a small tree costs no
    // thread at all.
    size_t helpersAfterFolders = 32;
    // Hands over every folder that can be handed over, not only to idle walkers (tests).
    bool shareEveryFolder = false;
    // Runs on the walking thread as each folder is entered, with its path (tests).
    std::function<void(const std::string&)> onEnter{};
    // Sees every folder read, hidden entries included.
    FolderWitness* witness = nullptr;
};

class WalkCrew final : public WalkShares {
public:
    WalkCrew(bool collect, WorkProgress* progress, WalkOptions options);
    ~WalkCrew();

    // Walks the tree under folder on this thread and, once it proves big, on helpers too;
    // returns its clusters (saturated) and, with collect, appends its long names that
    // longNames lacks, in walk order. Rethrows what a walker threw (WorkCancelled).
    int64_t Run(const std::string& folder, LongNameList& longNames, IconSource& icons);

    // For the walkers.
    size_t Share(WalkTask task) override;
    void FolderRead(const std::string& folder, int64_t files, int64_t clusters) override;

private:
    void Work();
    void UpdateHungry();
    void StartHelpers();
    int64_t Join(LongNameList& longNames, IconSource& icons);

    WorkProgress* const m_progress;
    const WalkOptions m_options;
    unsigned m_threads = 1;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<WalkTask> m_queue;
    std::deque<WalkPiece> m_pieces; // stable addresses: each walker writes its own
    size_t m_waiting = 0;
    bool m_done = false;
    std::exception_ptr m_error;
    std::atomic<bool> m_stop{false};
    std::atomic<size_t> m_foldersEntered{0};
    std::atomic<bool> m_helpersStarted{false};
    std::atomic<int64_t> m_shownAt{0};
    std::vector<std::jthread> m_helpers;
};

} // namespace ketrilo

#include "core/workspace/WalkCrew.h"

#include "core/disk/OpenByPath.h"
#include "core/text/NameRules.h"
#include "core/text/Numbers.h"
#include "core/workspace/TreeWalk.h"

#include <sys/resource.h>

#include <algorithm>
#include <system_error>
#include <utility>

namespace ketrilo {

namespace {

// Thrown in a walker when another one failed: its part no longer matters.
struct WalkStopped {};

// How many tasks wait, at most, when every folder that can be is handed over.
constexpr size_t EagerQueueLimit = 64;

// One walker per core, as far as the open-file limit gives each its handles and leaves
// the rest of the program as many again.
unsigned ThreadsFor(unsigned requested) {
    unsigned threads =
        requested != 0 ? requested : std::max(1u, std::thread::hardware_concurrency());
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
        const rlim_t budget = limit.rlim_cur / MeasureOpenFolderLimit;
        threads = static_cast<unsigned>(std::min<rlim_t>(threads, budget > 2 ? budget - 1 : 1));
    }
    return threads;
}

int64_t SteadyNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

WalkCrew::WalkCrew(bool collect, WorkProgress* progress, WalkOptions options)
    : WalkShares(collect, options.witness), m_progress(progress), m_options(std::move(options)),
      m_threads(ThreadsFor(m_options.threads)) {}

WalkCrew::~WalkCrew() {
    {
        std::lock_guard lock(m_mutex);
        m_done = true;
    }
    m_wake.notify_all();
}

int64_t WalkCrew::Run(const std::string& folder, LongNameList& longNames, IconSource& icons) {
    UniqueFd root = OpenTreeFolderByPath(folder);
    if (!root.Valid())
        return 0;
    m_root = folder;
    m_pieces.emplace_back();
    m_queue.push_back(WalkTask{std::move(root), folder, {}, 0});
    Work();
    for (std::jthread& helper : m_helpers)
        helper.join();
    if (m_error)
        std::rethrow_exception(m_error);
    return Join(longNames, icons);
}

size_t WalkCrew::Share(WalkTask task) {
    std::lock_guard lock(m_mutex);
    task.piece = m_pieces.size();
    m_pieces.emplace_back();
    m_queue.push_back(std::move(task));
    UpdateHungry();
    m_wake.notify_one();
    return m_queue.back().piece;
}

void WalkCrew::FolderRead(const std::string& folder, int64_t files, int64_t clusters) {
    if (m_stop.load(std::memory_order_relaxed))
        throw WalkStopped{};
    if (m_progress != nullptr) {
        m_progress->ThrowIfCancelled();
        m_progress->AddFiles(files, BytesOnDisc(clusters));
        m_progress->CountFolder();
        // The folder's path is copied for the display only now and then.
        constexpr int64_t ShowEvery = 50'000'000;
        const int64_t now = SteadyNanoseconds();
        int64_t shown = m_shownAt.load(std::memory_order_relaxed);
        if ((shown == 0 || now - shown >= ShowEvery) &&
            m_shownAt.compare_exchange_strong(shown, now, std::memory_order_relaxed))
            m_progress->SetCurrentFolder(folder);
    }
    if (m_options.onEnter)
        m_options.onEnter(folder);
    if (m_threads > 1 && !m_helpersStarted.load(std::memory_order_relaxed) &&
        m_foldersEntered.fetch_add(1, std::memory_order_relaxed) + 1 >=
            m_options.helpersAfterFolders)
        StartHelpers();
}

// Runs on the calling thread (first) and on each helper: takes tasks until none is left
// and no walker is busy, or until a walker failed.
void WalkCrew::Work() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        ++m_waiting;
        UpdateHungry();
        m_wake.wait(lock, [this] { return m_done || !m_queue.empty(); });
        --m_waiting;
        if (m_done) {
            UpdateHungry();
            return;
        }
        WalkTask task = std::move(m_queue.front());
        m_queue.pop_front();
        WalkPiece& piece = m_pieces[task.piece];
        m_busy.fetch_add(1, std::memory_order_relaxed);
        UpdateHungry();
        lock.unlock();
        std::exception_ptr error;
        try {
            TreeWalk(*this, piece).Run(std::move(task));
        } catch (const WalkStopped&) {
        } catch (...) {
            error = std::current_exception();
        }
        lock.lock();
        m_busy.fetch_sub(1, std::memory_order_relaxed);
        if (error && !m_error) {
            m_error = error;
            m_stop.store(true, std::memory_order_relaxed);
            m_done = true;
        }
        if (m_queue.empty() && m_busy.load(std::memory_order_relaxed) == 0)
            m_done = true;
        if (m_done)
            m_wake.notify_all();
    }
}

// Called with the mutex held.
void WalkCrew::UpdateHungry() {
    const bool hungry = !m_done && (m_options.shareEveryFolder ? m_queue.size() < EagerQueueLimit
                                                               : m_waiting > m_queue.size());
    m_hungry.store(hungry, std::memory_order_relaxed);
}

// Only the calling thread runs before the helpers exist, so only it gets here.
void WalkCrew::StartHelpers() {
    if (m_helpersStarted.exchange(true))
        return;
    try {
        for (unsigned i = 1; i < m_threads; ++i)
            m_helpers.emplace_back([this] { Work(); });
    } catch (const std::system_error&) {
        // No more threads to be had: the walk goes on with those it has.
    }
}

// The pieces in walk order: each mark replaced by its piece, depth first.
int64_t WalkCrew::Join(LongNameList& longNames, IconSource& icons) {
    int64_t total = 0;
    for (const WalkPiece& piece : m_pieces)
        total = SaturatingAdd(total, piece.clusters);
    struct Cursor {
        size_t piece;
        size_t item;
    };
    std::vector<Cursor> stack{{0, 0}};
    while (m_collect && !stack.empty()) {
        Cursor& cursor = stack.back();
        const WalkPiece& piece = m_pieces[cursor.piece];
        if (cursor.item == piece.items.size()) {
            stack.pop_back();
            continue;
        }
        const WalkPiece::Item& item = piece.items[cursor.item++];
        if (item.piece != NoPiece) {
            stack.push_back({item.piece, 0});
            continue;
        }
        if (m_progress != nullptr)
            m_progress->ThrowIfCancelled();
        const std::string fullPath = item.folder + item.name;
        if (longNames.LongNameListContains(fullPath))
            continue;
        const int32_t icon = item.kind == EntryKind::Folder
                                 ? FolderIconIndex
                                 : icons.IconIndexFor(fullPath, item.kind);
        longNames.Append(LongNameRow{item.name, NameLength(item.name), item.folder, icon});
    }
    return total;
}

} // namespace ketrilo

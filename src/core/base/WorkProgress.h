#pragma once
// What a long piece of work (a walk, an image computation, a plan) shares with whoever
// waits for it: counts of what has been read so far, the folder being read, and a
// request to stop. Written by worker threads, read by the window's thread.

#include "core/base/WorkCancelled.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

namespace ketrilo {

class WorkProgress {
public:
    struct Snapshot {
        int64_t files = 0;
        int64_t folders = 0;
        int64_t bytes = 0;
        std::string currentFolder;
    };

    void Cancel() noexcept { m_cancelled.store(true, std::memory_order_relaxed); }
    [[nodiscard]] bool Cancelled() const noexcept {
        return m_cancelled.load(std::memory_order_relaxed);
    }
    // Throws WorkCancelled once Cancel has been called.
    void ThrowIfCancelled() const {
        if (Cancelled())
            throw WorkCancelled();
    }

    // Work that reads the same files again (a plan measures the images of what it has
    // scanned) calls this before it does: the counts stay as they stand, while the folder
    // being read and the request to stop go on.
    void StopCounting() noexcept { m_counting.store(false, std::memory_order_relaxed); }

    void AddFiles(int64_t count, int64_t bytes) noexcept {
        if (!m_counting.load(std::memory_order_relaxed))
            return;
        m_files.fetch_add(count, std::memory_order_relaxed);
        m_bytes.fetch_add(bytes, std::memory_order_relaxed);
    }
    void EnterFolder(const std::string& folder) {
        CountFolder();
        SetCurrentFolder(folder);
    }
    void CountFolder() noexcept {
        if (m_counting.load(std::memory_order_relaxed))
            m_folders.fetch_add(1, std::memory_order_relaxed);
    }
    // The folder being read, for the display.
    void SetCurrentFolder(const std::string& folder) {
        std::lock_guard lock(m_mutex);
        m_currentFolder = folder;
    }
    [[nodiscard]] Snapshot Read() const {
        Snapshot s{m_files.load(std::memory_order_relaxed),
                   m_folders.load(std::memory_order_relaxed),
                   m_bytes.load(std::memory_order_relaxed),
                   {}};
        std::lock_guard lock(m_mutex);
        s.currentFolder = m_currentFolder;
        return s;
    }

private:
    std::atomic<bool> m_cancelled{false};
    std::atomic<bool> m_counting{true};
    std::atomic<int64_t> m_files{0};
    std::atomic<int64_t> m_folders{0};
    std::atomic<int64_t> m_bytes{0};
    mutable std::mutex m_mutex;
    std::string m_currentFolder;
};

} // namespace ketrilo

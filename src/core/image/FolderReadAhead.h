#pragma once
// The folders of the image's trees, read ahead on helper threads in the order a measure
// takes them, so that the one thread that builds the image's tree seldom waits on the disk. Every
// entry comes with what the image takes from its status; a symbolic link is never followed.

#include "core/disk/DirectoryReader.h"
#include "core/disk/UniqueFd.h"
#include "core/image/DiscImageChecks.h"

#include <sys/stat.h>

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace ketrilo {

// What libisofs takes from an entry.
struct EntryStatus {
    mode_t mode = 0;
    off_t size = 0;
    dev_t dev = 0; // with ino, the file's identity: hard links share their data
    ino_t ino = 0;
    nlink_t links = 1;      // a file's names: only a file of several can be met twice
    bool readable = true;   // a file's: whether this user may read it
    dev_t rdev = 0;         // a device's
    std::string linkTarget; // a link's
};

// The entry name in the folder open on dirFd, whose status is st.
[[nodiscard]] EntryStatus EntryStatusAt(int dirFd, const char* name, const struct stat& st);

[[nodiscard]] ImageEntry::Kind ImageKindOf(mode_t mode);

// One folder's entries, filled by the thread that reads it.
struct FolderListing {
    struct Detail {
        EntryStatus status;                    // a folder's holds its type only
        std::unique_ptr<FolderListing> folder; // a folder's own listing
    };

    FolderListing(std::string disk, std::string image, const FolderListing* up)
        : diskPath(std::move(disk)), imagePath(std::move(image)), parent(up) {}

    const std::string diskPath;        // ending in "/"
    const std::string imagePath;       // "a/b"
    const FolderListing* const parent; // the folder holding it; null for a well item

    // Opened from the folder holding it when that was read, so that a deep tree is not
    // walked down from its top for every folder; closed once read.
    UniqueFd handle;
    bool readable = false; // false: unreadable, or a folder already on its own path
    bool denied = false;   // unreadable for want of permission
    dev_t dev = 0;
    ino_t ino = 0;
    std::vector<ImageEntry> entries; // in the file system's order, as the checks take them
    std::vector<Detail> details;     // alongside entries
    // The entries by name, last first: libisofs keeps a folder's children in a list
    // sorted by name and looks for a new name's place from the front, so adding in this
    // order makes every insertion O(1).
    std::vector<size_t> order;
    int64_t files = 0;
    int64_t bytes = 0;

    bool ready = false;   // guarded by the read-ahead's mutex
    bool skipped = false; // known already: the read-ahead does not read it; set with its
                          // parent's ready
};

// Fills the listing of a folder from entries another reader read in it (a walk: with
// every entry, a file's status whole, a folder's type), the folder open on fd. False,
// with nothing filled, when this user may not read the folder.
[[nodiscard]] bool ListReadFolder(FolderListing& listing, int fd,
                                  std::vector<EntryWithStatus>& entries);

class FolderReadAhead {
public:
    // known: folders not to read, asked as each folder's sub-folders are queued.
    using Known = std::function<bool(const FolderListing&)>;
    explicit FolderReadAhead(Known known = {}) : m_known(std::move(known)) {}
    // Stops the helpers and waits for them.
    ~FolderReadAhead();
    FolderReadAhead(const FolderReadAhead&) = delete;
    FolderReadAhead& operator=(const FolderReadAhead&) = delete;

    // A well item's folder to read with everything beneath it, once started; the listing
    // lives as long as the read-ahead.
    FolderListing& Add(std::string diskPath, std::string imagePath);
    // Starts the helpers on the folders added, the first added first.
    void Start();
    // Returns once listing has been read, by a helper or here; rethrows what the reading
    // threw.
    void Wait(const FolderListing& listing);

private:
    void Work();
    // Reads the folder on top of the stack, then queues its sub-folders; lock is held on
    // entry and on return, not while reading.
    void ReadNext(std::unique_lock<std::mutex>& lock);

    const Known m_known;
    std::vector<std::unique_ptr<FolderListing>> m_items;
    std::mutex m_mutex;
    std::condition_variable m_queued;    // for the helpers: a folder to read, or stop
    std::condition_variable m_read;      // for the builder: a folder has been read
    std::vector<FolderListing*> m_stack; // folders to read, the next on top
    std::atomic<int> m_handles{0};       // listings holding a handle, not read yet
    bool m_stop = false;
    std::exception_ptr m_error;
    std::vector<std::thread> m_helpers;
};

} // namespace ketrilo

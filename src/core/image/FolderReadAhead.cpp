#include "core/image/FolderReadAhead.h"

#include "core/disk/DirectoryReader.h"
#include "core/disk/OpenByPath.h"
#include "core/text/Numbers.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <numeric>

namespace ketrilo {

namespace {

// Two threads read folders as fast as a walk does; the builder's own work is light.
constexpr unsigned MaxHelpers = 2;

std::string LinkTarget(int dirFd, const char* name, off_t size) {
    std::string target(static_cast<size_t>(std::max<off_t>(size, 0)) + 1, '\0');
    for (;;) {
        const ssize_t length = readlinkat(dirFd, name, target.data(), target.size());
        if (length < 0)
            return {};
        if (static_cast<size_t>(length) < target.size()) {
            target.resize(static_cast<size_t>(length));
            return target;
        }
        target.resize(target.size() * 2); // the link grew since it was read
    }
}

// Who reads: this process's user and groups, as the system grants rights to a process of
// this user, a burner included. Asked for once per folder: a user may change (a forked
// child may), within one folder it never matters.
struct Reader {
    uid_t user;
    const std::vector<gid_t>& groups;
};

Reader CurrentReader() {
    thread_local uid_t known = static_cast<uid_t>(-1);
    thread_local std::vector<gid_t> groups;
    const uid_t user = geteuid();
    if (user != known) {
        groups.assign(static_cast<size_t>(std::max(getgroups(0, nullptr), 0)), 0);
        groups.resize(static_cast<size_t>(
            std::max(getgroups(static_cast<int>(groups.size()), groups.data()), 0)));
        groups.push_back(getegid());
        known = user;
    }
    return Reader{user, groups};
}

// Whether reader may read the entry (and enter it, a folder), by its permission bits;
// access control lists aside. The superuser reads everything.
bool MayRead(const struct stat& st, const Reader& reader) {
    if (reader.user == 0)
        return true;
    const mode_t need = S_ISDIR(st.st_mode) ? (S_IROTH | S_IXOTH) : S_IROTH;
    const int shift =
        st.st_uid == reader.user ? 6
        : std::find(reader.groups.begin(), reader.groups.end(), st.st_gid) != reader.groups.end()
            ? 3
            : 0;
    return ((st.st_mode >> shift) & need) == need;
}

EntryStatus StatusOf(int dirFd, const char* name, const struct stat& st, const Reader& reader) {
    EntryStatus status;
    status.mode = st.st_mode;
    if (S_ISREG(st.st_mode)) {
        status.size = st.st_size;
        status.dev = st.st_dev;
        status.ino = st.st_ino;
        status.links = st.st_nlink;
        status.readable = MayRead(st, reader);
    } else if (S_ISLNK(st.st_mode)) {
        status.linkTarget = LinkTarget(dirFd, name, st.st_size);
    } else {
        status.rdev = st.st_rdev;
    }
    return status;
}

// A folder already on its own path (a bind mount inside itself) would never end.
bool OnItsOwnPath(const FolderListing& listing) {
    for (const FolderListing* up = listing.parent; up != nullptr; up = up->parent) {
        if (up->dev == listing.dev && up->ino == listing.ino)
            return true;
    }
    return false;
}

// Folders opened ahead of their reading hold a handle each: at most this many at once,
// well within the soft limit of open files; the others are opened by their paths.
constexpr int MaxHandlesAhead = 256;

// Fills the listing of the readable folder open on fd from its entries read; with handles,
// opens its sub-folders ahead of their reading.
void Fill(FolderListing& listing, int fd, std::vector<EntryWithStatus>& read, const Reader& reader,
          std::atomic<int>* handles) {
    listing.readable = true;
    listing.entries.reserve(read.size());
    listing.details.reserve(read.size());
    for (EntryWithStatus& entry : read) {
        std::string& name = entry.name;
        FolderListing::Detail detail;
        detail.status = StatusOf(fd, name.c_str(), entry.status, reader);
        const mode_t mode = detail.status.mode;
        if (S_ISDIR(mode)) {
            detail.folder = std::make_unique<FolderListing>(
                listing.diskPath + name + "/", listing.imagePath + "/" + name, &listing);
            if (handles != nullptr && *handles < MaxHandlesAhead) {
                detail.folder->handle.Reset(
                    ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
                if (detail.folder->handle.Valid())
                    ++*handles;
            }
        } else if (S_ISREG(mode)) {
            ++listing.files;
            listing.bytes = SaturatingAdd(listing.bytes, detail.status.size);
        }
        listing.entries.push_back(
            ImageEntry{std::move(name), ImageKindOf(mode), detail.status.size});
        listing.details.push_back(std::move(detail));
    }

    const std::vector<ImageEntry>& entries = listing.entries;
    listing.order.resize(entries.size());
    std::iota(listing.order.begin(), listing.order.end(), size_t{0});
    std::sort(listing.order.begin(), listing.order.end(), [&entries](size_t a, size_t b) {
        return std::strcmp(entries[a].name.c_str(), entries[b].name.c_str()) > 0;
    });
}

void Read(FolderListing& listing, std::atomic<int>& handles) {
    UniqueFd fd;
    if (listing.handle.Valid()) {
        fd = std::move(listing.handle);
        --handles;
    } else {
        fd = OpenFolderByPath(listing.diskPath);
    }
    struct stat self;
    if (!fd.Valid() || fstat(fd.Get(), &self) != 0) {
        listing.denied = errno == EACCES;
        return;
    }
    const Reader reader = CurrentReader();
    if (!MayRead(self, reader)) {
        listing.denied = true;
        return;
    }
    listing.dev = self.st_dev;
    listing.ino = self.st_ino;
    if (OnItsOwnPath(listing))
        return;
    std::vector<EntryWithStatus> read = ReadWholeFolder(fd.Get(), true);
    Fill(listing, fd.Get(), read, reader, &handles);
}

} // namespace

EntryStatus EntryStatusAt(int dirFd, const char* name, const struct stat& st) {
    return StatusOf(dirFd, name, st, CurrentReader());
}

bool ListReadFolder(FolderListing& listing, int fd, std::vector<EntryWithStatus>& entries) {
    struct stat self;
    const Reader reader = CurrentReader();
    if (fstat(fd, &self) != 0 || !MayRead(self, reader))
        return false;
    listing.dev = self.st_dev;
    listing.ino = self.st_ino;
    Fill(listing, fd, entries, reader, nullptr);
    return true;
}

ImageEntry::Kind ImageKindOf(mode_t mode) {
    return S_ISDIR(mode)   ? ImageEntry::Kind::Folder
           : S_ISREG(mode) ? ImageEntry::Kind::File
                           : ImageEntry::Kind::Other;
}

FolderReadAhead::~FolderReadAhead() {
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_queued.notify_all();
    for (std::thread& helper : m_helpers)
        helper.join();
}

FolderListing& FolderReadAhead::Add(std::string diskPath, std::string imagePath) {
    m_items.push_back(
        std::make_unique<FolderListing>(std::move(diskPath), std::move(imagePath), nullptr));
    return *m_items.back();
}

void FolderReadAhead::Start() {
    if (m_items.empty())
        return;
    for (auto item = m_items.rbegin(); item != m_items.rend(); ++item)
        m_stack.push_back(item->get());
    const unsigned helpers = std::clamp(std::thread::hardware_concurrency(), 1u, MaxHelpers);
    for (unsigned i = 0; i < helpers; ++i)
        m_helpers.emplace_back([this] { Work(); });
}

void FolderReadAhead::Wait(const FolderListing& listing) {
    std::unique_lock lock(m_mutex);
    while (!listing.ready && !m_error) {
        // Reading the next folder here beats waiting for a helper that may not get a core.
        if (!m_stack.empty())
            ReadNext(lock);
        else
            m_read.wait(lock);
    }
    if (m_error)
        std::rethrow_exception(m_error);
}

void FolderReadAhead::Work() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_queued.wait(lock, [this] { return m_stop || m_error || !m_stack.empty(); });
        if (m_stop || m_error)
            return;
        ReadNext(lock);
    }
}

void FolderReadAhead::ReadNext(std::unique_lock<std::mutex>& lock) {
    FolderListing& listing = *m_stack.back();
    m_stack.pop_back();
    lock.unlock();
    std::exception_ptr error;
    try {
        Read(listing, m_handles);
    } catch (...) {
        error = std::current_exception();
    }
    lock.lock();
    if (error) {
        m_error = error;
    } else {
        listing.ready = true;
        // The builder goes into a folder's sub-folders in its order: the first on top.
        for (auto i = listing.order.rbegin(); i != listing.order.rend(); ++i) {
            FolderListing* sub = listing.details[*i].folder.get();
            if (sub == nullptr)
                continue;
            if (m_known && m_known(*sub)) {
                sub->skipped = true;
                if (sub->handle.Valid()) {
                    sub->handle.Reset();
                    --m_handles;
                }
                continue;
            }
            m_stack.push_back(sub);
        }
    }
    m_queued.notify_all();
    m_read.notify_all();
}

} // namespace ketrilo

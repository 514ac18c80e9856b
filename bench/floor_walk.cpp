// The floor for a tree walk on this machine: as little as a walk can do and still size
// every file. Threads share a stack of open directory handles; each reads its folder
// with getdents64, opens sub-folders with openat and sizes files with fstatat, nothing
// else (no names kept, no hidden-name rule, no loop guard). Figures only.
//
//   floor_walk FOLDER [THREADS]      prints "<files> files, <clusters> clusters"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

namespace {

class Floor {
public:
    void Push(int fd) {
        std::lock_guard lock(m_mutex);
        m_stack.push_back(fd);
        m_wake.notify_one();
    }

    void Work() {
        alignas(8) char buffer[32768];
        int64_t files = 0, clusters = 0;
        for (;;) {
            int fd = -1;
            {
                std::unique_lock lock(m_mutex);
                m_wake.wait(lock, [this] { return !m_stack.empty() || m_busy == 0; });
                if (m_stack.empty())
                    break;
                fd = m_stack.back();
                m_stack.pop_back();
                ++m_busy;
            }
            for (;;) {
                const long read = getdents64(fd, buffer, sizeof buffer);
                if (read <= 0)
                    break;
                for (long at = 0; at < read;) {
                    const auto* entry = reinterpret_cast<const dirent64*>(buffer + at);
                    const char* name = entry->d_name;
                    at += entry->d_reclen;
                    if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
                        continue;
                    if (entry->d_type == DT_DIR) {
                        const int child = openat(fd, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
                        if (child >= 0)
                            Push(child);
                    } else if (entry->d_type == DT_REG) {
                        struct stat st;
                        if (fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) == 0) {
                            ++files;
                            clusters += (st.st_size + 2047) / 2048;
                        }
                    }
                }
            }
            close(fd);
            std::lock_guard lock(m_mutex);
            if (--m_busy == 0 && m_stack.empty())
                m_wake.notify_all();
        }
        m_files += files;
        m_clusters += clusters;
    }

    std::atomic<int64_t> m_files{0}, m_clusters{0};

private:
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::vector<int> m_stack;
    int m_busy = 0;
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: floor_walk FOLDER [THREADS]\n");
        return 2;
    }
    const int threads = argc > 2 ? std::atoi(argv[2]) : 2;
    const int root = open(argv[1], O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (root < 0 || threads < 1) {
        std::perror(argv[1]);
        return 2;
    }
    Floor floor;
    floor.Push(root);
    {
        std::vector<std::jthread> crew;
        for (int i = 1; i < threads; ++i)
            crew.emplace_back([&floor] { floor.Work(); });
        floor.Work();
    }
    std::printf("%lld files, %lld clusters\n", static_cast<long long>(floor.m_files.load()),
                static_cast<long long>(floor.m_clusters.load()));
    return 0;
}

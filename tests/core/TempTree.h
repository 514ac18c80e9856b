#pragma once
// A folder tree made at test time under a fresh temporary folder and removed afterwards,
// however deep it grows (everything works relative to directory handles).

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

namespace ketrilo::test {

class TempTree {
public:
    // Under base, or under $TMPDIR (/tmp without it) when base is null.
    explicit TempTree(const char* base = nullptr) {
        if (base == nullptr)
            base = std::getenv("TMPDIR");
        std::string pattern =
            std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/ketrilo-test-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("mkdtemp failed");
        m_root = pattern + "/";
    }
    ~TempTree() {
        if (!m_kept)
            RemoveAll(m_root);
    }
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    // The root folder, ending in "/".
    [[nodiscard]] const std::string& Root() const { return m_root; }
    [[nodiscard]] std::string Path(const std::string& relative) const { return m_root + relative; }

    std::string Folder(const std::string& relative) const {
        Check(mkdir(Path(relative).c_str(), 0755), relative);
        return Path(relative) + "/";
    }
    std::string File(const std::string& relative, int64_t size) const {
        const int fd = open(Path(relative).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        Check(fd, relative);
        Check(ftruncate(fd, size), relative);
        close(fd);
        return Path(relative);
    }
    std::string Link(const std::string& relative, const std::string& target) const {
        Check(symlink(target.c_str(), Path(relative).c_str()), relative);
        return Path(relative);
    }
    // Another name at relative of the file at existing.
    std::string HardLink(const std::string& relative, const std::string& existing) const {
        Check(link(Path(existing).c_str(), Path(relative).c_str()), relative);
        return Path(relative);
    }
    std::string Fifo(const std::string& relative) const {
        Check(mkfifo(Path(relative).c_str(), 0644), relative);
        return Path(relative);
    }

    // Left on disk at the end, for a person to look into.
    void Keep() { m_kept = true; }

    // A chain of depth folders named name under relative, with a file of fileSize bytes
    // in each; made through handles, so the whole path may exceed PATH_MAX.
    void DeepChain(const std::string& relative, int depth, const std::string& name,
                   int64_t fileSize) const {
        int fd = open(Path(relative).c_str(), O_RDONLY | O_DIRECTORY);
        Check(fd, relative);
        for (int i = 0; i < depth; ++i) {
            Check(mkdirat(fd, name.c_str(), 0755), name);
            const int child = openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY);
            close(fd);
            Check(child, name);
            fd = child;
            const int file = openat(fd, "f", O_WRONLY | O_CREAT, 0644);
            Check(file, "f");
            Check(ftruncate(file, fileSize), "f");
            close(file);
        }
        close(fd);
    }

private:
    static void Check(int result, const std::string& what) {
        if (result < 0)
            throw std::runtime_error("cannot make " + what);
    }

    static void RemoveAll(const std::string& root) {
        const int fd = open(root.c_str(), O_RDONLY | O_DIRECTORY);
        if (fd >= 0)
            RemoveContents(fd);
        rmdir(root.c_str());
    }

    // Takes fd; removes everything beneath it, giving folders back their permissions first.
    static void RemoveContents(int fd) {
        DIR* dir = fdopendir(fd);
        if (dir == nullptr) {
            close(fd);
            return;
        }
        std::vector<std::string> names;
        while (const dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..")
                names.push_back(name);
        }
        for (const std::string& name : names) {
            struct stat st;
            if (fstatat(dirfd(dir), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
                S_ISDIR(st.st_mode)) {
                fchmodat(dirfd(dir), name.c_str(), 0700, 0);
                const int child = openat(dirfd(dir), name.c_str(), O_RDONLY | O_DIRECTORY);
                if (child >= 0)
                    RemoveContents(child);
                unlinkat(dirfd(dir), name.c_str(), AT_REMOVEDIR);
            } else {
                unlinkat(dirfd(dir), name.c_str(), 0);
            }
        }
        closedir(dir);
    }

    std::string m_root;
    bool m_kept = false;
};

} // namespace ketrilo::test

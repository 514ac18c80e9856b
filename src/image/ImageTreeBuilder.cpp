#include "ImageTreeBuilder.h"

#include "SizeOnlyStream.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <numeric>
#include <stdexcept>

namespace ketrilo {

namespace {

constexpr int FolderOpenFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

void Check(int result) {
    if (result < 0)
        throw std::runtime_error(std::string("libisofs: ") + iso_error_to_msg(result));
}

ImageEntry::Kind KindOf(const struct stat& st) {
    return S_ISDIR(st.st_mode)   ? ImageEntry::Kind::Folder
           : S_ISREG(st.st_mode) ? ImageEntry::Kind::File
                                 : ImageEntry::Kind::Other;
}

std::string LinkTarget(int dirFd, const char* name, const struct stat& st) {
    std::string target(static_cast<size_t>(std::max<off_t>(st.st_size, 0)) + 1, '\0');
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

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

} // namespace

void ImageTreeBuilder::AddItems(const std::vector<ImageItem>& items) {
    std::vector<ImageEntry> entries;
    for (const ImageItem& item : items) {
        const size_t slash = item.imagePath.rfind('/');
        const std::string imageName =
            slash == std::string::npos ? item.imagePath : item.imagePath.substr(slash + 1);
        struct stat st;
        if (fstatat(AT_FDCWD, item.diskPath.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
            entries.push_back(ImageEntry{imageName, ImageEntry::Kind::File, 0});
            continue; // gone from disk: the burner has nothing to add either
        }
        entries.push_back(ImageEntry{imageName, KindOf(st), S_ISREG(st.st_mode) ? st.st_size : 0});
        IsoDir* parent =
            FolderAt(slash == std::string::npos ? "" : item.imagePath.substr(0, slash));
        IsoDir* dir = AddEntry(parent, AT_FDCWD, item.diskPath.c_str(), imageName.c_str(), st);
        if (dir != nullptr) {
            AddFolderContents(dir, open(item.diskPath.c_str(), FolderOpenFlags), item.imagePath,
                              item.diskPath + "/");
        } else if (m_progress != nullptr && S_ISREG(st.st_mode)) {
            m_progress->AddFiles(1, st.st_size);
        }
    }
    m_checks.CheckItems(items, entries);
}

void ImageTreeBuilder::AddFolderContents(IsoDir* dir, int fd, const std::string& imagePath,
                                         const std::string& diskPath) {
    if (m_progress != nullptr) {
        m_progress->ThrowIfCancelled();
        m_progress->EnterFolder(diskPath);
    }
    struct stat self;
    if (fd < 0 || fstat(fd, &self) != 0 || !m_onPath.emplace(self.st_dev, self.st_ino).second) {
        if (fd >= 0)
            close(fd);
        return; // unreadable, or a folder already on its own path
    }
    const std::unique_ptr<DIR, DirCloser> folder(fdopendir(fd));
    if (!folder) {
        close(fd);
        m_onPath.erase({self.st_dev, self.st_ino});
        return;
    }

    std::vector<ImageEntry> entries;
    std::vector<struct stat> stats;
    int64_t files = 0, bytes = 0;
    while (const dirent* entry = readdir(folder.get())) {
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
            continue;
        struct stat st;
        if (fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        const ImageEntry::Kind kind = KindOf(st);
        entries.push_back(ImageEntry{name, kind, kind == ImageEntry::Kind::File ? st.st_size : 0});
        stats.push_back(st);
        if (kind == ImageEntry::Kind::File) {
            ++files;
            bytes += st.st_size;
        }
    }
    m_checks.CheckFolder(imagePath, diskPath, entries);
    if (m_progress != nullptr)
        m_progress->AddFiles(files, bytes);

    // libisofs keeps a folder's children in a list sorted by name and looks for a new
    // name's place from the front: adding in descending order makes every insertion O(1).
    std::vector<size_t> order(entries.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::sort(order.begin(), order.end(), [&entries](size_t a, size_t b) {
        return std::strcmp(entries[a].name.c_str(), entries[b].name.c_str()) > 0;
    });
    for (size_t i : order) {
        const char* name = entries[i].name.c_str();
        IsoDir* child = AddEntry(dir, fd, name, name, stats[i]);
        if (child != nullptr) {
            AddFolderContents(child, openat(fd, name, FolderOpenFlags),
                              imagePath.empty() ? entries[i].name : imagePath + "/" + name,
                              diskPath + name + "/");
        }
    }
    m_onPath.erase({self.st_dev, self.st_ino});
}

IsoDir* ImageTreeBuilder::AddEntry(IsoDir* parent, int dirFd, const char* diskName,
                                   const char* imageName, const struct stat& st) {
    IsoNode* existing = nullptr;
    if (iso_image_dir_get_node(m_image, parent, imageName, &existing, 0) == 1) {
        if (S_ISDIR(st.st_mode) && iso_node_get_type(existing) == LIBISO_DIR)
            return reinterpret_cast<IsoDir*>(existing);
        Check(iso_node_remove(existing));
    }
    if (S_ISDIR(st.st_mode)) {
        IsoDir* dir = nullptr;
        Check(iso_image_add_new_dir(m_image, parent, imageName, &dir));
        return dir;
    }
    if (S_ISREG(st.st_mode)) {
        IsoStream* stream = NewSizeOnlyStream(st);
        const int result = iso_image_add_new_file(m_image, parent, imageName, stream, nullptr);
        if (result < 0)
            iso_stream_unref(stream);
        Check(result);
    } else if (S_ISLNK(st.st_mode)) {
        Check(iso_image_add_new_symlink(m_image, parent, imageName,
                                        LinkTarget(dirFd, diskName, st).c_str(), nullptr));
    } else {
        Check(
            iso_image_add_new_special(m_image, parent, imageName, st.st_mode, st.st_rdev, nullptr));
    }
    return nullptr;
}

IsoDir* ImageTreeBuilder::FolderAt(const std::string& imageFolder) {
    IsoDir* dir = iso_image_get_root(m_image);
    size_t start = 0;
    while (start < imageFolder.size()) {
        const size_t end = std::min(imageFolder.find('/', start), imageFolder.size());
        const std::string name = imageFolder.substr(start, end - start);
        struct stat folder {};
        folder.st_mode = S_IFDIR | 0755;
        dir = AddEntry(dir, AT_FDCWD, name.c_str(), name.c_str(), folder);
        start = end + 1;
    }
    return dir;
}

} // namespace ketrilo

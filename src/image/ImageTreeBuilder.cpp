#include "ImageTreeBuilder.h"

#include "SizeOnlyStream.h"
#include "core/disk/OpenByPath.h"
#include "core/text/EscapedText.h"
#include "core/text/Numbers.h"

#include <algorithm>
#include <stdexcept>

namespace ketrilo {

namespace {

void Check(int result) {
    if (result < 0)
        throw std::runtime_error(std::string("libisofs: ") + iso_error_to_msg(result));
}

// A well item's own entry.
struct ItemEntry {
    bool found = false;
    EntryStatus status;
    FolderListing* contents = nullptr; // a folder's
};

} // namespace

void ImageTreeBuilder::AddItems(const std::vector<ImageItem>& items) {
    // Every item is looked at first, so that the helpers start on all the folders at once.
    std::vector<ItemEntry> found(items.size());
    for (size_t i = 0; i < items.size(); ++i) {
        const std::string& path = items[i].diskPath;
        ItemEntry& entry = found[i];
        struct stat st;
        entry.found = StatByPath(path, st);
        if (!entry.found)
            continue;
        if (S_ISDIR(st.st_mode)) {
            entry.status.mode = S_IFDIR;
            entry.contents = &m_readAhead.Add(path + "/", items[i].imagePath);
        } else {
            const ContainingFolder at =
                S_ISLNK(st.st_mode) ? OpenContainingFolder(path) : ContainingFolder{};
            entry.status = EntryStatusAt(at.folder.Get(), at.name.c_str(), st);
        }
    }
    m_readAhead.Start();

    std::vector<ImageEntry> entries;
    for (size_t i = 0; i < items.size(); ++i) {
        const ImageItem& item = items[i];
        const ItemEntry& entry = found[i];
        const size_t slash = item.imagePath.rfind('/');
        const std::string imageName =
            slash == std::string::npos ? item.imagePath : item.imagePath.substr(slash + 1);
        if (!entry.found) {
            entries.push_back(ImageEntry{imageName, ImageEntry::Kind::File, 0});
            continue; // gone from disk: the burner has nothing to add either
        }
        entries.push_back(ImageEntry{imageName, ImageKindOf(entry.status.mode), entry.status.size});
        const Folder parent{
            FolderAt(slash == std::string::npos ? "" : item.imagePath.substr(0, slash)), false};
        const Folder folder = AddEntry(parent, imageName.c_str(), entry.status, item.diskPath);
        if (folder.dir != nullptr)
            AddFolderContents(folder, *entry.contents);
        else if (m_progress != nullptr && S_ISREG(entry.status.mode))
            m_progress->AddFiles(1, entry.status.size);
        if (!entry.status.readable)
            m_checks.Unreadable(item.diskPath);
    }
    m_checks.CheckItems(items, entries);
}

void ImageTreeBuilder::AddFolderContents(Folder folder, FolderListing& listing) {
    if (m_progress != nullptr) {
        m_progress->ThrowIfCancelled();
        m_progress->EnterFolder(listing.diskPath);
    }
    m_readAhead.Wait(listing);
    if (!listing.readable) {
        if (listing.denied)
            m_checks.Unreadable(listing.diskPath.substr(0, listing.diskPath.size() - 1));
        return;
    }
    m_checks.CheckFolder(listing.imagePath, listing.diskPath, listing.entries);
    if (m_progress != nullptr)
        m_progress->AddFiles(listing.files, listing.bytes);
    for (size_t i : listing.order) {
        FolderListing::Detail& detail = listing.details[i];
        const Folder child = AddEntry(folder, listing.entries[i].name.c_str(), detail.status,
                                      listing.diskPath + listing.entries[i].name);
        if (child.dir != nullptr) {
            AddFolderContents(child, *detail.folder);
            detail.folder.reset(); // added with all beneath it
        } else if (!detail.status.readable) {
            m_checks.Unreadable(listing.diskPath + listing.entries[i].name);
        }
    }
}

ImageTreeBuilder::Folder ImageTreeBuilder::AddEntry(Folder parent, const char* name,
                                                    const EntryStatus& entry,
                                                    const std::string& diskPath) {
    IsoNode* existing = nullptr;
    if (!parent.isNew && iso_image_dir_get_node(m_image, parent.dir, name, &existing, 0) == 1) {
        if (S_ISDIR(entry.mode) && iso_node_get_type(existing) == LIBISO_DIR)
            return {reinterpret_cast<IsoDir*>(existing), false};
        Check(iso_node_remove(existing));
    }
    int result = 0;
    IsoDir* dir = nullptr;
    if (S_ISDIR(entry.mode)) {
        result = iso_image_add_new_dir(m_image, parent.dir, name, &dir);
    } else if (S_ISREG(entry.mode)) {
        IsoStream* stream = NewSizeOnlyStream(entry.size, entry.dev, entry.ino);
        result = iso_image_add_new_file(m_image, parent.dir, name, stream, nullptr);
        if (result < 0)
            iso_stream_unref(stream);
        else
            CountData(entry);
    } else if (S_ISLNK(entry.mode)) {
        result =
            iso_image_add_new_symlink(m_image, parent.dir, name, entry.linkTarget.c_str(), nullptr);
    } else {
        result =
            iso_image_add_new_special(m_image, parent.dir, name, entry.mode, entry.rdev, nullptr);
    }
    // Out of memory is no fault of the entry's; anything else the library says of it
    // (a link target or a name it cannot record) is the entry's own.
    if (result == static_cast<int>(ISO_OUT_OF_MEM))
        Check(result);
    if (result < 0) {
        m_checks.Refused(diskPath, iso_error_to_msg(result));
        return {};
    }
    return {dir, dir != nullptr};
}

void ImageTreeBuilder::CountData(const EntryStatus& file) {
    if (file.links > 1 && !m_linkedFiles.emplace(file.dev, file.ino).second)
        return; // its data is in the image once
    m_dataSectors = SaturatingAdd(m_dataSectors, ClustersFor(2048, file.size));
}

IsoDir* ImageTreeBuilder::FolderAt(const std::string& imageFolder) {
    IsoDir* dir = iso_image_get_root(m_image);
    EntryStatus folder;
    folder.mode = S_IFDIR | 0755;
    size_t start = 0;
    while (start < imageFolder.size()) {
        const size_t end = std::min(imageFolder.find('/', start), imageFolder.size());
        const std::string name = imageFolder.substr(start, end - start);
        dir = AddEntry(Folder{dir, false}, name.c_str(), folder, imageFolder).dir;
        if (dir == nullptr)
            throw std::runtime_error("libisofs refuses the folder " +
                                     EscapeControlCharacters(imageFolder));
        start = end + 1;
    }
    return dir;
}

} // namespace ketrilo

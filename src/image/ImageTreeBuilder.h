#pragma once
// Reads the well's items from disk into a libisofs tree, as a burning program receives
// them in a file drop: every entry, hidden ones included, links as links, special files
// as special files. The checks see every folder's entries on the way.

#include "core/DiscImage.h"
#include "core/ImageChecks.h"

#include <sys/stat.h>

#include "Libisofs.h"

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace ketrilo {

class ImageTreeBuilder {
public:
    // image and checks are borrowed; progress may be null.
    ImageTreeBuilder(IsoImage* image, ImageChecks& checks, WorkProgress* progress)
        : m_image(image), m_checks(checks), m_progress(progress) {}

    // Adds the items in order. Two items at one image path merge as a burner merges them:
    // folders join, otherwise the later item replaces the earlier one. Throws
    // WorkCancelled on a cancel request.
    void AddItems(const std::vector<ImageItem>& items);

private:
    // Takes fd, a folder already added as dir, and adds everything beneath it.
    void AddFolderContents(IsoDir* dir, int fd, const std::string& imagePath,
                           const std::string& diskPath);
    // Adds the entry found at diskName in the folder dirFd as imageName under parent;
    // returns the new or merged folder node for a folder, null otherwise.
    IsoDir* AddEntry(IsoDir* parent, int dirFd, const char* diskName, const char* imageName,
                     const struct stat& st);
    IsoDir* FolderAt(const std::string& imageFolder);

    IsoImage* m_image;
    ImageChecks& m_checks;
    WorkProgress* m_progress;
    std::set<std::pair<dev_t, ino_t>> m_onPath; // folders being read, so a loop ends
};

} // namespace ketrilo

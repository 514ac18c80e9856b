#pragma once
// Reads the well's items from disk into a libisofs tree, as a burning program receives
// them in a file drop: every entry, hidden ones included, links as links, special files
// as special files. The checks see every folder's entries on the way. Folders are read
// ahead on helper threads; only the calling thread touches the image.

#include "core/image/FolderReadAhead.h"
#include "core/image/DiscImage.h"
#include "core/image/DiscImageChecks.h"

#include "Libisofs.h"

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace ketrilo {

class ImageTreeBuilder {
public:
    // image and checks are borrowed; progress may be null.
    ImageTreeBuilder(IsoImage* image, DiscImageChecks& checks, WorkProgress* progress)
        : m_image(image), m_checks(checks), m_progress(progress) {}

    // Adds the items in order. Two items at one image path merge as a burner merges them:
    // folders join, otherwise the later item replaces the earlier one. An entry the
    // library refuses is left out (with all beneath it) and reported to the checks.
    // Throws WorkCancelled on a cancel request.
    void AddItems(const std::vector<ImageItem>& items);

    // The sectors of the file data added, each file once however many links it has,
    // counted in 64 bits, saturating; files replaced by later items still count, so the
    // image's file data is at most this.
    [[nodiscard]] int64_t DataSectorsAtMost() const { return m_dataSectors; }

private:
    // A folder node and whether this run has just made it, so it holds none of the
    // names about to be added.
    struct Folder {
        IsoDir* dir = nullptr;
        bool isNew = false;
    };

    // Adds everything in listing beneath folder, already added.
    void AddFolderContents(Folder folder, FolderListing& listing);
    // Adds entry as name under parent; returns the new or merged folder node for a
    // folder, a null one otherwise (and for a refused folder). diskPath names the entry
    // in a refusal.
    Folder AddEntry(Folder parent, const char* name, const EntryStatus& entry,
                    const std::string& diskPath);
    // Counts a file added into DataSectors.
    void CountData(const EntryStatus& file);
    IsoDir* FolderAt(const std::string& imageFolder);

    IsoImage* m_image;
    DiscImageChecks& m_checks;
    WorkProgress* m_progress;
    FolderReadAhead m_readAhead;
    int64_t m_dataSectors = 0;
    std::set<std::pair<dev_t, ino_t>> m_linkedFiles; // files of several names counted
};

} // namespace ketrilo

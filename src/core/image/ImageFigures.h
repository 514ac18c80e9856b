#pragma once
// What the image's arithmetic keeps of the trees it read: each folder's own share of the
// image and each well item's sum of them, so that after a change only the folders the
// change touched are read again.

#include "core/base/WorkProgress.h"
#include "core/disk/DirectoryReader.h"
#include "core/image/DiscImage.h"
#include "core/image/DiscImageChecks.h"
#include "core/image/ImageLayout.h"

#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace ketrilo {

using FileKey = std::pair<dev_t, ino_t>;

struct ImageSums {
    bool needsLibrary = false; // the arithmetic cannot stand for the library here
    int64_t folderSectors = 0; // folder extents, both trees
    int64_t isoPathTableBytes = 0;
    int64_t jolietPathTableBytes = 0;
    int64_t dataSectors = 0;                         // of files of one name
    std::vector<std::pair<FileKey, int64_t>> linked; // files of several names, with their sectors
    std::vector<ImageFinding> findings;
};

// One folder's own entries: their records in its extents, their data and findings; and
// where its sub-folders are.
struct FolderImageFigure : ImageSums {
    struct SubFolder {
        std::string name;
        int64_t jolietPath = 0; // or OutOfJoliet
    };
    std::vector<SubFolder> folders; // by name
    int64_t files = 0;              // as counted into progress
    int64_t bytes = 0;
};

// What one well item brings to the image besides its own record in the root.
struct ItemImageFigure : ImageSums {
    bool found = false;
    LayoutEntry entry;      // its record in the root
    ImageEntry checked;     // as the root's checks see it
    std::string folderPath; // a folder's disk path with "/", to see items inside it
};

// The folders' figures read before, by disk path (ending in "/") and image path ("a/b").
class KnownFolders {
public:
    [[nodiscard]] virtual std::shared_ptr<const FolderImageFigure>
    Find(const std::string& diskFolder, const std::string& imageFolder) = 0;
    virtual void Keep(const std::string& diskFolder, const std::string& imageFolder,
                      std::shared_ptr<const FolderImageFigure> figure) = 0;

protected:
    ~KnownFolders() = default;
};

// The figure of the folder at diskFolder and imageFolder, open on fd, from the entries a
// walk read in it (FolderWitness); none when this user may not read it.
[[nodiscard]] std::shared_ptr<const FolderImageFigure>
WalkedFolderFigure(const std::string& diskFolder, const std::string& imageFolder, int fd,
                   std::vector<EntryWithStatus>& entries);

// The item's figure: the folders known takes from there, the others read from disk and
// handed to known. Counts into progress and polls it for a cancel (WorkCancelled).
[[nodiscard]] std::shared_ptr<const ItemImageFigure>
ReadItem(const ImageItem& item, KnownFolders& known, WorkProgress* progress);

} // namespace ketrilo

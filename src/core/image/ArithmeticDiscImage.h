#pragma once
// The size of the image libisofs lays out with the burner's options, worked out from the
// entries' records (ImageLayout) instead of laying the image out. What each folder and
// each item's tree adds is kept, so a measure after a change of the well reads only the
// items it has not seen and lays out the root again, and one after a rename on disk reads
// only the folder holding the entry. A well it cannot work out alone (two items of one
// name, an item below the root, items inside one another, an entry the library refuses,
// names the library cannot number apart) is measured by the library.

#include "core/image/DiscImage.h"
#include "core/workspace/FolderWitness.h"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace ketrilo {

struct ItemImageFigure;
struct FolderImageFigure;

// It takes the records of the folders a walk reads (FolderWitness), each as a folder of the
// well item that the walk's root becomes, under its own name.
class ArithmeticDiscImage final : public DiscImage, public FolderWitness {
public:
    // library: the measure taken where the arithmetic does not reach.
    explicit ArithmeticDiscImage(std::shared_ptr<DiscImage> library);
    ~ArithmeticDiscImage() override;

    [[nodiscard]] ImageReport Measure(const std::vector<ImageItem>& items,
                                      WorkProgress* progress) override;
    void Forget() override;
    void ForgetEntry(const std::string& diskPath) override;
    [[nodiscard]] DiscImage* Judge() override { return m_library.get(); }
    void FolderRead(const std::string& root, const std::string& folder, int fd,
                    std::vector<EntryWithStatus>& entries) override;

private:
    // Drops the folders' figures outside the trees of figures, the well just measured: the
    // walks hand over every folder they read, most of them never part of the well.
    void KeepOnlyFoldersOf(const std::vector<std::shared_ptr<const ItemImageFigure>>& figures);

    std::shared_ptr<DiscImage> m_library;
    std::mutex m_mutex; // measures may overlap: a cancelled one may still be running
    class Folders;
    // By image path and disk path.
    std::map<std::pair<std::string, std::string>, std::shared_ptr<const ItemImageFigure>> m_items;
    // By disk path (ending in "/") and image path.
    std::map<std::pair<std::string, std::string>, std::shared_ptr<const FolderImageFigure>>
        m_folders;
    // Counts the forgettings: a measure that began before one keeps nothing it read.
    uint64_t m_forgotten = 0;
};

// What a figure the judge proves differs in: the items' count and both figures, so that
// a difference can be reported. Empty when they agree.
[[nodiscard]] std::string Disagreement(const std::vector<ImageItem>& items, int64_t measured,
                                       int64_t judged);

} // namespace ketrilo

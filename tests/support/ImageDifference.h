#pragma once
// The image's size and findings worked out from the records against libisofs's layout, on
// a tree's items and again after a few changes of the well: one arithmetic measures every
// step, keeping what it read, and a fresh one measures each step from nothing. The fuzz
// target, the test and the image_diff tool run the same steps, so that what one finds the
// others replay.

#include "../../fuzz/FuzzInput.h"
#include "RandomImageTree.h"
#include "core/image/ArithmeticDiscImage.h"
#include "core/workspace/MeasureFolder.h"
#include "core/workspace/NoIcons.h"
#include "image/IsoDiscImage.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

namespace ketrilo::test {

// The arithmetic, with libisofs where it does not reach.
inline ArithmeticDiscImage ArithmeticOverLibisofs() {
    return ArithmeticDiscImage(std::make_shared<IsoDiscImage>());
}

// libisofs, telling whether the arithmetic left it a measure.
class CountedLibisofs final : public DiscImage {
public:
    ImageReport Measure(const std::vector<ImageItem>& items, WorkProgress* progress) override {
        ++measures;
        return IsoDiscImage().Measure(items, progress);
    }
    int measures = 0;
};

struct MeasureStep {
    std::string change; // what changed in the well before this step
    std::vector<ImageItem> items;
    ImageReport libisofs;
    ImageReport kept;      // by the arithmetic that measured every step before
    ImageReport fresh;     // by an arithmetic that measures this step alone
    bool deferred = false; // the fresh arithmetic left the step to libisofs

    [[nodiscard]] bool Agrees() const {
        const auto keys = FindingKeys(libisofs);
        return kept.sectors == libisofs.sectors && fresh.sectors == libisofs.sectors &&
               FindingKeys(kept) == keys && FindingKeys(fresh) == keys;
    }
};

// The entries under the item at diskPath, by path; none for a file.
inline std::vector<std::string> EntriesUnder(const std::string& diskPath) {
    std::vector<std::string> paths;
    std::error_code error;
    if (!std::filesystem::is_directory(std::filesystem::symlink_status(diskPath, error)))
        return paths;
    for (auto it = std::filesystem::recursive_directory_iterator(diskPath, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error))
        paths.push_back(it->path().string());
    std::sort(paths.begin(), paths.end());
    return paths;
}

// The items as made (the kept arithmetic first witnessing a walk of them), then up to three changes
// drawn from in: the spare item added, an item taken out, an item given another name at the root
// (at times the name of another), an entry under an item renamed on disk (the kept arithmetic told
// so).
inline std::vector<MeasureStep> MeasureSteps(const RandomImageTree& tree, fuzz::Bytes& in) {
    ArithmeticDiscImage kept = ArithmeticOverLibisofs();
    std::vector<MeasureStep> steps;
    std::vector<ImageItem> items = tree.items;
    // The kept one first takes the records a walk of each item reads, as the window's does.
    for (const ImageItem& item : items) {
        LongNameList longNames;
        NoIcons icons;
        (void)MeasureFolder(item.diskPath + "/", false, longNames, icons, nullptr,
                            WalkOptions{.witness = &kept});
    }
    bool spareAdded = false;
    std::string change = "as made";
    for (uint32_t changes = in.Next() % 4;; --changes) {
        MeasureStep& step = steps.emplace_back();
        step.change = change;
        step.items = items;
        step.libisofs = IsoDiscImage().Measure(items, nullptr);
        step.kept = kept.Measure(items, nullptr);
        const auto library = std::make_shared<CountedLibisofs>();
        step.fresh = ArithmeticDiscImage(library).Measure(items, nullptr);
        step.deferred = library->measures > 0;
        if (changes == 0)
            break;
        const uint32_t kind = in.Next() % 4;
        if (items.empty() || (kind == 0 && !spareAdded)) {
            const size_t at = items.empty() ? 0 : in.Next() % (items.size() + 1);
            items.insert(items.begin() + static_cast<ptrdiff_t>(at), tree.spare);
            spareAdded = true;
            change = "added " + tree.spare.imagePath + " at " + std::to_string(at);
        } else if (kind == 1) {
            const size_t at = in.Next() % items.size();
            change = "took out " + items[at].imagePath;
            items.erase(items.begin() + static_cast<ptrdiff_t>(at));
        } else if (kind == 3) {
            const ImageItem& item = items[in.Next() % items.size()];
            const std::vector<std::string> entries = EntriesUnder(item.diskPath);
            const uint32_t pick = in.Next();
            change = "renamed nothing under " + item.imagePath;
            if (!entries.empty()) {
                const std::string& old = entries[pick % entries.size()];
                const size_t slash = old.rfind('/');
                const std::string renamed = old.substr(0, slash + 1) + "r" +
                                            std::to_string(pick % 1000) + old.substr(slash + 1);
                if (old.size() - slash <= 200 && std::rename(old.c_str(), renamed.c_str()) == 0) {
                    kept.ForgetEntry(old);
                    change = "renamed " + old + " on disk to " + renamed;
                }
            }
        } else {
            ImageItem& item = items[in.Next() % items.size()];
            const std::string& other = items[in.Next() % items.size()].imagePath;
            const std::string name = other != item.imagePath ? other : item.imagePath + "~";
            change = "renamed " + item.imagePath + " to " + name;
            item.imagePath = name;
        }
    }
    return steps;
}

} // namespace ketrilo::test

#pragma once
// A stand-in disc image for the plan's tests: it walks the items itself and charges
// whole sectors per folder, so that it disagrees with the plan's additive costs the
// way a real layout does.

#include "core/image/DiscImage.h"

#include <filesystem>
#include <set>
#include <string>

namespace ketrilo::test {

class ModelImage final : public DiscImage {
public:
    static constexpr int64_t Fixed = 30;
    int64_t perEntry = 300; // bytes
    int calls = 0;

    ImageReport Measure(const std::vector<ImageItem>& items, WorkProgress*) override {
        ++calls;
        namespace fs = std::filesystem;
        int64_t data = 0, records = 0, folders = 0;
        std::set<std::string> parents;
        for (const ImageItem& item : items) {
            records += perEntry;
            for (auto p = fs::path(item.imagePath).parent_path(); !p.empty(); p = p.parent_path())
                parents.insert(p.string());
            const fs::file_status status = fs::symlink_status(item.diskPath);
            if (!fs::is_directory(status)) {
                if (!fs::is_symlink(status)) // a link is stored as a link, as in a real image
                    data += Sectors(item.diskPath);
                continue;
            }
            ++folders;
            for (const auto& e : fs::recursive_directory_iterator(item.diskPath)) {
                records += perEntry;
                if (e.is_symlink())
                    continue;
                if (e.is_directory())
                    ++folders;
                else
                    data += Sectors(e.path().string());
            }
        }
        folders += static_cast<int64_t>(parents.size());
        return {Fixed + data + 2 * folders + (records + 2047) / 2048, {}};
    }

private:
    static int64_t Sectors(const std::string& path) {
        std::error_code e;
        const auto size = static_cast<int64_t>(std::filesystem::file_size(path, e));
        return e ? 0 : (size + 2047) / 2048;
    }
};

// A measure that undercounts every entry tenfold, with the model as its judge: what the
// plan and the fill make with it must still hold by the judge.
class UndercountingImage final : public DiscImage {
public:
    UndercountingImage() {
        m_quick.perEntry = 30;
        judge.perEntry = 300;
    }
    ImageReport Measure(const std::vector<ImageItem>& items, WorkProgress* progress) override {
        return m_quick.Measure(items, progress);
    }
    DiscImage* Judge() override { return &judge; }
    ModelImage judge;

private:
    ModelImage m_quick;
};

} // namespace ketrilo::test

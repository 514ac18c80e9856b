#pragma once
// Disc images for the plan's tests. ModelImage: a stand-in that walks the items itself
// and charges whole sectors per folder, so that it disagrees with the plan's additive
// estimate the way a real layout does. XorrisoImage: the size xorriso reports.

#include "core/DiscImage.h"
#include "core/GraftList.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <unistd.h>

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
            if (!fs::is_directory(fs::symlink_status(item.diskPath))) {
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

// The sectors of "xorriso -as mkisofs -R -J -iso-level 3 -no-pad -graft-points
// -print-size -path-list FILE"; -1 when xorriso cannot be run.
inline int64_t XorrisoSectors(const std::string& listFile) {
    const std::string command = "xorriso -as mkisofs -R -J -iso-level 3 -no-pad -graft-points "
                                "-print-size -path-list '" +
                                listFile + "' 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return -1;
    long long sectors = -1;
    if (std::fscanf(pipe, "%lld", &sectors) != 1)
        sectors = -1;
    pclose(pipe);
    return sectors;
}

class XorrisoImage final : public DiscImage {
public:
    ImageReport Measure(const std::vector<ImageItem>& items, WorkProgress*) override {
        PlannedDisc disc;
        for (const ImageItem& item : items)
            disc.items.push_back({item.imagePath, item.diskPath, false, 0});
        char folder[] = "/tmp/ketrilo-empty-XXXXXX";
        if (disc.items.empty()) // xorriso measures nothing without a change: one empty folder
            disc.items.push_back({"empty", mkdtemp(folder), true, 0});
        char file[] = "/tmp/ketrilo-plan-XXXXXX";
        const int fd = mkstemp(file);
        std::ofstream(file) << GraftList(disc);
        close(fd);
        const int64_t sectors = XorrisoSectors(file);
        unlink(file);
        rmdir(folder);
        return {sectors, {}};
    }
};

} // namespace ketrilo::test

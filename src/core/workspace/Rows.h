#pragma once
// The rows of the three lists. Numbers stay typed; the views format them.

#include <cstdint>
#include <string>

namespace ketrilo {

// One file or folder on its way into a list.
struct tfileproperty {
    std::string name;            // without folder
    std::string path;            // containing folder, ending in "/"
    std::string ext;             // ExtensionOf(name)
    std::string lastmodify;      // TimestampText
    int32_t length = 0;          // NameLength(name)
    int64_t clustersize = 0;     // clusters occupied
    int64_t fileclustersize = 0; // clustersize * ClusterSize
    int32_t icon = 0;            // index into the shared icon list
};

// A row of the folder list; its folder is the folder list's own.
struct FolderRow {
    std::string name;
    std::string ext;
    int64_t bytes = 0; // bytes on disc
    int64_t clusters = 0;
    int32_t length = 0; // NameLength(name)
    std::string lastModified;
    int32_t icon = 0;
};

// A row of the well; its full path (path + name) is unique in the well.
struct WellRow {
    std::string name;
    std::string ext;
    int64_t bytes = 0;
    int64_t clusters = 0;
    std::string path; // ends in "/"
    int32_t icon = 0;
    [[nodiscard]] std::string FullPath() const { return path + name; }
};

// A row of the long-name list.
struct LongNameRow {
    std::string name;
    int32_t length = 0;
    std::string folder; // ends in "/"
    int32_t icon = 0;
    [[nodiscard]] std::string FullPath() const { return folder + name; }
};

} // namespace ketrilo

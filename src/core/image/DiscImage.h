#pragma once
// The image a burning program builds from the well: its exact size and what it would
// change or refuse. The seam between the rules that use an image size (the status, the
// checks, the spanning plan) and the library that lays the image out.

#include "core/base/WorkProgress.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ketrilo {

// One tree grafted into the image: the entry at diskPath (a file, a folder with its
// whole tree, or a link stored as a link) appears at imagePath, relative to the
// image's root ("photos" or, for a part of a split folder, "photos/2019").
struct ImageItem {
    std::string imagePath;
    std::string diskPath;
};

enum class ImageFindingKind {
    JolietNameTooLong,   // over 64 UTF-16 units: the burner cuts it
    JolietCharacter,     // a character Joliet does not allow: the burner replaces it
    JolietNameCollision, // two names of one folder alike once cut to 64 units
    RootNameCollision,   // two items with the same name at the image's root
    FileOver4GiB,        // needs ISO level 3 or UDF; some burners refuse it
    PathTooDeep,         // deeper than 8 levels: unseen by a plain ISO 9660 reader
    PathTooLong,         // over 255 bytes: unseen by a plain ISO 9660 reader
    Refused,             // the image's library will not take it: left out of the image
    JolietPathTooLong,   // a Joliet path over libisofs's 240 bytes: left out of the Joliet tree
    NameNotUtf8,         // a byte that is not UTF-8: replaced, renamed or refused
    FileTooLarge,        // over libisofs's limit: no image can be made
    Unreadable,          // its user may not read it: neither may a burner run by that user
};

struct ImageFinding {
    ImageFindingKind kind;
    std::string path;   // the entry on disk
    std::string detail; // for Refused, what the library says
};

// ISO 9660 numbers an image's sectors with 32 bits: no burner makes a larger image.
inline constexpr int64_t MaxImageSectors = 0xFFFFFFFF;

struct ImageReport {
    // 2048-byte sectors of the whole image, as the burner writes it; over
    // MaxImageSectors for an image no burner can make (then at least its file data).
    int64_t sectors = 0;
    std::vector<ImageFinding> findings;
};

// Lays out the image of items (Rock Ridge and Joliet, ISO 9660 level 3, no padding)
// and reports its size and findings. Progress, when given, is counted and polled for
// a cancel request (then WorkCancelled is thrown).
class DiscImage {
public:
    virtual ~DiscImage() = default;
    [[nodiscard]] virtual ImageReport Measure(const std::vector<ImageItem>& items,
                                              WorkProgress* progress) = 0;
    // Drops whatever a measure keeps of the trees it read, so that the next one reads the
    // disk again (after the entries may have changed). May be called while a measure runs,
    // which then keeps nothing it read.
    virtual void Forget() {}
    // Drops what a measure keeps of the entry at diskPath (renamed, added or removed) and of
    // the folder holding it, so that the next one reads them again.
    virtual void ForgetEntry(const std::string& /*diskPath*/) { Forget(); }
    // The measure that proves this one's figures, where this one stands in for it; none
    // when this one is the judge.
    [[nodiscard]] virtual DiscImage* Judge() { return nullptr; }
};

} // namespace ketrilo

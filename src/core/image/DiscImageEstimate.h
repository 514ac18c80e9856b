#pragma once
// A cheap, additive estimate of what an entry costs in a disc image (Rock Ridge and
// Joliet, ISO 9660 level 3), good to a few sectors per folder. The plan packs with it
// and proves each disc with the exact image measure afterwards.

#include <cstdint>
#include <string>

namespace ketrilo {

inline constexpr int64_t ImageSectorBytes = 2048;

// Bytes the entry adds to the folder that holds it, over both trees, and for a folder
// to the path tables too. size is a file's length (a file of 4 GiB or more takes one
// record per extent).
[[nodiscard]] int64_t EntryRecordBytes(const std::string& name, bool isFolder, int64_t size);

// Bytes a link's target of targetBytes adds to the link's record: its Rock Ridge
// components, with what the record cannot hold continued in a sector of its own.
[[nodiscard]] int64_t LinkTargetBytes(int64_t targetBytes);

// Bytes of a folder's own extents in both trees when its entries' records (the sum of
// their EntryRecordBytes) are laid out in it: whole sectors, at least one per tree.
[[nodiscard]] int64_t FolderExtentBytes(int64_t entryRecordBytes);

} // namespace ketrilo

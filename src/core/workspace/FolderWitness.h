#pragma once
// Whoever else wants the folders a walk reads anyway: the image's arithmetic takes its
// records from there instead of reading the tree again.

#include "core/disk/DirectoryReader.h"

#include <string>
#include <vector>

namespace ketrilo {

class FolderWitness {
public:
    // A walk of the tree under root (ending in "/") read folder (root or a folder beneath
    // it, ending in "/", open on fd), with all its entries, hidden ones too: a file's status
    // is whole, another entry's holds its type at least. Called from the walk's threads, at
    // once; may take the entries.
    virtual void FolderRead(const std::string& root, const std::string& folder, int fd,
                            std::vector<EntryWithStatus>& entries) = 0;

protected:
    ~FolderWitness() = default;
};

} // namespace ketrilo

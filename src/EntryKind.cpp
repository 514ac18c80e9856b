#include "EntryKind.h"

#include <sys/stat.h>

EntryKind EntryKindOf(const std::string& fullPath) {
    struct stat st {};
    if (lstat(fullPath.c_str(), &st) != 0)
        return EntryKind::File;
    if (S_ISDIR(st.st_mode))
        return EntryKind::Folder;
    return S_ISLNK(st.st_mode) ? EntryKind::Link : EntryKind::File;
}

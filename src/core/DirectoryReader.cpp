#include "DirectoryReader.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace ketrilo {

namespace {

bool IsDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

} // namespace

bool DirectoryReader::Next() {
    for (;;) {
        if (m_next >= m_end) {
            const long read = ::getdents64(m_fd, m_buffer, sizeof m_buffer);
            if (read <= 0)
                return false;
            m_next = 0;
            m_end = static_cast<size_t>(read);
        }
        const auto* entry = reinterpret_cast<const dirent64*>(m_buffer + m_next);
        const char* name = entry->d_name;
        m_next += entry->d_reclen;
        if (IsDotOrDotDot(name))
            continue;
        m_name = name;
        m_type = entry->d_type;
        m_statRead = false;
        return true;
    }
}

EntryKind DirectoryReader::Kind() {
    switch (m_type) {
    case DT_DIR:
        return EntryKind::Folder;
    case DT_REG:
        return EntryKind::File;
    case DT_LNK:
        return EntryKind::Link;
    case DT_UNKNOWN: {
        struct stat status;
        return Status(status) ? EntryKindOfMode(status.st_mode) : EntryKind::Gone;
    }
    default:
        return EntryKind::System;
    }
}

bool DirectoryReader::Status(struct stat& status) {
    if (!m_statRead) {
        m_statRead = true;
        m_statFound = ::fstatat(m_fd, m_name, &m_stat, AT_SYMLINK_NOFOLLOW) == 0;
    }
    status = m_stat;
    return m_statFound;
}

} // namespace ketrilo

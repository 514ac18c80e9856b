#include "core/disk/DirectoryReader.h"

#include "core/base/ParallelShares.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>

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

std::vector<EntryWithStatus> ReadWholeFolder(int fd, bool withHidden) {
    std::vector<std::string> names;
    for (DirectoryReader reader(fd); reader.Next();)
        if (withHidden || !IsHiddenName(reader.Name()))
            names.emplace_back(reader.Name());
    std::vector<std::optional<struct stat>> statuses(names.size());
    RunInShares(names.size(), 4096, [&](size_t begin, size_t end) {
        for (size_t i = begin; i < end; ++i) {
            struct stat st;
            if (::fstatat(fd, names[i].c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0)
                statuses[i] = st;
        }
    });
    std::vector<EntryWithStatus> entries;
    entries.reserve(names.size());
    for (size_t i = 0; i < names.size(); ++i)
        if (statuses[i])
            entries.push_back(EntryWithStatus{std::move(names[i]), *statuses[i]});
    return entries;
}

} // namespace ketrilo

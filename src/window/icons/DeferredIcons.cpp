#include "window/icons/DeferredIcons.h"

#include "window/icons/ImageList.h"

namespace {

int32_t StandIn(size_t slot) {
    return -1 - static_cast<int32_t>(slot);
}

} // namespace

int32_t DeferredIcons::IconIndexFor(const std::string& fullPath, ketrilo::EntryKind kind) {
    if (kind == ketrilo::EntryKind::Folder)
        return ketrilo::FolderIconIndex;
    const QString path = QString::fromUtf8(fullPath);
    // Every link shows the one link picture, whatever its name.
    const std::optional<QString> key = kind == ketrilo::EntryKind::Link
                                           ? std::optional<QString>(QStringLiteral("inode/symlink"))
                                           : m_globKey.KeyForPath(path);
    std::lock_guard lock(m_mutex);
    if (key) {
        const auto known = m_byKey.constFind(*key);
        if (known != m_byKey.cend())
            return *known;
    }
    const int32_t standIn = StandIn(m_samples.size());
    m_samples.push_back({fullPath, kind});
    m_resolved.push_back(-1);
    if (key)
        m_byKey.insert(*key, standIn);
    return standIn;
}

int32_t DeferredIcons::Resolve(int32_t icon, ImageList& icons) {
    if (icon >= 0)
        return icon;
    const auto slot = static_cast<size_t>(-1 - icon);
    std::lock_guard lock(m_mutex);
    if (m_resolved.at(slot) < 0)
        m_resolved[slot] = icons.IconIndexFor(m_samples[slot].path, m_samples[slot].kind);
    return m_resolved[slot];
}

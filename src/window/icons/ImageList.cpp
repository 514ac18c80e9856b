#include "window/icons/ImageList.h"

#include "window/icons/Resources.h"

#include <QMimeType>

ImageList::ImageList() {
    EnsureResources();
    m_icons = {QIcon(QStringLiteral(":/folder.svg")), QIcon(QStringLiteral(":/file.svg")),
               QIcon(QStringLiteral(":/disc.svg"))};
    m_byMimeType.insert(QStringLiteral("inode/directory"), ketrilo::FolderIconIndex);
}

int32_t ImageList::IconIndexFor(const std::string& fullPath, ketrilo::EntryKind kind) {
    if (kind == ketrilo::EntryKind::Folder)
        return ketrilo::FolderIconIndex;
    if (kind == ketrilo::EntryKind::Link)
        return IndexForIconName(QStringLiteral("inode-symlink"),
                                QStringLiteral("emblem-symbolic-link"));
    const QString path = QString::fromUtf8(fullPath);
    const std::optional<QString> key = m_globKey.KeyForPath(path);
    if (key) {
        const auto known = m_byGlobKey.constFind(*key);
        if (known != m_byGlobKey.cend())
            return *known;
    }
    const int32_t index = IndexForType(path);
    if (key)
        m_byGlobKey.insert(*key, index);
    return index;
}

int32_t ImageList::IndexForType(const QString& path) {
    const QMimeType type = m_mimeTypes.mimeTypeForFile(path, QMimeDatabase::MatchExtension);
    const auto known = m_byMimeType.constFind(type.name());
    if (known != m_byMimeType.cend())
        return *known;
    const int32_t index = IndexForIconName(type.iconName(), type.genericIconName());
    m_byMimeType.insert(type.name(), index);
    return index;
}

int32_t ImageList::IndexForIconName(const QString& iconName, const QString& genericName) {
    // Several file types often share one themed picture; keep it once.
    for (const QString& name : {iconName, genericName}) {
        if (!QIcon::hasThemeIcon(name))
            continue;
        const auto known = m_byIconName.constFind(name);
        if (known != m_byIconName.cend())
            return *known;
        const auto index = static_cast<int32_t>(m_icons.size());
        m_icons.append(QIcon::fromTheme(name));
        m_byIconName.insert(name, index);
        return index;
    }
    return FileIconIndex;
}

QIcon ImageList::Icon(int32_t index) const {
    if (index < 0 || index >= m_icons.size())
        return {};
    return m_icons.at(index);
}

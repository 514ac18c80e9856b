#pragma once
// ImageList1: the 16 x 16 icons the three lists share. Index 0 is the folder picture,
// 1 a generic file, 2 a disc; each file type's themed icon is added once and its
// index reused, so listing a folder again never grows the list. Names of one kind
// (MimeGlobKey) are looked up once.

#include "core/workspace/IconSource.h"
#include "window/icons/MimeGlobKey.h"

#include <QHash>
#include <QIcon>
#include <QMimeDatabase>
#include <QString>
#include <QVector>

class ImageList final : public ketrilo::IconSource {
public:
    static constexpr int32_t FileIconIndex = 1;

    ImageList();

    // The folder picture for a folder (a hidden one too), the theme's link picture for a
    // symbolic link, else the icon of the file's type judged by its name.
    int32_t IconIndexFor(const std::string& fullPath, ketrilo::EntryKind kind) override;

    // The picture at index; an empty icon for an index outside the list.
    [[nodiscard]] QIcon Icon(int32_t index) const;
    [[nodiscard]] int Count() const { return static_cast<int>(m_icons.size()); }

private:
    int32_t IndexForType(const QString& path);
    int32_t IndexForIconName(const QString& iconName, const QString& genericName);

    const MimeGlobKey& m_globKey = MimeGlobKey::Installed();
    QMimeDatabase m_mimeTypes;
    QVector<QIcon> m_icons;
    QHash<QString, int32_t> m_byMimeType;
    QHash<QString, int32_t> m_byIconName;
    QHash<QString, int32_t> m_byGlobKey;
};

#include "window/DroppedPaths.h"

#include "core/disk/UriList.h"

#include <QByteArray>
#include <QMimeData>

#include <string_view>

std::optional<std::vector<std::string>> DroppedPaths(const QMimeData* data) {
    const QByteArray list = data->data(QStringLiteral("text/uri-list"));
    return ketrilo::LocalPathsFromUriList(std::string_view(list.constData(), size_t(list.size())));
}

#pragma once
// Icons asked for on a worker thread, where ImageList1 may not be touched: each kind of
// name (MimeGlobKey) gets one stand-in index below 0, and Resolve turns a stand-in into
// ImageList1's index on the window's thread, one lookup per kind.

#include "core/workspace/IconSource.h"
#include "window/icons/MimeGlobKey.h"

#include <QHash>
#include <QString>

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

class ImageList;

class DeferredIcons final : public ketrilo::IconSource {
public:
    int32_t IconIndexFor(const std::string& fullPath, ketrilo::EntryKind kind) override;

    // The index in icons of a stand-in; an index that is no stand-in stays as it is.
    int32_t Resolve(int32_t icon, ImageList& icons);

private:
    const MimeGlobKey& m_globKey = MimeGlobKey::Installed();
    std::mutex m_mutex;
    QHash<QString, int32_t> m_byKey;
    struct Sample {
        std::string path; // an entry of the stand-in's kind
        ketrilo::EntryKind kind;
    };
    std::vector<Sample> m_samples;
    std::vector<int32_t> m_resolved; // -1 until looked up
};

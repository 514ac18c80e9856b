#pragma once
// A throw-away folder tree for the well's tests, and an icon source that counts.

#include "core/IconSource.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace ketrilo::testing {

class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "ketrilo-well-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("mkdtemp failed");
        }
        m_root = pattern + "/";
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The root, ending in "/".
    [[nodiscard]] const std::string& Root() const { return m_root; }
    [[nodiscard]] std::string Path(const std::string& relative) const { return m_root + relative; }

    // Writes a file of size bytes (parent folders created); returns its full path.
    std::string File(const std::string& relative, size_t size) const {
        const std::filesystem::path path = m_root + relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << std::string(size, 'x');
        return path.string();
    }
    std::string Folder(const std::string& relative) const {
        std::filesystem::create_directories(m_root + relative);
        return m_root + relative;
    }

private:
    std::string m_root;
};

// Every file gets index 7; the paths asked for are kept.
class RecordingIcons final : public IconSource {
public:
    static constexpr int32_t FileIcon = 7;
    int32_t IconIndexFor(const std::string& fullPath) override {
        asked.push_back(fullPath);
        return FileIcon;
    }
    std::vector<std::string> asked;
};

inline std::string Repeat(const std::string& piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) {
        text += piece;
    }
    return text;
}

} // namespace ketrilo::testing

#include "cli/GraftList.h"

#include "core/base/KetriloError.h"
#include "core/disk/DirectoryReader.h"
#include "core/disk/UniqueFd.h"
#include "core/text/EscapedText.h"
#include "core/text/SystemErrorText.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

namespace ketrilo {

namespace {

std::string Escaped(const std::string& path) {
    if (path.find_first_of("\n\r") != std::string::npos)
        throw KetriloError("改行を含む名前はリストに書けません: " + EscapeControlCharacters(path));
    std::string out;
    for (char c : path) {
        if (c == '\\' || c == '=')
            out += '\\';
        out += c;
    }
    return out;
}

KetriloError WriteError(const std::string& file) {
    return KetriloError(EscapeControlCharacters(file) + " に書けません: " + SystemErrorText(errno));
}

bool WriteAll(int fd, const std::string& text) {
    for (size_t done = 0; done < text.size();) {
        const ssize_t wrote = ::write(fd, text.data() + done, text.size() - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            return false;
        done += static_cast<size_t>(wrote);
    }
    return true;
}

// "disc-<digits>.list", as a plan of any size names its lists.
bool IsListName(const std::string& name) {
    constexpr std::string_view prefix = "disc-", suffix = ".list";
    if (!name.starts_with(prefix) || !name.ends_with(suffix) ||
        name.size() <= prefix.size() + suffix.size())
        return false;
    return std::all_of(name.begin() + prefix.size(), name.end() - suffix.size(),
                       [](char c) { return c >= '0' && c <= '9'; });
}

// The lists of a plan about to be written, under names of their own until all are.
class ListSet {
public:
    ListSet(const std::string& folder, int fd) : m_folder(folder), m_fd(fd) {}
    ListSet(const ListSet&) = delete;
    ListSet& operator=(const ListSet&) = delete;
    ~ListSet() {
        for (const Written& list : m_written)
            ::unlinkat(m_fd, list.pending.c_str(), 0);
    }

    // Writes text as the list name will be; a file already there is never opened, so no
    // link at either name is followed.
    void Write(const std::string& name, const std::string& text) {
        const std::string pending = "." + name + ".new-" + std::to_string(::getpid());
        ::unlinkat(m_fd, pending.c_str(), 0); // left by a run that ended abruptly
        const int file =
            ::openat(m_fd, pending.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (file < 0)
            throw WriteError(m_folder + name);
        m_written.push_back({pending, name});
        const bool written = WriteAll(file, text);
        const int writeErrno = errno;
        const bool closed = ::close(file) == 0;
        if (!written)
            errno = writeErrno;
        if (!written || !closed)
            throw WriteError(m_folder + name);
    }

    // Puts the lists in place of an earlier plan's, whose other lists go.
    void Commit() {
        std::vector<std::string> stale;
        for (DirectoryReader reader(m_fd); reader.Next();) {
            const std::string name = reader.Name();
            if (IsListName(name) &&
                std::none_of(m_written.begin(), m_written.end(),
                             [&name](const Written& list) { return list.name == name; }))
                stale.push_back(name);
        }
        for (const std::string& name : stale)
            if (::unlinkat(m_fd, name.c_str(), 0) != 0 && errno != ENOENT)
                throw KetriloError(EscapeControlCharacters(m_folder + name) +
                                   " を消せません: " + SystemErrorText(errno));
        for (size_t i = 0; i < m_written.size(); ++i)
            if (::renameat(m_fd, m_written[i].pending.c_str(), m_fd, m_written[i].name.c_str()) !=
                0)
                throw WriteError(m_folder + m_written[i].name);
        m_written.clear();
    }

private:
    struct Written {
        std::string pending;
        std::string name;
    };
    const std::string& m_folder;
    int m_fd;
    std::vector<Written> m_written;
};

} // namespace

std::string GraftList(const PlannedDisc& disc) {
    std::string text;
    for (const PlannedItem& item : disc.items) {
        std::string image = Escaped(item.imagePath);
        // genisoimage takes "\" before "=" for an escaped "=", even when that "\" is itself
        // escaped; a folder's path may end in "/" for both tools, which keeps them apart. A
        // file's may not for xorriso: such a line is for xorriso only.
        if (item.isFolder && image.ends_with('\\'))
            image += '/';
        text += image + "=" + Escaped(item.diskPath) + "\n";
    }
    return text;
}

std::vector<std::string> WriteGraftLists(const SpanningPlan& plan, const std::string& folder) {
    std::vector<std::string> texts;
    for (const PlannedDisc& disc : plan.discs)
        texts.push_back(GraftList(disc));

    if (folder.empty())
        throw KetriloError("リストを書くフォルダの名前がありません");
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    const std::string prefix = folder.ends_with('/') ? folder : folder + "/";
    const UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd.Valid())
        throw KetriloError(EscapeControlCharacters(folder) +
                           " にリストを書けません: " + SystemErrorText(errno));

    // Numbers as wide as the count's, so that the lists sort in disc order.
    const size_t width = std::max<size_t>(2, std::to_string(texts.size()).size());
    ListSet set(prefix, fd.Get());
    std::vector<std::string> files;
    for (size_t d = 0; d < texts.size(); ++d) {
        std::string number = std::to_string(d + 1);
        number.insert(0, width - number.size(), '0');
        const std::string name = "disc-" + number + ".list";
        set.Write(name, texts[d]);
        files.push_back(prefix + name);
    }
    set.Commit();
    return files;
}

} // namespace ketrilo

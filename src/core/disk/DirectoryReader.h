#pragma once
// The one way the program reads a folder's entries: names and kinds straight from the
// folder's handle, in the file system's order, with an entry's status read only when
// asked for. A symbolic link is never followed.

#include "core/disk/EntryKind.h"

#include <sys/stat.h>

#include <cstddef>
#include <string>
#include <vector>

namespace ketrilo {

// Hidden: a name that begins with "." ("." and ".." included).
[[nodiscard]] inline bool IsHiddenName(const char* name) {
    return name[0] == '.';
}

class DirectoryReader {
public:
    // Reads the folder open on fd (not taken over), from its start.
    explicit DirectoryReader(int fd) : m_fd(fd) {}
    DirectoryReader(const DirectoryReader&) = delete;
    DirectoryReader& operator=(const DirectoryReader&) = delete;

    // Moves to the next entry other than "." and ".."; false at the end or when the
    // folder cannot be read further.
    bool Next();
    [[nodiscard]] const char* Name() const { return m_name; }
    // From the listing where it says, otherwise from the entry's status; Gone when the
    // entry vanished since the folder was read.
    [[nodiscard]] EntryKind Kind();
    // The entry's own status, read once; false when it has gone.
    [[nodiscard]] bool Status(struct stat& status);
    [[nodiscard]] int Fd() const { return m_fd; }

private:
    int m_fd;
    const char* m_name = nullptr;
    unsigned char m_type = 0;
    bool m_statRead = false;
    bool m_statFound = false;
    struct stat m_stat {};
    size_t m_next = 0;
    size_t m_end = 0;
    alignas(8) char m_buffer[32768];
};

// An entry with its own status, as a whole folder's reading gives them.
struct EntryWithStatus {
    std::string name;
    struct stat status;
};

// Every entry of the folder open on fd (hidden ones only withHidden), in the file
// system's order, with its own status read on several threads when there are very many:
// a folder of a hundred thousand files is otherwise one thread's work. Entries gone
// since the folder was read are left out.
[[nodiscard]] std::vector<EntryWithStatus> ReadWholeFolder(int fd, bool withHidden);

} // namespace ketrilo

#pragma once
// What a forked child writes into a pipe, read to the end once the child is done with it.

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <optional>
#include <string>

namespace ketrilo::test {

// All that comes out of readEnd, which is closed after; none unless child then exits 0.
inline std::optional<std::string> OutputOf(pid_t child, int readEnd) {
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = read(readEnd, buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<size_t>(n));
    close(readEnd);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return text;
}

} // namespace ketrilo::test

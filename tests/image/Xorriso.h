#pragma once
// What xorriso itself makes of items, for the image tests and the image_diff tool.

#include "core/image/DiscImage.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace ketrilo::test {

// xorriso's graft points take "\" and "=" literally only when escaped.
inline std::string GraftEscaped(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        if (c == '\\' || c == '=')
            escaped.push_back('\\');
        escaped.push_back(c);
    }
    return escaped;
}

// The sectors "xorriso -as mkisofs ... -print-size" reports for items; -1 when it fails.
inline int64_t XorrisoSectors(const std::vector<ImageItem>& items) {
    std::vector<std::string> args = {
        "xorriso", "-as",     "mkisofs",       "-R",         "-J", "-iso-level",
        "3",       "-no-pad", "-graft-points", "-print-size"};
    for (const ImageItem& item : items)
        args.push_back(GraftEscaped(item.imagePath) + "=" + GraftEscaped(item.diskPath));
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    int out[2];
    if (pipe(out) != 0)
        return -1;
    const pid_t child = fork();
    if (child == 0) {
        setenv("LC_ALL", "C.UTF-8", 1); // names are UTF-8, as the program reads them
        dup2(out[1], 1);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 2);
        close(out[0]);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(out[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<size_t>(n));
    close(out[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || text.empty())
        return -1;
    return std::stoll(text);
}

} // namespace ketrilo::test

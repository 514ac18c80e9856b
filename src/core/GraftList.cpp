#include "GraftList.h"

#include "KetriloError.h"
#include "Paths.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace ketrilo {

namespace {

std::string Escaped(const std::string& path) {
    if (path.find_first_of("\n\r") != std::string::npos)
        throw KetriloError("改行を含む名前はリストに書けません: " + path);
    std::string out;
    for (char c : path) {
        if (c == '\\' || c == '=')
            out += '\\';
        out += c;
    }
    return out;
}

} // namespace

std::string GraftList(const PlannedDisc& disc) {
    std::string text;
    for (const PlannedItem& item : disc.items)
        text += Escaped(item.imagePath) + "=" + Escaped(item.diskPath) + "\n";
    return text;
}

std::vector<std::string> WriteGraftLists(const SpanningPlan& plan, const std::string& folder) {
    std::vector<std::string> files;
    for (size_t d = 0; d < plan.discs.size(); ++d) {
        char name[32];
        std::snprintf(name, sizeof name, "disc-%02zu.list", d + 1);
        const std::string file = WithTrailingBackslash(folder) + name;
        const std::string text = GraftList(plan.discs[d]);
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out << text;
        out.close();
        if (!out)
            throw KetriloError(file + " に書けません: " + std::strerror(errno));
        files.push_back(file);
    }
    return files;
}

} // namespace ketrilo

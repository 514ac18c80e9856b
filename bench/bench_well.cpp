// The well at the size of a full disc of small files: 100,000 rows, 20,000 long names.
// Prints the time of each operation in milliseconds. Run a Release build by hand.

#include "core/text/NameRules.h"
#include "core/workspace/CapacityStatus.h"
#include "core/workspace/Maintenance.h"
#include "core/workspace/Registration.h"
#include "core/workspace/Sorting.h"
#include "core/workspace/WorkspaceCommands.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <random>
#include <string>
#include <vector>

using namespace ketrilo;

namespace {

constexpr size_t RowCount = 100000;
constexpr size_t LongNameEvery = 5; // 20,000 long names

// Processor time of all the program's threads (a sort computes its keys on several), so
// that other programs on the machine disturb the figures less than wall time would.
double ProcessorMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// Each run appends one figure per operation; the table shows the best of the runs.
class Figures {
public:
    template <typename Work> void Time(const std::string& what, Work work) {
        const double start = ProcessorMilliseconds();
        work();
        const double ms = ProcessorMilliseconds() - start;
        if (m_next == m_rows.size()) {
            m_rows.emplace_back(what, ms);
        } else {
            m_rows[m_next].second = std::min(m_rows[m_next].second, ms);
        }
        ++m_next;
    }
    void NextRun() { m_next = 0; }
    void Print() const {
        std::printf("| %-44s | %9s |\n|%s|%s|\n", "operation (100,000 rows)", "ms",
                    std::string(46, '-').c_str(), std::string(11, '-').c_str());
        for (const auto& [what, ms] : m_rows) {
            std::printf("| %-44s | %9.1f |\n", what.c_str(), ms);
        }
    }

private:
    std::vector<std::pair<std::string, double>> m_rows;
    size_t m_next = 0;
};

std::string RandomName(std::mt19937& random, size_t i) {
    static const char* const extensions[] = {".jpg", ".txt", ".mp3", "", ".tar.gz", ".JPG"};
    std::string name = "item_" + std::to_string(random() % 1000000) + "_" + std::to_string(i);
    if (i % LongNameEvery == 0) {
        name += "_" + std::string(70, 'L');
    }
    return name + extensions[random() % std::size(extensions)];
}

std::vector<tfileproperty> SyntheticItems() {
    std::mt19937 random(7);
    std::vector<tfileproperty> items;
    items.reserve(RowCount);
    for (size_t i = 0; i < RowCount; ++i) {
        tfileproperty item;
        item.name = RandomName(random, i);
        item.path = "/media/archive/folder" + std::to_string(random() % 500) + "/";
        item.clustersize = random() % 1500000;
        item.fileclustersize = item.clustersize * 2048;
        items.push_back(std::move(item));
    }
    return items;
}

// The same entries as one listed folder, each with a time stamp.
std::vector<FolderRow> SyntheticFolderRows(const std::vector<tfileproperty>& items) {
    std::mt19937 random(11);
    std::vector<FolderRow> rows;
    rows.reserve(items.size());
    for (const tfileproperty& item : items) {
        char stamp[32];
        std::snprintf(stamp, sizeof stamp, "20%02u/%02u/%02u %02u:%02u:%02u",
                      unsigned(random() % 25), unsigned(random() % 12 + 1),
                      unsigned(random() % 28 + 1), unsigned(random() % 24), unsigned(random() % 60),
                      unsigned(random() % 30 * 2));
        rows.push_back(FolderRow{item.name, ExtensionOf(item.name), item.fileclustersize,
                                 item.clustersize, NameLength(item.name), stamp, 0});
    }
    return rows;
}

void Run(Figures& figures, const std::vector<tfileproperty>& items,
         const std::vector<FolderRow>& listed) {
    Workspace ws;
    figures.Time("register (AddToWell, 20,000 long names)", [&] {
        for (const tfileproperty& item : items) {
            AddToWell(ws, item);
        }
    });
    figures.Time("register again (all duplicates)", [&] {
        for (const tfileproperty& item : items) {
            AddToWell(ws, item);
        }
    });
    figures.Time("UpdateCapacityStatus", [&] { UpdateCapacityStatus(ws); });

    static const char* const wellColumns[] = {"name", "ext", "bytes", "clusters", "path"};
    for (int column = 0; column < WellColumnCount; ++column) {
        figures.Time(std::string("sort well by ") + wellColumns[column],
                     [&] { SortWellByColumn(ws, column); });
    }

    std::vector<size_t> everyOther;
    for (size_t i = 0; i < ws.well.Size(); i += 2) {
        everyOther.push_back(i);
    }
    figures.Time("delete every other row (50,000)", [&] { DeleteWellRows(ws, everyOther); });
    figures.Time("UpdateCapacityStatus after the deletion", [&] { UpdateCapacityStatus(ws); });

    static const char* const folderColumns[] = {"name",     "ext",    "bytes",
                                                "clusters", "length", "time stamp"};
    for (int column = 0; column < FolderColumnCount; ++column) {
        ws.folderList.rows = listed;
        figures.Time(std::string("sort folder list by ") + folderColumns[column],
                     [&] { SortFolderListByColumn(ws, column); });
    }
}

} // namespace

int main() {
    const std::vector<tfileproperty> items = SyntheticItems();
    const std::vector<FolderRow> listed = SyntheticFolderRows(items);
    Figures figures;
    for (int run = 0; run < 3; ++run) {
        figures.NextRun();
        Run(figures, items, listed);
    }
    figures.Print();
    return 0;
}

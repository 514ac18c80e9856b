// The well's look-up stays consistent with its rows through any sequence of operations:
// appends (duplicates refused), removals, reorders, replacements (two rows may then share
// a path), renamed folders and clearing. Each input byte pair is one operation.
#include "FuzzInput.h"
#include "core/workspace/Well.h"

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

using namespace ketrilo;

namespace {

// Few folders and names, so that paths meet often.
WellRow Row(uint8_t pick) {
    return WellRow{std::string(1, static_cast<char>('a' + pick % 5)),      "", 2048, 1,
                   std::string("/d") + std::to_string(pick / 5 % 3) + "/", 0};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Well well;
    for (size_t i = 0; i + 1 < size; i += 2) {
        const uint8_t op = data[i] % 6, arg = data[i + 1];
        const size_t n = well.Size();
        switch (op) {
        case 0: {
            const bool known = well.WellIndexOf(Row(arg).FullPath()) >= 0;
            FUZZ_CHECK(well.Append(Row(arg)) != known);
            break;
        }
        case 1:
            (void)well.RemoveRows({arg % (n + 2), arg / 7 % (n + 1)});
            break;
        case 2: {
            std::vector<size_t> order(n);
            std::iota(order.begin(), order.end(), 0);
            std::rotate(order.begin(), order.begin() + (n == 0 ? 0 : arg % n), order.end());
            well.Reorder(order);
            break;
        }
        case 3:
            if (n > 0)
                well.ReplaceAt(arg % n, Row(arg / 3));
            break;
        case 4:
            (void)well.ReplaceFolderPrefix("/d" + std::to_string(arg % 3) + "/",
                                           "/d" + std::to_string(arg / 3 % 3) + "/");
            break;
        default:
            if (arg % 8 == 0)
                well.Clear();
        }
        FUZZ_CHECK(well.IsConsistent());
        for (size_t r = 0; r < well.Size(); ++r)
            FUZZ_CHECK(well.WellIndexOf(well.At(r).FullPath()) <= static_cast<int32_t>(r));
    }
    return 0;
}

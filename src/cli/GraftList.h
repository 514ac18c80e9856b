#pragma once
// A disc of the plan as a graft-point list for "xorriso -as mkisofs -graft-points
// -path-list FILE": one "imagePath=diskPath" line per item, "\" and "=" escaped with "\".
// genisoimage takes the same lists, but for a file whose name ends in "\".

#include "core/plan/SpanningPlan.h"

#include <string>

namespace ketrilo {

// The list's text. Throws KetriloError naming the path when one holds a line break,
// which no line of such a list can carry.
[[nodiscard]] std::string GraftList(const PlannedDisc& disc);

// Writes each disc's list into folder (made when missing) as "disc-01.list",
// "disc-02.list", ... (numbers as wide as the count's) and returns the files written.
// The lists of an earlier plan in the folder go; nothing changes when one cannot be
// written (then KetriloError), and a link at a list's name is replaced, not followed.
std::vector<std::string> WriteGraftLists(const SpanningPlan& plan, const std::string& folder);

} // namespace ketrilo

#pragma once
// A disc of the plan as a graft-point list for "xorriso -as mkisofs -graft-points
// -path-list FILE" and "genisoimage -graft-points -path-list FILE": one
// "imagePath=diskPath" line per item, "\" and "=" escaped with "\".

#include "SpanningPlan.h"

#include <string>

namespace ketrilo {

// The list's text. Throws KetriloError naming the path when one holds a line break,
// which no line of such a list can carry.
[[nodiscard]] std::string GraftList(const PlannedDisc& disc);

// Writes each disc's list into folder as "disc-01.list", "disc-02.list", ... and
// returns the files written. Throws KetriloError when a file cannot be written.
std::vector<std::string> WriteGraftLists(const SpanningPlan& plan, const std::string& folder);

} // namespace ketrilo

#pragma once
// Thrown by work that saw a cancel request; the caller discards every partial result.

#include <stdexcept>

namespace ketrilo {

class WorkCancelled : public std::runtime_error {
public:
    WorkCancelled() : std::runtime_error("cancelled") {}
};

} // namespace ketrilo

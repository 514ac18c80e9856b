#pragma once
// Runs a command of the command line with the tests' model image and keeps what it says.

#include "ModelImage.h"

#include <sstream>
#include <string>
#include <vector>

namespace ketrilo::test {

struct CommandResult {
    int status;
    std::string out, err;
};

// command: RunPlanCommand, RunFillCommand or one of their form.
template <class Command>
CommandResult RunWithModelImage(Command command, const std::vector<std::string>& args,
                                const std::string& profileFile) {
    std::ostringstream out, err;
    ModelImage image;
    const int status = command(args, profileFile, image, out, err);
    return {status, out.str(), err.str()};
}

} // namespace ketrilo::test

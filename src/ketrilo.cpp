// Ketrilo's entry: the command-line measure, or the one window and its event loop.
#include "AppearanceSetup.h"
#include "Unit1.h"
#include "core/MeasureCommand.h"
#include "core/ProfileFile.h"

#include <QApplication>

#include <unistd.h>

#include <cstring>
#include <iostream>
#include <string>
#include <vector>

namespace {

std::string ExecutablePath() {
    std::string path(4096, '\0');
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
    path.resize(length > 0 ? static_cast<size_t>(length) : 0);
    return path;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc > 1 && std::strcmp(argv[1], "--measure") == 0) {
        const std::vector<std::string> args(argv + 2, argv + argc);
        return ketrilo::RunMeasureCommand(args, ketrilo::ProfileFilePath(ExecutablePath()),
                                          std::cout, std::cerr);
    }

    QApplication app(argc, argv);
    // The display name follows; setting it too would append it to the window title.
    QApplication::setApplicationName(QStringLiteral("Ketrilo"));
    SetUpAppearance();

    TForm1 Form1;
    Form1.show();
    return QApplication::exec();
}

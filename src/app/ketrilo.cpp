// Ketrilo's entry: the command-line measure, plan and fill, or the one window and its event loop.
#include "app/AppearanceSetup.h"
#include "cli/CommandLine.h"
#include "cli/CommandWords.h"
#include "cli/FillCommand.h"
#include "cli/MeasureCommand.h"
#include "cli/PlanCommand.h"
#include "core/image/ArithmeticDiscImage.h"
#include "core/profiles/ProfileLocation.h"
#include "image/IsoDiscImage.h"
#include "window/Unit1.h"
#ifdef KETRILO_STATE_DUMP
#include "StateDump.h"

#include <optional>
#endif

#include <QApplication>
#include <QFile>
#include <QTimer>

#include <unistd.h>

#include <cstring>
#include <iostream>
#include <memory>
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
        ketrilo::ArithmeticDiscImage image(std::make_shared<ketrilo::IsoDiscImage>());
        return ketrilo::RunMeasureCommand(args, ketrilo::FindProfileFile(ExecutablePath()),
                                          std::cout, std::cerr, &image);
    }

    if (argc > 1 && std::strcmp(argv[1], "--plan") == 0) {
        const std::vector<std::string> args(argv + 2, argv + argc);
        ketrilo::ArithmeticDiscImage image(std::make_shared<ketrilo::IsoDiscImage>());
        return ketrilo::RunPlanCommand(args, ketrilo::FindProfileFile(ExecutablePath()), image,
                                       std::cout, std::cerr);
    }

    if (argc > 1 && std::strcmp(argv[1], "--fill") == 0) {
        const std::vector<std::string> args(argv + 2, argv + argc);
        ketrilo::ArithmeticDiscImage image(std::make_shared<ketrilo::IsoDiscImage>());
        return ketrilo::RunFillCommand(args, ketrilo::FindProfileFile(ExecutablePath()), image,
                                       std::cout, std::cerr);
    }
    if (argc > 1 && std::strcmp(argv[1], "--list-profiles") == 0)
        return ketrilo::RunListProfilesCommand({argv + 2, argv + argc},
                                               ketrilo::FindProfileFile(ExecutablePath()),
                                               std::cout, std::cerr);

    const ketrilo::WindowCommandLine command =
        ketrilo::ParseWindowCommandLine({argv + 1, argv + argc}, std::cout, std::cerr);
    if (command.exitCode)
        return *command.exitCode;

    // Every word was ours: Qt gets none of them.
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    // The display name follows; setting it too would append it to the window title.
    QApplication::setApplicationName(QStringLiteral("Ketrilo"));
    // Ties the window to the desktop entry: the Wayland app id, and on X11 the entry's
    // StartupWMClass matches the class, which is the application name.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.ketrilo.Ketrilo"));
    SetUpAppearance();

    TForm1 Form1;
#ifdef KETRILO_STATE_DUMP
    // The tests' twin of the program: they read what the window shows from this file.
    std::optional<StateDump> dump;
    if (const QString path = qEnvironmentVariable("KETRILO_STATE_OUT"); !path.isEmpty())
        dump.emplace(Form1, path);
#endif
    Form1.show();
    if (!command.folder.empty()) {
        // Once the window shows, as though the user had just picked the folder.
        const QString folder = QFile::decodeName(QByteArray::fromStdString(command.folder));
        QTimer::singleShot(0, &Form1, [&Form1, folder] {
            Form1.Run([&Form1, folder] { Form1.ShowChosenFolder(folder); });
        });
    }
    return QApplication::exec();
}

#pragma once
// What the window benchmarks share at their start.

#include <QDir>
#include <QString>

// Before the QApplication exists: the offscreen platform unless another is chosen.
inline void UseOffscreenUnlessChosen() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// Command-line argument index as a folder, or the folder name in the temporary folder.
inline QString FolderArgument(int argc, char* argv[], int index, const QString& name) {
    return argc > index ? QString::fromLocal8Bit(argv[index]) : QDir::temp().filePath(name);
}

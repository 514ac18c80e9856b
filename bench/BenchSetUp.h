#pragma once
// What the window benchmarks share at their start.

#include "window/Unit1.h"

#include <QCoreApplication>
#include <QDir>
#include <QString>

#include <cstdint>

// Before the QApplication exists: the offscreen platform unless another is chosen.
inline void UseOffscreenUnlessChosen() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// Runs the window's events until one of its handlers has ended after the count before: a
// handler that left a walk to a worker ends once the walk's result is in the window.
inline void AwaitHandled(const TForm1& form, int64_t before) {
    while (form.HandlersEnded() <= before)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// Command-line argument index as a folder, or the folder name in the temporary folder.
inline QString FolderArgument(int argc, char* argv[], int index, const QString& name) {
    return argc > index ? QString::fromLocal8Bit(argv[index]) : QDir::temp().filePath(name);
}

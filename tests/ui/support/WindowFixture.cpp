#include "WindowFixture.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace ui_test {

QString MissingProfile() {
    return QStringLiteral("/nonexistent-ketrilo/ketrilodisclist.ini");
}

QString WriteProfile(const QString& folder, const QString& text) {
    const QString path = QDir(folder).filePath(QStringLiteral("ketrilodisclist.ini"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    file.write(text.toUtf8());
    return path;
}

void MakeFile(const QString& path, qint64 size) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || !file.resize(size))
        qFatal("cannot make %s", qPrintable(path));
}

bool HandledAfter(const TForm1& form, int64_t before) {
    return QTest::qWaitFor([&] { return form.HandlersEnded() > before; }, 60000);
}

bool Handled(const TForm1& form, const std::function<void()>& action) {
    const int64_t before = form.HandlersEnded();
    action();
    return HandledAfter(form, before);
}

WindowFixture::WindowFixture(const QString& profilePath)
    : m_form(std::make_unique<TForm1>(profilePath)) {
    m_form->Reporter().SetSeam(std::make_unique<RecordingMessages>(messages));
    m_form->SetFolderChooser([this] {
        ++m_chooserCalls;
        return m_answers.isEmpty() ? QString() : m_answers.takeFirst();
    });
}

QString WindowFixture::Status() const {
    return m_form->StatusLabel->text();
}

} // namespace ui_test

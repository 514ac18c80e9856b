#pragma once
// A TForm1 for window tests: message boxes recorded instead of shown, a folder chooser
// that answers from a queue, and small helpers for profile files and folder trees.

#include "window/Unit1.h"
#include "window/seams/MessageBoxSeam.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace ui_test {

struct RecordedMessage {
    MessageKind kind;
    QString text;
};

class RecordingMessages final : public MessageBoxSeam {
public:
    explicit RecordingMessages(std::vector<RecordedMessage>& log) : m_log(log) {}
    void Show(QWidget*, MessageKind kind, const QString& text) override {
        m_log.push_back({kind, text});
    }

private:
    std::vector<RecordedMessage>& m_log;
};

// A profile path where no file exists.
QString MissingProfile();

// Writes text as ketrilodisclist.ini into folder and returns its path.
QString WriteProfile(const QString& folder, const QString& text);

// Makes the file path with size bytes (the folders above must exist).
void MakeFile(const QString& path, qint64 size);

// Waits (a minute at most) until a handler of form has ended after the count before; one
// that left work to a worker ends once its result is applied or the work was cancelled.
bool HandledAfter(const TForm1& form, int64_t before);

// Does action, then waits until a handler it started has ended (HandledAfter).
bool Handled(const TForm1& form, const std::function<void()>& action);

class WindowFixture {
public:
    explicit WindowFixture(const QString& profilePath = MissingProfile());

    TForm1& Form() { return *m_form; }
    [[nodiscard]] QString Status() const;
    // Answers the next chooser call with path ("" cancels).
    void AnswerChooser(const QString& path) { m_answers.append(path); }
    [[nodiscard]] int ChooserCalls() const { return m_chooserCalls; }

    std::vector<RecordedMessage> messages;

private:
    std::unique_ptr<TForm1> m_form;
    QStringList m_answers;
    int m_chooserCalls = 0;
};

} // namespace ui_test

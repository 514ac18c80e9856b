#pragma once
// MeasureLane: one disc image's measures on worker threads, one at a time, so that an image
// that keeps what it read is never measured twice at once nor told to forget meanwhile. A new
// measure cancels the one under way and starts as soon as that has ended; only a measure that
// was neither cancelled nor followed by another reports its result. The window's thread never
// waits for a measure.

#include "core/base/WorkProgress.h"
#include "core/image/DiscImage.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QThread;

class MeasureLane : public QObject {
    Q_OBJECT

public:
    // A report, or why there is none.
    struct Result {
        std::optional<ketrilo::ImageReport> report;
        QString failure;
    };
    using Done = std::function<void(Result)>;

    explicit MeasureLane(std::shared_ptr<ketrilo::DiscImage> image, QObject* parent = nullptr);
    // Cancels what runs and waits for its worker to end.
    ~MeasureLane() override;

    // Measures items; done runs on the window's thread with the result, unless Measure or
    // Cancel is called again before it.
    void Measure(std::vector<ketrilo::ImageItem> items, Done done);
    // The measure under way and the one waiting report nothing.
    void Cancel();
    // The image forgets what it keeps before its next measure begins (on the worker, so
    // never while it measures).
    void ForgetBeforeNextMeasure() { m_forget = true; }
    // The image forgets at once, even while it measures (a measure under way keeps nothing).
    void ForgetNow() { m_image->Forget(); }
    [[nodiscard]] ketrilo::DiscImage* Image() const { return m_image.get(); }
    // The same as ForgetBeforeNextMeasure for one entry (renamed on disk) and the folder holding
    // it.
    void ForgetEntryBeforeNextMeasure(std::string diskPath) {
        m_forgetEntries.push_back(std::move(diskPath));
    }

private:
    struct Job {
        std::vector<ketrilo::ImageItem> items;
        Done done;
    };
    void StartWaiting();

    std::shared_ptr<ketrilo::DiscImage> m_image;
    std::optional<Job> m_waiting;
    QThread* m_worker = nullptr; // at most one at a time
    std::shared_ptr<ketrilo::WorkProgress> m_running;
    bool m_forget = false;
    std::vector<std::string> m_forgetEntries;
};

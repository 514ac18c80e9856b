#include "window/work/MeasureLane.h"

#include "core/base/WorkCancelled.h"

#include <QThread>

#include <exception>
#include <utility>

MeasureLane::MeasureLane(std::shared_ptr<ketrilo::DiscImage> image, QObject* parent)
    : QObject(parent), m_image(std::move(image)) {}

MeasureLane::~MeasureLane() {
    Cancel();
    if (m_worker != nullptr) {
        m_worker->wait();
        delete m_worker;
    }
}

void MeasureLane::Measure(std::vector<ketrilo::ImageItem> items, Done done) {
    Cancel();
    m_waiting = Job{std::move(items), std::move(done)};
    if (m_worker == nullptr)
        StartWaiting();
}

void MeasureLane::Cancel() {
    if (m_running)
        m_running->Cancel();
    m_waiting.reset();
}

void MeasureLane::StartWaiting() {
    Job job = std::move(*m_waiting);
    m_waiting.reset();
    auto progress = std::make_shared<ketrilo::WorkProgress>();
    auto result = std::make_shared<Result>();
    m_running = progress;
    m_worker = QThread::create([image = m_image, items = std::move(job.items), progress, result,
                                forget = std::exchange(m_forget, false),
                                entries = std::exchange(m_forgetEntries, {})] {
        try {
            if (forget)
                image->Forget();
            else
                for (const std::string& entry : entries)
                    image->ForgetEntry(entry);
            result->report = image->Measure(items, progress.get());
        } catch (const ketrilo::WorkCancelled&) {
            // a newer measure follows, or none is wanted
        } catch (const std::exception& e) {
            result->failure = QString::fromUtf8(e.what());
        }
    });
    // Queued to the window's thread, where Cancel is called: a measure cancelled before
    // this runs reports nothing, even when it ended first.
    connect(m_worker, &QThread::finished, this,
            [this, progress, result, done = std::move(job.done)] {
                m_worker->deleteLater();
                m_worker = nullptr;
                m_running.reset();
                if (m_waiting)
                    StartWaiting();
                if (!progress->Cancelled())
                    done(std::move(*result));
            });
    m_worker->start(QThread::LowPriority);
}

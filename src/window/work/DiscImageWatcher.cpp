#include "window/work/DiscImageWatcher.h"

#include "core/base/WorkCancelled.h"

#include <QThread>

#include <algorithm>
#include <exception>
#include <utility>

DiscImageWatcher::DiscImageWatcher(std::shared_ptr<ketrilo::DiscImage> image, QObject* parent)
    : QObject(parent), m_image(std::move(image)) {
    m_pause.setSingleShot(true);
    m_pause.setInterval(PauseMs);
    connect(&m_pause, &QTimer::timeout, this, &DiscImageWatcher::Start);
}

DiscImageWatcher::~DiscImageWatcher() {
    if (m_running)
        m_running->Cancel();
    for (const QPointer<QThread>& worker : m_workers) {
        if (worker) {
            worker->wait();
            delete worker;
        }
    }
}

void DiscImageWatcher::Request(std::vector<ketrilo::ImageItem> items) {
    ++m_generation;
    if (m_running)
        m_running->Cancel();
    m_running.reset();
    m_pending = std::move(items);
    m_pause.start();
    if (!m_computing) {
        m_computing = true;
        emit Changed();
    }
}

void DiscImageWatcher::Start() {
    std::erase_if(m_workers, [](const QPointer<QThread>& w) { return w.isNull(); });
    m_running = std::make_shared<ketrilo::WorkProgress>();
    QThread* worker = QThread::create([this, image = m_image, items = std::move(m_pending),
                                       progress = m_running, generation = m_generation] {
        std::optional<ketrilo::ImageReport> report;
        QString failure;
        try {
            report = image->Measure(items, progress.get());
        } catch (const ketrilo::WorkCancelled&) {
            return; // a newer request follows
        } catch (const std::exception& e) {
            failure = QString::fromUtf8(e.what());
        }
        // The watcher outlives its workers: its destructor waits for them.
        QMetaObject::invokeMethod(
            this, [this, generation, report, failure] { Deliver(generation, report, failure); },
            Qt::QueuedConnection);
    });
    m_pending.clear();
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    m_workers.emplace_back(worker);
    worker->start(QThread::LowPriority);
}

void DiscImageWatcher::Deliver(uint64_t generation, std::optional<ketrilo::ImageReport> report,
                               const QString& failure) {
    if (generation != m_generation)
        return; // the well changed meanwhile
    m_running.reset();
    m_computing = false;
    m_report = std::move(report);
    m_failure = failure;
    emit Changed();
}

#pragma once
// DiscImageWatcher: keeps the disc image of the well computed on worker threads. Each change
// of the well cancels the computation under way; a burst of changes starts one new
// computation once it pauses. The window's thread never waits for a computation.

#include "core/image/DiscImage.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class QThread;

class DiscImageWatcher : public QObject {
    Q_OBJECT

public:
    // image lays out the images; it is shared with the worker threads.
    explicit DiscImageWatcher(std::shared_ptr<ketrilo::DiscImage> image, QObject* parent = nullptr);
    // Cancels what runs and waits for the workers to end.
    ~DiscImageWatcher() override;

    // The well now holds items.
    void Request(std::vector<ketrilo::ImageItem> items);

    // True from a request until its computation has ended.
    [[nodiscard]] bool Computing() const { return m_computing; }
    // The latest finished computation; none before the first one or after a failure.
    [[nodiscard]] const std::optional<ketrilo::ImageReport>& Report() const { return m_report; }
    // Why the latest computation failed; empty when it did not.
    [[nodiscard]] const QString& Failure() const { return m_failure; }

    // How long the well must stay unchanged before a computation starts.
    static constexpr int PauseMs = 250;

signals:
    // Computing(), Report() or Failure() changed.
    void Changed();

private:
    void Start();
    void Deliver(uint64_t generation, std::optional<ketrilo::ImageReport> report,
                 const QString& failure);

    std::shared_ptr<ketrilo::DiscImage> m_image;
    QTimer m_pause;
    std::vector<ketrilo::ImageItem> m_pending;
    uint64_t m_generation = 0; // of the latest request; older results are dropped
    std::shared_ptr<ketrilo::WorkProgress> m_running;
    std::vector<QPointer<QThread>> m_workers;
    bool m_computing = false;
    std::optional<ketrilo::ImageReport> m_report;
    QString m_failure;
};

#pragma once
// DiscImageWatcher: keeps the disc image of the well computed on worker threads, in two
// steps. After each change of the well a quick measure (one that keeps what it read, so
// that a small change costs little) gives the figure the window shows; once the well has
// stayed unchanged a while, a judge (the image laid out in full) measures the same items
// and its figure wins where they differ. Each change cancels both; the window's thread
// never waits for either.

#include "core/image/DiscImage.h"
#include "core/workspace/FolderWitness.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>
#include <optional>
#include <vector>

class MeasureLane;

class DiscImageWatcher : public QObject {
    Q_OBJECT

public:
    // quick gives the figure after each change; judge checks it once the well rests. Each
    // is shared with its worker threads and only ever measured by one at a time.
    DiscImageWatcher(std::shared_ptr<ketrilo::DiscImage> quick,
                     std::shared_ptr<ketrilo::DiscImage> judge, QObject* parent = nullptr);
    // Cancels what runs and waits for the workers to end.
    ~DiscImageWatcher() override;

    // The well now holds items.
    void Request(std::vector<ketrilo::ImageItem> items);
    // The entries under the well's items may have changed on disk: the quick image forgets
    // what it read, at once, even while it measures (before a walk whose records it is to
    // take).
    void ForgetNow();
    // The quick image as it takes the records of the folders the walks read, if it does.
    [[nodiscard]] ketrilo::FolderWitness* Witness() const;
    // The entry at diskPath has been renamed on disk: the quick image forgets it and the
    // folder holding it, and keeps the rest.
    void ForgetEntry(std::string diskPath);

    // True from a request until its quick figure has arrived.
    [[nodiscard]] bool Computing() const { return m_computing; }
    // True when the panel says the image is being computed: its figure is late, or there is
    // no earlier one to show meanwhile. A figure that comes quickly replaces the last one
    // without the word flashing up.
    [[nodiscard]] bool ShowsComputing() const { return m_computing && (m_late || !m_report); }
    // The latest finished computation; none before the first one or after a failure.
    [[nodiscard]] const std::optional<ketrilo::ImageReport>& Report() const { return m_report; }
    // Why the latest computation failed; empty when it did not.
    [[nodiscard]] const QString& Failure() const { return m_failure; }

    enum class Verdict {
        Pending,   // the judge has not measured the well as it is
        Confirmed, // the judge found what the quick measure found
        Replaced,  // the judge found otherwise: Report() and Failure() are the judge's
    };
    [[nodiscard]] Verdict JudgeVerdict() const { return m_verdict; }

    // How long a quick figure may take before the panel says it is being computed.
    static constexpr int ComputingTextDelayMs = 300;
    // How long the well must stay unchanged before the judge measures it.
    static constexpr int JudgeIdleMs = 1500;

signals:
    // Computing(), ShowsComputing(), Report(), Failure() or JudgeVerdict() changed.
    void Changed();

private:
    void StartQuick();
    void StartJudge();
    void Judge(std::optional<ketrilo::ImageReport> report, const QString& failure);

    MeasureLane* m_quick;
    MeasureLane* m_judge;
    QTimer m_start; // gathers the requests of one turn of the event loop into one measure
    QTimer m_lateness;
    QTimer m_idle;
    std::vector<ketrilo::ImageItem> m_items;
    bool m_computing = false;
    bool m_late = false;
    std::optional<ketrilo::ImageReport> m_report;
    QString m_failure;
    Verdict m_verdict = Verdict::Pending;
};

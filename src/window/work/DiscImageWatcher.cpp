#include "window/work/DiscImageWatcher.h"

#include "window/work/MeasureLane.h"

#include <algorithm>
#include <string>
#include <utility>

namespace {

// The findings as a sorted list of what and where: two measures may find them in another
// order, and the library's own words for a refusal are its alone.
std::vector<std::pair<ketrilo::ImageFindingKind, std::string>>
FindingKeys(const ketrilo::ImageReport& report) {
    std::vector<std::pair<ketrilo::ImageFindingKind, std::string>> keys;
    keys.reserve(report.findings.size());
    for (const ketrilo::ImageFinding& finding : report.findings)
        keys.emplace_back(finding.kind, finding.path);
    std::sort(keys.begin(), keys.end());
    return keys;
}

bool Alike(const std::optional<ketrilo::ImageReport>& a,
           const std::optional<ketrilo::ImageReport>& b) {
    if (!a || !b)
        return !a && !b; // neither could measure
    return a->sectors == b->sectors && FindingKeys(*a) == FindingKeys(*b);
}

QString Described(const std::optional<ketrilo::ImageReport>& report, const QString& failure) {
    if (!report)
        return QStringLiteral("no figure (%1)").arg(failure);
    return QStringLiteral("%1 sectors, %2 findings")
        .arg(report->sectors)
        .arg(report->findings.size());
}

} // namespace

DiscImageWatcher::DiscImageWatcher(std::shared_ptr<ketrilo::DiscImage> quick,
                                   std::shared_ptr<ketrilo::DiscImage> judge, QObject* parent)
    : QObject(parent), m_quick(new MeasureLane(std::move(quick), this)),
      m_judge(new MeasureLane(std::move(judge), this)) {
    m_start.setSingleShot(true);
    m_start.setInterval(0);
    connect(&m_start, &QTimer::timeout, this, &DiscImageWatcher::StartQuick);
    m_lateness.setSingleShot(true);
    m_lateness.setInterval(ComputingTextDelayMs);
    connect(&m_lateness, &QTimer::timeout, this, [this] {
        m_late = true;
        emit Changed();
    });
    m_idle.setSingleShot(true);
    m_idle.setInterval(JudgeIdleMs);
    connect(&m_idle, &QTimer::timeout, this, &DiscImageWatcher::StartJudge);
}

// The lanes, children of the watcher, cancel their measures and wait for their workers.
DiscImageWatcher::~DiscImageWatcher() = default;

void DiscImageWatcher::Request(std::vector<ketrilo::ImageItem> items) {
    const bool changes = !m_computing || m_verdict != Verdict::Pending;
    m_items = std::move(items);
    m_quick->Cancel();
    m_judge->Cancel();
    m_idle.stop();
    m_verdict = Verdict::Pending;
    m_start.start();
    if (!m_computing) {
        m_computing = true;
        m_late = false;
        m_lateness.start();
    }
    if (changes)
        emit Changed();
}

void DiscImageWatcher::ForgetNow() {
    m_quick->ForgetNow();
}

ketrilo::FolderWitness* DiscImageWatcher::Witness() const {
    return dynamic_cast<ketrilo::FolderWitness*>(m_quick->Image());
}

void DiscImageWatcher::ForgetEntry(std::string diskPath) {
    m_quick->ForgetEntryBeforeNextMeasure(std::move(diskPath));
    Request(m_items);
}

void DiscImageWatcher::StartQuick() {
    m_quick->Measure(m_items, [this](MeasureLane::Result result) {
        m_computing = false;
        m_late = false;
        m_lateness.stop();
        m_report = std::move(result.report);
        m_failure = std::move(result.failure);
        m_idle.start();
        emit Changed();
    });
}

void DiscImageWatcher::StartJudge() {
    m_judge->Measure(m_items, [this](MeasureLane::Result result) {
        Judge(std::move(result.report), result.failure);
    });
}

void DiscImageWatcher::Judge(std::optional<ketrilo::ImageReport> report, const QString& failure) {
    if (Alike(m_report, report)) {
        m_verdict = Verdict::Confirmed;
    } else {
        // Worth a report: the quick measure should never differ from the full layout. The
        // entries may also have changed on disk unseen: the quick image reads them afresh.
        qWarning("DiscImageWatcher: the image of the well's %zu items: quick measure %s, full "
                 "layout %s; the full layout's is shown",
                 m_items.size(), qPrintable(Described(m_report, m_failure)),
                 qPrintable(Described(report, failure)));
        m_verdict = Verdict::Replaced;
        m_report = std::move(report);
        m_failure = failure;
        m_quick->ForgetBeforeNextMeasure();
    }
    emit Changed();
}

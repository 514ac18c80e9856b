#pragma once
// A disc image for the window tests of the image panel: its figure is a base and one sector
// per item, with one finding when asked; it logs its calls, and while held a measure waits,
// deaf to a cancel as a measure busy in one long call would be.

#include "core/base/WorkProgress.h"
#include "core/image/DiscImage.h"

#include <QStringList>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

namespace ui_test {

class FakeImage final : public ketrilo::DiscImage {
public:
    explicit FakeImage(int64_t base, bool finding = false) : m_base(base), m_finding(finding) {}

    ketrilo::ImageReport Measure(const std::vector<ketrilo::ImageItem>& items,
                                 ketrilo::WorkProgress*) override {
        Log(QStringLiteral("measure %1").arg(items.size()));
        ++started;
        while (held)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        ketrilo::ImageReport report{m_base + static_cast<int64_t>(items.size()), {}};
        if (m_finding)
            report.findings.push_back({ketrilo::ImageFindingKind::PathTooDeep, "/deep", {}});
        return report;
    }
    void Forget() override { Log(QStringLiteral("forget")); }

    [[nodiscard]] QStringList Calls() {
        std::lock_guard lock(m_mutex);
        return m_calls;
    }

    std::atomic<bool> held{false};
    std::atomic<int> started{0};

private:
    void Log(const QString& call) {
        std::lock_guard lock(m_mutex);
        m_calls << call;
    }

    int64_t m_base;
    bool m_finding;
    std::mutex m_mutex;
    QStringList m_calls;
};

} // namespace ui_test

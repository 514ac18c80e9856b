// TForm1 and the disc image: the second status panel, the gauge's tooltip, and the
// disc check dialog.
#include "window/Unit1.h"

#include "core/image/DiscImageStatus.h"
#include "core/text/Numbers.h"
#include "window/dialogs/DiscCheckDialog.h"
#include "window/models/FolderListModel.h"
#include "window/work/DiscImageWatcher.h"

#include <QItemSelectionModel>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>
#include <QTableView>

#include <limits>

// Where the image is known not to fit, everything that says "fits" says otherwise: the
// panel in red with its shortfall in bytes, the gauge's bar red, and no folder row tinted
// as still fitting. The status line and the gauge's figure stay the clusters'.
void TForm1::ShowImageStatus() {
    const auto& report = m_discImageWatcher->Report();
    const int64_t capacity = m_ws.capacity.DiscCapacityClusters;
    QString text;
    std::optional<int64_t> remaining;
    if (m_discImageWatcher->ShowsComputing()) {
        text = QString::fromUtf8(ketrilo::ImageComputingText);
    } else if (report && !ketrilo::ImageCanBeMade(*report)) {
        text = QString::fromUtf8(ketrilo::ImageCannotBeMadeText);
        remaining = std::numeric_limits<int64_t>::min(); // no disc holds it
    } else if (report) {
        text = QString::fromStdString(ketrilo::ImageStatusText(report->sectors, capacity));
        remaining = ketrilo::ImageRemainingSectors(report->sectors, capacity);
    } else {
        text = QStringLiteral("イメージ:計算できません");
    }
    const bool fits = !remaining || *remaining >= 0;
    ImageStatusLabel->ShowText(text);
    ImageStatusLabel->setToolTip(m_discImageWatcher->Failure().isEmpty()
                                     ? text + QLatin1Char('\n') +
                                           QString::fromUtf8(ketrilo::ImageFigureAssumption)
                                     : m_discImageWatcher->Failure());
    QPalette colours = StatusBar1->palette();
    if (!fits)
        colours.setColor(QPalette::WindowText, Qt::red);
    ImageStatusLabel->setPalette(colours);
    QPalette gauge = palette();
    if (!fits)
        gauge.setColor(QPalette::Highlight, Qt::red);
    ProgressBar1->setPalette(gauge);
    m_folderModel->SetImageRemainingSectors(remaining);
    ProgressBar1->setToolTip(
        QStringLiteral("クラスタ:%1個(%2%)\n")
            .arg(QString::fromStdString(ketrilo::FormatThousands(m_capacityReport.totalClusters)))
            .arg(m_capacityReport.percentage) +
        text);
}

void TForm1::ConnectImageWatcher() {
    connect(m_discImageWatcher, &DiscImageWatcher::Changed, this, [this] {
        ShowImageStatus();
        TellWatcher();
    });
}

void TForm1::SetDiscImages(std::shared_ptr<ketrilo::DiscImage> quick,
                           std::shared_ptr<ketrilo::DiscImage> judge) {
    delete m_discImageWatcher;
    m_discImageWatcher = new DiscImageWatcher(std::move(quick), std::move(judge), this);
    m_ws.walkWitness = m_discImageWatcher->Witness();
    ConnectImageWatcher();
    m_discImageWatcher->Request(ketrilo::ImageItemsOf(m_ws.well));
}

void TForm1::N7Click() {
    DiscCheckDialog dialog(
        *m_discImageWatcher,
        [this](const std::string& path) { return m_ws.longNames.LongNameListContains(path); },
        [this](const std::string& path) { ShowLongNameRow(path); }, this);
    connect(&dialog, &DiscCheckDialog::Filled, this, &TForm1::TellWatcher);
    TellWatcherSoon(&dialog);
    dialog.exec();
}

void TForm1::ShowLongNameRow(const std::string& fullPath) {
    const auto& rows = m_ws.longNames.Rows();
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].FullPath() == fullPath) {
            const QModelIndex row = ListView2->model()->index(static_cast<int>(i), 0);
            ListView2->selectionModel()->select(row, QItemSelectionModel::ClearAndSelect |
                                                         QItemSelectionModel::Rows);
            ListView2->setCurrentIndex(row);
            ListView2->scrollTo(row);
            return;
        }
    }
}

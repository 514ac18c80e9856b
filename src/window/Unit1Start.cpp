// TForm1's start-up and shut-down, the disc profile choice and the capacity status.
#include "window/Unit1.h"

#include "core/profiles/ProfileFile.h"
#include "core/profiles/ProfileLocation.h"
#include "core/text/NameRules.h"
#include "core/workspace/WorkspaceCommands.h"
#include "window/models/FolderListModel.h"
#include "window/widgets/Colours.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QScopeGuard>
#include <QSignalBlocker>
#include <QTableView>

#include <algorithm>

void TForm1::FormCreate() {
    m_ws.SortSign = ketrilo::SortSigns();
    setAcceptDrops(true);
    RefuseChildDrops();
    PaintBackground(ListView2, QPalette::Base, LongNameListColour);
    m_ws.DraggingFromSelf = false;
    LoadProfilesIntoChooser();
    m_ws.capacity.DiscCapacityClusters = ketrilo::DefaultCapacityClusters;
    ketrilo::Changes started;
    started.capacity = true;
    ShowChanges(started);
}

void TForm1::FormDestroy() {
    m_ws.CapacityList.clear();
}

void TForm1::LoadProfilesIntoChooser() {
    const std::string path =
        m_profilePath.isEmpty()
            ? ketrilo::FindProfileFile(
                  QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString())
            : QFile::encodeName(m_profilePath).toStdString();
    const ketrilo::DiscProfiles profiles = ketrilo::LoadDiscProfiles(path);
    // Choosing entry 0 here is the program's doing, not the user's: no ComboBox1Change.
    const QSignalBlocker quiet(ComboBox1);
    m_ws.CapacityList = profiles.CapacityList;
    ComboBox1->clear();
    ComboBox1->clearEditText();
    for (const std::string& name : profiles.names)
        ComboBox1->addItem(QString::fromUtf8(name));
    if (ComboBox1->count() > 0)
        ComboBox1->setCurrentIndex(0);
}

int TForm1::ComboBox1ItemIndex() const {
    const int index = ComboBox1->currentIndex();
    if (index >= 0 && ComboBox1->currentText() != ComboBox1->itemText(index))
        return -1;
    return index;
}

void TForm1::QueueComboBox1Change() {
    // A choice from the list changes the text, the entry and reports the activation;
    // gathering them runs the handler once per user action, after the combo is settled.
    if (m_comboChangePending)
        return;
    m_comboChangePending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_comboChangePending = false;
            Run([this] { ComboBox1Change(); });
        },
        Qt::QueuedConnection);
}

void TForm1::ComboBox1Change() {
    ShowChanges(ketrilo::ChooseDisc(m_ws, ComboBox1ItemIndex()));
}

void TForm1::UpdateCapacityStatus() {
    // The disc in force may have changed: the image panel follows it (the image needs no
    // new layout), also when a capacity of 0 stops the update below.
    const auto imageFollows = qScopeGuard([this] { ShowImageStatus(); });
    const ketrilo::CapacityReport report = ketrilo::UpdateCapacityStatus(m_ws);
    ProgressBar1->setValue(std::clamp(report.percentage, 0, 100));
    StatusLabel->ShowText(QString::fromStdString(report.statusLine));
    m_folderModel->TintsChanged();
    m_capacityReport = report;
}

#pragma once
// TForm1: the one main window. It lays out the controls, turns every user action
// into one handler named after its control and event, runs each handler through
// the error reporter, and shows the core's Workspace through three list models.

#include "core/image/DiscImage.h"
#include "core/workspace/Changes.h"
#include "core/workspace/Workspace.h"
#include "window/dialogs/PlanDialog.h"
#include "window/icons/ImageList.h"
#include "window/seams/DragOutSeam.h"
#include "window/widgets/FittingLabel.h"
#include "window/work/ErrorReporter.h"

#include <QMainWindow>
#include <QPoint>
#include <QPointer>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QStatusBar;
class QTableView;
class QToolBar;
class QToolButton;
class AnchoredPanel;
class DeferredIcons;
class DiscImageWatcher;
class DragHandle;
class FolderListModel;
class LongNameModel;
class LongWork;
class SplitterBar;
class WellModel;
struct WalkResult;

namespace ketrilo {
struct DiscFill;
struct SpanningPlan;
class WorkProgress;
} // namespace ketrilo

// The folder chooser: returns the chosen folder's path, or "" when nothing was chosen.
using FolderChooser = std::function<QString()>;

class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    // profilePath: the disc profile file; empty means the first found (FindProfileFile).
    explicit TForm1(const QString& profilePath = {}, QWidget* parent = nullptr);
    ~TForm1() override;

    // Controls, named as the user knows them; each also carries its name as objectName.
    AnchoredPanel* Panel1 = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QToolButton* ToolButton1 = nullptr;
    QToolButton* ToolButton2 = nullptr;
    QToolButton* ToolButton3 = nullptr;
    QToolButton* ToolButton4 = nullptr;
    QToolButton* ToolButton5 = nullptr;
    DragHandle* Image1 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QTableView* ListView3 = nullptr; // the folder list
    SplitterBar* Splitter2 = nullptr;
    QTableView* ListView1 = nullptr; // the well
    QProgressBar* ProgressBar1 = nullptr;
    SplitterBar* Splitter1 = nullptr;
    QTableView* ListView2 = nullptr; // the long-name list
    AnchoredPanel* Panel2 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    FittingLabel* StatusLabel = nullptr;      // the status bar's first panel: the clusters
    FittingLabel* ImageStatusLabel = nullptr; // the second panel: the disc image
    QMenu* N1 = nullptr;
    QAction* Post1 = nullptr;
    QAction* N5 = nullptr;
    QAction* N6 = nullptr;
    QMenu* N2 = nullptr;
    QAction* N3 = nullptr;
    QAction* N4 = nullptr;
    QAction* N7 = nullptr;         // "ディスクの検査…"
    QAction* PlanDiscs1 = nullptr; // "複数ディスクに分ける…"
    QAction* FillDisc1 = nullptr;  // "空きを埋める…"

    ImageList ImageList1;

    // Command handlers. Each runs through Run() when a control triggers it.
    void FormCreate();
    void FormDestroy();
    void ToolButton1Click(); // register the selected folder-list rows
    void ToolButton2Click(); // choose a folder
    // What choosing ends in: the chooser's result ("" when cancelled) fills the folder box
    // and the folder list; the command line's folder comes here too.
    void ShowChosenFolder(const QString& chosen);
    void ToolButton3Click(); // rescan
    void ToolButton4Click(); // recalculate the well
    void ToolButton5Click(); // clear the well
    void ListView1KeyDown(int key, Qt::KeyboardModifiers shift);
    void ListView1ColumnClick(int column);
    void ListView3ColumnClick(int column);
    void ListView2DblClick();
    void Edit2Change();
    void Edit2KeyDown(int key, Qt::KeyboardModifiers shift);
    void Image1MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int X, int Y);
    void Image1MouseMove(Qt::KeyboardModifiers shift, int X, int Y);
    void ComboBox1Change();
    void N7Click();         // the disc check dialog
    void PlanDiscs1Click(); // share the well over discs and show the plan
    void LoadPlannedDiscClick(const ketrilo::PlannedDisc& disc); // the plan dialog's button
    void FillDisc1Click(); // what else of the folder list fits the disc, into the well
    // Files dropped onto the window; cursorGlobal is the cursor when the drop is handled.
    void WMDropFiles(const std::vector<std::string>& paths, QPoint cursorGlobal);
    // Says that files dropped while work ran were not taken: the first one's path and how
    // many items the drops carried.
    void DropsRefusedWhileBusy(const QString& firstPath, qsizetype items);

    // Runs handler; an error it throws is shown in the error box and the program goes on.
    void Run(const std::function<void()>& handler);

    // The one way a change of the workspace reaches the screen: each list's view hears
    // what happened to its rows, the folder box shows a new listed folder, and when the
    // capacity is touched, UpdateCapacityStatus runs (after an emptied well empties the
    // gauge).
    void ShowChanges(const ketrilo::Changes& changes);

    // Recomputes the gauge, the status line and RemainingBytes, then repaints the folder
    // list's tint. Throws (changing nothing) when the capacity in force is 0.
    void UpdateCapacityStatus();

    // The image panel and the gauge's tooltip show the latest image against the disc in force.
    void ShowImageStatus();
    // Selects the long-name row of the entry at fullPath, if there is one.
    void ShowLongNameRow(const std::string& fullPath);

    // The chosen disc entry: the current index, or -1 when the typed text is not the
    // current entry's name.
    [[nodiscard]] int ComboBox1ItemIndex() const;

    // The folder box's path as the file system spells it.
    [[nodiscard]] std::string FolderBoxPath() const;

    [[nodiscard]] ketrilo::Workspace& Workspace() { return m_ws; }
    [[nodiscard]] const ketrilo::Workspace& Workspace() const { return m_ws; }
    [[nodiscard]] ErrorReporter& Reporter() { return m_reporter; }
    [[nodiscard]] const DiscImageWatcher& Image() const { return *m_discImageWatcher; }

    // Seams for tests.
    void SetFolderChooser(FolderChooser chooser) { m_chooseFolder = std::move(chooser); }
    void SetDragOut(std::unique_ptr<DragOutSeam> seam) { m_dragOut = std::move(seam); }
    // The image the plan and the fill measure with.
    void SetPlanImage(std::unique_ptr<ketrilo::DiscImage> image);
    // The images the panel's figure comes from (see DiscImageWatcher); the well is measured
    // anew with them. A quick image that is a FolderWitness takes what the walks read.
    void SetDiscImages(std::shared_ptr<ketrilo::DiscImage> quick,
                       std::shared_ptr<ketrilo::DiscImage> judge);
    [[nodiscard]] PlanDialog* CurrentPlanDialog() const { return m_planDialog; }
    // Runs after every handler, and whenever the window changes what it shows of its own
    // accord (the image's figures, a dialog on screen or filled in), so that a test can
    // read the window then. None by default.
    void SetWatcher(std::function<void()> watcher) { m_watcher = std::move(watcher); }
    // How many handlers have ended: a test waits for it to grow, since the window also
    // tells the watcher of changes no handler made. A handler that left work running
    // ends when its result is applied or the work was cancelled.
    [[nodiscard]] int64_t HandlersEnded() const { return m_handlersEnded; }

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildLayout();
    void BuildMenu();
    void BuildToolBar();
    void BuildPanel1();
    void BuildPanel2();
    void BuildLists();
    void ConnectHandlers();
    void ConnectImageWatcher();
    void RefuseChildDrops();
    void LoadProfilesIntoChooser();
    void QueueComboBox1Change();
    // For a handler: runs work on a worker behind the progress display and returns at once;
    // apply runs through Run once the work finished, not at all when it was cancelled. The
    // handler counts as ended only then.
    void RunLong(std::function<void(ketrilo::WorkProgress&)> work, std::function<void()> apply);
    void ListFolderInBox(const std::string& folderText);
    void TakeFolderList(ketrilo::FolderList& listed, DeferredIcons& icons);
    // Takes the folder list a listing on a worker filled and shows its changes.
    void TakeListing(WalkResult& listed);
    // Takes the well and the long-name list that work on a worker filled, giving the rows
    // from the first new ones on their icons.
    void TakeWellAndLongNames(ketrilo::Workspace& fresh, DeferredIcons& icons, size_t firstNewRow,
                              size_t firstNewLongName);
    // The changes a drop registered, then its boxes for the duplicates it met and the status.
    void ShowRegistered(ketrilo::Changes registered, size_t duplicates);
    // The plan a worker computed, in a plan dialog of its own.
    void ShowPlan(ketrilo::SpanningPlan plan);
    // The fill a worker found among the folder list's rows (their indices in the list).
    void ShowFill(const ketrilo::DiscFill& fill, const std::vector<size_t>& rows);
    void TellWatcher() const;
    // Once the events queued now are handled (the widgets placed on screen), unless
    // context is gone by then.
    void TellWatcherSoon(QObject* context) const;

    ketrilo::Workspace m_ws;
    ErrorReporter m_reporter;
    QString m_profilePath;
    FolderChooser m_chooseFolder;
    std::function<void()> m_watcher;
    int64_t m_handlersEnded = 0;
    bool m_handlerContinues = false; // the running handler left work to RunLong
    std::unique_ptr<DragOutSeam> m_dragOut;
    std::unique_ptr<ketrilo::DiscImage> m_planImage;
    QPointer<PlanDialog> m_planDialog;
    bool m_loadingPlannedDisc = false; // the well changes to a disc of the open plan
    FolderListModel* m_folderModel = nullptr;
    WellModel* m_wellModel = nullptr;
    LongNameModel* m_longNameModel = nullptr;
    LongWork* m_longWork = nullptr; // walks run through it, off the window's thread
    DiscImageWatcher* m_discImageWatcher = nullptr;
    ketrilo::CapacityReport m_capacityReport; // of the latest UpdateCapacityStatus
    bool m_comboChangePending = false;        // ComboBox1Change is queued for the current action
    QPoint FDragStartPos;
};

#pragma once

#include <QImage>
#include <QWidget>
#include <memory>

#include "planning/GanttEdit.h"

class LinkRecorder;
class QAction;
class QActionGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QMenu;
class QScrollBar;
class QSlider;
class QSpinBox;
class QToolButton;
class Workspace;

// The three pictures of the Gantt diagram as one redraw leaves them: the
// diagram, the row labels on its left and the time header above it.
struct GanttPictures {
    QImage diagram;
    QImage labels;
    QImage header;
};

// What a redraw needs besides the tables.
struct GanttDrawOptions {
    GanttScale scale;
    double now = 0;          // the today line
    double startMoment = 0;  // substitutes missing bar dates
    QString projectNumber;
    bool plan = true;       // "Zobrazit Plán Gantt"
    bool realistic = true;  // "Zobrazit realnost Gantt"
    bool captions = true;   // "Popis"
    bool dates = true;      // "Termíny"
    bool links = true;      // "Propojení"
};

// Draws the deadline rows of one project into the three pictures, which keep
// their sizes. Only the rows that fall into the diagram are drawn; link lines
// are drawn when they cross it.
void DrawGantt(const Table& deadlines, const GanttDrawOptions& options, GanttPictures& pictures);

// The Gantt diagram window: the deadline items of the chosen project as bars
// on a day axis, edited with the mouse in the mode chosen in its pop-up menu.
// It holds only its display parameters (in the configuration); every edit
// goes to the workspace's deadline table and the change log.
class Diagram : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kHeaderHeight = 41;
    static constexpr int kInfoWidth = 248;
    static constexpr int kLabelWidth = 250;

    Diagram(Workspace& ws, LinkRecorder& links, QWidget* parent = nullptr);
    ~Diagram() override;

    // Draws the whole diagram again with the current parameters.
    void Redraw();
    // A redraw once the current event is handled; several requests make one.
    void ScheduleRedraw();
    // The project chooser's choice: loads the project's progress file and redraws.
    void ChooseProject(const QString& chooserText);
    // "Zobrazit popis do Ganttu" of the main window sets "Popis".
    void SetCaptionsShown(bool on);

    const GanttPictures& Pictures() const { return pictures_; }
    GanttInteraction& Interaction() { return *interaction_; }
    QWidget* Canvas() const;
    QMenu* Popup() const { return popup_; }
    QAction* ModeAction(GanttMode mode) const;
    GanttDrawOptions DrawOptions() const;

    // The diagram of the current project over its whole date range, for
    // export and printing.
    QImage FullPicture();
    bool ExportPng(const QString& path);
    bool ExportPdf(const QString& path);

  signals:
    // "Formulář": the entry window is to show the current deadline item.
    void entryWindowRequested();
    // "Popis" was clicked: the main window's menu item follows.
    void captionsToggled(bool on);
    // The chooser loaded another project; the other project choosers follow.
    void projectChosen(const QString& chooserText);

  protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    class Picture;
    friend class Picture;

    void BuildToolBar(QWidget* bar);
    QWidget* BuildLegend();
    void BuildPopup();
    // The controls take the parameters of the configuration ("every activation").
    void SyncControls();
    void FillChooser();
    void FollowCurrentProject();
    void EnableModes();
    void ToggleSize();

    void CanvasPressed(QMouseEvent* event);
    void CanvasMoved(QMouseEvent* event);
    void CanvasReleased(QMouseEvent* event);
    void ShowHitLabels();
    void RemoveLinksCommand();
    void DeleteRowCommand();
    void ExportPngCommand();
    void ExportPdfCommand();
    void PrintCommand();
    void ExportCalendarCommand();

    Workspace& ws_;
    std::unique_ptr<GanttInteraction> interaction_;
    GanttPictures pictures_;

    QComboBox* chooser_ = nullptr;
    QSpinBox* rowHeight_ = nullptr;
    QSlider* zoom_ = nullptr;
    QCheckBox* links_ = nullptr;
    QCheckBox* captions_ = nullptr;
    QCheckBox* dates_ = nullptr;
    QToolButton* sizeButton_ = nullptr;
    QLabel* upper_ = nullptr;
    QLabel* lower_ = nullptr;
    Picture* header_ = nullptr;
    Picture* labels_ = nullptr;
    Picture* canvas_ = nullptr;
    QScrollBar* rows_ = nullptr;
    QScrollBar* time_ = nullptr;
    QMenu* popup_ = nullptr;
    QActionGroup* modes_ = nullptr;
    QAction* off_ = nullptr;
    QAction* moves_ = nullptr;
    QAction* predecessors_ = nullptr;
    QAction* superiors_ = nullptr;
    QAction* removeLinks_ = nullptr;
    QAction* deleteRow_ = nullptr;

    int shownProjectRow_ = -1;
    bool redrawPending_ = false;
    bool redrawing_ = false;
};

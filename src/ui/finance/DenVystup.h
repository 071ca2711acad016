#pragma once

#include <QWidget>
#include <array>

#include "finance/OverviewState.h"

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class Workspace;

// The finance overview window: the choices of the computation, the project
// and row choosers, and one results row shown beside the selection total.
// The choices live in the workspace; the window shows them and follows a
// change made elsewhere. A tool window that stays on top.
class DenVystup : public QWidget {
    Q_OBJECT
  public:
    explicit DenVystup(Workspace& ws, QWidget* parent = nullptr);

    // Shows results row r and row 1; p is the project whose people are named.
    void ShowOverviewRow(int r, int p);
    // The rows of the results table in the row chooser, each once.
    void FillRowChooser();
    // The project chooser for the chosen project set; then the computation.
    void FillProjectChooser();
    // A cell of the results table was selected: its row is shown here.
    void SelectResultsRow(int row);
    // Shows the window centred on the desktop.
    void ShowWindow();

    QComboBox* ProjectChooser() const { return projectChooser_; }
    QComboBox* RowChooser() const { return rowChooser_; }

  signals:
    // "Graf": the finance chart window is to be shown.
    void chartRequested();
    // A results row is to be shown in the finance chart.
    void chartRowChosen(int row);
    // The window was closed (the diary calendar redraws).
    void closed();
    // A project was chosen in the project chooser and is now the current project.
    void projectChosen(int row);

  protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    QGroupBox* OptionGroup(const QString& caption, QButtonGroup* group,
                           const QList<std::pair<QString, QString>>& options);
    QWidget* CreateValueGrid();
    void BaseClicked();
    void FollowChoices();
    void RefillProjectChooser();
    void ColourBaseLabels();
    void ProjectChosen(const QString& text);
    void RowChosen(const QString& text);
    void Compute();
    void ComputationShown();
    void PrintCommand();
    void ExportCommand();

    Workspace& ws_;
    QButtonGroup* sets_ = nullptr;
    QButtonGroup* divisions_ = nullptr;
    QButtonGroup* dateKinds_ = nullptr;
    QButtonGroup* bases_ = nullptr;
    QComboBox* projectChooser_ = nullptr;
    QComboBox* rowChooser_ = nullptr;
    QLabel* date_ = nullptr;
    QLabel* number_ = nullptr;         // "Čislo"
    QLabel* item_ = nullptr;           // "Akce"
    QLabel* projectNumber_ = nullptr;  // "Projekt číslo"
    QLabel* manager_ = nullptr;
    QLabel* technician_ = nullptr;
    QLabel* projectFrom_ = nullptr;
    QLabel* projectTo_ = nullptr;
    QLabel* stageFrom_ = nullptr;
    QLabel* stageTo_ = nullptr;
    QLabel* stage_ = nullptr;  // heading "Etapa"
    QLabel* count_ = nullptr;  // heading "Počet položek"
    QGroupBox* values_ = nullptr;
    // Value labels by grid row; columns: stage plan, stage actual, project plan, project actual.
    std::array<std::array<QLabel*, 4>, 8> cells_{};
    std::array<QLabel*, 8> captions_{};
    QLabel* differenceCaption_ = nullptr;
    QLabel* difference_ = nullptr;
    QLabel* differenceNote_ = nullptr;
};

#pragma once

#include <QWidget>

#include "diary/DayRecord.h"

class QComboBox;
class QDateEdit;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class QToolButton;
class Workspace;

// The day entry window: the day record of one calendar cell (one project on one
// day) with its task table, minutes and messages, and the project's deadline
// and payment problems of that day. Only "OK - Zapsat" and "Smazat den" write.
class Denik : public QWidget {
    Q_OBJECT
  public:
    explicit Denik(Workspace& ws, QWidget* parent = nullptr);

    // Loads the record of the cell (calendar column, its day, project row).
    void LoadDayEntry(int column, double day, int projectRow);
    // Fills the "Termíny" chooser with the project's deadline rows in trouble on
    // day t (loading its progress file); returns their number.
    int ListDeadlineProblems(int projectRow, double t);
    // The same for the late payments of the loaded finance rows, numbered from 0.
    int ListPaymentProblems(double t);
    // Removes task row k (from 1); returns the task rows left.
    int DeleteTaskRow(int k);

    // The window's fields as a record, and a record into them.
    DayRecord Record() const;
    void ShowRecord(const DayRecord& record);
    // The cell the window was loaded for, from its identification label. The
    // project's row is looked up again by its number, as the project table may
    // have been sorted, reloaded or changed since; 0 when the project is gone.
    int Column() const;
    int ProjectRow() const;
    double Day() const;

    void AddTask();
    void ChangeTask();
    void SetTaskState(const QString& state);
    void WriteDay();
    void EraseDay();
    // Takes the nearest earlier (step -1) or later (+1) record within 31 days.
    void CopyNearest(int step);
    void MoveMessages();

  signals:
    // The record of the project row changed on disk: the calendar redraws it.
    void recordChanged(int projectRow);
    // A problem chooser picked a deadline (1) or finance (4) row.
    void itemChosen(int kind, int row);
    void closed(int projectRow);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildHeader(class QVBoxLayout* layout);
    void BuildInput(class QVBoxLayout* layout);
    void BuildTable(class QVBoxLayout* layout);
    void BuildBottom(class QVBoxLayout* layout);
    void ClearTasks();
    void SetTaskRow(int k, const DayTask& task);
    // False, with a message, when the window's project left the project table.
    bool ProjectStillThere(int row);
    int TaskRows() const;
    int SelectedTask() const;
    void SetSelectedTask(int k);
    void SetTaskCounter(int count, bool overdue);
    void ToggleSize();
    void ProblemChosen(QComboBox* chooser, int kind);

    Workspace& ws_;
    QLabel* ident_ = nullptr;
    QLabel* project_ = nullptr;
    QLabel* manager_ = nullptr;
    QLabel* technician_ = nullptr;
    QLabel* expenseHeading_ = nullptr;
    QLabel* plan_ = nullptr;
    QLabel* actual_ = nullptr;
    QLabel* own_ = nullptr;
    QLabel* deadlineCount_ = nullptr;
    QLabel* paymentCount_ = nullptr;
    QLabel* taskCount_ = nullptr;
    QComboBox* deadlineProblems_ = nullptr;
    QComboBox* paymentProblems_ = nullptr;
    QComboBox* person_ = nullptr;
    QComboBox* note_ = nullptr;
    QDateEdit* deadline_ = nullptr;
    QComboBox* state_ = nullptr;
    QTableWidget* tasks_ = nullptr;
    QMenu* taskMenu_ = nullptr;
    QAction* deleteRow_ = nullptr;
    QPlainTextEdit* minutes_ = nullptr;
    QPlainTextEdit* messages_ = nullptr;
    QLabel* shortMessage_ = nullptr;
    bool filling_ = false;
    QString projectNumber_;  // of the project the window was loaded for
};

#pragma once

#include <QColor>
#include <QWidget>
#include <functional>
#include <utility>

#include "editing/ItemForm.h"

class ConnectionSlot;
class QAbstractButton;
class QComboBox;
class QDateEdit;
class QGridLayout;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QToolButton;
class Workspace;
struct EditContext;
enum class EditOutcome;

// The entry window: one page per table (projects, deadline items, finance
// items) whose fields show and change the current item, with the project
// chooser and the buttons that add, change and delete rows. It holds no data
// of its own: every button works on the workspace's tables at the current item.
class Formulare : public QWidget {
    Q_OBJECT
  public:
    enum Page { kProjectPage = 0, kDeadlinePage = 1, kFinancePage = 2 };

    // Builds the pages and their lists from the tables as they are now, makes
    // deadline row 1 the current item and shows it. The slot, when given,
    // unlocks the service fields while the service menus are enabled.
    explicit Formulare(Workspace& ws, ConnectionSlot* slot = nullptr, QWidget* parent = nullptr);

    // A grid click: the row becomes the current item (a project row also the
    // current project); the window turns to its page without selecting a grid
    // cell and shows the row as the table holds it.
    void ShowItem(int kind, int row);
    // Turns to a page as another window does ("Formuláře"): the page's table
    // becomes the current one and its row 1 is shown.
    void SetPage(int page);
    int CurrentPage() const;
    static int PageOfKind(int kind);

    void ShowProjectRow(int row);
    void ShowDeadlineRow(int row);
    void ShowFinanceRow(int row);
    // The status label of a deadline (1) or finance (4) row; other kinds leave it.
    void ShowItemStatus(int kind, int row);
    // Offers the picture the row names to the photo viewer.
    void ShowItemPicture(int row);

    // The bottom buttons, also for the main window's "Smazat položku".
    void AddCopyCommand();
    void AddEmptyCommand();
    void ChangeCommand();
    void DeleteCommand();
    // "Storno": what was typed is dropped; the window shows the table's values
    // again and closes.
    void CancelCommand();

    // The project chooser's entries (number + "/ " + name); it keeps showing
    // the current project.
    void SetProjectChoices(const QStringList& entries);
    QString ProjectChooserText() const;

    // The moment the date rules treat as now; the program's start-up moment.
    void SetStartUpMoment(double day) { startUp_ = day; }
    double StartUpMoment() const { return startUp_; }

    // The fields as the buttons would store them.
    ItemForm CollectedForm();
    const PageLayout& Layout() const { return form_.layout; }

  signals:
    // A button changed the tables; the row is the current item afterwards.
    void itemStored(int kind, int row);
    // The page's table became the active one: the main window checks its table
    // menu item and lays out its tables.
    void pageChanged(int kind);
    // Item kind + "/" + current column + "/" + item row.
    void selectionLabelChanged(const QString& text);
    // The status of the shown item; an invalid colour means the window's own.
    void statusChanged(const QString& text, const QColor& colour);
    // Whether the status label and the label "Reálný termín plnění" show.
    void statusLabelsShown(bool status, bool realisticTerm);
    // "Real od" + "  -  " + "Real do" of the shown deadline item, empty otherwise.
    void realTermChanged(const QString& text);
    // A project was chosen in the chooser and its progress file loaded: the
    // other project choosers follow, the finance overview refills its rows and
    // recomputes, the Gantt diagram redraws, the pop-up captions take the row.
    void projectChosen(const QString& chooserText);
    // For the photo viewer: the picture to show with its caption; an empty
    // path empties the viewer.
    void pictureChanged(const QString& path, const QString& caption);
    void pictureLabelChanged(const QString& text);
    // The Gantt diagram draws the deadline table again.
    void ganttRedrawRequested();

  protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    struct DateField {
        QLabel* caption = nullptr;
        QDateEdit* edit = nullptr;
        QToolButton* clear = nullptr;     // "X"
        QToolButton* remember = nullptr;  // "M"
        QToolButton* recall = nullptr;    // ">"
        void SetShown(bool shown) const;
    };
    // A date field of an item page: where it goes, its object name and caption.
    struct DateRow {
        DateField* field;
        QString name;
        QString caption;
    };
    // The controls the deadline and finance pages share.
    struct ItemFields {
        QComboBox* type = nullptr;
        QComboBox* number = nullptr;
        QLineEdit* id = nullptr;
        QLabel* projectName = nullptr;
        QComboBox* activity = nullptr;
        QComboBox* classification = nullptr;
        QComboBox* step = nullptr;
        QComboBox* info = nullptr;
        QComboBox* note = nullptr;
        QLineEdit* note2 = nullptr;
        QLineEdit* textDoc = nullptr;
        QLineEdit* pictureDoc = nullptr;
        QLabel* memory = nullptr;  // "Paměť data"
    };
    // What tells the deadline and finance pages apart.
    struct ItemPage {
        int index;
        QString prefix;  // of every object name
        QString info;    // caption and object name of the info field
        QString pictureCaption;
        QString pictureName;
    };

    QWidget* BuildProjectPage();
    QWidget* BuildDeadlinePage();
    QWidget* BuildFinancePage();
    // Creates the shared controls and lays out the page: the head row over the
    // field grid, with the page's own controls on the right.
    void BuildItemPage(QWidget* page, ItemFields& f, const ItemPage& item, QLayout* right);
    // The date rows from the grid row on, then "Paměť data" and "Splněno";
    // returns the row after them.
    int AddDateRows(QGridLayout* grid, int row, ItemFields& f, const ItemPage& item,
                    const QList<DateRow>& dates);
    QWidget* BuildBottomPanel();
    QComboBox* Combo(const QString& name, bool editable = true);
    QLineEdit* Line(const QString& name);
    QDateEdit* DateEdit(const QString& name);
    DateField MemoryDate(const QString& name, const QString& caption, int page);
    QToolButton* PictureButton(const QString& name);
    void FillLists();
    // The chooser's entries: the pick list, or the project table before there is one.
    QStringList ProjectEntries() const;
    void PickListsChanged();

    // The text controls of a page and the form fields they show.
    QList<std::pair<QWidget*, QString ProjectForm::*>> ProjectTexts() const;
    static QList<std::pair<QWidget*, QString ItemTexts::*>> ItemTextFields(const ItemFields& f);
    QList<std::pair<QDateEdit*, double DeadlineForm::*>> DeadlineDates() const;
    QList<std::pair<QDateEdit*, double FinanceForm::*>> FinanceDates() const;
    void PutProject();
    void PutDeadline();
    void PutFinance();
    void PutAmounts();
    void CollectProject();
    void CollectDeadline();
    void CollectFinance();
    // The rest of showing a deadline or finance row, once its fields are filled.
    void ShowItemRow(const Table& table, QChar letter, int row);
    // Shows a row on the page of its kind.
    void ShowRowOfKind(int kind, int row);
    // The current item on its page: the window follows every move of it.
    void ShowCurrent();
    // A table changed: when the current item's row is no longer what the
    // form was filled from, the form is filled again, so that no button
    // writes back what the table no longer holds.
    void TableChanged(int kind);
    void RememberShown(int page, const Table& table, int row);
    void ApplyLayout();
    void ApplyLayoutFrom(int page);
    void AmountEdited();
    void MarkAmount(MarkedAmount marked);
    void FulfilledCommand(int page);
    void ChoosePictureCommand();
    void ProjectChosen(const QString& text);
    // The chooser and the project name labels name the current project.
    void ShowCurrentProject();
    void SetProjectName(const QString& name);
    void PageSwitched(int page);
    void Activated();
    void SetServiceFields(bool enabled);
    void EmitSelection();
    void AppendSelectionCheck(const QString& where);
    void SetBottomLabel(const QString& text);
    EditContext Context();
    // Runs a button's edit; a done edit is announced.
    void EditCommand(const std::function<EditOutcome()>& edit);
    void AfterEdit();

    static double Day(QDateEdit* edit);
    static void SetDay(QDateEdit* edit, double day);

    Workspace& ws_;
    ItemForm form_;
    double startUp_ = 0;
    // The finance page's remembered date; the deadline page remembers the text of its label.
    double financeMemory_ = 0;
    // Set while the window fills its own fields, so that their change handlers stay quiet.
    bool filling_ = false;
    bool placed_ = false;
    // The row each page was filled from, and its cells at that moment.
    struct ShownRow {
        int row = 0;
        QStringList cells;
    };
    ShownRow shown_[3];

    QTabWidget* pages_ = nullptr;

    // Project page.
    QComboBox* projectNumber_ = nullptr;
    QComboBox* projectName_ = nullptr;
    QComboBox* projectManager_ = nullptr;
    QComboBox* projectTechnician_ = nullptr;
    QLineEdit* projectMeasure_ = nullptr;
    QLineEdit* projectActivities_ = nullptr;
    QLineEdit* projectSupplierDoc_ = nullptr;
    QLineEdit* projectExternalDoc_ = nullptr;
    QLineEdit* projectNote_ = nullptr;
    QLineEdit* projectSubsidy_ = nullptr;
    QLineEdit* projectErdf_ = nullptr;
    QLabel* projectPlannedCaption_ = nullptr;
    QLineEdit* projectPlanned_ = nullptr;
    QLineEdit* projectSubsidyTotal_ = nullptr;
    QDateEdit* projectFrom_ = nullptr;
    QDateEdit* projectTo_ = nullptr;

    // Deadline page.
    ItemFields deadline_;
    QSpinBox* deadlineDuration_ = nullptr;
    DateField deadlinePlanStart_, deadlinePlanEnd_, deadlineActualStart_, deadlineActualEnd_;

    // Finance page.
    ItemFields finance_;
    QLabel* financeTotalCaption_ = nullptr;
    QLineEdit* financeTotal_ = nullptr;
    QLabel* financeIneligibleCaption_ = nullptr;
    QLineEdit* financeIneligible_ = nullptr;
    QLabel* financeEligibleCaption_ = nullptr;
    QLineEdit* financeEligible_ = nullptr;
    QRadioButton* financeMarkTotal_ = nullptr;
    QRadioButton* financeMarkIneligible_ = nullptr;
    QRadioButton* financeMarkEligible_ = nullptr;
    QLabel* financeRecognisedCaption_ = nullptr;
    QLineEdit* financeRecognised_ = nullptr;
    DateField financeDelivery_, financeDue_, financeAssignment_, financePayment_;

    // Bottom panel.
    QLabel* itemLabel_ = nullptr;
    QComboBox* chooser_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* realTermCaption_ = nullptr;
    QLabel* realTerm_ = nullptr;
    QPushButton* addCopy_ = nullptr;
    QPushButton* addEmpty_ = nullptr;
    QPushButton* change_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

#include "Denik.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

#include "Clock.h"
#include "Prompter.h"
#include "Workspace.h"
#include "data/Cells.h"
#include "data/Columns.h"
#include "data/Dates.h"
#include "data/Progress.h"
#include "editing/Status.h"
#include "main/ErrorHandler.h"
#include "shell/Access.h"
#include "shell/ChangeLog.h"

namespace {

constexpr int kTaskColumns = 5;
const QString kWriteLabel = QStringLiteral("Zápis akce deník_________");
const QString kEraseLabel = QStringLiteral("Smaze akci v deniku______");

QPushButton* Button(QWidget* parent, const QString& name, const QString& text,
                    const QString& hint) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setToolTip(hint);
    return b;
}

QLabel* Label(QWidget* parent, const QString& name, const QString& text = QString()) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

QStringList TextLines(const QPlainTextEdit* edit) {
    return edit->toPlainText().split(u'\n');
}

// "k/r" of a problem chooser: the row r, or 0 when there is none.
int ChosenRow(const QString& item) {
    return ParseInt(SplitFields(item, 2, u'/')[1]);
}

}  // namespace

Denik::Denik(Workspace& ws, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), ws_(ws) {
    setObjectName(QStringLiteral("Denik"));
    setWindowTitle(QStringLiteral("ORVA_Denik"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(3);
    BuildHeader(layout);
    BuildInput(layout);
    BuildTable(layout);
    minutes_ = new QPlainTextEdit(this);
    minutes_->setObjectName(QStringLiteral("Zapis"));
    minutes_->setToolTip(QStringLiteral("Textové pole pro vkládání dat zápisu řízení projektů."));
    minutes_->setLineWrapMode(QPlainTextEdit::NoWrap);
    messages_ = new QPlainTextEdit(this);
    messages_->setObjectName(QStringLiteral("Vzkazy"));
    messages_->setToolTip(
        QStringLiteral("Textové pole pro vkládání vzkazů a informací pro řízení projektů."));
    messages_->setStyleSheet(QStringLiteral("color: #FF0000"));
    messages_->setFixedHeight(52);
    layout->addWidget(minutes_, 1);
    layout->addWidget(messages_);
    minutes_->installEventFilter(this);
    messages_->installEventFilter(this);
    connect(minutes_, &QPlainTextEdit::textChanged, this, [this] {
        if (!filling_) ws_.ResetInactivity();
    });
    BuildBottom(layout);
    ClearTasks();
    connect(&ws_, &Workspace::pickListsChanged, this, [this] {
        const QString person = person_->currentText();
        const QString note = note_->currentText();
        person_->clear();
        person_->addItems(ws_.Picks.persons);
        person_->setEditText(person);
        note_->clear();
        note_->addItems(ws_.Picks.activities);
        note_->setEditText(note);
    });
    resize(754, 521);
}

void Denik::BuildHeader(QVBoxLayout* layout) {
    auto* header = new QGridLayout;
    ident_ = Label(this, QStringLiteral("Identifikace"), QStringLiteral("8/1"));
    project_ = Label(this, QStringLiteral("Projekt"));
    project_->setStyleSheet(QStringLiteral("font-weight: bold"));
    manager_ = Label(this, QStringLiteral("Manazer"));
    technician_ = Label(this, QStringLiteral("Technik"));
    header->addWidget(ident_, 0, 0);
    header->addWidget(new QLabel(QStringLiteral("Projekt :"), this), 0, 1);
    header->addWidget(project_, 0, 2, 1, 3);
    header->addWidget(new QLabel(QStringLiteral("Manažer :"), this), 1, 1);
    header->addWidget(manager_, 1, 2);
    header->addWidget(new QLabel(QStringLiteral("Technik"), this), 1, 3);
    header->addWidget(technician_, 1, 4);

    expenseHeading_ = Label(this, QStringLiteral("Vydaje"), QStringLiteral("Výdaje "));
    plan_ = Label(this, QStringLiteral("Plan"));
    actual_ = Label(this, QStringLiteral("Skutecnost"));
    own_ = Label(this, QStringLiteral("VlastniPodil"));
    header->addWidget(expenseHeading_, 2, 0);
    header->addWidget(new QLabel(QStringLiteral("Plán"), this), 2, 1);
    header->addWidget(plan_, 2, 2);
    header->addWidget(new QLabel(QStringLiteral("Skutečnost"), this), 2, 3);
    header->addWidget(actual_, 2, 4);
    header->addWidget(new QLabel(QStringLiteral("Vlastní podíl"), this), 2, 5);
    header->addWidget(own_, 2, 6);

    deadlineCount_ = Label(this, QStringLiteral("PocetTerminu"), QStringLiteral("0"));
    paymentCount_ = Label(this, QStringLiteral("PocetPlateb"), QStringLiteral("0"));
    taskCount_ = Label(this, QStringLiteral("PocetUkolu"), QStringLiteral("0"));
    taskCount_->setToolTip(QStringLiteral("Počet zvolených osob"));
    deadlineProblems_ = new QComboBox(this);
    deadlineProblems_->setObjectName(QStringLiteral("ChybyTerminy"));
    deadlineProblems_->setStyleSheet(QStringLiteral("background: #C0C0C0"));
    paymentProblems_ = new QComboBox(this);
    paymentProblems_->setObjectName(QStringLiteral("ChybyFinance"));
    paymentProblems_->setStyleSheet(QStringLiteral("background: #00FF00"));
    header->addWidget(new QLabel(QStringLiteral("Termíny"), this), 3, 0);
    header->addWidget(deadlineCount_, 3, 1);
    header->addWidget(new QLabel(QStringLiteral("Platby"), this), 3, 2);
    header->addWidget(paymentCount_, 3, 3);
    header->addWidget(new QLabel(QStringLiteral("Úkoly"), this), 3, 4);
    header->addWidget(taskCount_, 3, 5);
    header->addWidget(deadlineProblems_, 4, 0, 1, 3);
    header->addWidget(paymentProblems_, 4, 3, 1, 4);
    layout->addLayout(header);
    connect(deadlineProblems_, &QComboBox::activated, this,
            [this] { ProblemChosen(deadlineProblems_, kDeadlineTable); });
    connect(paymentProblems_, &QComboBox::activated, this,
            [this] { ProblemChosen(paymentProblems_, kFinanceTable); });
}

void Denik::BuildInput(QVBoxLayout* layout) {
    auto* row = new QHBoxLayout;
    person_ = new QComboBox(this);
    person_->setObjectName(QStringLiteral("Osoby"));
    person_->setEditable(true);
    person_->setEditText(QStringLiteral("Osoby"));
    person_->setToolTip(
        QStringLiteral("Vkládaní osob ( vybrat osobu a dvoi clik pravým tlačítkem )"));
    person_->setMinimumWidth(160);
    note_ = new QComboBox(this);
    note_->setObjectName(QStringLiteral("Ukol"));
    note_->setEditable(true);
    note_->lineEdit()->setMaxLength(255);
    note_->setEditText(QStringLiteral("Úkol"));
    note_->setToolTip(QStringLiteral("Nastavení poznámky - zobrazuje se v deníku"));
    note_->setMinimumWidth(200);
    deadline_ = new QDateEdit(Clock::Today(), this);
    deadline_->setObjectName(QStringLiteral("TerminUkolu"));
    deadline_->setCalendarPopup(true);
    deadline_->setDisplayFormat(QStringLiteral("d.M.yyyy"));
    auto* add = Button(this, QStringLiteral("Pridat"), QStringLiteral("Přidat"),
                       QStringLiteral("Přidat data do tabulky úkolů"));
    auto* change = Button(this, QStringLiteral("Zmenit"), QStringLiteral("Změnit"),
                          QStringLiteral("Změnit data v aktivním řádku tabulky úkolů"));
    state_ = new QComboBox(this);
    state_->setObjectName(QStringLiteral("Stav"));
    state_->setEditable(true);
    state_->addItems({QString::fromUtf16(kStateRunning), QString::fromUtf16(kStateNewTerm),
                      QString::fromUtf16(kStateDone), QString::fromUtf16(kStateStopped)});
    for (QWidget* w :
         std::initializer_list<QWidget*>{person_, note_, deadline_, add, change, state_})
        row->addWidget(w);
    layout->addLayout(row);
    connect(add, &QPushButton::clicked, this, [this] {
        ws_.ResetInactivity();
        AddTask();
    });
    connect(change, &QPushButton::clicked, this, [this] {
        ws_.ResetInactivity();
        ChangeTask();
    });
}

void Denik::BuildTable(QVBoxLayout* layout) {
    tasks_ = new QTableWidget(1, kTaskColumns, this);
    tasks_->setObjectName(QStringLiteral("TabulkaUkolu"));
    tasks_->setToolTip(QStringLiteral("Dení údaje o lidech na akcích."));
    tasks_->setHorizontalHeaderLabels({QStringLiteral("0"), QStringLiteral("Jméno"),
                                       QStringLiteral("Úkol"), QStringLiteral("Termín"),
                                       QStringLiteral("Poznámka")});
    const int widths[kTaskColumns] = {22, 170, 360, 72, 100};
    for (int c = 0; c < kTaskColumns; ++c) tasks_->setColumnWidth(c, widths[c]);
    tasks_->verticalHeader()->hide();
    tasks_->verticalHeader()->setDefaultSectionSize(20);
    tasks_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tasks_->setSelectionMode(QAbstractItemView::SingleSelection);
    tasks_->setMinimumHeight(90);
    tasks_->installEventFilter(this);
    layout->addWidget(tasks_, 1);
    connect(tasks_, &QTableWidget::cellClicked, this, [this](int row, int) {
        const int k = row + 1;
        SetSelectedTask(k);
        auto cell = [this, row](int c) {
            const QTableWidgetItem* item = tasks_->item(row, c);
            return item ? item->text() : QString();
        };
        person_->setEditText(cell(1));
        note_->setEditText(cell(2));
        deadline_->setDate(DateFromDay(ParseDate(cell(3))));
        state_->setEditText(cell(4));
    });

    taskMenu_ = new QMenu(this);
    taskMenu_->addAction(QStringLiteral("Splněn"), this,
                         [this] { SetTaskState(QString::fromUtf16(kStateDone)); });
    taskMenu_->addAction(QStringLiteral("Běží"), this,
                         [this] { SetTaskState(QString::fromUtf16(kStateRunning)); });
    taskMenu_->addAction(QStringLiteral("Zastaveno"), this,
                         [this] { SetTaskState(QString::fromUtf16(kStateStopped)); });
    taskMenu_->addAction(QStringLiteral("------------------"))->setEnabled(false);
    deleteRow_ = taskMenu_->addAction(QStringLiteral("Smazat řádek"), this, [this] {
        SetTaskCounter(DeleteTaskRow(SelectedTask()), false);
    });
    tasks_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tasks_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        deleteRow_->setText(QStringLiteral("Smazat řádek ") + QString::number(SelectedTask()));
        taskMenu_->popup(tasks_->viewport()->mapToGlobal(at));
    });
}

void Denik::BuildBottom(QVBoxLayout* layout) {
    auto* row = new QHBoxLayout;
    auto* erase = Button(this, QStringLiteral("SmazatDen"), QStringLiteral("Smazat den"),
                         QStringLiteral("Smaže zápis dne u příslušné akce"));
    auto* back = Button(this, QStringLiteral("Predchozi"), QStringLiteral("<<"),
                        QStringLiteral("Převezme data z nejbližšího minulého dne "));
    shortMessage_ = Label(this, QStringLiteral("Hlaska"), QStringLiteral("Hláška"));
    auto* size = Button(this, QStringLiteral("Velikost"), QStringLiteral("[ ]"),
                        QStringLiteral("Změna velikosti okna."));
    auto* forward = Button(this, QStringLiteral("Nasledujici"), QStringLiteral(">>"),
                           QStringLiteral("Převezme data z nejbližšího následujícího dne "));
    auto* ok = Button(this, QStringLiteral("Zapsat"), QStringLiteral("OK - Zapsat"),
                      QStringLiteral("Provede změny dne a ukončí formulář"));
    auto* cancel = Button(this, QStringLiteral("Storno"), QStringLiteral("Storno"),
                          QStringLiteral("Ukončí beze změny"));
    auto* move = Button(this, QStringLiteral("Presun"), QStringLiteral("Přesun"),
                        QStringLiteral("Přesune červený zápis do hlavního zápisu."));
    row->addWidget(erase);
    row->addWidget(back);
    row->addWidget(shortMessage_, 1);
    row->addWidget(size);
    row->addWidget(forward);
    row->addWidget(ok);
    row->addWidget(cancel);
    row->addWidget(move);
    layout->addLayout(row);
    auto command = [this](auto f) {
        return [this, f] {
            ws_.ResetInactivity();
            RunCommand(f, this);
        };
    };
    connect(erase, &QPushButton::clicked, this, command([this] { EraseDay(); }));
    connect(back, &QPushButton::clicked, this, command([this] { CopyNearest(-1); }));
    connect(forward, &QPushButton::clicked, this, command([this] { CopyNearest(1); }));
    connect(ok, &QPushButton::clicked, this, command([this] { WriteDay(); }));
    connect(cancel, &QPushButton::clicked, this, [this] {
        ws_.ResetInactivity();
        close();
    });
    connect(move, &QPushButton::clicked, this, command([this] { MoveMessages(); }));
    connect(size, &QPushButton::clicked, this, [this] {
        ws_.ResetInactivity();
        ToggleSize();
    });
}

void Denik::showEvent(QShowEvent* event) {
    expenseHeading_->setText(QStringLiteral("Výdaje ") + ws_.config.PopisDPH);
    QWidget::showEvent(event);
}

void Denik::closeEvent(QCloseEvent* event) {
    emit closed(ProjectRow());
    QWidget::closeEvent(event);
}

bool Denik::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn && (watched == minutes_ || watched == messages_)) {
        // The text being written gets the room; the other shrinks to 50 pixels.
        QPlainTextEdit* big = watched == minutes_ ? minutes_ : messages_;
        QPlainTextEdit* small = watched == minutes_ ? messages_ : minutes_;
        big->setMinimumHeight(0);
        big->setMaximumHeight(QWIDGETSIZE_MAX);
        small->setFixedHeight(50);
        auto* box = static_cast<QVBoxLayout*>(layout());
        box->setStretchFactor(big, 1);
        box->setStretchFactor(small, 0);
    }
    if (watched == tasks_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_F8 || key == Qt::Key_Delete) {
            SetTaskCounter(DeleteTaskRow(SelectedTask()), false);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

int Denik::TaskRows() const {
    return tasks_->rowCount();
}

int Denik::SelectedTask() const {
    return ParseInt(tasks_->horizontalHeaderItem(0)->text());
}

void Denik::SetSelectedTask(int k) {
    tasks_->horizontalHeaderItem(0)->setText(k < 0 ? QString() : QString::number(k));
}

void Denik::SetTaskCounter(int count, bool overdue) {
    taskCount_->setText(QString::number(count));
    taskCount_->setStyleSheet(overdue ? QStringLiteral("color: #FF0000")
                                      : QStringLiteral("color: #000000"));
}

void Denik::ClearTasks() {
    tasks_->setRowCount(1);
    for (int c = 0; c < kTaskColumns; ++c) tasks_->setItem(0, c, new QTableWidgetItem);
    SetTaskCounter(0, false);
}

void Denik::SetTaskRow(int k, const DayTask& task) {
    if (tasks_->rowCount() < k) tasks_->setRowCount(k);
    const QString cells[kTaskColumns] = {QString::number(k), task.person, task.task, task.deadline,
                                         task.state};
    for (int c = 0; c < kTaskColumns; ++c)
        tasks_->setItem(k - 1, c, new QTableWidgetItem(cells[c]));
}

DayRecord Denik::Record() const {
    DayRecord r;
    r.day = Day();
    for (int row = 0; row < tasks_->rowCount(); ++row) {
        auto cell = [this, row](int c) {
            const QTableWidgetItem* item = tasks_->item(row, c);
            return item ? item->text() : QString();
        };
        r.tasks << DayTask{cell(1), cell(2), cell(3), cell(4)};
    }
    r.taskCount = ParseInt(taskCount_->text());
    r.deadlineProblems = ParseInt(deadlineCount_->text());
    r.shortMessage = shortMessage_->text();
    r.person = person_->currentText();
    r.note = note_->currentText();
    r.minutes = TextLines(minutes_);
    r.messages = TextLines(messages_);
    return r;
}

void Denik::ShowRecord(const DayRecord& record) {
    filling_ = true;
    ClearTasks();
    for (int k = 0; k < record.tasks.size(); ++k) SetTaskRow(k + 1, record.tasks[k]);
    SetTaskCounter(record.taskCount, record.overdue);
    deadlineCount_->setText(QString::number(record.deadlineProblems));
    shortMessage_->setText(record.shortMessage);
    deadline_->setDate(DateFromDay(record.day));
    minutes_->setPlainText(record.minutes.join(u'\n'));
    messages_->setPlainText(record.messages.join(u'\n'));
    filling_ = false;
}

int Denik::Column() const {
    return ParseInt(SplitFields(SplitFields(ident_->text(), 2, u'-')[0], 2, u'/')[0]);
}

int Denik::ProjectRow() const {
    const Table& projects = ws_.Projects;
    const int shown = ParseInt(SplitFields(SplitFields(ident_->text(), 2, u'-')[0], 2, u'/')[1]);
    if (shown > 0 && shown < projects.RowCount() &&
        projects.Cell(Project::Number, shown) == projectNumber_)
        return shown;
    for (int r = 1; r < projects.RowCount(); ++r)
        if (!projectNumber_.isEmpty() && projects.Cell(Project::Number, r) == projectNumber_)
            return r;
    return 0;
}

bool Denik::ProjectStillThere(int row) {
    if (row > 0) return true;
    ws_.Ask().Error(QStringLiteral("Akce ") + projectNumber_ +
                    QStringLiteral(" už v tabulce projektů není; deník akce nelze změnit."));
    return false;
}

double Denik::Day() const {
    const QString text = ident_->text();
    return ParseDate(text.mid(text.indexOf(u'-') + 1).trimmed());
}

void Denik::LoadDayEntry(int column, double day, int projectRow) {
    const Table& projects = ws_.Projects;
    projectNumber_ = projects.Cell(Project::Number, projectRow);
    ShowRecord(ReadDayRecord(ws_, projectRow, day));
    project_->setText(projects.Cell(Project::Number, projectRow) + QStringLiteral("  ") +
                      projects.Cell(Project::Name, projectRow));
    ident_->setText(QString::number(column) + u'/' + QString::number(projectRow) +
                    QStringLiteral("   -   ") + FormatDate(day));
    manager_->setText(projects.Cell(Project::Manager, projectRow));
    technician_->setText(projects.Cell(Project::Technician, projectRow));
    plan_->setText(TrimCell(ws_.Results.Cell(Results::PlanTotal, 1), 1));
    actual_->setText(TrimCell(ws_.Results.Cell(Results::Total, 1), 1));
    own_->setText(TrimCell(ws_.Results.Cell(Results::Own, 1), 1));
    ListDeadlineProblems(projectRow, day);
    ListPaymentProblems(day);
}

int Denik::ListDeadlineProblems(int projectRow, double t) {
    deadlineProblems_->clear();
    const QString number = ws_.Projects.Cell(Project::Number, projectRow);
    int k = 0;
    if (!number.isEmpty() && ProgressFileRefusal(ws_, projectRow).isEmpty()) {
        const QString name = ProgressFileName(ws_, number);
        if (name != ws_.config.SouborPopis && QFileInfo::exists(ws_.config.DataPath(name)))
            LoadProgress(ws_, name);
        const Table& dl = ws_.Deadlines;
        for (int r = 1; r < dl.RowCount(); ++r)
            if (dl.Cell(Deadline::KindAndProject, r).contains(number) &&
                DeadlineScore(ws_, r, t) > 0)
                deadlineProblems_->addItem(QString::number(++k) + u'/' + QString::number(r));
    }
    deadlineProblems_->setCurrentIndex(deadlineProblems_->count() > 0 ? 0 : -1);
    deadlineCount_->setText(QString::number(k));
    return k;
}

int Denik::ListPaymentProblems(double t) {
    paymentProblems_->clear();
    int j = 0;
    for (int r = 1; r < ws_.Finance.RowCount(); ++r)
        if (PaymentDelay(ws_, r, t) > 0)
            paymentProblems_->addItem(QString::number(j++) + u'/' + QString::number(r));
    paymentProblems_->setCurrentIndex(paymentProblems_->count() > 0 ? 0 : -1);
    paymentCount_->setText(QString::number(j));
    return j;
}

int Denik::DeleteTaskRow(int k) {
    const int rows = TaskRows();
    if (k < 1 || k > rows) return rows;
    for (int r = k; r < rows; ++r)
        for (int c = 1; c < kTaskColumns; ++c) {
            const QTableWidgetItem* below = tasks_->item(r, c);
            tasks_->setItem(r - 1, c, new QTableWidgetItem(below ? below->text() : QString()));
        }
    for (int c = 1; c < kTaskColumns; ++c) tasks_->setItem(rows - 1, c, new QTableWidgetItem);
    if (rows >= 2) {
        tasks_->setRowCount(rows - 1);
        return rows - 1;
    }
    tasks_->setItem(0, 0, new QTableWidgetItem);
    SetSelectedTask(0);
    return 0;
}

void Denik::AddTask() {
    int filled = 0;
    for (int r = 0; r < TaskRows(); ++r) {
        const QTableWidgetItem* person = tasks_->item(r, 1);
        if (person && !person->text().isEmpty()) {
            tasks_->setItem(r, 0, new QTableWidgetItem(QString::number(r + 1)));
            ++filled;
        }
    }
    int k = filled + 1;
    // A row with an empty person between filled ones puts that index on a
    // filled row: the new row then goes to the end instead of replacing it.
    const QTableWidgetItem* at = k <= TaskRows() ? tasks_->item(k - 1, 1) : nullptr;
    if (at && !at->text().isEmpty()) k = TaskRows() + 1;
    SetTaskRow(k, {person_->currentText(), note_->currentText(), FormatShortDate(deadline_->date()),
                   state_->currentText()});
    SetTaskCounter(TaskRows(), false);
}

void Denik::ChangeTask() {
    const int k = SelectedTask();
    if (k <= 0 || k > TaskRows()) return;
    SetTaskRow(k, {person_->currentText(), note_->currentText(), FormatShortDate(deadline_->date()),
                   state_->currentText()});
}

void Denik::SetTaskState(const QString& state) {
    const int k = SelectedTask();
    if (k <= 0 || k > TaskRows()) return;
    tasks_->setItem(k - 1, 4, new QTableWidgetItem(state));
}

void Denik::WriteDay() {
    const double day = Day();
    const QString columnDate = FormatDate(day);
    const QString today = FormatDate(Clock::Today());
    ws_.AppendCheck(QStringLiteral("Data  ") + columnDate + QStringLiteral(" dnes ") + today);
    if (!CheckPermission(ws_, QString::fromUtf16(kThisOperation), 3)) return;
    if (columnDate != today &&
        !CheckPermission(ws_, QStringLiteral(" zapisovat mimo dnesni den "), 5))
        return;
    const int column = Column();
    const int row = ProjectRow();
    if (!ProjectStillThere(row)) return;
    DayRecord record = Record();
    WriteDayRecord(ws_, day, row, record);
    ws_.Diary.Day = day;
    ws_.Diary.RecordFirstLine = record.minutes.value(0);
    ws_.Diary.MessageFirstLine = record.messages.value(0);
    LogChange(ws_, QString(), kWriteLabel, kLogDayWritten, row);
    LoadDayEntry(column, day, row);
    emit recordChanged(row);
    close();
}

void Denik::EraseDay() {
    if (!CheckPermission(ws_, QString::fromUtf16(kThisOperation), 3)) return;
    const int column = Column();
    const int row = ProjectRow();
    if (!ProjectStillThere(row)) return;
    const double day = Day();
    ws_.Diary.Day = day;
    ws_.Diary.RecordFirstLine = TextLines(minutes_).value(0);
    ws_.Diary.MessageFirstLine = TextLines(messages_).value(0);
    LogChange(ws_, QString(), kEraseLabel, kLogDayDeleted, row);
    DayRecord empty;
    empty.day = NowDay();
    ShowRecord(empty);
    state_->setEditText(QString());
    SetSelectedTask(-1);
    EraseDayRecord(ws_, day, row);
    ws_.Current().SetProjectRow(row);
    LoadDayEntry(column, day, row);
    SetSelectedTask(-1);
    emit recordChanged(row);
    close();
}

void Denik::CopyNearest(int step) {
    const int row = ProjectRow();
    if (!ProjectStillThere(row)) return;
    const double day = Day();
    for (int i = 1; i <= 31; ++i) {
        const DayRecord record = ReadDayRecord(ws_, row, day + step * i);
        ShowRecord(record);
        if (!record.shortMessage.isEmpty()) break;
    }
    ListDeadlineProblems(row, day);
    ListPaymentProblems(day);
}

void Denik::MoveMessages() {
    const QStringList lines = TextLines(messages_);
    for (const QString& line : lines) minutes_->appendPlainText(line);
    messages_->clear();
}

void Denik::ToggleSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    if (x() < 2) {
        resize(754, 521);
        move((area.width() - 754) / 2, y());
        return;
    }
    const QWidget* main = parentWidget() ? parentWidget()->window() : nullptr;
    const int mainHeight = main ? main->frameGeometry().height() : 0;
    move(225, mainHeight);
    resize(area.width() - 225, area.height() - mainHeight - 33);
}

void Denik::ProblemChosen(QComboBox* chooser, int kind) {
    ws_.ResetInactivity();
    const int row = ChosenRow(chooser->currentText());
    if (row > 0) emit itemChosen(kind, row);
}

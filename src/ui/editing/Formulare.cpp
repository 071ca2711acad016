#include "Formulare.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "Prompter.h"
#include "Workspace.h"
#include "data/Cells.h"
#include "data/Columns.h"
#include "data/Dates.h"
#include "data/People.h"
#include "data/Progress.h"
#include "editing/ItemEdit.h"
#include "editing/Status.h"
#include "main/ErrorHandler.h"
#include "shell/Slot.h"
#include "tools/PictureFit.h"

namespace {

const QString kDateHint =
    QStringLiteral("Datum - Hodnota 2.1.1900 je nejnižší možná a v tabulkách se nezobrazuje.");
const QString kMemoryHint =
    QStringLiteral("Datum uložený stiskem tlačítek M pro další použití tlačítkem >");
const QString kAmountHint = QStringLiteral("Označená položka bude dopočítána ze zbývajících dvou");
const QString kProjectNameHint = QStringLiteral("Aktuální projekt ");
const QString kStatusHint =
    QStringLiteral("Informace zda je termín překročen nebo zda je plnění v pořádku.");
const QStringList kTypeLetters{QStringLiteral("T"), QStringLiteral("F"), QStringLiteral("J"),
                               QStringLiteral("O")};
const QStringList kFinanceInfoItems{
    QStringLiteral("Zahájení"),          QStringLiteral("Průběžná činnost"),
    QStringLiteral("Vyjímečná činnost"), QStringLiteral("Ročně"),
    QStringLiteral("Měsíčně"),           QStringLiteral("Závěr")};
const QDate kEmptyPickerDate(1900, 1, 2);

// A date picker that takes a date typed whole ("30.11.2026", "5.2.2027",
// "05.02.2027") as it was typed. The stock editor types into one section at a
// time and lets the month or the day shown meanwhile change what was typed.
// Its lowest date is the empty date, shown as an empty field.
class DayEdit : public QDateEdit {
  public:
    DayEdit() {
        // The stock editor selects the section under the cursor after every
        // key, so that the next key replaces what was just typed.
        disconnect(lineEdit(), SIGNAL(cursorPositionChanged(int, int)), this, nullptr);
    }

  protected:
    // Typing and deleting edit the text as a whole; the arrows, Enter and Tab
    // keep their picker meaning.
    void keyPressEvent(QKeyEvent* event) override {
        const QString text = event->text();
        const bool typing = (!text.isEmpty() && text.at(0).isPrint()) ||
                            event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete ||
                            event->matches(QKeySequence::SelectAll);
        if (typing)
            QAbstractSpinBox::keyPressEvent(event);
        else
            QDateEdit::keyPressEvent(event);
    }
    QValidator::State validate(QString& input, int&) const override {
        const QString text = input.trimmed();
        if (text.isEmpty() || Parse(text).isValid()) return QValidator::Acceptable;
        static const QRegularExpression partial(
            QStringLiteral("^\\d{0,2}(\\.\\d{0,2}(\\.\\d{0,4})?)?$"));
        return partial.match(text).hasMatch() ? QValidator::Intermediate : QValidator::Invalid;
    }
    void fixup(QString& input) const override {
        if (!input.trimmed().isEmpty() && !Parse(input.trimmed()).isValid())
            input = textFromDateTime(dateTime());
    }
    QDateTime dateTimeFromText(const QString& text) const override {
        const QDate date = Parse(text.trimmed());
        return (date.isValid() ? date : minimumDate()).startOfDay();
    }
    QString textFromDateTime(const QDateTime& moment) const override {
        return moment.date() <= minimumDate() ? QString()
                                              : moment.date().toString(QStringLiteral("d.M.yyyy"));
    }

  private:
    QDate Parse(const QString& text) const {
        // "d" and "M" read one or two digits, so both ways of writing a date pass.
        const QDate date = QDate::fromString(text, QStringLiteral("d.M.yyyy"));
        return date.isValid() && date > minimumDate() && date <= maximumDate() ? date : QDate();
    }
};

void SetItems(QComboBox* box, const QStringList& items, bool showFirst = true) {
    box->clear();
    box->addItems(items);
    if (showFirst && !items.isEmpty())
        box->setCurrentIndex(0);
    else
        box->setCurrentText(QString());
}

// A fixed list shows nothing for a text it does not hold, rather than the previous item.
void SetComboText(QComboBox* box, const QString& text) {
    if (box->isEditable())
        box->setCurrentText(text);
    else
        box->setCurrentIndex(box->findText(text));
}

// Adds what the list lacks; the text shown stays.
void AddMissing(QComboBox* box, const QStringList& items) {
    const QString shown = box->currentText();
    for (const QString& item : items)
        if (box->findText(item) < 0) box->addItem(item);
    box->setCurrentText(shown);
}

QLabel* Caption(const QString& text, QWidget* buddy = nullptr) {
    auto* label = new QLabel(text);
    if (buddy) label->setBuddy(buddy);
    return label;
}

// A row of a field grid: caption, field and an extra control in column 2. A
// row without a caption label of its own gets one with the field as its buddy.
struct FieldRow {
    QString caption = {};
    QWidget* field = nullptr;
    QWidget* extra = nullptr;
    QLabel* label = nullptr;
};

QGridLayout* FieldGrid(const QList<FieldRow>& rows) {
    auto* grid = new QGridLayout;
    int r = 0;
    for (const FieldRow& row : rows) {
        grid->addWidget(row.label ? row.label : Caption(row.caption, row.field), r, 0);
        grid->addWidget(row.field, r, 1);
        if (row.extra) grid->addWidget(row.extra, r, 2);
        ++r;
    }
    return grid;
}

// The fields on the left, the page's other controls on the right.
void SideBySide(QBoxLayout* layout, QLayout* left, QLayout* right) {
    layout->addLayout(left, 3);
    layout->addSpacing(12);
    layout->addLayout(right, 2);
}

// The text a combo box or a line edit shows.
QString FieldText(const QWidget* field) {
    if (const auto* box = qobject_cast<const QComboBox*>(field)) return box->currentText();
    return static_cast<const QLineEdit*>(field)->text();
}

void SetFieldText(QWidget* field, const QString& text) {
    if (auto* box = qobject_cast<QComboBox*>(field))
        SetComboText(box, text);
    else
        static_cast<QLineEdit*>(field)->setText(text);
}

QString ProjectNumberOf(const QString& chooserText) {
    return SplitFields(chooserText, 2, u'/')[0];
}

// Everything after the number: a project name may hold "/" itself.
QString ProjectNameOf(const QString& chooserText) {
    return chooserText.section(u'/', 1).trimmed();
}

int KindOfPage(int page) {
    switch (page) {
        case Formulare::kProjectPage:
            return kProjectTable;
        case Formulare::kFinancePage:
            return kFinanceTable;
        default:
            return kDeadlineTable;
    }
}

bool IsItemKind(int kind) {
    return kind == kProjectTable || kind == kDeadlineTable || kind == kFinanceTable;
}

// The cells of a row, the one beyond the grid too: all that a form is read from.
QStringList RowCells(const Table& table, int row) {
    QStringList cells;
    for (int c = AnyTable::RowNumber; c <= table.ColumnCount(); ++c) cells << table.Cell(c, row);
    return cells;
}

// Turning to a page by hand or from another window starts at its row 1; the
// project page also makes project 1 the current project.
CurrentItem::Place FirstRowOfPage(const CurrentItem& current, int page) {
    CurrentItem::Place place = current.Where();
    place.kind = KindOfPage(page);
    place.row = 1;
    if (page == Formulare::kProjectPage) place.projectRow = 1;
    return place;
}

}  // namespace

void Formulare::DateField::SetShown(bool shown) const {
    for (QWidget* w : std::initializer_list<QWidget*>{caption, edit, clear, remember, recall})
        if (w) w->setVisible(shown);
}

Formulare::Formulare(Workspace& ws, ConnectionSlot* slot, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), ws_(ws) {
    setObjectName(QStringLiteral("Formulare"));
    setWindowTitle(QStringLiteral("Formuláře"));
    startUp_ = ws.StartMoment > 0 ? ws.StartMoment : NowDay();
    financeMemory_ = startUp_;

    pages_ = new QTabWidget;
    pages_->setObjectName(QStringLiteral("TabbedNotebook1"));
    pages_->setToolTip(
        QStringLiteral("Formulář pro vkládání a upravování projektů. Přepnutím záložky se "
                       "přepíná i obsluhovaná datová tabulka."));
    pages_->addTab(BuildProjectPage(), QStringLiteral("Akce_Projekty"));
    pages_->addTab(BuildDeadlinePage(), QStringLiteral("Termínované činnosti"));
    pages_->addTab(BuildFinancePage(), QStringLiteral("Etapy_Finance"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(pages_, 1);
    layout->addWidget(BuildBottomPanel());

    FillLists();
    SetServiceFields(ws_.Access.ServiceMenus);
    if (slot)
        connect(slot, &ConnectionSlot::serviceMenusChanged, this, &Formulare::SetServiceFields);
    connect(&ws_, &Workspace::progressFileLoaded, this, &QWidget::setWindowTitle);
    connect(&ws_, &Workspace::pickListsChanged, this, &Formulare::PickListsChanged);

    pages_->blockSignals(true);
    pages_->setCurrentIndex(kDeadlinePage);
    pages_->blockSignals(false);
    connect(pages_, &QTabWidget::currentChanged, this, &Formulare::PageSwitched);

    ws_.Current().Select(kDeadlineTable, Deadline::KindAndProject, 1);
    EmitSelection();
    AppendSelectionCheck(QStringLiteral("Form8.FormCreate"));
    ShowDeadlineRow(1);
    connect(&ws_.Current(), &CurrentItem::currentChanged, this, &Formulare::ShowCurrent);
    connect(&ws_, &Workspace::tableChanged, this, &Formulare::TableChanged);
}

// ---------------------------------------------------------------- building

QComboBox* Formulare::Combo(const QString& name, bool editable) {
    auto* box = new QComboBox;
    box->setObjectName(name);
    box->setEditable(editable);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMinimumContentsLength(12);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    return box;
}

QLineEdit* Formulare::Line(const QString& name) {
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    return edit;
}

QDateEdit* Formulare::DateEdit(const QString& name) {
    auto* edit = new DayEdit;
    edit->setObjectName(name);
    edit->setDisplayFormat(QStringLiteral("d.M.yyyy"));
    edit->setMinimumDate(kEmptyPickerDate);
    edit->setCalendarPopup(true);
    edit->setToolTip(kDateHint);
    edit->setDate(kEmptyPickerDate);
    return edit;
}

Formulare::DateField Formulare::MemoryDate(const QString& name, const QString& caption, int page) {
    DateField f;
    f.edit = DateEdit(name);
    f.caption = Caption(caption, f.edit);
    f.caption->setObjectName(name + QStringLiteral("_Popis"));
    auto button = [&](const QString& text, const QString& suffix, const QString& hint) {
        auto* b = new QToolButton;
        b->setObjectName(name + suffix);
        b->setText(text);
        b->setToolTip(hint);
        b->setAutoRaise(false);
        b->setFixedWidth(22);
        return b;
    };
    f.clear = button(QStringLiteral("X"), QStringLiteral("_X"), QStringLiteral("Smaže datum"));
    f.remember =
        button(QStringLiteral("M"), QStringLiteral("_M"), QStringLiteral("Uloží datum do paměti"));
    f.recall = button(QStringLiteral(">"), QStringLiteral("_Vlozit"),
                      QStringLiteral("Přepise datum z paměti do zadání"));
    QDateEdit* edit = f.edit;
    connect(f.clear, &QToolButton::clicked, this,
            [edit] { SetDay(edit, ParseDate(QStringLiteral("2.1.1900"))); });
    connect(f.remember, &QToolButton::clicked, this, [this, edit, page] {
        const double day = Day(edit);
        if (page == kFinancePage) {
            financeMemory_ = day;
            finance_.memory->setText(FormatShortDate(day));
        } else {
            deadline_.memory->setText(FormatShortDate(day));
        }
    });
    connect(f.recall, &QToolButton::clicked, this, [this, edit, page] {
        SetDay(edit, page == kFinancePage ? financeMemory_ : ParseDate(deadline_.memory->text()));
    });
    return f;
}

QToolButton* Formulare::PictureButton(const QString& name) {
    auto* b = new QToolButton;
    b->setObjectName(name);
    b->setText(QStringLiteral("..."));
    connect(b, &QToolButton::clicked, this, &Formulare::ChoosePictureCommand);
    return b;
}

QWidget* Formulare::BuildProjectPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("Akce_Projekty"));
    projectNumber_ = Combo(QStringLiteral("Akce_CisloAkce"));
    projectName_ = Combo(QStringLiteral("Akce_NazevAkce"));
    projectManager_ = Combo(QStringLiteral("Akce_Manager"));
    projectTechnician_ = Combo(QStringLiteral("Akce_Technik"));
    projectMeasure_ = Line(QStringLiteral("Akce_Opatreni"));
    projectActivities_ = Line(QStringLiteral("Akce_Aktivity"));
    projectSupplierDoc_ = Line(QStringLiteral("Akce_DodavatelskaSOD"));
    projectExternalDoc_ = Line(QStringLiteral("Akce_DokumentVnejsi"));
    projectNote_ = Line(QStringLiteral("Akce_Poznamka"));
    projectSubsidy_ = Line(QStringLiteral("Akce_Dotace"));
    projectErdf_ = Line(QStringLiteral("Akce_DotaceERDF"));
    projectPlanned_ = Line(QStringLiteral("Akce_PlanVydaje"));
    projectSubsidyTotal_ = Line(QStringLiteral("Akce_DotaceCelkem"));
    projectFrom_ = DateEdit(QStringLiteral("Akce_DatumOd"));
    projectTo_ = DateEdit(QStringLiteral("Akce_DatumDo"));
    for (QLineEdit* e : {projectPlanned_, projectSubsidyTotal_, projectSubsidy_, projectErdf_})
        e->setAlignment(Qt::AlignRight);
    projectPlannedCaption_ = Caption(form_.layout.plannedEligibleCaption, projectPlanned_);
    projectPlannedCaption_->setObjectName(QStringLiteral("Akce_PlanVydaje_Popis"));

    QGridLayout* left = FieldGrid({
        {QStringLiteral("Číslo akce"), projectNumber_},
        {QStringLiteral("Název akce"), projectName_},
        {QStringLiteral("Manager projektu"), projectManager_},
        {QStringLiteral("Technik projektu"), projectTechnician_},
        {QStringLiteral("Opatření"), projectMeasure_},
        {QStringLiteral("Aktivity"), projectActivities_},
        {QStringLiteral("Dodavatelská  SOD"), projectSupplierDoc_},
        {QStringLiteral("Dokument vnější"), projectExternalDoc_,
         PictureButton(QStringLiteral("Akce_Foto"))},
        {QStringLiteral("Poznámka"), projectNote_},
    });
    left->setColumnStretch(1, 1);
    left->setRowStretch(left->rowCount(), 1);

    QGridLayout* right = FieldGrid({
        {QStringLiteral("% Dotace celkem /"), projectSubsidy_},
        {QStringLiteral("Z dotace celkem % dotace ERDF"), projectErdf_},
        {.field = projectPlanned_, .label = projectPlannedCaption_},
        {QStringLiteral("Dotace CELKEM"), projectSubsidyTotal_},
        {QStringLiteral("Datum od"), projectFrom_},
        {QStringLiteral("Datum do"), projectTo_},
    });
    right->setRowStretch(right->rowCount(), 1);

    SideBySide(new QHBoxLayout(page), left, right);
    return page;
}

void Formulare::BuildItemPage(QWidget* page, ItemFields& f, const ItemPage& item, QLayout* right) {
    const QString& prefix = item.prefix;
    f.type = Combo(prefix + QStringLiteral("TypZapisu"), false);
    f.type->addItems(kTypeLetters);
    f.type->setMinimumContentsLength(2);
    f.number = Combo(prefix + QStringLiteral("CisloAkce"));
    f.number->setMinimumContentsLength(5);
    f.id = Line(prefix + QStringLiteral("ID"));
    f.projectName = new QLabel;
    f.projectName->setObjectName(prefix + QStringLiteral("Projekt"));
    f.projectName->setToolTip(kProjectNameHint);
    f.activity = Combo(prefix + QStringLiteral("Cinnost"));
    f.classification = Combo(prefix + QStringLiteral("Zarazeni"));
    f.step = Combo(prefix + QStringLiteral("Proces"));
    f.info = Combo(prefix + item.info);
    f.note = Combo(prefix + QStringLiteral("Poznamka"));
    f.note2 = Line(prefix + QStringLiteral("Poznamka2"));
    f.textDoc = Line(prefix + QStringLiteral("SouborText"));
    f.pictureDoc = Line(prefix + item.pictureName);

    auto* head = new QHBoxLayout;
    head->addWidget(Caption(QStringLiteral("Typ zápisu"), f.type));
    head->addWidget(f.type);
    head->addWidget(Caption(QStringLiteral("Číslo akce"), f.number));
    head->addWidget(f.number);
    head->addWidget(Caption(QStringLiteral("ID"), f.id));
    head->addWidget(f.id, 1);
    head->addSpacing(12);
    head->addWidget(f.projectName, 2);

    QGridLayout* left = FieldGrid({
        {QStringLiteral("Činnost"), f.activity},
        {QStringLiteral("Zařazení"), f.classification},
        {QStringLiteral("Proces"), f.step},
        {item.info, f.info},
        {QStringLiteral("Poznámka"), f.note},
        {QStringLiteral("Poznámka 2"), f.note2},
        {QStringLiteral("Soubor text vnější"), f.textDoc},
        {item.pictureCaption, f.pictureDoc, PictureButton(prefix + QStringLiteral("Foto"))},
    });
    left->setColumnStretch(1, 1);
    left->setRowStretch(left->rowCount(), 1);

    auto* body = new QHBoxLayout;
    SideBySide(body, left, right);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(head);
    layout->addLayout(body, 1);

    auto relayout = [this, index = item.index] {
        if (!filling_) ApplyLayoutFrom(index);
    };
    connect(f.activity, &QComboBox::currentTextChanged, this, relayout);
    connect(f.type, &QComboBox::currentTextChanged, this, relayout);
}

int Formulare::AddDateRows(QGridLayout* grid, int row, ItemFields& f, const ItemPage& item,
                           const QList<DateRow>& dates) {
    for (const DateRow& date : dates) {
        *date.field = MemoryDate(item.prefix + date.name, date.caption, item.index);
        const DateField& d = *date.field;
        grid->addWidget(d.caption, row, 0);
        grid->addWidget(d.edit, row, 1);
        grid->addWidget(d.clear, row, 2);
        grid->addWidget(d.remember, row, 3);
        grid->addWidget(d.recall, row, 4);
        ++row;
    }
    f.memory = new QLabel(QStringLiteral("Paměť data"));
    f.memory->setObjectName(item.prefix + QStringLiteral("PametData"));
    f.memory->setToolTip(kMemoryHint);
    f.memory->setFrameShape(QFrame::Panel);
    f.memory->setFrameShadow(QFrame::Sunken);
    auto* done = new QPushButton(QStringLiteral("Splněno"));
    done->setObjectName(item.prefix + QStringLiteral("Splneno"));
    done->setToolTip(QStringLiteral("Nastaví termín realizace podle plánu pokud již není zadán."));
    connect(done, &QPushButton::clicked, this,
            [this, index = item.index] { FulfilledCommand(index); });
    grid->addWidget(f.memory, row, 1);
    grid->addWidget(done, row + 1, 1);
    return row + 2;
}

QWidget* Formulare::BuildDeadlinePage() {
    const ItemPage item{kDeadlinePage, QStringLiteral("Termin_"), QStringLiteral("Info"),
                        QStringLiteral("Soubor grafický vnější"), QStringLiteral("SouborGraficky")};
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("Terminovane_cinnosti"));
    deadlineDuration_ = new QSpinBox;
    deadlineDuration_->setObjectName(QStringLiteral("Termin_TrvaniDny"));
    deadlineDuration_->setRange(-99999, 99999);
    deadlineDuration_->setValue(30);

    auto* right = new QGridLayout;
    right->addWidget(Caption(QStringLiteral("Trvání dny"), deadlineDuration_), 0, 0);
    right->addWidget(deadlineDuration_, 0, 1);
    const int end = AddDateRows(
        right, 1, deadline_, item,
        {{&deadlinePlanStart_, QStringLiteral("PlanOd"), QStringLiteral("Plán počáteční datum")},
         {&deadlinePlanEnd_, QStringLiteral("PlanDo"), QStringLiteral("Plán konečné datum")},
         {&deadlineActualStart_, QStringLiteral("SkutecnostOd"),
          QStringLiteral("Skutečnost počáteční datum")},
         {&deadlineActualEnd_, QStringLiteral("SkutecnostDo"),
          QStringLiteral("Skutečnost konečné datum")}});
    right->setRowStretch(end, 1);

    BuildItemPage(page, deadline_, item, right);
    deadline_.id->setToolTip(QStringLiteral(
        "Popis vzájemných vazeb mezi plánovanými úkony. (ve formuláři se nezadávají) "));
    return page;
}

QWidget* Formulare::BuildFinancePage() {
    const ItemPage item{kFinancePage, QStringLiteral("Finance_"), QStringLiteral("Informace"),
                        QStringLiteral("Soubor foto vnější"), QStringLiteral("SouborFoto")};
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("Etapy_Finance"));

    auto amount = [this](const QString& name) {
        QLineEdit* e = Line(name);
        e->setAlignment(Qt::AlignRight);
        // Room for the whole cell form of an amount, eighteen characters.
        e->setMinimumWidth(e->fontMetrics().horizontalAdvance(QString(16, u'0')));
        connect(e, &QLineEdit::textChanged, this, &Formulare::AmountEdited);
        return e;
    };
    financeTotal_ = amount(QStringLiteral("Finance_Celkem"));
    financeIneligible_ = amount(QStringLiteral("Finance_Nezpusobile"));
    financeEligible_ = amount(QStringLiteral("Finance_Zpusobile"));
    financeRecognised_ = amount(QStringLiteral("Finance_Uznane"));
    financeTotalCaption_ = Caption(form_.layout.totalCaption, financeTotal_);
    financeTotalCaption_->setObjectName(QStringLiteral("Finance_Celkem_Popis"));
    financeIneligibleCaption_ = Caption(QStringLiteral("Nezpůsobilé"), financeIneligible_);
    financeEligibleCaption_ = Caption(QStringLiteral("Způsobilé"), financeEligible_);
    financeRecognisedCaption_ =
        Caption(QStringLiteral("Způsobilé - uznané URR"), financeRecognised_);
    financeRecognisedCaption_->setObjectName(QStringLiteral("Finance_Uznane_Popis"));
    auto radio = [this](const QString& name, MarkedAmount marked) {
        auto* b = new QRadioButton;
        b->setObjectName(name);
        b->setToolTip(kAmountHint);
        connect(b, &QRadioButton::toggled, this, [this, marked](bool on) {
            if (on) MarkAmount(marked);
        });
        return b;
    };
    financeMarkTotal_ = radio(QStringLiteral("Finance_Oznacit_Celkem"), MarkedAmount::Total);
    financeMarkIneligible_ =
        radio(QStringLiteral("Finance_Oznacit_Nezpusobile"), MarkedAmount::Ineligible);
    financeMarkEligible_ =
        radio(QStringLiteral("Finance_Oznacit_Zpusobile"), MarkedAmount::Eligible);
    auto* marks = new QButtonGroup(page);
    for (QRadioButton* b : {financeMarkTotal_, financeMarkIneligible_, financeMarkEligible_})
        marks->addButton(b);

    QGridLayout* amounts = FieldGrid({
        {.field = financeTotal_, .extra = financeMarkTotal_, .label = financeTotalCaption_},
        {.field = financeIneligible_,
         .extra = financeMarkIneligible_,
         .label = financeIneligibleCaption_},
        {.field = financeEligible_,
         .extra = financeMarkEligible_,
         .label = financeEligibleCaption_},
        {.field = financeRecognised_, .label = financeRecognisedCaption_},
    });
    auto* dates = new QGridLayout;
    AddDateRows(
        dates, 0, finance_, item,
        {{&financeDelivery_, QStringLiteral("DatumDoruceni"), form_.layout.deliveryCaption},
         {&financeDue_, QStringLiteral("DatumSplatnosti"), form_.layout.dueCaption},
         {&financeAssignment_, QStringLiteral("DatumZarazeni"), form_.layout.assignmentCaption},
         {&financePayment_, QStringLiteral("DatumZaplaceni"), form_.layout.paymentCaption}});

    auto* right = new QVBoxLayout;
    right->addLayout(amounts);
    right->addSpacing(8);
    right->addLayout(dates);
    right->addStretch(1);

    BuildItemPage(page, finance_, item, right);
    financeMarkEligible_->setChecked(true);
    return page;
}

QWidget* Formulare::BuildBottomPanel() {
    auto* panel = new QFrame;
    panel->setObjectName(QStringLiteral("Panel_Dole"));
    panel->setFrameShape(QFrame::StyledPanel);

    itemLabel_ = new QLabel;
    itemLabel_->setObjectName(QStringLiteral("Polozka"));
    itemLabel_->setMinimumWidth(90);
    chooser_ = Combo(QStringLiteral("Vyber_projektu"), false);
    chooser_->setToolTip(QStringLiteral("Výběr projeku pro úpravy a zobrazení."));
    chooser_->setMinimumContentsLength(30);
    connect(chooser_, &QComboBox::textActivated, this, &Formulare::ProjectChosen);
    status_ = new QLabel;
    status_->setObjectName(QStringLiteral("Stav"));
    status_->setToolTip(kStatusHint);
    status_->setMinimumWidth(120);
    status_->setAlignment(Qt::AlignCenter);
    status_->setFrameShape(QFrame::Panel);
    status_->setFrameShadow(QFrame::Sunken);
    realTermCaption_ = new QLabel(QStringLiteral("Reálný termín plnění"));
    realTermCaption_->setObjectName(QStringLiteral("Realny_termin_Popis"));
    realTerm_ = new QLabel;
    realTerm_->setObjectName(QStringLiteral("Realny_termin"));

    auto button = [this](const QString& text, const QString& name, const QString& hint) {
        auto* b = new QPushButton(text);
        b->setObjectName(name);
        if (!hint.isEmpty()) b->setToolTip(hint);
        return b;
    };
    addCopy_ = button(QStringLiteral("Přidat copy"), QStringLiteral("Pridat_copy"),
                      QStringLiteral("Přidá novou položku podle formuláře."));
    addEmpty_ = button(QStringLiteral("Přidat prázdnou"), QStringLiteral("Pridat_prazdnou"), {});
    change_ = button(QStringLiteral("Změnit"), QStringLiteral("Zmenit"),
                     QStringLiteral("Změní aktuální položku podle formuláře."));
    delete_ = button(QStringLiteral("Smazat"), QStringLiteral("Smazat"),
                     QStringLiteral("Smaže aktuální položku."));
    delete_->setStyleSheet(QStringLiteral("QPushButton { color: red; font-weight: bold; }"));
    cancel_ = button(QStringLiteral("Storno"), QStringLiteral("Storno"),
                     QStringLiteral("Ukončí práci s formulářem bez uložení změn."));
    connect(addCopy_, &QPushButton::clicked, this, &Formulare::AddCopyCommand);
    connect(addEmpty_, &QPushButton::clicked, this, &Formulare::AddEmptyCommand);
    connect(change_, &QPushButton::clicked, this, &Formulare::ChangeCommand);
    connect(delete_, &QPushButton::clicked, this, &Formulare::DeleteCommand);
    connect(cancel_, &QPushButton::clicked, this, &Formulare::CancelCommand);

    auto* info = new QHBoxLayout;
    info->addWidget(itemLabel_);
    info->addWidget(chooser_, 1);
    info->addSpacing(8);
    info->addWidget(status_);
    info->addSpacing(8);
    info->addWidget(realTermCaption_);
    info->addWidget(realTerm_);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {addCopy_, addEmpty_, change_, delete_}) buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->addLayout(info);
    layout->addLayout(buttons);
    return panel;
}

void Formulare::FillLists() {
    filling_ = true;
    const EntryFormLists lists = EntryFormPickLists(ws_);
    for (QComboBox* box : {projectNumber_, deadline_.number, finance_.number})
        SetItems(box, lists.projectNumbers);
    SetItems(projectName_, lists.projectNames);
    SetItems(projectManager_, lists.managers);
    SetItems(projectTechnician_, lists.technicians);
    SetItems(deadline_.activity, lists.deadlineActivities);
    SetItems(deadline_.classification, lists.deadlineClassifications);
    SetItems(deadline_.step, lists.deadlineSteps);
    SetItems(deadline_.info, lists.deadlineInfos);
    SetItems(deadline_.note, lists.deadlineNotes);
    SetItems(finance_.activity, lists.financeActivities);
    SetItems(finance_.classification, lists.financeClassifications, false);
    SetItems(finance_.step, lists.financeSteps);
    SetItems(finance_.info, kFinanceInfoItems);
    filling_ = false;
    SetProjectChoices(ProjectEntries());
}

QStringList Formulare::ProjectEntries() const {
    if (!ws_.Picks.projects.isEmpty()) return ws_.Picks.projects;
    return ProjectPickEntries(ws_);
}

void Formulare::PickListsChanged() {
    SetProjectChoices(ProjectEntries());
    // The people of the people list are offered as managers and technicians too,
    // without replacing what the project page shows.
    filling_ = true;
    AddMissing(projectManager_, ws_.Picks.persons);
    AddMissing(projectTechnician_, ws_.Picks.persons);
    filling_ = false;
}

// ---------------------------------------------------------------- showing

double Formulare::Day(QDateEdit* edit) {
    // A date typed but not yet confirmed counts as well.
    edit->interpretText();
    return DayFromDate(edit->date());
}

void Formulare::SetDay(QDateEdit* edit, double day) {
    const QDate date = DateFromDay(day);
    edit->setDate(date < kEmptyPickerDate ? kEmptyPickerDate : date);
}

QList<std::pair<QWidget*, QString ProjectForm::*>> Formulare::ProjectTexts() const {
    return {{projectNumber_, &ProjectForm::number},
            {projectName_, &ProjectForm::name},
            {projectManager_, &ProjectForm::manager},
            {projectTechnician_, &ProjectForm::technician},
            {projectMeasure_, &ProjectForm::measure},
            {projectActivities_, &ProjectForm::activities},
            {projectSupplierDoc_, &ProjectForm::supplierDoc},
            {projectExternalDoc_, &ProjectForm::externalDoc},
            {projectNote_, &ProjectForm::note},
            {projectSubsidy_, &ProjectForm::subsidyPercent},
            {projectErdf_, &ProjectForm::erdfPercent},
            {projectPlanned_, &ProjectForm::plannedEligible},
            {projectSubsidyTotal_, &ProjectForm::subsidy}};
}

QList<std::pair<QWidget*, QString ItemTexts::*>> Formulare::ItemTextFields(const ItemFields& f) {
    return {{f.type, &ItemTexts::type},
            {f.number, &ItemTexts::project},
            {f.id, &ItemTexts::id},
            {f.activity, &ItemTexts::activity},
            {f.classification, &ItemTexts::classification},
            {f.step, &ItemTexts::step},
            {f.info, &ItemTexts::info},
            {f.note, &ItemTexts::note},
            {f.note2, &ItemTexts::note2},
            {f.textDoc, &ItemTexts::textDoc},
            {f.pictureDoc, &ItemTexts::pictureDoc}};
}

QList<std::pair<QDateEdit*, double DeadlineForm::*>> Formulare::DeadlineDates() const {
    return {{deadlinePlanStart_.edit, &DeadlineForm::planStart},
            {deadlinePlanEnd_.edit, &DeadlineForm::planEnd},
            {deadlineActualStart_.edit, &DeadlineForm::actualStart},
            {deadlineActualEnd_.edit, &DeadlineForm::actualEnd}};
}

QList<std::pair<QDateEdit*, double FinanceForm::*>> Formulare::FinanceDates() const {
    return {{financeDelivery_.edit, &FinanceForm::delivery},
            {financeDue_.edit, &FinanceForm::due},
            {financeAssignment_.edit, &FinanceForm::assignment},
            {financePayment_.edit, &FinanceForm::payment}};
}

void Formulare::PutProject() {
    const ProjectForm& f = form_.project;
    filling_ = true;
    for (const auto& [field, text] : ProjectTexts()) SetFieldText(field, f.*text);
    SetDay(projectFrom_, f.dateFrom);
    SetDay(projectTo_, f.dateTo);
    filling_ = false;
}

void Formulare::PutDeadline() {
    const DeadlineForm& f = form_.deadline;
    filling_ = true;
    for (const auto& [field, text] : ItemTextFields(deadline_)) SetFieldText(field, f.*text);
    deadlineDuration_->setValue(f.duration);
    for (const auto& [edit, day] : DeadlineDates()) SetDay(edit, f.*day);
    filling_ = false;
}

void Formulare::PutAmounts() {
    const FinanceForm& f = form_.finance;
    filling_ = true;
    financeTotal_->setText(f.total);
    financeIneligible_->setText(f.ineligible);
    financeEligible_->setText(f.eligible);
    financeRecognised_->setText(f.recognised);
    filling_ = false;
}

void Formulare::PutFinance() {
    const FinanceForm& f = form_.finance;
    filling_ = true;
    for (const auto& [field, text] : ItemTextFields(finance_)) SetFieldText(field, f.*text);
    for (const auto& [edit, day] : FinanceDates()) SetDay(edit, f.*day);
    filling_ = false;
    PutAmounts();
}

void Formulare::CollectProject() {
    ProjectForm& f = form_.project;
    for (const auto& [field, text] : ProjectTexts()) f.*text = FieldText(field);
    f.dateFrom = Day(projectFrom_);
    f.dateTo = Day(projectTo_);
}

void Formulare::CollectDeadline() {
    DeadlineForm& f = form_.deadline;
    for (const auto& [field, text] : ItemTextFields(deadline_)) f.*text = FieldText(field);
    f.duration = deadlineDuration_->value();
    for (const auto& [edit, day] : DeadlineDates()) f.*day = Day(edit);
}

void Formulare::CollectFinance() {
    FinanceForm& f = form_.finance;
    for (const auto& [field, text] : ItemTextFields(finance_)) f.*text = FieldText(field);
    f.total = financeTotal_->text();
    f.ineligible = financeIneligible_->text();
    f.eligible = financeEligible_->text();
    f.recognised = financeRecognised_->text();
    for (const auto& [edit, day] : FinanceDates()) f.*day = Day(edit);
}

ItemForm Formulare::CollectedForm() {
    CollectProject();
    CollectDeadline();
    CollectFinance();
    return form_;
}

void Formulare::SetBottomLabel(const QString& text) {
    itemLabel_->setText(text);
}

void Formulare::ShowProjectRow(int row) {
    if (row <= 0) row = 1;
    form_.project = ReadProjectForm(ws_.Projects, row);
    PutProject();
    RememberShown(kProjectPage, ws_.Projects, row);
    SetBottomLabel(QStringLiteral("Projekt ") + QString::number(row));
    // The project page has no layout of its own: a stage deadline row shown
    // before must not keep its projects from being added.
    addCopy_->setEnabled(true);
    ShowItemPicture(row);
}

void Formulare::ShowDeadlineRow(int row) {
    const Table& t = ws_.Deadlines;
    form_.deadline = ReadDeadlineForm(t, row);
    RememberShown(kDeadlinePage, t, row);
    PutDeadline();
    realTerm_->setText(RealTermText(t, row));
    emit realTermChanged(realTerm_->text());
    ShowItemRow(t, u'T', row);
}

void Formulare::ShowFinanceRow(int row) {
    const Table& t = ws_.Finance;
    form_.finance = ReadFinanceForm(t, row, form_.finance);
    RememberShown(kFinancePage, t, row);
    PutFinance();
    realTerm_->clear();
    emit realTermChanged(QString());
    ShowItemRow(t, u'F', row);
}

void Formulare::ShowItemRow(const Table& table, QChar letter, int row) {
    const int kind = ws_.Current().Kind();
    SetBottomLabel(
        (kind == kDeadlineTable ? QStringLiteral("Termíny ") : QStringLiteral("Finance/Jiné ")) +
        QString::number(row));
    ShowItemStatus(kind, row);
    ApplyPageLayout(form_.layout, letter, table.Cell(Progress::Activity, row), ws_.config.PopisDPH);
    ApplyLayout();
    ShowItemPicture(row);
}

void Formulare::RememberShown(int page, const Table& table, int row) {
    shown_[page] = {row, RowCells(table, row)};
}

void Formulare::ShowCurrent() {
    const CurrentItem& current = ws_.Current();
    const int kind = current.Kind();
    if (!IsItemKind(kind)) return;
    // The page change sees its kind already current and only announces it.
    const int page = PageOfKind(kind);
    if (page != CurrentPage()) pages_->setCurrentIndex(page);
    if (kind == kProjectTable) ShowCurrentProject();
    ShowRowOfKind(kind, current.Row());
    EmitSelection();
}

void Formulare::TableChanged(int kind) {
    const CurrentItem& current = ws_.Current();
    if (kind != current.Kind() || !IsItemKind(kind)) return;
    const ShownRow& shown = shown_[PageOfKind(kind)];
    if (shown.row == current.Row() && shown.cells == RowCells(*ws_.TableOf(kind), shown.row))
        return;
    ShowCurrent();
}

void Formulare::ShowRowOfKind(int kind, int row) {
    switch (kind) {
        case kProjectTable:
            ShowProjectRow(row);
            break;
        case kDeadlineTable:
            ShowDeadlineRow(row);
            break;
        case kFinanceTable:
            ShowFinanceRow(row);
            break;
        default:
            break;
    }
}

void Formulare::ShowItemStatus(int kind, int row) {
    const std::optional<ItemStatus> status = EvaluateItemStatus(ws_, kind, row, NowDay());
    if (!status) return;
    if (kind == kDeadlineTable) form_.layout.statusShown = true;
    status_->setText(status->text);
    if (status->colour.isValid()) {
        QPalette palette = status_->palette();
        palette.setColor(QPalette::Window, status->colour);
        palette.setColor(QPalette::WindowText, Qt::black);
        status_->setPalette(palette);
        status_->setAutoFillBackground(true);
    } else {
        // Back to the window's own colour.
        status_->setPalette(QPalette());
        status_->setAutoFillBackground(false);
    }
    status_->setVisible(form_.layout.statusShown);
    realTermCaption_->setVisible(status->showRealisticTerm);
    realTerm_->setVisible(status->showRealisticTerm);
    emit statusChanged(status->text, status->colour);
    emit statusLabelsShown(form_.layout.statusShown, status->showRealisticTerm);
}

void Formulare::ShowItemPicture(int row) {
    const int kind = ws_.Current().Kind();
    if (!IsItemKind(kind)) return;
    const ItemPicture item = ItemPictureOf(ws_, kind, row);
    if (!item.keepLabel) emit pictureLabelChanged(item.label);
    if (item.exists)
        emit pictureChanged(item.path, item.fileName);
    else
        emit pictureChanged(QString(), QString());
}

// ---------------------------------------------------------------- layout

void Formulare::ApplyLayout() {
    const PageLayout& l = form_.layout;
    for (QWidget* w : std::initializer_list<QWidget*>{
             financeTotalCaption_, financeTotal_, financeMarkTotal_, financeIneligibleCaption_,
             financeIneligible_, financeMarkIneligible_, financeEligibleCaption_, financeEligible_,
             financeMarkEligible_})
        w->setVisible(l.amountsShown);
    financeAssignment_.SetShown(l.assignmentShown);
    financeRecognisedCaption_->setVisible(l.recognisedShown);
    financeRecognised_->setVisible(l.recognisedShown);
    status_->setVisible(l.statusShown);
    financeTotalCaption_->setText(l.totalCaption);
    financeDelivery_.caption->setText(l.deliveryCaption);
    financeDue_.caption->setText(l.dueCaption);
    financeAssignment_.caption->setText(l.assignmentCaption);
    financePayment_.caption->setText(l.paymentCaption);
    projectPlannedCaption_->setText(l.plannedEligibleCaption);
    addCopy_->setEnabled(l.copyEnabled);
    finance_.type->setEnabled(l.financeTypeEnabled);
    const bool free = !l.deadlineStageLocked;
    for (const DateField* f : {&deadlinePlanStart_, &deadlinePlanEnd_}) {
        f->edit->setEnabled(free);
        f->clear->setEnabled(free);
        f->recall->setEnabled(free);
    }
    deadline_.activity->setEnabled(free);
    deadlineDuration_->setEnabled(free);
    emit statusLabelsShown(l.statusShown, realTerm_->isVisibleTo(this));
}

void Formulare::ApplyLayoutFrom(int page) {
    const ItemFields& f = page == kDeadlinePage ? deadline_ : finance_;
    const QString type = f.type->currentText();
    ApplyPageLayout(form_.layout, type.isEmpty() ? QChar() : type.at(0), f.activity->currentText(),
                    ws_.config.PopisDPH);
    ApplyLayout();
}

void Formulare::SetServiceFields(bool enabled) {
    for (QWidget* w : std::initializer_list<QWidget*>{deadline_.type, deadline_.number,
                                                      deadline_.id, finance_.number, finance_.id})
        w->setEnabled(enabled);
}

// ---------------------------------------------------------------- amounts

void Formulare::AmountEdited() {
    if (filling_) return;
    CollectFinance();
    RecomputeMarkedAmount(form_.finance);
    PutAmounts();
}

void Formulare::MarkAmount(MarkedAmount marked) {
    form_.finance.marked = marked;
    financeTotal_->setEnabled(marked != MarkedAmount::Total);
    financeIneligible_->setEnabled(marked != MarkedAmount::Ineligible);
    financeEligible_->setEnabled(marked != MarkedAmount::Eligible);
}

// ---------------------------------------------------------------- commands

void Formulare::FulfilledCommand(int page) {
    const int kind = page == kFinancePage ? kFinanceTable : kDeadlineTable;
    if (kind == kDeadlineTable) {
        CollectDeadline();
        MarkFulfilled(form_, kind, startUp_);
        PutDeadline();
    } else {
        CollectFinance();
        MarkFulfilled(form_, kind, startUp_);
        PutFinance();
    }
    ws_.ResetInactivity();
}

void Formulare::ChoosePictureCommand() {
    Config& c = ws_.config;
    const QString path =
        ws_.Ask().ChooseOpenFile({QStringLiteral("Otevření foto"), c.PathIn(c.CestaFoto, QString()),
                                  QStringLiteral("*.jpg;*.bmp"), kFilterCsv});
    if (path.isEmpty()) return;
    const QFileInfo info(path);
    emit pictureChanged(path, path);
    c.CestaFoto = c.RelativeFolder(info.absolutePath());
    switch (ws_.Current().Kind()) {
        case kProjectTable:
            projectExternalDoc_->setText(info.fileName());
            break;
        case kDeadlineTable:
            deadline_.pictureDoc->setText(info.fileName());
            break;
        case kFinanceTable:
            finance_.pictureDoc->setText(info.fileName());
            break;
        default:
            break;
    }
}

EditContext Formulare::Context() {
    EditContext ctx;
    ctx.now = startUp_;
    ctx.projectNumber = ProjectNumberOf(chooser_->currentText());
    ctx.show = [this](int kind, int row) { ShowRowOfKind(kind, row); };
    return ctx;
}

void Formulare::AfterEdit() {
    EmitSelection();
    emit ganttRedrawRequested();
    emit itemStored(ws_.Current().Kind(), ws_.Current().Row());
}

void Formulare::EditCommand(const std::function<EditOutcome()>& edit) {
    EditOutcome outcome = EditOutcome::Refused;
    // The views hear of the whole operation once, at its end.
    const TableEdit group(ws_);
    RunCommand(ws_.Ask(), [&] { outcome = edit(); });
    if (outcome == EditOutcome::Done) AfterEdit();
    ws_.ResetInactivity();
}

void Formulare::AddCopyCommand() {
    CollectedForm();
    EditCommand([this] { return AddCopy(ws_, form_, Context()); });
}

void Formulare::AddEmptyCommand() {
    CollectedForm();
    EditCommand([this] { return AddEmpty(ws_, form_, Context()); });
}

void Formulare::ChangeCommand() {
    CollectedForm();
    EditCommand([this] { return ChangeItem(ws_, form_, Context()); });
}

void Formulare::DeleteCommand() {
    EditCommand([this] { return DeleteItem(ws_, Context()); });
}

void Formulare::CancelCommand() {
    ShowCurrent();
    hide();
}

// ---------------------------------------------------------------- pages and projects

int Formulare::PageOfKind(int kind) {
    switch (kind) {
        case kProjectTable:
            return kProjectPage;
        case kFinanceTable:
            return kFinancePage;
        default:
            return kDeadlinePage;
    }
}

int Formulare::CurrentPage() const {
    return pages_->currentIndex();
}

void Formulare::SetPage(int page) {
    CurrentItem& current = ws_.Current();
    // The page of the current item is already shown.
    if (current.Kind() == KindOfPage(page)) return;
    // The window follows the new current item to its page.
    current.MoveTo(FirstRowOfPage(current, page));
}

void Formulare::ShowItem(int kind, int row) {
    if (!IsItemKind(kind)) return;
    CurrentItem& current = ws_.Current();
    CurrentItem::Place place = current.Where();
    place.kind = kind;
    place.row = row;
    if (kind == kProjectTable) {
        if (row <= 0) place.row = 1;
        place.projectRow = place.row;
    }
    // Shown again even when it was current already: the click asks to see the table.
    if (!current.MoveTo(place)) ShowCurrent();
}

void Formulare::PageSwitched(int page) {
    const int kind = KindOfPage(page);
    CurrentItem& current = ws_.Current();
    // The page turns by itself when the current item moves to another table;
    // only a turn by hand makes the page's row 1 current and selects it in the grid.
    const bool byHand = current.Kind() != kind;
    if (byHand) current.MoveTo(FirstRowOfPage(current, page));
    emit pageChanged(kind);
    if (byHand)
        ws_.RevealGridCell(kind, 2, page == kProjectPage ? current.ProjectRow() : current.Row());
    EmitSelection();
    AppendSelectionCheck(QStringLiteral("TabbedNotebook1Change"));
    ws_.ResetInactivity();
}

void Formulare::EmitSelection() {
    const CurrentItem& current = ws_.Current();
    emit selectionLabelChanged(QString::number(current.Kind()) + u'/' +
                               QString::number(current.Column()) + u'/' +
                               QString::number(current.Row()));
}

void Formulare::AppendSelectionCheck(const QString& where) {
    ws_.AppendCheck(QString::number(ws_.Current().Kind()) + u' ' +
                    QString::number(ws_.Current().Row()) + u' ' + where);
}

void Formulare::SetProjectChoices(const QStringList& entries) {
    const int row = ws_.Current().ProjectRow();
    const QString current = ws_.Projects.Cell(Project::Number, row) + QStringLiteral("/ ") +
                            ws_.Projects.Cell(Project::Name, row);
    chooser_->blockSignals(true);
    chooser_->clear();
    chooser_->addItems(entries);
    // The chooser keeps naming the project whose items the tables hold.
    const int at = chooser_->findText(current);
    chooser_->setCurrentIndex(at >= 0 ? at : (entries.isEmpty() ? -1 : 0));
    chooser_->blockSignals(false);
    SetProjectName(ProjectNameOf(chooser_->currentText()));
}

QString Formulare::ProjectChooserText() const {
    return chooser_->currentText();
}

void Formulare::ShowCurrentProject() {
    const Table& p = ws_.Projects;
    const int row = ws_.Current().ProjectRow();
    const int at = chooser_->findText(p.Cell(Project::Number, row) + QStringLiteral("/ ") +
                                      p.Cell(Project::Name, row));
    if (at >= 0) {
        chooser_->blockSignals(true);
        chooser_->setCurrentIndex(at);
        chooser_->blockSignals(false);
    }
    SetProjectName(p.Cell(Project::Name, row));
}

void Formulare::SetProjectName(const QString& name) {
    deadline_.projectName->setText(name);
    finance_.projectName->setText(name);
}

void Formulare::ProjectChosen(const QString& text) {
    const QString number = ProjectNumberOf(text);
    CurrentItem& current = ws_.Current();
    ws_.FindProjectRow(number);
    current.MoveTo({current.Kind(), 1, 1, current.ProjectRow()});
    EmitSelection();
    RunCommand(ws_.Ask(), [&] {
        const QString name = ProgressFileName(ws_, number);
        setWindowTitle(name);
        LoadProgress(ws_, name);
    });
    const int p = current.ProjectRow();
    // On the project page the buttons act on the project shown, not on row 1.
    if (current.Kind() == kProjectTable) current.SelectRow(kProjectTable, p > 0 ? p : 1);
    ShowCurrentProject();
    // The tables hold another project's rows now, whether the item moved or not.
    ShowCurrent();
    emit projectChosen(chooser_->currentText());
    emit ganttRedrawRequested();
}

// ---------------------------------------------------------------- activation

void Formulare::Activated() {
    const QString text = chooser_->currentText();
    const QString number = ProjectNumberOf(text);
    SetProjectName(ProjectNameOf(text));
    if (!number.isEmpty()) setWindowTitle(ProgressFileName(ws_, number));
    const QString memory = FormatShortDate(financeMemory_);
    deadline_.memory->setText(memory);
    finance_.memory->setText(memory);
}

bool Formulare::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) Activated();
    return QWidget::event(event);
}

void Formulare::showEvent(QShowEvent* event) {
    if (!placed_) {
        placed_ = true;
        if (const QScreen* screen = this->screen()) {
            const QRect area = screen->availableGeometry();
            move(area.center() - rect().center());
        }
    }
    Activated();
    QWidget::showEvent(event);
}

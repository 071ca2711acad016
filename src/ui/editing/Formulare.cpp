#include "Formulare.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "Prompter.h"
#include "Workspace.h"
#include "data/Cells.h"
#include "data/DataFiles.h"
#include "data/Dates.h"
#include "editing/ItemEdit.h"
#include "editing/Status.h"
#include "main/ErrorHandler.h"
#include "shell/Slot.h"

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

// The distinct non-empty values of a column in row order.
void AddColumn(QStringList& list, const Table& t, int column,
               const std::function<bool(int)>& take = {}) {
    for (int r = 1; r < t.RowCount(); ++r) {
        const QString value = t.Cell(column, r);
        if (value.isEmpty() || list.contains(value) || (take && !take(r))) continue;
        list << value;
    }
}

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

QString ProjectNumberOf(const QString& chooserText) {
    return SplitFields(chooserText, 2, u'/')[0];
}

// Everything after the number: a project name may hold "/" itself.
QString ProjectNameOf(const QString& chooserText) {
    return chooserText.section(u'/', 1).trimmed();
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

    ws_.ItemKind = kDeadlineTable;
    ws_.CurrentColumn = 1;
    ws_.ItemRow = 1;
    EmitSelection();
    ws_.AppendCheck(QString::number(ws_.ItemKind) + u' ' + QString::number(ws_.ItemRow) +
                    QStringLiteral(" Form8.FormCreate"));
    ShowDeadlineRow(1);
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
    auto* edit = new QDateEdit;
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
            fiMemory_->setText(FormatShortDate(day));
        } else {
            dlMemory_->setText(FormatShortDate(day));
        }
    });
    connect(f.recall, &QToolButton::clicked, this, [this, edit, page] {
        SetDay(edit, page == kFinancePage ? financeMemory_ : ParseDate(dlMemory_->text()));
    });
    return f;
}

QToolButton* Formulare::PictureButton(const QString& name) {
    auto* b = new QToolButton;
    b->setObjectName(name);
    b->setText(QStringLiteral("..."));
    connect(b, &QToolButton::clicked, this, &Formulare::ChoosePicture);
    return b;
}

QWidget* Formulare::BuildProjectPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("Akce_Projekty"));
    prNumber_ = Combo(QStringLiteral("Akce_CisloAkce"));
    prName_ = Combo(QStringLiteral("Akce_NazevAkce"));
    prManager_ = Combo(QStringLiteral("Akce_Manager"));
    prTechnician_ = Combo(QStringLiteral("Akce_Technik"));
    prMeasure_ = Line(QStringLiteral("Akce_Opatreni"));
    prActivities_ = Line(QStringLiteral("Akce_Aktivity"));
    prSupplierDoc_ = Line(QStringLiteral("Akce_DodavatelskaSOD"));
    prExternalDoc_ = Line(QStringLiteral("Akce_DokumentVnejsi"));
    prNote_ = Line(QStringLiteral("Akce_Poznamka"));
    prSubsidy_ = Line(QStringLiteral("Akce_Dotace"));
    prErdf_ = Line(QStringLiteral("Akce_DotaceERDF"));
    prPlanned_ = Line(QStringLiteral("Akce_PlanVydaje"));
    prSubsidyTotal_ = Line(QStringLiteral("Akce_DotaceCelkem"));
    prFrom_ = DateEdit(QStringLiteral("Akce_DatumOd"));
    prTo_ = DateEdit(QStringLiteral("Akce_DatumDo"));
    for (QLineEdit* e : {prPlanned_, prSubsidyTotal_, prSubsidy_, prErdf_})
        e->setAlignment(Qt::AlignRight);

    auto* left = new QGridLayout;
    int r = 0;
    auto add = [&](const QString& caption, QWidget* field, QWidget* extra = nullptr) {
        left->addWidget(Caption(caption, field), r, 0);
        left->addWidget(field, r, 1);
        if (extra) left->addWidget(extra, r, 2);
        ++r;
    };
    add(QStringLiteral("Číslo akce"), prNumber_);
    add(QStringLiteral("Název akce"), prName_);
    add(QStringLiteral("Manager projektu"), prManager_);
    add(QStringLiteral("Technik projektu"), prTechnician_);
    add(QStringLiteral("Opatření"), prMeasure_);
    add(QStringLiteral("Aktivity"), prActivities_);
    add(QStringLiteral("Dodavatelská  SOD"), prSupplierDoc_);
    add(QStringLiteral("Dokument vnější"), prExternalDoc_,
        PictureButton(QStringLiteral("Akce_Foto")));
    add(QStringLiteral("Poznámka"), prNote_);
    left->setColumnStretch(1, 1);
    left->setRowStretch(r, 1);

    auto* right = new QGridLayout;
    prPlannedCaption_ = Caption(form_.layout.plannedEligibleCaption, prPlanned_);
    prPlannedCaption_->setObjectName(QStringLiteral("Akce_PlanVydaje_Popis"));
    right->addWidget(Caption(QStringLiteral("% Dotace celkem /"), prSubsidy_), 0, 0);
    right->addWidget(prSubsidy_, 0, 1);
    right->addWidget(Caption(QStringLiteral("Z dotace celkem % dotace ERDF"), prErdf_), 1, 0);
    right->addWidget(prErdf_, 1, 1);
    right->addWidget(prPlannedCaption_, 2, 0);
    right->addWidget(prPlanned_, 2, 1);
    right->addWidget(Caption(QStringLiteral("Dotace CELKEM"), prSubsidyTotal_), 3, 0);
    right->addWidget(prSubsidyTotal_, 3, 1);
    right->addWidget(Caption(QStringLiteral("Datum od"), prFrom_), 4, 0);
    right->addWidget(prFrom_, 4, 1);
    right->addWidget(Caption(QStringLiteral("Datum do"), prTo_), 5, 0);
    right->addWidget(prTo_, 5, 1);
    right->setRowStretch(6, 1);

    auto* layout = new QHBoxLayout(page);
    layout->addLayout(left, 3);
    layout->addSpacing(12);
    layout->addLayout(right, 2);
    return page;
}

QWidget* Formulare::BuildDeadlinePage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("Terminovane_cinnosti"));
    dlType_ = Combo(QStringLiteral("Termin_TypZapisu"), false);
    dlType_->addItems(kTypeLetters);
    dlType_->setMinimumContentsLength(2);
    dlNumber_ = Combo(QStringLiteral("Termin_CisloAkce"));
    dlNumber_->setMinimumContentsLength(5);
    dlId_ = Line(QStringLiteral("Termin_ID"));
    dlId_->setToolTip(QStringLiteral(
        "Popis vzájemných vazeb mezi plánovanými úkony. (ve formuláři se nezadávají) "));
    dlProjectName_ = new QLabel;
    dlProjectName_->setObjectName(QStringLiteral("Termin_Projekt"));
    dlProjectName_->setToolTip(kProjectNameHint);
    dlActivity_ = Combo(QStringLiteral("Termin_Cinnost"));
    dlClass_ = Combo(QStringLiteral("Termin_Zarazeni"));
    dlStep_ = Combo(QStringLiteral("Termin_Proces"));
    dlInfo_ = Combo(QStringLiteral("Termin_Info"));
    dlNote_ = Combo(QStringLiteral("Termin_Poznamka"));
    dlDuration_ = new QSpinBox;
    dlDuration_->setObjectName(QStringLiteral("Termin_TrvaniDny"));
    dlDuration_->setRange(-99999, 99999);
    dlDuration_->setValue(30);
    dlNote2_ = Line(QStringLiteral("Termin_Poznamka2"));
    dlTextDoc_ = Line(QStringLiteral("Termin_SouborText"));
    dlPictureDoc_ = Line(QStringLiteral("Termin_SouborGraficky"));

    auto* head = new QHBoxLayout;
    head->addWidget(Caption(QStringLiteral("Typ zápisu"), dlType_));
    head->addWidget(dlType_);
    head->addWidget(Caption(QStringLiteral("Číslo akce"), dlNumber_));
    head->addWidget(dlNumber_);
    head->addWidget(Caption(QStringLiteral("ID"), dlId_));
    head->addWidget(dlId_, 1);
    head->addSpacing(12);
    head->addWidget(dlProjectName_, 2);

    auto* left = new QGridLayout;
    int r = 0;
    auto add = [&](const QString& caption, QWidget* field, QWidget* extra = nullptr) {
        left->addWidget(Caption(caption, field), r, 0);
        left->addWidget(field, r, 1);
        if (extra) left->addWidget(extra, r, 2);
        ++r;
    };
    add(QStringLiteral("Činnost"), dlActivity_);
    add(QStringLiteral("Zařazení"), dlClass_);
    add(QStringLiteral("Proces"), dlStep_);
    add(QStringLiteral("Info"), dlInfo_);
    add(QStringLiteral("Poznámka"), dlNote_);
    add(QStringLiteral("Poznámka 2"), dlNote2_);
    add(QStringLiteral("Soubor text vnější"), dlTextDoc_);
    add(QStringLiteral("Soubor grafický vnější"), dlPictureDoc_,
        PictureButton(QStringLiteral("Termin_Foto")));
    left->setColumnStretch(1, 1);
    left->setRowStretch(r, 1);

    dlPlanStart_ = MemoryDate(QStringLiteral("Termin_PlanOd"),
                              QStringLiteral("Plán počáteční datum"), kDeadlinePage);
    dlPlanEnd_ = MemoryDate(QStringLiteral("Termin_PlanDo"), QStringLiteral("Plán konečné datum"),
                            kDeadlinePage);
    dlActualStart_ = MemoryDate(QStringLiteral("Termin_SkutecnostOd"),
                                QStringLiteral("Skutečnost počáteční datum"), kDeadlinePage);
    dlActualEnd_ = MemoryDate(QStringLiteral("Termin_SkutecnostDo"),
                              QStringLiteral("Skutečnost konečné datum"), kDeadlinePage);
    auto* right = new QGridLayout;
    right->addWidget(Caption(QStringLiteral("Trvání dny"), dlDuration_), 0, 0);
    right->addWidget(dlDuration_, 0, 1);
    int d = 1;
    for (const DateField* f : {&dlPlanStart_, &dlPlanEnd_, &dlActualStart_, &dlActualEnd_}) {
        right->addWidget(f->caption, d, 0);
        right->addWidget(f->edit, d, 1);
        right->addWidget(f->clear, d, 2);
        right->addWidget(f->remember, d, 3);
        right->addWidget(f->recall, d, 4);
        ++d;
    }
    dlMemory_ = new QLabel(QStringLiteral("Paměť data"));
    dlMemory_->setObjectName(QStringLiteral("Termin_PametData"));
    dlMemory_->setToolTip(kMemoryHint);
    dlMemory_->setFrameShape(QFrame::Panel);
    dlMemory_->setFrameShadow(QFrame::Sunken);
    auto* done = new QPushButton(QStringLiteral("Splněno"));
    done->setObjectName(QStringLiteral("Termin_Splneno"));
    done->setToolTip(QStringLiteral("Nastaví termín realizace podle plánu pokud již není zadán."));
    connect(done, &QPushButton::clicked, this, [this] { FulfilledClicked(kDeadlinePage); });
    right->addWidget(dlMemory_, d, 1);
    right->addWidget(done, d + 1, 1);
    right->setRowStretch(d + 2, 1);

    auto* body = new QHBoxLayout;
    body->addLayout(left, 3);
    body->addSpacing(12);
    body->addLayout(right, 2);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(head);
    layout->addLayout(body, 1);

    auto relayout = [this] {
        if (!filling_) ApplyLayoutFrom(kDeadlinePage);
    };
    connect(dlActivity_, &QComboBox::currentTextChanged, this, relayout);
    connect(dlType_, &QComboBox::currentTextChanged, this, relayout);
    return page;
}

QWidget* Formulare::BuildFinancePage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("Etapy_Finance"));
    fiType_ = Combo(QStringLiteral("Finance_TypZapisu"), false);
    fiType_->addItems(kTypeLetters);
    fiType_->setMinimumContentsLength(2);
    fiNumber_ = Combo(QStringLiteral("Finance_CisloAkce"));
    fiNumber_->setMinimumContentsLength(5);
    fiId_ = Line(QStringLiteral("Finance_ID"));
    fiProjectName_ = new QLabel;
    fiProjectName_->setObjectName(QStringLiteral("Finance_Projekt"));
    fiProjectName_->setToolTip(kProjectNameHint);
    fiActivity_ = Combo(QStringLiteral("Finance_Cinnost"));
    fiClass_ = Combo(QStringLiteral("Finance_Zarazeni"));
    fiStep_ = Combo(QStringLiteral("Finance_Proces"));
    fiInfo_ = Combo(QStringLiteral("Finance_Informace"));
    fiNote_ = Combo(QStringLiteral("Finance_Poznamka"));
    fiNote2_ = Line(QStringLiteral("Finance_Poznamka2"));
    fiTextDoc_ = Line(QStringLiteral("Finance_SouborText"));
    fiPictureDoc_ = Line(QStringLiteral("Finance_SouborFoto"));

    auto* head = new QHBoxLayout;
    head->addWidget(Caption(QStringLiteral("Typ zápisu"), fiType_));
    head->addWidget(fiType_);
    head->addWidget(Caption(QStringLiteral("Číslo akce"), fiNumber_));
    head->addWidget(fiNumber_);
    head->addWidget(Caption(QStringLiteral("ID"), fiId_));
    head->addWidget(fiId_, 1);
    head->addSpacing(12);
    head->addWidget(fiProjectName_, 2);

    auto* left = new QGridLayout;
    int r = 0;
    auto add = [&](const QString& caption, QWidget* field, QWidget* extra = nullptr) {
        left->addWidget(Caption(caption, field), r, 0);
        left->addWidget(field, r, 1);
        if (extra) left->addWidget(extra, r, 2);
        ++r;
    };
    add(QStringLiteral("Činnost"), fiActivity_);
    add(QStringLiteral("Zařazení"), fiClass_);
    add(QStringLiteral("Proces"), fiStep_);
    add(QStringLiteral("Informace"), fiInfo_);
    add(QStringLiteral("Poznámka"), fiNote_);
    add(QStringLiteral("Poznámka 2"), fiNote2_);
    add(QStringLiteral("Soubor text vnější"), fiTextDoc_);
    add(QStringLiteral("Soubor foto vnější"), fiPictureDoc_,
        PictureButton(QStringLiteral("Finance_Foto")));
    left->setColumnStretch(1, 1);
    left->setRowStretch(r, 1);

    auto amount = [this](const QString& name) {
        QLineEdit* e = Line(name);
        e->setAlignment(Qt::AlignRight);
        // Room for the whole cell form of an amount, eighteen characters.
        e->setMinimumWidth(e->fontMetrics().horizontalAdvance(QString(16, u'0')));
        connect(e, &QLineEdit::textChanged, this, &Formulare::AmountEdited);
        return e;
    };
    fiTotal_ = amount(QStringLiteral("Finance_Celkem"));
    fiIneligible_ = amount(QStringLiteral("Finance_Nezpusobile"));
    fiEligible_ = amount(QStringLiteral("Finance_Zpusobile"));
    fiRecognised_ = amount(QStringLiteral("Finance_Uznane"));
    fiTotalCaption_ = Caption(form_.layout.totalCaption, fiTotal_);
    fiTotalCaption_->setObjectName(QStringLiteral("Finance_Celkem_Popis"));
    fiIneligibleCaption_ = Caption(QStringLiteral("Nezpůsobilé"), fiIneligible_);
    fiEligibleCaption_ = Caption(QStringLiteral("Způsobilé"), fiEligible_);
    fiRecognisedCaption_ = Caption(QStringLiteral("Způsobilé - uznané URR"), fiRecognised_);
    fiRecognisedCaption_->setObjectName(QStringLiteral("Finance_Uznane_Popis"));
    auto radio = [this](const QString& name, MarkedAmount marked) {
        auto* b = new QRadioButton;
        b->setObjectName(name);
        b->setToolTip(kAmountHint);
        connect(b, &QRadioButton::toggled, this, [this, marked](bool on) {
            if (on) MarkAmount(marked);
        });
        return b;
    };
    fiMarkTotal_ = radio(QStringLiteral("Finance_Oznacit_Celkem"), MarkedAmount::Total);
    fiMarkIneligible_ =
        radio(QStringLiteral("Finance_Oznacit_Nezpusobile"), MarkedAmount::Ineligible);
    fiMarkEligible_ = radio(QStringLiteral("Finance_Oznacit_Zpusobile"), MarkedAmount::Eligible);
    auto* marks = new QButtonGroup(page);
    for (QRadioButton* b : {fiMarkTotal_, fiMarkIneligible_, fiMarkEligible_}) marks->addButton(b);

    auto* right = new QGridLayout;
    right->addWidget(fiTotalCaption_, 0, 0);
    right->addWidget(fiTotal_, 0, 1);
    right->addWidget(fiMarkTotal_, 0, 2);
    right->addWidget(fiIneligibleCaption_, 1, 0);
    right->addWidget(fiIneligible_, 1, 1);
    right->addWidget(fiMarkIneligible_, 1, 2);
    right->addWidget(fiEligibleCaption_, 2, 0);
    right->addWidget(fiEligible_, 2, 1);
    right->addWidget(fiMarkEligible_, 2, 2);
    right->addWidget(fiRecognisedCaption_, 3, 0);
    right->addWidget(fiRecognised_, 3, 1);

    fiDelivery_ = MemoryDate(QStringLiteral("Finance_DatumDoruceni"), form_.layout.deliveryCaption,
                             kFinancePage);
    fiDue_ = MemoryDate(QStringLiteral("Finance_DatumSplatnosti"), form_.layout.dueCaption,
                        kFinancePage);
    fiAssignment_ = MemoryDate(QStringLiteral("Finance_DatumZarazeni"),
                               form_.layout.assignmentCaption, kFinancePage);
    fiPayment_ = MemoryDate(QStringLiteral("Finance_DatumZaplaceni"), form_.layout.paymentCaption,
                            kFinancePage);
    auto* dates = new QGridLayout;
    int d = 0;
    for (const DateField* f : {&fiDelivery_, &fiDue_, &fiAssignment_, &fiPayment_}) {
        dates->addWidget(f->caption, d, 0);
        dates->addWidget(f->edit, d, 1);
        dates->addWidget(f->clear, d, 2);
        dates->addWidget(f->remember, d, 3);
        dates->addWidget(f->recall, d, 4);
        ++d;
    }
    fiMemory_ = new QLabel(QStringLiteral("Paměť data"));
    fiMemory_->setObjectName(QStringLiteral("Finance_PametData"));
    fiMemory_->setToolTip(kMemoryHint);
    fiMemory_->setFrameShape(QFrame::Panel);
    fiMemory_->setFrameShadow(QFrame::Sunken);
    auto* done = new QPushButton(QStringLiteral("Splněno"));
    done->setObjectName(QStringLiteral("Finance_Splneno"));
    done->setToolTip(QStringLiteral("Nastaví termín realizace podle plánu pokud již není zadán."));
    connect(done, &QPushButton::clicked, this, [this] { FulfilledClicked(kFinancePage); });
    dates->addWidget(fiMemory_, d, 1);
    dates->addWidget(done, d + 1, 1);

    auto* rightColumn = new QVBoxLayout;
    rightColumn->addLayout(right);
    rightColumn->addSpacing(8);
    rightColumn->addLayout(dates);
    rightColumn->addStretch(1);

    auto* body = new QHBoxLayout;
    body->addLayout(left, 3);
    body->addSpacing(12);
    body->addLayout(rightColumn, 2);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(head);
    layout->addLayout(body, 1);

    auto relayout = [this] {
        if (!filling_) ApplyLayoutFrom(kFinancePage);
    };
    connect(fiActivity_, &QComboBox::currentTextChanged, this, relayout);
    connect(fiType_, &QComboBox::currentTextChanged, this, relayout);
    fiMarkEligible_->setChecked(true);
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
    connect(cancel_, &QPushButton::clicked, this, &QWidget::hide);

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
    const Table& p = ws_.Projects;
    const Table& d = ws_.Deadlines;
    const Table& f = ws_.Finance;
    const Table& t = ws_.Templates;
    auto column = [](const Table& table, int c) {
        QStringList list;
        AddColumn(list, table, c);
        return list;
    };
    const QStringList numbers = column(p, 1);
    for (QComboBox* box : {prNumber_, dlNumber_, fiNumber_}) SetItems(box, numbers);
    SetItems(prName_, column(p, 2));
    SetItems(prManager_, column(p, 3));
    SetItems(prTechnician_, column(p, 4));
    SetItems(dlActivity_, column(d, 2));
    SetItems(dlClass_, column(d, 3));
    SetItems(dlStep_, column(d, 4));
    SetItems(dlInfo_, column(d, 13));
    SetItems(dlNote_, column(d, 14));
    QStringList activities = column(f, 2);
    AddColumn(activities, t, 2, [&t](int r) { return t.Cell(1, r) != QLatin1String("Termíny"); });
    SetItems(fiActivity_, activities);
    SetItems(fiClass_, column(t, 3), false);
    QStringList steps = column(f, 4);
    AddColumn(steps, t, 4);
    SetItems(fiStep_, steps);
    SetItems(fiInfo_, kFinanceInfoItems);
    filling_ = false;
    SetProjectChoices(ProjectEntries());
}

QStringList Formulare::ProjectEntries() const {
    if (!ws_.Picks.projects.isEmpty()) return ws_.Picks.projects;
    QStringList entries;
    const Table& p = ws_.Projects;
    for (int r = 1; r < p.RowCount(); ++r) {
        const QString entry = p.Cell(1, r) + QStringLiteral("/ ") + p.Cell(2, r);
        if (!p.Cell(1, r).isEmpty() && !entries.contains(entry)) entries << entry;
    }
    return entries;
}

void Formulare::PickListsChanged() {
    SetProjectChoices(ProjectEntries());
    // The people of the people list are offered as managers and technicians too,
    // without replacing what the project page shows.
    filling_ = true;
    AddMissing(prManager_, ws_.Picks.persons);
    AddMissing(prTechnician_, ws_.Picks.persons);
    filling_ = false;
}

// ---------------------------------------------------------------- showing

double Formulare::Day(const QDateEdit* edit) {
    return DayFromDate(edit->date());
}

void Formulare::SetDay(QDateEdit* edit, double day) {
    const QDate date = DateFromDay(day);
    edit->setDate(date < kEmptyPickerDate ? kEmptyPickerDate : date);
}

void Formulare::PutProject() {
    const ProjectForm& f = form_.project;
    filling_ = true;
    prNumber_->setCurrentText(f.number);
    prName_->setCurrentText(f.name);
    prManager_->setCurrentText(f.manager);
    prTechnician_->setCurrentText(f.technician);
    prMeasure_->setText(f.measure);
    prActivities_->setText(f.activities);
    prSupplierDoc_->setText(f.supplierDoc);
    prExternalDoc_->setText(f.externalDoc);
    prNote_->setText(f.note);
    prSubsidy_->setText(f.subsidyPercent);
    prErdf_->setText(f.erdfPercent);
    prPlanned_->setText(f.plannedEligible);
    prSubsidyTotal_->setText(f.subsidy);
    SetDay(prFrom_, f.dateFrom);
    SetDay(prTo_, f.dateTo);
    filling_ = false;
}

void Formulare::PutDeadline() {
    const DeadlineForm& f = form_.deadline;
    filling_ = true;
    SetComboText(dlType_, f.type);
    dlNumber_->setCurrentText(f.project);
    dlId_->setText(f.id);
    dlActivity_->setCurrentText(f.activity);
    dlClass_->setCurrentText(f.classification);
    dlStep_->setCurrentText(f.step);
    dlInfo_->setCurrentText(f.info);
    dlNote_->setCurrentText(f.note);
    dlDuration_->setValue(f.duration);
    SetDay(dlPlanStart_.edit, f.planStart);
    SetDay(dlPlanEnd_.edit, f.planEnd);
    SetDay(dlActualStart_.edit, f.actualStart);
    SetDay(dlActualEnd_.edit, f.actualEnd);
    dlNote2_->setText(f.note2);
    dlTextDoc_->setText(f.textDoc);
    dlPictureDoc_->setText(f.pictureDoc);
    filling_ = false;
}

void Formulare::PutAmounts() {
    const FinanceForm& f = form_.finance;
    filling_ = true;
    fiTotal_->setText(f.total);
    fiIneligible_->setText(f.ineligible);
    fiEligible_->setText(f.eligible);
    fiRecognised_->setText(f.recognised);
    filling_ = false;
}

void Formulare::PutFinance() {
    const FinanceForm& f = form_.finance;
    filling_ = true;
    SetComboText(fiType_, f.type);
    fiNumber_->setCurrentText(f.project);
    fiId_->setText(f.id);
    fiActivity_->setCurrentText(f.activity);
    fiClass_->setCurrentText(f.classification);
    fiStep_->setCurrentText(f.step);
    fiInfo_->setCurrentText(f.info);
    fiNote_->setCurrentText(f.note);
    SetDay(fiDelivery_.edit, f.delivery);
    SetDay(fiDue_.edit, f.due);
    SetDay(fiAssignment_.edit, f.assignment);
    SetDay(fiPayment_.edit, f.payment);
    fiNote2_->setText(f.note2);
    fiTextDoc_->setText(f.textDoc);
    fiPictureDoc_->setText(f.pictureDoc);
    filling_ = false;
    PutAmounts();
}

void Formulare::CollectProject() {
    ProjectForm& f = form_.project;
    f.number = prNumber_->currentText();
    f.name = prName_->currentText();
    f.manager = prManager_->currentText();
    f.technician = prTechnician_->currentText();
    f.measure = prMeasure_->text();
    f.activities = prActivities_->text();
    f.supplierDoc = prSupplierDoc_->text();
    f.externalDoc = prExternalDoc_->text();
    f.note = prNote_->text();
    f.subsidyPercent = prSubsidy_->text();
    f.erdfPercent = prErdf_->text();
    f.plannedEligible = prPlanned_->text();
    f.subsidy = prSubsidyTotal_->text();
    f.dateFrom = Day(prFrom_);
    f.dateTo = Day(prTo_);
}

void Formulare::CollectDeadline() {
    DeadlineForm& f = form_.deadline;
    f.type = dlType_->currentText();
    f.project = dlNumber_->currentText();
    f.id = dlId_->text();
    f.activity = dlActivity_->currentText();
    f.classification = dlClass_->currentText();
    f.step = dlStep_->currentText();
    f.info = dlInfo_->currentText();
    f.note = dlNote_->currentText();
    f.duration = dlDuration_->value();
    f.planStart = Day(dlPlanStart_.edit);
    f.planEnd = Day(dlPlanEnd_.edit);
    f.actualStart = Day(dlActualStart_.edit);
    f.actualEnd = Day(dlActualEnd_.edit);
    f.note2 = dlNote2_->text();
    f.textDoc = dlTextDoc_->text();
    f.pictureDoc = dlPictureDoc_->text();
}

void Formulare::CollectFinance() {
    FinanceForm& f = form_.finance;
    f.type = fiType_->currentText();
    f.project = fiNumber_->currentText();
    f.id = fiId_->text();
    f.activity = fiActivity_->currentText();
    f.classification = fiClass_->currentText();
    f.step = fiStep_->currentText();
    f.info = fiInfo_->currentText();
    f.note = fiNote_->currentText();
    f.total = fiTotal_->text();
    f.ineligible = fiIneligible_->text();
    f.eligible = fiEligible_->text();
    f.recognised = fiRecognised_->text();
    f.delivery = Day(fiDelivery_.edit);
    f.due = Day(fiDue_.edit);
    f.assignment = Day(fiAssignment_.edit);
    f.payment = Day(fiPayment_.edit);
    f.note2 = fiNote2_->text();
    f.textDoc = fiTextDoc_->text();
    f.pictureDoc = fiPictureDoc_->text();
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
    SetBottomLabel(QStringLiteral("Projekt ") + QString::number(row));
    // The project page has no layout of its own: a stage deadline row shown
    // before must not keep its projects from being added.
    addCopy_->setEnabled(true);
    ShowItemPicture(row);
}

void Formulare::ShowDeadlineRow(int row) {
    const Table& t = ws_.Deadlines;
    form_.deadline = ReadDeadlineForm(t, row);
    PutDeadline();
    realTerm_->setText(RealTermText(t, row));
    emit realTermChanged(realTerm_->text());
    SetBottomLabel((ws_.ItemKind == kDeadlineTable ? QStringLiteral("Termíny ")
                                                   : QStringLiteral("Finance/Jiné ")) +
                   QString::number(row));
    ShowItemStatus(ws_.ItemKind, row);
    ApplyPageLayout(form_.layout, u'T', t.Cell(2, row), ws_.config.PopisDPH);
    ApplyLayout();
    ws_.ItemRow = row;
    ShowItemPicture(row);
}

void Formulare::ShowFinanceRow(int row) {
    const Table& t = ws_.Finance;
    form_.finance = ReadFinanceForm(t, row, form_.finance);
    PutFinance();
    realTerm_->clear();
    emit realTermChanged(QString());
    SetBottomLabel((ws_.ItemKind == kDeadlineTable ? QStringLiteral("Termíny ")
                                                   : QStringLiteral("Finance/Jiné ")) +
                   QString::number(row));
    ShowItemStatus(ws_.ItemKind, row);
    ApplyPageLayout(form_.layout, u'F', t.Cell(2, row), ws_.config.PopisDPH);
    ApplyLayout();
    ws_.ItemRow = row;
    ShowItemPicture(row);
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
    QString name;
    QString label;
    bool setLabel = true;
    switch (ws_.ItemKind) {
        case kProjectTable:
            name = ws_.Projects.Cell(8, row);
            label = ws_.Projects.Cell(1, row) + QStringLiteral(" -  ") + ws_.Projects.Cell(2, row);
            break;
        case kDeadlineTable:
            name = ws_.Deadlines.Cell(17, row);
            label =
                ws_.Deadlines.Cell(2, row) + QStringLiteral(" -  ") + ws_.Deadlines.Cell(3, row);
            setLabel = row != 1;
            break;
        case kFinanceTable:
            name = ws_.Finance.Cell(17, row);
            label = ws_.Finance.Cell(2, row) + QStringLiteral(" -  ") + ws_.Finance.Cell(3, row);
            break;
        default:
            return;
    }
    if (setLabel) emit pictureLabelChanged(label);
    const QString path = ws_.config.PathIn(ws_.config.CestaFoto, name);
    if (!name.isEmpty() && QFileInfo(path).isFile())
        emit pictureChanged(path, name);
    else
        emit pictureChanged(QString(), QString());
}

// ---------------------------------------------------------------- layout

void Formulare::ApplyLayout() {
    const PageLayout& l = form_.layout;
    for (QWidget* w : std::initializer_list<QWidget*>{
             fiTotalCaption_, fiTotal_, fiMarkTotal_, fiIneligibleCaption_, fiIneligible_,
             fiMarkIneligible_, fiEligibleCaption_, fiEligible_, fiMarkEligible_})
        w->setVisible(l.amountsShown);
    fiAssignment_.SetShown(l.assignmentShown);
    fiRecognisedCaption_->setVisible(l.recognisedShown);
    fiRecognised_->setVisible(l.recognisedShown);
    status_->setVisible(l.statusShown);
    fiTotalCaption_->setText(l.totalCaption);
    fiDelivery_.caption->setText(l.deliveryCaption);
    fiDue_.caption->setText(l.dueCaption);
    fiAssignment_.caption->setText(l.assignmentCaption);
    fiPayment_.caption->setText(l.paymentCaption);
    prPlannedCaption_->setText(l.plannedEligibleCaption);
    addCopy_->setEnabled(l.copyEnabled);
    fiType_->setEnabled(l.financeTypeEnabled);
    const bool free = !l.deadlineStageLocked;
    for (const DateField* f : {&dlPlanStart_, &dlPlanEnd_}) {
        f->edit->setEnabled(free);
        f->clear->setEnabled(free);
        f->recall->setEnabled(free);
    }
    dlActivity_->setEnabled(free);
    dlDuration_->setEnabled(free);
    emit statusLabelsShown(l.statusShown, realTerm_->isVisibleTo(this));
}

void Formulare::ApplyLayoutFrom(int page) {
    const bool deadline = page == kDeadlinePage;
    const QString type = deadline ? dlType_->currentText() : fiType_->currentText();
    const QString activity = deadline ? dlActivity_->currentText() : fiActivity_->currentText();
    ApplyPageLayout(form_.layout, type.isEmpty() ? QChar() : type.at(0), activity,
                    ws_.config.PopisDPH);
    ApplyLayout();
}

void Formulare::SetServiceFields(bool enabled) {
    for (QWidget* w : std::initializer_list<QWidget*>{dlType_, dlNumber_, dlId_, fiNumber_, fiId_})
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
    fiTotal_->setEnabled(marked != MarkedAmount::Total);
    fiIneligible_->setEnabled(marked != MarkedAmount::Ineligible);
    fiEligible_->setEnabled(marked != MarkedAmount::Eligible);
}

// ---------------------------------------------------------------- commands

void Formulare::FulfilledClicked(int page) {
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

void Formulare::ChoosePicture() {
    Config& c = ws_.config;
    const QString path =
        ws_.Ask().ChooseOpenFile({QStringLiteral("Otevření foto"), c.PathIn(c.CestaFoto, QString()),
                                  QStringLiteral("*.jpg;*.bmp"), kFilterCsv});
    if (path.isEmpty()) return;
    const QFileInfo info(path);
    emit pictureChanged(path, path);
    c.CestaFoto = c.RelativeFolder(info.absolutePath());
    switch (ws_.ItemKind) {
        case kProjectTable:
            prExternalDoc_->setText(info.fileName());
            break;
        case kDeadlineTable:
            dlPictureDoc_->setText(info.fileName());
            break;
        case kFinanceTable:
            fiPictureDoc_->setText(info.fileName());
            break;
        default:
            break;
    }
}

EditContext Formulare::Context() {
    EditContext ctx;
    ctx.now = startUp_;
    ctx.projectNumber = ProjectNumberOf(chooser_->currentText());
    ctx.show = [this](int kind, int row) {
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
    };
    return ctx;
}

void Formulare::AfterEdit() {
    EmitSelection();
    emit ganttRedrawRequested();
    emit itemStored(ws_.ItemKind, ws_.ItemRow);
}

void Formulare::AddCopyCommand() {
    CollectedForm();
    EditOutcome outcome = EditOutcome::Refused;
    RunCommand(ws_.Ask(), [&] { outcome = AddCopy(ws_, form_, Context()); });
    if (outcome == EditOutcome::Done) AfterEdit();
    ws_.ResetInactivity();
}

void Formulare::AddEmptyCommand() {
    CollectedForm();
    EditOutcome outcome = EditOutcome::Refused;
    RunCommand(ws_.Ask(), [&] { outcome = AddEmpty(ws_, form_, Context()); });
    if (outcome == EditOutcome::Done) AfterEdit();
    ws_.ResetInactivity();
}

void Formulare::ChangeCommand() {
    CollectedForm();
    EditOutcome outcome = EditOutcome::Refused;
    RunCommand(ws_.Ask(), [&] { outcome = ChangeItem(ws_, form_, Context()); });
    if (outcome == EditOutcome::Done) AfterEdit();
    ws_.ResetInactivity();
}

void Formulare::DeleteCommand() {
    EditOutcome outcome = EditOutcome::Refused;
    RunCommand(ws_.Ask(), [&] { outcome = DeleteItem(ws_, Context()); });
    if (outcome == EditOutcome::Done) AfterEdit();
    ws_.ResetInactivity();
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
    turnedByOthers_ = true;
    pages_->setCurrentIndex(page);
    turnedByOthers_ = false;
}

void Formulare::ShowItem(int kind, int row) {
    if (kind != kProjectTable && kind != kDeadlineTable && kind != kFinanceTable) return;
    const int page = PageOfKind(kind);
    if (page != CurrentPage()) {
        turnedByOthers_ = true;
        turningForItem_ = true;
        pages_->setCurrentIndex(page);
        turningForItem_ = false;
        turnedByOthers_ = false;
    }
    ws_.ItemKind = kind;
    if (kind == kProjectTable) {
        if (row <= 0) row = 1;
        ws_.ItemRow = row;
        ws_.CurrentProjectRow = row;
        ShowCurrentProject();
        ShowProjectRow(row);
    } else if (kind == kDeadlineTable) {
        ShowDeadlineRow(row);
    } else {
        ShowFinanceRow(row);
    }
    EmitSelection();
}

void Formulare::PageSwitched(int page) {
    const int kind = page == kProjectPage   ? kProjectTable
                     : page == kFinancePage ? kFinanceTable
                                            : kDeadlineTable;
    ws_.ItemKind = kind;
    ws_.ItemRow = 1;
    if (page == kProjectPage) ws_.CurrentProjectRow = 1;
    emit pageChanged(kind);
    if (!turnedByOthers_)
        ws_.SelectGridCell(kind, 2, page == kProjectPage ? ws_.CurrentProjectRow : ws_.ItemRow);
    // A grid click shows its own row right after.
    if (!turningForItem_) {
        if (page == kProjectPage)
            ShowProjectRow(ws_.CurrentProjectRow);
        else if (page == kDeadlinePage)
            ShowDeadlineRow(1);
        else
            ShowFinanceRow(1);
    }
    EmitSelection();
    ws_.AppendCheck(QString::number(ws_.ItemKind) + u' ' + QString::number(ws_.ItemRow) +
                    QStringLiteral(" TabbedNotebook1Change"));
    ws_.ResetInactivity();
}

void Formulare::EmitSelection() {
    emit selectionLabelChanged(QString::number(ws_.ItemKind) + u'/' +
                               QString::number(ws_.CurrentColumn) + u'/' +
                               QString::number(ws_.ItemRow));
}

void Formulare::SetProjectChoices(const QStringList& entries) {
    const QString current = ws_.Projects.Cell(1, ws_.CurrentProjectRow) + QStringLiteral("/ ") +
                            ws_.Projects.Cell(2, ws_.CurrentProjectRow);
    chooser_->blockSignals(true);
    chooser_->clear();
    chooser_->addItems(entries);
    // The chooser keeps naming the project whose items the tables hold.
    const int at = chooser_->findText(current);
    chooser_->setCurrentIndex(at >= 0 ? at : (entries.isEmpty() ? -1 : 0));
    chooser_->blockSignals(false);
    const QString name = ProjectNameOf(chooser_->currentText());
    dlProjectName_->setText(name);
    fiProjectName_->setText(name);
}

QString Formulare::ProjectChooserText() const {
    return chooser_->currentText();
}

void Formulare::ShowCurrentProject() {
    const Table& p = ws_.Projects;
    const int row = ws_.CurrentProjectRow;
    const int at = chooser_->findText(p.Cell(1, row) + QStringLiteral("/ ") + p.Cell(2, row));
    if (at >= 0) {
        chooser_->blockSignals(true);
        chooser_->setCurrentIndex(at);
        chooser_->blockSignals(false);
    }
    dlProjectName_->setText(p.Cell(2, row));
    fiProjectName_->setText(p.Cell(2, row));
}

void Formulare::ProjectChosen(const QString& text) {
    const QString number = ProjectNumberOf(text);
    ws_.FindProjectRow(number);
    ws_.CurrentColumn = 1;
    ws_.ItemRow = 1;
    EmitSelection();
    RunCommand(ws_.Ask(), [&] {
        const QString name = ProgressFileName(ws_, number);
        setWindowTitle(name);
        LoadProgress(ws_, name);
    });
    const int p = ws_.CurrentProjectRow;
    // On the project page the buttons act on the project shown, not on row 1.
    if (ws_.ItemKind == kProjectTable) ws_.ItemRow = p > 0 ? p : 1;
    ShowCurrentProject();
    switch (ws_.ItemKind) {
        case kProjectTable:
            ShowProjectRow(p);
            break;
        case kDeadlineTable:
            ShowDeadlineRow(ws_.ItemRow);
            break;
        case kFinanceTable:
            ShowFinanceRow(ws_.ItemRow);
            break;
        default:
            break;
    }
    EmitSelection();
    emit projectChosen(chooser_->currentText());
    emit ganttRedrawRequested();
}

// ---------------------------------------------------------------- activation

void Formulare::Activated() {
    const QString text = chooser_->currentText();
    const QString number = ProjectNumberOf(text);
    dlProjectName_->setText(ProjectNameOf(text));
    fiProjectName_->setText(ProjectNameOf(text));
    if (!number.isEmpty()) setWindowTitle(ProgressFileName(ws_, number));
    const QString memory = FormatShortDate(financeMemory_);
    dlMemory_->setText(memory);
    fiMemory_->setText(memory);
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

#include "DenVystup.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "Workspace.h"
#include "data/Cells.h"
#include "data/Columns.h"
#include "data/Dates.h"
#include "data/Progress.h"
#include "finance/FinanceOverview.h"
#include "finance/FinanceReport.h"
#include "finance/ResultsFile.h"
#include "main/ErrorHandler.h"
#include "shell/Access.h"

namespace {

const QColor kBlue(0x00, 0x00, 0xFF);
const QColor kFuchsia(0xFF, 0x00, 0xFF);

// The value grid's rows: caption and the results columns of plan and actual.
struct GridRow {
    const char16_t* caption;
    int plan;
    int actual;
};
const GridRow kGridRows[] = {
    {u"Celkové výdaje ", Results::PlanTotal, Results::Total},
    {u"Nezpůsobilé", Results::PlanIneligible, Results::Ineligible},
    {u"Způsobilé  URR", Results::PlanDash, Results::EligibleUrr},
    {u"Způsobilé", Results::PlanEligible, Results::Eligible},
    {u"Dotace", Results::PlanSubsidy, Results::Subsidy},
    {u"Vlastní podíl", Results::PlanOwn, Results::Own},
    {u"ERDF", Results::PlanErdf, Results::Erdf},
    {u"SR ", Results::PlanState, Results::State},
};
// Grid rows whose captions and values take the subsidy base's colour.
constexpr int kFirstSplitRow = 4;

QLabel* ValueLabel(const QString& name) {
    auto* label = new QLabel;
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setMinimumWidth(110);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    return label;
}

QLabel* Caption(const QString& text) {
    auto* label = new QLabel(text);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QLabel* Field(const QString& name) {
    auto* label = new QLabel;
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setMinimumWidth(90);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

void SetColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

}  // namespace

DenVystup::DenVystup(Workspace& ws, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), ws_(ws) {
    setObjectName(QStringLiteral("DenVystup"));
    setWindowTitle(QStringLiteral("ORVA_DenVystup"));

    sets_ = new QButtonGroup(this);
    divisions_ = new QButtonGroup(this);
    dateKinds_ = new QButtonGroup(this);
    bases_ = new QButtonGroup(this);
    auto* options = new QVBoxLayout;
    options->addWidget(OptionGroup(QStringLiteral("Sestava projektů"), sets_,
                                   {{QStringLiteral("RadioButton_Jeden"), "Jeden projekt"},
                                    {QStringLiteral("RadioButton_Skupina"), "Skupina projektů"},
                                    {QStringLiteral("RadioButton_Vse"), "Všechny projekty"}}));
    options->addWidget(
        OptionGroup(QStringLiteral("Druh dělení výpočtu"), divisions_,
                    {{QStringLiteral("RadioButton_Etapy"), "Projekty  / Etapy"},
                     {QStringLiteral("RadioButton_Roky"), "Projekty  / Roky"},
                     {QStringLiteral("RadioButton_Opatreni"), "Opatření / Roky"},
                     {QStringLiteral("RadioButton_RokyCelkove"), "Součty    / Roky"}}));
    options->addWidget(OptionGroup(QStringLiteral("Podle data Fa."), dateKinds_,
                                   {{QStringLiteral("RadioButton1"), "Doručení"},
                                    {QStringLiteral("RadioButton2"), "Splatnosti"},
                                    {QStringLiteral("RadioButton3"), "Zařazení"},
                                    {QStringLiteral("RadioButton4"), "Zaplacení"}}));
    options->addStretch(1);
    connect(sets_, &QButtonGroup::idClicked, this, [this](int id) {
        SetOverviewSet(ws_, OverviewSet(id));
        FillProjectChooser();
    });
    connect(divisions_, &QButtonGroup::idClicked, this, [this](int id) {
        SetOverviewDivision(ws_, OverviewDivision(id));
        FillProjectChooser();
    });
    connect(dateKinds_, &QButtonGroup::idClicked, this, [this](int id) {
        SetInvoiceDateKind(ws_, id + 1);
        FillProjectChooser();
    });

    projectChooser_ = new QComboBox;
    projectChooser_->setObjectName(QStringLiteral("ComboBox8"));
    projectChooser_->setEditable(true);
    projectChooser_->setToolTip(QStringLiteral("Výběr projeku pro úpravy a zobrazení."));
    projectChooser_->setMinimumWidth(260);
    connect(projectChooser_, &QComboBox::textActivated, this, &DenVystup::ProjectChosen);
    rowChooser_ = new QComboBox;
    rowChooser_->setObjectName(QStringLiteral("ComboBox1"));
    rowChooser_->setEditable(true);
    rowChooser_->setToolTip(QStringLiteral("Výběr části výpočtu pro zobrazení."));
    rowChooser_->setMinimumWidth(260);
    connect(rowChooser_, &QComboBox::textActivated, this, &DenVystup::RowChosen);
    date_ = Field(QStringLiteral("LabelDatum"));
    date_->setToolTip(QStringLiteral("Datum ke kterému je zobrazený přehled."));

    auto* info = new QGridLayout;
    info->addWidget(projectChooser_, 0, 0, 1, 4);
    info->addWidget(date_, 0, 4);
    info->addWidget(rowChooser_, 1, 0, 1, 4);
    projectNumber_ = Field(QStringLiteral("LabelProjektCislo"));
    number_ = Field(QStringLiteral("LabelCislo"));
    item_ = Field(QStringLiteral("LabelAkce"));
    manager_ = Field(QStringLiteral("LabelJmeno1"));
    technician_ = Field(QStringLiteral("LabelJmeno2"));
    projectFrom_ = Field(QStringLiteral("LabelProjektOd"));
    projectTo_ = Field(QStringLiteral("LabelProjektDo"));
    stageFrom_ = Field(QStringLiteral("LabelEtapaOd"));
    stageTo_ = Field(QStringLiteral("LabelEtapaDo"));
    stage_ = Field(QStringLiteral("LabelEtapa"));
    count_ = Field(QStringLiteral("LabelPocet"));
    info->addWidget(Caption(QStringLiteral("Projekt číslo")), 2, 0);
    info->addWidget(projectNumber_, 2, 1);
    info->addWidget(Caption(QStringLiteral("Jméno")), 2, 2);
    info->addWidget(manager_, 2, 3, 1, 2);
    info->addWidget(Caption(QStringLiteral("Od")), 3, 0);
    info->addWidget(projectFrom_, 3, 1);
    info->addWidget(Caption(QStringLiteral("Jméno")), 3, 2);
    info->addWidget(technician_, 3, 3, 1, 2);
    info->addWidget(Caption(QStringLiteral("Do")), 4, 0);
    info->addWidget(projectTo_, 4, 1);
    info->addWidget(Caption(QStringLiteral("Čislo")), 5, 0);
    info->addWidget(number_, 5, 1);
    info->addWidget(Caption(QStringLiteral("Akce")), 5, 2);
    info->addWidget(item_, 5, 3, 1, 2);
    info->addWidget(Caption(QStringLiteral("Od")), 6, 0);
    info->addWidget(stageFrom_, 6, 1);
    info->addWidget(Caption(QStringLiteral("Do")), 6, 2);
    info->addWidget(stageTo_, 6, 3);
    info->setColumnStretch(3, 1);

    difference_ = new QLabel;
    difference_->setObjectName(QStringLiteral("LabelRozdil"));
    difference_->setTextFormat(Qt::PlainText);
    SetColour(difference_, Qt::red);
    differenceNote_ = new QLabel(QStringLiteral("Rozdíl  faktur všechny - zařazené do etap ."));
    differenceNote_->setObjectName(QStringLiteral("LabelRozdilPoznamka"));
    auto* differenceRow = new QHBoxLayout;
    differenceCaption_ = new QLabel(QStringLiteral("Rozdíl faktur"));
    differenceCaption_->setObjectName(QStringLiteral("LabelRozdilFaktur"));
    SetColour(differenceCaption_, Qt::red);
    differenceRow->addWidget(differenceCaption_);
    differenceRow->addWidget(difference_);
    differenceRow->addWidget(differenceNote_);
    differenceRow->addStretch(1);

    auto* buttons = new QHBoxLayout;
    auto button = [&](const QString& caption, const QString& hint, auto slot) {
        auto* b = new QPushButton(caption);
        b->setObjectName(QStringLiteral("Button") + caption.trimmed());
        b->setToolTip(hint);
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
        return b;
    };
    button(QStringLiteral("Výpočet "), QStringLiteral("Vypočítá přehled projektů podle zadání."),
           &DenVystup::Compute);
    button(QStringLiteral("Tisk"), QStringLiteral("Tiskne přehled financí."),
           &DenVystup::PrintCommand);
    button(QStringLiteral("Export"),
           QStringLiteral("Exportuje výsledky z modré výsledkové tabulky do MS EXCEL .CSV"),
           &DenVystup::ExportCommand);
    button(QStringLiteral("Graf"), QStringLiteral("Zobrazí graf financí."), [this] {
        emit chartRequested();
        ws_.ResetInactivity();
    });
    button(QStringLiteral("Storno"), QStringLiteral("Zavře formulář "), &QWidget::close);

    auto* right = new QVBoxLayout;
    right->addLayout(info);
    auto* headings = new QHBoxLayout;
    headings->addWidget(Caption(QStringLiteral("Etapa")));
    headings->addWidget(stage_, 1);
    headings->addWidget(Caption(QStringLiteral("Počet položek")));
    headings->addWidget(count_);
    right->addLayout(headings);
    right->addWidget(CreateValueGrid());
    right->addLayout(differenceRow);
    right->addStretch(1);
    right->addLayout(buttons);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(options);
    layout->addLayout(right, 1);

    connect(&ws_, &Workspace::overviewChoicesChanged, this, &DenVystup::FollowChoices);
    connect(&ws_, &Workspace::overviewComputed, this, &DenVystup::ComputationShown);
    FollowChoices();
    ShowOverviewRow(1, ws_.Current().ProjectRow());
}

QGroupBox* DenVystup::OptionGroup(const QString& caption, QButtonGroup* group,
                                  const QList<std::pair<QString, QString>>& options) {
    auto* box = new QGroupBox(caption);
    auto* layout = new QVBoxLayout(box);
    int id = 0;
    for (const auto& [name, text] : options) {
        auto* radio = new QRadioButton(text);
        radio->setObjectName(name);
        group->addButton(radio, id++);
        layout->addWidget(radio);
    }
    return box;
}

QWidget* DenVystup::CreateValueGrid() {
    values_ = new QGroupBox;
    values_->setObjectName(QStringLiteral("GroupVydaje"));
    auto* grid = new QGridLayout(values_);
    grid->addWidget(Caption(QStringLiteral("Etapa")), 0, 2, 1, 2, Qt::AlignHCenter);
    grid->addWidget(Caption(QStringLiteral("Projekt")), 0, 4, 1, 2, Qt::AlignHCenter);
    const QString heads[] = {QStringLiteral("Plánované"), QStringLiteral("Skutečné")};
    for (int c = 0; c < 4; ++c) grid->addWidget(Caption(heads[c % 2]), 1, c + 2, Qt::AlignHCenter);
    auto* base5 = new QRadioButton;
    base5->setObjectName(QStringLiteral("RadioButton5"));
    auto* base6 = new QRadioButton;
    base6->setObjectName(QStringLiteral("RadioButton6"));
    for (QRadioButton* b : {base5, base6})
        b->setToolTip(QStringLiteral("Označená hodnota bude rozložena na dotace."));
    bases_->addButton(base5, int(SubsidyBase::Eligible));
    bases_->addButton(base6, int(SubsidyBase::Urr));
    connect(bases_, &QButtonGroup::buttonClicked, this, &DenVystup::BaseClicked);
    for (int r = 0; r < 8; ++r) {
        const GridRow& row = kGridRows[r];
        captions_[size_t(r)] = Caption(QString::fromUtf16(row.caption));
        grid->addWidget(captions_[size_t(r)], r + 2, 1);
        if (r == 3) grid->addWidget(base5, r + 2, 0);
        if (r == 2) grid->addWidget(base6, r + 2, 0);
        for (int c = 0; c < 4; ++c) {
            cells_[size_t(r)][size_t(c)] =
                ValueLabel(QStringLiteral("Hodnota_%1_%2").arg(r).arg(c));
            grid->addWidget(cells_[size_t(r)][size_t(c)], r + 2, c + 2);
        }
    }
    return values_;
}

void DenVystup::FollowChoices() {
    const OverviewState& s = ws_.Overview;
    const bool setChanged = sets_->checkedId() != int(s.set);
    for (QButtonGroup* group : {sets_, divisions_, dateKinds_, bases_}) {
        const int id = group == sets_        ? int(s.set)
                       : group == divisions_ ? int(s.division)
                       : group == dateKinds_ ? s.invoiceDateKind - 1
                                             : int(s.base);
        if (QAbstractButton* b = group->button(id)) {
            const QSignalBlocker quiet(group);
            b->setChecked(true);
        }
    }
    ColourBaseLabels();
    if (setChanged) RefillProjectChooser();
}

void DenVystup::RefillProjectChooser() {
    const QSignalBlocker quiet(projectChooser_);
    projectChooser_->clear();
    const Table& p = ws_.Projects;
    const OverviewSet set = ws_.Overview.set;
    if (set == OverviewSet::All) {
        projectChooser_->addItem(QStringLiteral("Všechny projekty"));
    } else {
        for (int r = 1; r < p.RowCount(); ++r) {
            const QString number = p.Cell(Project::Number, r);
            // A group needs a group list ("Aktivity" with "]") and a number.
            if (set == OverviewSet::Group &&
                (number.isEmpty() || !p.Cell(Project::Activities, r).contains(u']')))
                continue;
            const QString text = number + QStringLiteral("/ ") + p.Cell(Project::Name, r);
            if (projectChooser_->findText(text) < 0) projectChooser_->addItem(text);
        }
    }
    projectChooser_->setCurrentIndex(0);
}

void DenVystup::FillProjectChooser() {
    RefillProjectChooser();
    Compute();
}

void DenVystup::BaseClicked() {
    SetSubsidyBase(ws_, SubsidyBase(bases_->checkedId()));
    ColourBaseLabels();
    Compute();
}

void DenVystup::ColourBaseLabels() {
    const QColor colour = ws_.Overview.base == SubsidyBase::Urr ? kFuchsia : kBlue;
    for (int r = kFirstSplitRow; r < 8; ++r) {
        SetColour(captions_[size_t(r)], colour);
        // The amounts the subsidy base splits: the actual values of stage and project.
        SetColour(cells_[size_t(r)][1], colour);
        SetColour(cells_[size_t(r)][3], colour);
    }
}

void DenVystup::Compute() {
    RunCommand(ws_.Ask(), [this] { ComputeFinanceOverview(ws_); });
}

void DenVystup::ComputationShown() {
    const bool stages = ws_.Overview.division == OverviewDivision::Stages;
    ShowOverviewRow(stages ? 1 : 2, ws_.Current().ProjectRow());
    emit chartRowChosen(3);
    FillRowChooser();
    if (ws_.Overview.set == OverviewSet::All)
        for (QLabel* label : {manager_, technician_, projectFrom_, projectTo_}) label->clear();
}

void DenVystup::ShowOverviewRow(int r, int p) {
    const Table& t = ws_.Results;
    const Table& projects = ws_.Projects;
    date_->setText(IsDateSet(ws_.Overview.referenceDay) ? FormatDate(ws_.Overview.referenceDay)
                                                        : QString());
    const QString head = t.Cell(Results::Project, 1);
    projectChooser_->setEditText(head.section(u'-', 0, 0) + QStringLiteral("/ ") +
                                 t.Cell(Results::Object, 1));
    number_->setText(t.Cell(Results::Project, r));
    item_->setText(t.Cell(Results::Object, r));
    projectNumber_->setText(t.Cell(Results::Project, r));
    manager_->setText(projects.Cell(Project::Manager, p));
    technician_->setText(projects.Cell(Project::Technician, p));
    projectFrom_->setText(t.Cell(Results::PlanStart, 1));
    projectTo_->setText(t.Cell(Results::PlanEnd, 1));
    stageFrom_->setText(t.Cell(Results::PlanStart, r));
    stageTo_->setText(t.Cell(Results::PlanEnd, r));
    stage_->setText(t.Cell(Results::Object, r));
    count_->setText(t.Cell(Results::InvoiceCount, r));
    values_->setTitle(QStringLiteral("Výdaje ") + ws_.config.PopisDPH);
    for (int k = 0; k < 8; ++k) {
        const GridRow& row = kGridRows[k];
        const std::array<QString, 4> texts = {t.Cell(row.plan, r), t.Cell(row.actual, r),
                                              t.Cell(row.plan, 1), t.Cell(row.actual, 1)};
        for (int c = 0; c < 4; ++c)
            cells_[size_t(k)][size_t(c)]->setText(texts[size_t(c)].trimmed());
    }
    // Invoices in the stages against all invoices; an empty cell takes the other's value.
    const QString actualText = t.Cell(Results::Total, r);
    const QString allText = t.Cell(Results::AllInvoices, r);
    const double a = ParseAmount(actualText.isEmpty() ? allText : actualText);
    const double b = ParseAmount(allText.isEmpty() ? actualText : allText);
    const double d = b - a;
    const bool shown = d != 0;
    difference_->setText(shown ? FormatAmount(d).trimmed() : QString());
    difference_->setVisible(shown);
    differenceNote_->setVisible(shown);
    differenceCaption_->setVisible(shown);
}

void DenVystup::FillRowChooser() {
    const QSignalBlocker quiet(rowChooser_);
    rowChooser_->clear();
    const Table& t = ws_.Results;
    for (int k = 1; k < t.RowCount(); ++k) {
        const QString text = QString::number(k) + QStringLiteral("/ ") +
                             t.Cell(Results::Project, k) + u'-' + t.Cell(Results::Object, k);
        if (rowChooser_->findText(text) < 0) rowChooser_->addItem(text);
    }
    rowChooser_->setCurrentIndex(0);
    values_->setTitle(QStringLiteral("Výdaje ") + ws_.config.PopisDPH);
}

void DenVystup::RowChosen(const QString& text) {
    // An edited text without a row number in front shows nothing.
    bool ok = false;
    const int row = text.section(u'/', 0, 0).trimmed().toInt(&ok);
    if (!ok || row < 1 || row >= ws_.Results.RowCount()) return;
    ShowOverviewRow(row, ws_.Current().ProjectRow());
    emit chartRowChosen(row);
    ws_.ResetInactivity();
}

void DenVystup::SelectResultsRow(int row) {
    {
        const QSignalBlocker quiet(rowChooser_);
        rowChooser_->setEditText(ws_.Results.Cell(Results::Object, row));
    }
    ShowOverviewRow(row, ws_.Current().ProjectRow());
    emit chartRowChosen(row);
}

void DenVystup::ProjectChosen(const QString& text) {
    RunCommand(ws_.Ask(), [&] {
        QString number = text.section(u'/', 0, 0).trimmed();
        if (text == QLatin1String("Všechny projekty"))
            number = ws_.Projects.Cell(Project::Number, 1);
        const int row = ws_.FindProjectRow(number);
        if (row < 1) return;
        // Loading the project's file puts the progress tables' item back on row 1.
        LoadProgress(ws_, ProgressFileNameFor(ws_.config.SouborAkce,
                                              ws_.Projects.Cell(Project::Number, row)));
        ws_.Current().SetProjectRow(row);
        emit projectChosen(row);
        ComputeFinanceOverview(ws_);
    });
}

void DenVystup::PrintCommand() {
    ws_.ResetInactivity();
    if (!CheckPermission(ws_, QString::fromUtf16(kThisOperation), 3)) return;
    ComposeFinanceReport(ws_, ws_.Current().ProjectRow());
}

void DenVystup::ExportCommand() {
    ws_.ResetInactivity();
    RunCommand(ws_.Ask(), [this] { SaveResultsFile(ws_); });
}

void DenVystup::ShowWindow() {
    adjustSize();
    const QRect area = screen()->availableGeometry();
    move(area.center() - rect().center());
    show();
    raise();
    activateWindow();
}

bool DenVystup::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) ApplyOverviewFlags(ws_);
    return QWidget::event(e);
}

void DenVystup::closeEvent(QCloseEvent* e) {
    emit closed();
    QWidget::closeEvent(e);
}

#include "Sledovani.h"

#include <QApplication>
#include <QCloseEvent>
#include <QColor>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>
#include <memory>

#include "Clock.h"
#include "ErrorHandler.h"
#include "Nastaveni.h"
#include "Navrat.h"
#include "Prompter.h"
#include "TableModel.h"
#include "Workspace.h"
#include "data/Dates.h"
#include "data/People.h"
#include "data/Progress.h"
#include "data/ProjectRegister.h"
#include "data/Sorting.h"
#include "data/Templates.h"
#include "diary/Denik.h"
#include "diary/DiaryWiring.h"
#include "diary/Graf.h"
#include "diary/Minutes.h"
#include "editing/Formulare.h"
#include "editing/GridActions.h"
#include "editing/ItemEdit.h"
#include "editing/Links.h"
#include "finance/DenVystup.h"
#include "finance/FinanceOverview.h"
#include "finance/FinanceReport.h"
#include "finance/GrafFinance.h"
#include "finance/ResultsFile.h"
#include "planning/Diagram.h"
#include "planning/TimelineStrip.h"
#include "shell/Access.h"
#include "shell/ChangeLog.h"
#include "shell/Reconstruction.h"
#include "shell/StartUp.h"
#include "tools/CharacterList.h"
#include "tools/Edit.h"
#include "tools/Foto.h"
#include "tools/Hledani.h"
#include "tools/Info.h"

namespace {

constexpr double kGridPointSize = 8.0;

const QString kStatusHint =
    QStringLiteral("Informace zda je termín překročen nebo zda je plnění v pořádku.");

const QString kCloseUnsaved =
    QStringLiteral("Změněná data se nepodařilo uložit.\r\nUkončit program bez uložení změn ?");

// Every key press and mouse click anywhere in the program counts as activity,
// so the idle holder of the connection slot is recognised by the timer alone.
class ActivityFilter : public QObject {
  public:
    ActivityFilter(Workspace& ws, QObject* parent) : QObject(parent), ws_(ws) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::KeyPress:
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
                ws_.ResetInactivity();
                break;
            default:
                break;
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    Workspace& ws_;
};

}  // namespace

void UseProgramLocale() {
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));
}

Sledovani::Sledovani(Workspace& ws, QWidget* parent)
    : QMainWindow(parent),
      ws_(ws),
      grids_{{
          {kProjectTable, kFlagProjectTable, true},
          {kTemplateTable, kFlagTemplateTable, false},
          {kDeadlineTable, kFlagDeadlineTable, true},
          {kFinanceTable, kFlagFinanceTable, true},
          {kResultsTable, kFlagResultsTable, false},
      }} {
    // Before any of the program's widgets exists: each takes the default
    // locale when it is created.
    UseProgramLocale();
    setObjectName(QStringLiteral("Sledovani"));
    setWindowTitle(QStringLiteral("Sledování ORVA"));
    slot_ = new ConnectionSlot(ws_, this);
    connect(slot_, &ConnectionSlot::stateChanged, this, &Sledovani::ShowPermission);
    connect(slot_, &ConnectionSlot::serviceMenusChanged, this, &Sledovani::SetServiceMenus);
    qApp->installEventFilter(new ActivityFilter(ws_, this));
    links_ = new LinkRecorder(ws_, this);
    menus_ = new GridMenus(ws_, *links_, this);
    connect(menus_, &GridMenus::commandChosen, this, &Sledovani::GridCommand);

    splash_ = new QTimer(this);
    splash_->setObjectName(QStringLiteral("SplashTimer"));
    splash_->setSingleShot(true);
    splash_->setInterval(kSplashMs);

    CreateMenus();
    CreateToolBar();

    // The strip's panel and the tables are placed by hand, not by a layout: the
    // window may be lower than both, and the tables' heights follow their row counts.
    body_ = new QWidget(this);
    body_->setObjectName(QStringLiteral("Body"));
    setCentralWidget(body_);
    body_->installEventFilter(this);
    CreateAuxPanel();
    panel_ = new QWidget(body_);
    panel_->setObjectName(QStringLiteral("TablePanel"));
    panel_->installEventFilter(this);

    const QString names[] = {QStringLiteral("SG_Akce"), QStringLiteral("SG_Ukony"),
                             QStringLiteral("SG_Prubeh"), QStringLiteral("SG_Finance"),
                             QStringLiteral("SG_PrProj")};
    for (size_t i = 0; i < grids_.size(); ++i)
        grids_[i].view = CreateGrid(*ws_.TableOf(grids_[i].kind), names[i]);
    // The finance grid first: the template grid shares its menu.
    for (int kind : {kProjectTable, kDeadlineTable, kFinanceTable, kTemplateTable, kResultsTable})
        WatchSelection(Grid(kind), kind);

    connect(&ws_, &Workspace::tableChanged, this, [this](int kind) {
        // A table that gained or lost rows needs a new share of the panel.
        if (kind == kProjectTable || kind == kDeadlineTable || kind == kFinanceTable)
            ArrangeTables();
        // The grid was reset; it keeps showing its selected cell.
        FollowSelection(kind == kTemplateTableWithDefaults ? kTemplateTable : kind, false);
    });
    connect(&ws_, &Workspace::gridCellRevealed, this, &Sledovani::RevealCell);
    connect(&ws_.Current(), &CurrentItem::rowsReordered, this, &Sledovani::FollowReorderedRows);
    connect(&ws_, &Workspace::progressGauge, this, [this](int position, int maximum) {
        gauge_->setMaximum(qMax(1, maximum));
        gauge_->setValue(qBound(0, position, gauge_->maximum()));
    });

    const QRect screenArea = screen()->availableGeometry();
    move(screenArea.topLeft());
    resize(screenArea.width(), height());
    ApplySettingsFlags();
    ArrangeTables();
}

// Menus

QAction* Sledovani::AddItem(QMenu* menu, const QString& caption,
                            const std::function<void()>& command) {
    QAction* item = menu->addAction(caption);
    if (!command) {
        // The program has no window for this command: listed, but disabled.
        item->setEnabled(false);
        return item;
    }
    connect(item, &QAction::triggered, this, [this, command] { RunCommand(ws_.Ask(), command); });
    return item;
}

QAction* Sledovani::AddCheck(QMenu* menu, int flag, const QString& caption, bool designMark) {
    QAction* item = menu->addAction(caption);
    item->setCheckable(true);
    checkItems_.insert(flag, item);
    designMarks_.insert(flag, designMark);
    connect(item, &QAction::toggled, this, [this, flag](bool on) { ws_.config.SetFlag(flag, on); });
    return item;
}

void Sledovani::CreateMenus() {
    QMenuBar* bar = menuBar();

    files_ = bar->addMenu(QStringLiteral("&Soubory"));
    AddItem(files_, QStringLiteral("Otevřít popis akcí . CSV"),
            [this] { LoadProjectRegister(ws_, QString()); });
    AddItem(files_, QStringLiteral("Uložit popis akcí . CSV"),
            [this] { SaveProjectRegister(ws_, QString()); });
    AddItem(files_, QStringLiteral("Otevři úkony . CSV"),
            [this] { LoadTaskTemplates(ws_, QString()); });
    AddItem(files_, QStringLiteral("Ulož úkony .CSV"),
            [this] { SaveTaskTemplates(ws_, QString()); });
    AddItem(files_, QStringLiteral("Otevřít průběh akcí  .CSV"),
            [this] { LoadProgress(ws_, QString()); });
    AddItem(files_, QStringLiteral("Uložit průběh akcí  .CSV"),
            [this] { SaveProgress(ws_, QString(), SaveMode::Open); });
    AddItem(files_, QStringLiteral("Otevřít poznámky"), [this] { LoadNotes(ws_, QString()); });
    AddItem(files_, QStringLiteral("Uložit poznámky"), [this] { SaveNotes(ws_, QString()); });
    AddItem(files_, QStringLiteral("Otvírá Hromadně ze seznamu Průběhy Akcí .CSV "),
            [this] { LoadAllProgress(ws_); });
    AddItem(files_, QStringLiteral("Uloží Hromadně ze seznamu Průběhy Akcí .CSV"),
            [this] { SaveAllProgressCommand(); });
    files_->addSeparator();
    AddItem(files_, QStringLiteral("Určit umístění všech souborů"),
            [this] { ChooseFileLocations(); });
    files_->menuAction()->setEnabled(false);

    QMenu* dataMenu = bar->addMenu(QStringLiteral("Data"));
    sortDeadlines_ = AddItem(dataMenu, QStringLiteral("Třídí data prubehu (šedá) podle sloupce 0"),
                             [this] { SortCommand(kDeadlineTable); });
    sortDeadlines_->setObjectName(QStringLiteral("TridiPrubehy"));
    sortFinance_ =
        AddItem(dataMenu, QStringLiteral("Třídí data financí (zelená) podle sloupce 0"), [] {});
    sortFinance_->setObjectName(QStringLiteral("TridiFinance"));
    dataMenu->addSeparator();
    printMinutes_ = AddItem(dataMenu, QStringLiteral("Tisk zápisu"));
    AddItem(dataMenu, QStringLiteral("Výpočet přehledu financí. (do modré tabulky)"),
            [this] { OverviewCommand(OverviewSet::All); });
    AddItem(dataMenu, QStringLiteral("Tisk výsledku výpočtu"), [this] { PrintResultsCommand(); });
    monitorReport_ = AddItem(dataMenu, QStringLiteral("Monitorovací zpráva"));
    AddItem(dataMenu, QStringLiteral("Platby přehled"));
    dataMenu->addSeparator();
    AddItem(dataMenu,
            QStringLiteral("Zálohování dat - Uloží zálohu všech dat pro budoucí obnovení."),
            [this] { LogChange(ws_, QString(), QString::fromUtf16(kLabelBackup), kLogEvent, 12); });
    AddItem(dataMenu, QStringLiteral("Obnovení dat ze záloh"), [this] { RestoreCommand(); });
    reconstruction_ = AddItem(dataMenu, QStringLiteral("Zpětná rekonstrukce dat"),
                              [this] { OpenReconstruction(); });
    // Enabled by the service mode only.
    reconstruction_->setEnabled(false);

    QMenu* view = bar->addMenu(QStringLiteral("&Zobrazit"));
    view_ = view;
    AddCheck(view, kFlagShowDiary, QStringLiteral("Zobrazení denníku"), true)->setEnabled(false);
    QMenu* diary = view->addMenu(QStringLiteral("Nastavení zobrazení denníku"));
    AddCheck(diary, kFlagDiaryChart, QStringLiteral("Zobrazovat graf"), true);
    AddCheck(diary, kFlagHighlightLate, QStringLiteral("Zvýzaznit dny mimo termín"), true);
    AddCheck(diary, kFlagCellText, QStringLiteral("Zobrazit text buněk"), true);
    view->addSeparator();
    ganttItem_ = AddItem(view, QStringLiteral("Diagram Gantt"), [this] { ShowGantt(); });
    ganttItem_->setEnabled(false);
    QMenu* gantt = view->addMenu(QStringLiteral("Nastavení diagram Gantt"));
    AddCheck(gantt, kFlagGanttRealistic, QStringLiteral("Zobrazit realnost Gantt"), true);
    AddCheck(gantt, kFlagGanttPlan, QStringLiteral("Zobrazit Plán Gantt"), true);
    AddCheck(gantt, kFlagGanttCaptions, QStringLiteral("Zobrazit popis do Ganttu"), false);
    view->addSeparator();
    QAction* showTables =
        AddCheck(view, kFlagShowTables, QStringLiteral("Zobrazení tabulek"), true);
    connect(showTables, &QAction::triggered, this, &Sledovani::ShowTablesToggled);
    QMenu* tables = view->addMenu(QStringLiteral("Nastavení zobrazení tabulek"));
    const std::pair<int, QString> tableItems[] = {
        {kFlagProjectTable, QStringLiteral("Tabulka Projektů - Žlutá")},
        {kFlagTemplateTable, QStringLiteral("Tabulka Úkonů - Fialová")},
        {kFlagDeadlineTable, QStringLiteral("Tabulka Průběhů Termínů - Šedá")},
        {kFlagFinanceTable, QStringLiteral("Tabulka Průběhů Financí - Zelená")},
        {kFlagResultsTable, QStringLiteral("Tabulka výsledků  - Modrá")},
    };
    for (const auto& [flag, caption] : tableItems) {
        QAction* item = AddCheck(tables, flag, caption, flag != kFlagResultsTable);
        connect(item, &QAction::triggered, this, &Sledovani::LayoutTables);
    }
    timeline_ =
        AddCheck(view, kFlagTimelineChart, QStringLiteral("Zobrazit pomocný graf termínů"), false);
    connect(timeline_, &QAction::toggled, this, &Sledovani::ArrangeBody);
    view->addSeparator();
    forms_ = AddItem(view, QStringLiteral("Formuláře"), [this] { ShowEntryWindow(); });
    forms_->setEnabled(false);
    QMenu* minutes = view->addMenu(QStringLiteral("Zápis - nastavení tisku"));
    AddCheck(minutes, kFlagPrintCollisions, QStringLiteral("Tisk kolizních termínů"), false);
    AddCheck(minutes, kFlagPrintNotes, QStringLiteral("Tisk poznámek"), false);
    photoItem_ = AddItem(view, QStringLiteral("Zobrazení Foto"));
    AddItem(view, QStringLiteral("Graf Financí"));
    AddItem(view, QStringLiteral("Výpočet finančních výsledků"), [this] { ShowOverviewWindow(); });
    view->addSeparator();
    AddItem(view, QStringLiteral("Nastavení"), [this] {
        Nastaveni* settings = Settings();
        settings->show();
        settings->raise();
        settings->activateWindow();
    });

    service_ = bar->addMenu(QStringLiteral("Obsluha"));
    AddItem(
        service_,
        QStringLiteral("Vygenerovat data z přípravených tabulek - tabulka akci a tabulka úkonů"),
        [this] { GenerateProgressRows(ws_, 0); });
    generateOne_ = AddItem(service_, QStringLiteral("Vygenerovat data k akci"), [this] {
        // Row 0 would mean every project: without a current project nothing is
        // generated rather than every progress file overwritten.
        const int project = ws_.Current().ProjectRow();
        if (project >= 1) GenerateProgressRows(ws_, project);
    });
    connect(service_, &QMenu::aboutToShow, this, [this] {
        generateOne_->setText(QStringLiteral("Vygenerovat data k akci ") +
                              QString::number(ws_.Current().ProjectRow()));
    });
    service_->addSeparator();
    AddItem(service_, QStringLiteral("Upravit zavislosti úkonů"),
            [this] { PropagateLinksCommand(); });
    AddItem(service_, QStringLiteral("Zrušit závislosti úkonů"), [this] { RemoveLinksCommand(); });
    service_->addSeparator();
    renumber_ = AddItem(service_, QStringLiteral("Nově vytvořit čísla ID podle aktuálního pořadí"),
                        [this] { RegenerateIds(ws_); });
    renumber_->setObjectName(QStringLiteral("NoveID"));
    AddItem(service_, QStringLiteral("Seznam znaků"), [this] {
        ShowCharacterList(ws_);
        Settings()->show();
    });
    service_->menuAction()->setEnabled(false);

    bar->addAction(QStringLiteral("Poznámky"))->setEnabled(false);
    QAction* author = bar->addAction(QStringLiteral("Autor"));
    connect(author, &QAction::triggered, this, [this] {
        if (about_) about_->ShowAbout();
    });
}

void Sledovani::CreateToolBar() {
    QToolBar* tools = addToolBar(QStringLiteral("Nástroje"));
    tools->setObjectName(QStringLiteral("ToolBar"));
    tools->setMovable(false);
    tools->setFloatable(false);
    tools->toggleViewAction()->setVisible(false);
    setContextMenuPolicy(Qt::NoContextMenu);

    const std::pair<QString, int> tableButtons[] = {
        {QStringLiteral("Projekty"), kFlagProjectTable},
        {QStringLiteral("Termíny"), kFlagDeadlineTable},
        {QStringLiteral("Finance"), kFlagFinanceTable},
        {QStringLiteral("Úkony"), kFlagTemplateTable},
        {QStringLiteral("Výsledky"), kFlagResultsTable},
    };
    for (const auto& [caption, flag] : tableButtons) {
        QAction* button = tools->addAction(caption);
        connect(button, &QAction::triggered, this,
                [this, flag = flag] { ToggleTableCommand(flag); });
    }
    formButton_ = tools->addAction(QStringLiteral("Formulář"));
    formButton_->setToolTip(QStringLiteral("Aktivuje vstupní formulář"));
    formButton_->setEnabled(false);
    connect(formButton_, &QAction::triggered, this, &Sledovani::ShowEntryWindow);
    ganttButton_ = tools->addAction(QStringLiteral("Gantt"));
    ganttButton_->setToolTip(QStringLiteral("Aktivuje graf časových průběhů"));
    ganttButton_->setEnabled(false);
    connect(ganttButton_, &QAction::triggered, this, &Sledovani::ShowGantt);
    tools->addSeparator();

    info_ = new QLabel(tools);
    info_->setObjectName(QStringLiteral("Informace"));
    info_->setToolTip(QStringLiteral("Informativní"));
    info_->setMinimumWidth(90);
    info_->setFrameShape(QFrame::StyledPanel);
    info_->setFrameShadow(QFrame::Sunken);
    // A double click is the service gesture.
    info_->installEventFilter(this);
    tools->addWidget(info_);

    gauge_ = new QProgressBar(tools);
    gauge_->setObjectName(QStringLiteral("Gauge"));
    gauge_->setFixedWidth(150);
    gauge_->setTextVisible(false);
    gauge_->setRange(0, 100);
    gauge_->setValue(0);
    tools->addWidget(gauge_);

    const QString speedHints[] = {QStringLiteral("Zobrazit pomocný graf termínů"),
                                  QStringLiteral("Zobrazení Foto"),
                                  QStringLiteral("Zobrazení grafu financí")};
    const QString speedCaptions[] = {QStringLiteral("Graf"), QStringLiteral("Foto"),
                                     QStringLiteral("Finance")};
    for (int i = 0; i < 3; ++i) {
        auto* speed = new QToolButton(tools);
        speed->setObjectName(QStringLiteral("SpeedButton%1").arg(i + 1));
        speed->setText(speedCaptions[i]);
        speed->setToolTip(speedHints[i]);
        speed->setAutoRaise(true);
        speed->setEnabled(false);
        tools->addWidget(speed);
        speedButtons_[size_t(i)] = speed;
    }
    speedButtons_[0]->setEnabled(true);
    connect(speedButtons_[0], &QToolButton::clicked, this, [this] {
        timeline_->toggle();
        ws_.ResetInactivity();
    });

    auto* spacer = new QWidget(tools);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    tools->addWidget(spacer);

    permission_ = new QLabel(QStringLiteral("Oprávnění"), tools);
    permission_->setObjectName(QStringLiteral("Opravneni"));
    permission_->setAutoFillBackground(true);
    permission_->setMargin(3);
    permission_->setTextFormat(Qt::PlainText);
    tools->addWidget(permission_);
}

QAction* Sledovani::MenuItem(const QString& caption) const {
    for (QAction* item : findChildren<QAction*>())
        if (item->text() == caption) return item;
    return nullptr;
}

Nastaveni* Sledovani::Settings() {
    if (!settings_) {
        settings_ = new Nastaveni(ws_, *slot_, this);
        settings_->setObjectName(QStringLiteral("Nastaveni"));
        connect(settings_, &Nastaveni::activating, this, &Sledovani::StoreHeightFlag);
        connect(settings_, &Nastaveni::reportCaptionChanged, monitorReport_, &QAction::setText);
    }
    return settings_;
}

void Sledovani::CreateAuxPanel() {
    aux_ = new QWidget(body_);
    aux_->setObjectName(QStringLiteral("PanelGraf"));
    aux_->hide();

    auto* labels = new QFrame(aux_);
    labels->setObjectName(QStringLiteral("PanelStav"));
    labels->setFixedWidth(kStatusPanelWidth);
    labels->setFrameShape(QFrame::Panel);
    labels->setFrameShadow(QFrame::Raised);
    QFont small = labels->font();
    if (small.pointSizeF() > kGridPointSize) small.setPointSizeF(kGridPointSize);
    labels->setFont(small);
    status_ = new QLabel(QStringLiteral("Souřadnice"), labels);
    status_->setObjectName(QStringLiteral("Souradnice"));
    status_->setToolTip(kStatusHint);
    status_->setAlignment(Qt::AlignCenter);
    status_->setFrameShape(QFrame::Panel);
    status_->setFrameShadow(QFrame::Sunken);
    status_->setTextFormat(Qt::PlainText);
    realTermCaption_ = new QLabel(QStringLiteral("Reálný termín plnění"), labels);
    realTermCaption_->setObjectName(QStringLiteral("RealnyTermin_Popis"));
    realTerm_ = new QLabel(QStringLiteral("Termíny"), labels);
    realTerm_->setObjectName(QStringLiteral("Terminy"));
    realTerm_->setTextFormat(Qt::PlainText);
    auto* column = new QVBoxLayout(labels);
    column->setContentsMargins(3, 1, 3, 1);
    column->setSpacing(0);
    column->addWidget(status_);
    column->addWidget(realTermCaption_);
    column->addWidget(realTerm_);
    // The status keeps its place at the top when the term labels are hidden.
    column->addStretch(1);

    strip_ = new TimelineStrip(ws_, aux_);
    auto* layout = new QHBoxLayout(aux_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(labels);
    layout->addWidget(strip_, 0, Qt::AlignVCenter);
    layout->addStretch(1);
}

void Sledovani::CreateWindows() {
    if (form_) return;
    foto_ = new Foto(ws_, this);
    form_ = new Formulare(ws_, slot_, this);
    ConnectEntryWindow();

    // The viewer brings its own menu item; it takes the place of the designed one.
    view_->insertAction(photoItem_, foto_->ShowAction());
    view_->removeAction(photoItem_);
    delete photoItem_;
    photoItem_ = foto_->ShowAction();
    speedButtons_[1]->setEnabled(true);
    connect(speedButtons_[1], &QToolButton::clicked, this, [this] {
        foto_->ShowViewer();
        ws_.ResetInactivity();
    });
    forms_->setEnabled(true);
    formButton_->setEnabled(true);
    overview_ = new DenVystup(ws_, this);
    // The pop-up captions name the project chosen in the overview window.
    connect(overview_, &DenVystup::projectChosen, menus_, &GridMenus::FollowProjectChoice);

    // "Poznámky": the notes editor with the configured notes file.
    edit_ = new Edit(ws_, this);
    if (QAction* notes = MenuItem(QStringLiteral("Poznámky"))) {
        notes->setEnabled(true);
        connect(notes, &QAction::triggered, this, [this] {
            edit_->ShowEditor();
            RunCommand(ws_.Ask(), [this] { LoadNotes(ws_, ws_.config.SouborPoznamky); });
        });
    }
    // "Graf Financí": the finance chart; the overview shows its rows in it.
    chart_ = new GrafFinance(ws_, this);
    if (QAction* chart = MenuItem(QStringLiteral("Graf Financí")))
        connect(chart, &QAction::triggered, chart_, &GrafFinance::ShowChart);
    connect(overview_, &DenVystup::chartRequested, chart_, &GrafFinance::ShowChart);
    connect(overview_, &DenVystup::chartRowChosen, chart_, &GrafFinance::ShowChartRow);

    graf_ = new Graf(ws_, this);
    denik_ = new Denik(ws_, this);
    ConnectDiary(ws_, *graf_, *denik_, form_);
    // A right click on the calendar's project list shows the finance overview.
    connect(graf_, &Graf::financeOverviewWanted, this, [this] { overview_->ShowWindow(); });
    QAction* showDiary = checkItems_.value(kFlagShowDiary);
    showDiary->setEnabled(true);
    connect(showDiary, &QAction::toggled, this, [this](bool on) {
        if (on)
            ShowCalendar();
        else
            graf_->hide();
    });
    connect(printMinutes_, &QAction::triggered, this, [this] {
        RunCommand(
            [this] {
                if (!CheckPermission(ws_, QStringLiteral("Zápis "), 3)) return;
                LoadAllProgress(ws_);
                // Column 8: today while the calendar starts a week before the start-up.
                ComposeMinutes(ws_, std::floor(graf_->View().Day(8)));
            },
            this);
    });
    CreateToolWindows();

    // The entry window made deadline row 1 the current item while it was being
    // built, before anything listened: the labels and the strip catch up.
    ShowSelectionLabel();
    form_->ShowDeadlineRow(ws_.Current().Row());
    CreateGantt();
}

void Sledovani::CreateGantt() {
    gantt_ = new Diagram(ws_, *links_, this);
    // The three display items of the menu redraw it; "Popis" and its item follow each other.
    for (int flag : {kFlagGanttRealistic, kFlagGanttPlan, kFlagGanttCaptions})
        connect(checkItems_.value(flag), &QAction::toggled, gantt_, &Diagram::ScheduleRedraw);
    connect(checkItems_.value(kFlagGanttCaptions), &QAction::toggled, gantt_,
            &Diagram::SetCaptionsShown);
    connect(gantt_, &Diagram::captionsToggled, checkItems_.value(kFlagGanttCaptions),
            &QAction::setChecked);
    connect(gantt_, &Diagram::entryWindowRequested, this, [this] {
        if (ws_.Current().Kind() != kDeadlineTable) form_->SetPage(Formulare::kDeadlinePage);
        ShowEntryWindow();
    });
    connect(gantt_, &Diagram::projectChosen, this,
            [this](const QString&) { menus_->FollowProjectChoice(ws_.Current().Row()); });
    connect(form_, &Formulare::ganttRedrawRequested, gantt_, &Diagram::ScheduleRedraw);
    ganttItem_->setEnabled(true);
    ganttButton_->setEnabled(true);
}

void Sledovani::ShowGantt() {
    if (!gantt_) return;
    gantt_->showMaximized();
    gantt_->raise();
    gantt_->activateWindow();
    ws_.ResetInactivity();
}

void Sledovani::ShowCalendar() {
    if (!graf_ || !ws_.config.Flag(kFlagShowDiary)) return;
    graf_->move(0, frameGeometry().height());
    graf_->show();
    graf_->RefreshCalendar();
}

void Sledovani::ConnectEntryWindow() {
    connect(form_, &Formulare::selectionLabelChanged, info_, &QLabel::setText);
    connect(form_, &Formulare::statusChanged, this, &Sledovani::ShowStatus);
    connect(form_, &Formulare::statusLabelsShown, this, [this](bool status, bool realTerm) {
        status_->setVisible(status);
        realTermCaption_->setVisible(realTerm);
        realTerm_->setVisible(realTerm);
    });
    connect(form_, &Formulare::realTermChanged, realTerm_, &QLabel::setText);
    connect(form_, &Formulare::pictureChanged, foto_,
            [this](const QString& path, const QString& caption) {
                if (path.isEmpty())
                    foto_->ClearPicture();
                else
                    foto_->ShowPicture(path, caption);
            });
    connect(form_, &Formulare::pictureLabelChanged, foto_, &Foto::SetItemLabel);
    // The entry window's buttons changed a table; its grid shows it again.
    connect(form_, &Formulare::itemStored, this,
            [this](int kind, int row) { ws_.NotifyRowsChanged(kind, row, row); });
    connect(form_, &Formulare::pageChanged, this, &Sledovani::PageTurned);
    connect(form_, &Formulare::projectChosen, this,
            [this](const QString&) { menus_->FollowProjectChoice(ws_.Current().Row()); });
    connect(links_, &LinkRecorder::showDeadlineRow, form_, &Formulare::ShowDeadlineRow);
}

void Sledovani::ShowSelectionLabel() {
    const CurrentItem& current = ws_.Current();
    info_->setText(
        QStringLiteral("%1/%2/%3").arg(current.Kind()).arg(current.Column()).arg(current.Row()));
}

void Sledovani::ShowStatus(const QString& text, const QColor& colour) {
    status_->setText(text);
    QPalette colours = status_->palette();
    if (colour.isValid()) {
        colours.setColor(QPalette::Window, colour);
        colours.setColor(QPalette::WindowText, Qt::black);
        status_->setPalette(colours);
        status_->setAutoFillBackground(true);
    } else {
        // Back to the window's own colour.
        status_->setPalette(QPalette());
        status_->setAutoFillBackground(false);
    }
    ScheduleStripRedraw();
}

void Sledovani::ScheduleStripRedraw() {
    if (stripPending_) return;
    stripPending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            stripPending_ = false;
            strip_->ShowItem(ws_.Current().Kind(), ws_.Current().Row());
        },
        Qt::QueuedConnection);
}

void Sledovani::ShowEntryWindow() {
    if (!form_) return;
    const int kind = ws_.Current().Kind();
    if (kind == kProjectTable || kind == kDeadlineTable || kind == kFinanceTable)
        form_->SetPage(Formulare::PageOfKind(kind));
    form_->show();
    form_->raise();
    form_->activateWindow();
    ws_.ResetInactivity();
}

void Sledovani::PageTurned(int kind) {
    const std::pair<int, int> pages[] = {{kProjectTable, kFlagProjectTable},
                                         {kDeadlineTable, kFlagDeadlineTable},
                                         {kFinanceTable, kFlagFinanceTable}};
    for (const auto& [table, flag] : pages) checkItems_.value(flag)->setChecked(table == kind);
    LayoutTables();
}

void Sledovani::ToggleTableCommand(int flag) {
    checkItems_.value(flag)->toggle();
    // The three item tables also turn the entry window to their page.
    if (form_) {
        if (flag == kFlagProjectTable) form_->SetPage(Formulare::kProjectPage);
        if (flag == kFlagDeadlineTable) form_->SetPage(Formulare::kDeadlinePage);
        if (flag == kFlagFinanceTable) form_->SetPage(Formulare::kFinancePage);
    }
    LayoutTables();
}

// Grids

QTableView* Sledovani::CreateGrid(Table& table, const QString& name) {
    auto* view = new QTableView(panel_);
    view->setObjectName(name);
    auto* model = new TableModel(ws_, table, view);
    view->setModel(model);
    view->setEditTriggers(model->Editable() ? QAbstractItemView::DoubleClicked |
                                                  QAbstractItemView::EditKeyPressed |
                                                  QAbstractItemView::AnyKeyPressed
                                            : QAbstractItemView::NoEditTriggers);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectItems);
    view->setWordWrap(false);
    view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // The column widths of the tables were chosen for an 8-point font: a date
    // fills a 70-pixel column.
    QFont font = view->font();
    if (font.pointSizeF() > kGridPointSize) font.setPointSizeF(kGridPointSize);
    view->setFont(font);

    // Fixed row heights keep a view of ten thousand rows as quick as one of ten.
    QHeaderView* rows = view->verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(kRowHeight);
    rows->setDefaultSectionSize(kRowHeight);
    const GridLayout& layout = model->Layout();
    rows->setMinimumWidth(layout.ColumnWidth(AnyTable::RowNumber));
    if (model->RowsMovable()) AllowRowMoves(view, model);

    QHeaderView* columns = view->horizontalHeader();
    columns->setMinimumSectionSize(8);  // some columns are only 16 pixels wide
    columns->setHighlightSections(false);
    columns->setFixedHeight(kRowHeight + 2);
    columns->setSectionResizeMode(QHeaderView::Interactive);

    // A reset (a load, a sort) forgets the header's sections: the widths the
    // user gave the columns are kept over it, new sections get the designed width.
    auto widths = std::make_shared<QList<int>>();
    connect(model, &QAbstractItemModel::modelAboutToBeReset, view, [view, widths] {
        QHeaderView* header = view->horizontalHeader();
        widths->clear();
        for (int c = 0; c < header->count(); ++c) widths->append(header->sectionSize(c));
    });
    connect(model, &QAbstractItemModel::modelReset, view,
            [view, &layout, widths] { ApplyColumnWidths(view, layout, *widths); });
    ApplyColumnWidths(view, layout, {});
    return view;
}

void Sledovani::ApplyColumnWidths(QTableView* view, const GridLayout& layout,
                                  const QList<int>& kept) {
    QHeaderView* header = view->horizontalHeader();
    for (int c = 0; c < header->count(); ++c)
        header->resizeSection(c, c < kept.size() ? kept[c] : layout.ColumnWidth(c + 1));
}

void Sledovani::AllowRowMoves(QTableView* view, TableModel* model) {
    QHeaderView* rows = view->verticalHeader();
    rows->setSectionsMovable(true);
    // The header would only show the rows in another order; the table itself
    // must change, so the header's move is taken back and the rows are moved.
    connect(rows, &QHeaderView::sectionMoved, this,
            [view, model, rows](int, int oldVisual, int newVisual) {
                {
                    const QSignalBlocker quiet(rows);
                    rows->moveSection(newVisual, oldVisual);
                }
                const int column = qMax(0, view->currentIndex().column());
                if (model->MoveRow(oldVisual + 1, newVisual + 1))
                    view->setCurrentIndex(model->index(newVisual, column));
            });
}

void Sledovani::WatchSelection(QTableView* view, int kind) {
    connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this, kind](const QModelIndex& current) {
                // The grid returning to its selected cell (after a reset, or
                // because the core revealed it) is no selection by the user.
                const GridSelection& selected = SlotOf(kind)->selection;
                if (TableModel::TableColumn(current) == selected.column &&
                    TableModel::TableRow(current) == selected.row)
                    return;
                CellSelected(kind, current);
            });
    // Rows taken out under the grid's current cell would move it to a
    // neighbour and make that the item; the core decides where the item goes,
    // and the grid follows once the table is announced.
    connect(static_cast<TableModel*>(view->model()), &TableModel::removingRows, view,
            [view] { view->selectionModel()->clearCurrentIndex(); });
    connect(view, &QAbstractItemView::pressed, this,
            [this, kind](const QModelIndex& index) { SelectIfNew(kind, index); });
    menus_->Attach(kind, view);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view, &QWidget::customContextMenuRequested, this,
            [this, kind](const QPoint& position) { ShowPopup(kind, position); });
}

void Sledovani::CellSelected(int kind, const QModelIndex& index) {
    if (!index.isValid()) return;
    const int column = TableModel::TableColumn(index);
    int row = TableModel::TableRow(index);
    if (kind == kProjectTable && row <= 0) row = 1;
    ws_.Current().Select(kind, column, row);
    GridSelection& selected = SlotOf(kind)->selection;
    selected.column = column;
    selected.row = row;
    const QString where = QString::number(kind) + u' ';
    switch (kind) {
        case kProjectTable:
            // Its progress file is loaded, the project page shows it, and it
            // stays the current project whatever the page change resets.
            RunCommand(ws_.Ask(), [&] { OpenProjectRow(ws_, row); });
            if (form_) form_->ShowItem(kProjectTable, row);
            break;
        case kDeadlineTable:
            if (form_) form_->ShowItem(kDeadlineTable, row);
            ws_.AppendCheck(where + QString::number(ws_.Current().Row()) +
                            QStringLiteral(" SG_PrubehSelectCell"));
            break;
        case kFinanceTable:
            if (form_) form_->ShowItem(kFinanceTable, row);
            ws_.AppendCheck(where + QString::number(ws_.Current().Row()) +
                            QStringLiteral(" SG_FinanceSelectCell"));
            break;
        case kResultsTable:
            if (overview_) overview_->SelectResultsRow(row);
            break;
        default:
            break;
    }
    if (foto_ && (kind == kProjectTable || kind == kDeadlineTable || kind == kFinanceTable))
        foto_->ShowItemPicture(kind, row);
    // Loading the project's file may have moved the item; the label and the
    // captions name what is current now.
    ShowSelectionLabel();
    FollowMenuCaptions(kind, column, ws_.Current().Row());
    ws_.ResetInactivity();
}

void Sledovani::SelectIfNew(int kind, const QModelIndex& index) {
    if (!index.isValid()) return;
    if (!ws_.Current().Is(kind, TableModel::TableColumn(index), TableModel::TableRow(index)))
        CellSelected(kind, index);
}

void Sledovani::FollowMenuCaptions(int kind, int column, int row) {
    menus_->FollowSelection(kind, column, row);
    const QString renumber = QStringLiteral("Nově vytvořit čísla ID podle aktuálního pořadí v ");
    if (kind == kDeadlineTable) {
        sortDeadlines_->setText(QStringLiteral("Třídí data prubehu podle sloupce ") +
                                QString::number(column));
        renumber_->setText(renumber + QStringLiteral("ŠEDÉ TABULCE "));
    } else if (kind == kFinanceTable) {
        sortFinance_->setText(QStringLiteral("Třídí data financí (zelená) podle sloupce ") +
                              QString::number(column));
        renumber_->setText(renumber + QStringLiteral("ZELENÉ TABULCE "));
    }
}

void Sledovani::ShowPopup(int kind, const QPoint& position) {
    QTableView* view = Grid(kind);
    const QModelIndex index = view->indexAt(position);
    if (!index.isValid()) return;
    // The clicked cell becomes the current item even when it already was the
    // grid's current cell and another table was clicked since.
    view->setCurrentIndex(index);
    SelectIfNew(kind, index);
    // The menu may have been closed before the selection finished (a question
    // about a missing progress file); it opens only over a grid still shown.
    if (QMenu* popup = menus_->Menu(kind); popup && view->isVisible())
        popup->popup(view->viewport()->mapToGlobal(position));
}

void Sledovani::FollowSelection(int kind, bool toTopRow) {
    const GridSlot* grid = SlotOf(kind);
    if (!grid) return;
    QTableView* view = grid->view;
    const GridSelection& selected = grid->selection;
    const auto* model = static_cast<const TableModel*>(view->model());
    const QModelIndex cell = model->IndexOf(selected.column, selected.row);
    if (!cell.isValid()) return;
    // The grid's selection handler knows its table's own cell and leaves the item as it is.
    view->setCurrentIndex(cell);
    if (!toTopRow) {
        view->scrollTo(cell);
        return;
    }
    const QModelIndex top = model->IndexOf(selected.column, selected.topRow);
    if (top.isValid()) view->scrollTo(top, QAbstractItemView::PositionAtTop);
}

void Sledovani::RevealCell(int kind, int column, int row) {
    GridSlot* grid = SlotOf(kind);
    if (!grid) return;
    // Three rows above it stay in sight.
    grid->selection = {column, row, row < 4 ? 1 : row - 3};
    FollowSelection(kind);
}

void Sledovani::FollowReorderedRows(int kind, const std::function<int(int)>& newRowOf) {
    if (GridSlot* grid = SlotOf(kind)) grid->selection.row = newRowOf(grid->selection.row);
}

QTableView* Sledovani::Grid(int kind) const {
    if (kind == kTemplateTableWithDefaults) kind = kTemplateTable;
    for (const GridSlot& g : grids_)
        if (g.kind == kind) return g.view;
    return nullptr;
}

Sledovani::GridSlot* Sledovani::SlotOf(int kind) {
    if (kind == kTemplateTableWithDefaults) kind = kTemplateTable;
    for (GridSlot& g : grids_)
        if (g.kind == kind && g.view) return &g;
    return nullptr;
}

// Layout

void Sledovani::ApplySettingsFlags() {
    Config& cfg = ws_.config;
    for (auto it = checkItems_.cbegin(); it != checkItems_.cend(); ++it) {
        const int flag = it.key();
        const bool on =
            flag <= cfg.SettingsFlags.size() ? cfg.Flag(flag) : designMarks_.value(flag);
        const QSignalBlocker quiet(it.value());
        it.value()->setChecked(on);
        cfg.SetFlag(flag, on);
    }
    resize(width(), cfg.Flag(kFlagCompactWindow) ? kCompactHeight : kTablesHeight);
    ArrangeBody();
}

void Sledovani::StoreHeightFlag() {
    ws_.config.SetFlag(kFlagCompactWindow, height() < 100);
}

void Sledovani::ShowTablesToggled(bool on) {
    resize(width(), on ? kTablesHeight : kNoTablesHeight);
    StoreHeightFlag();
    LayoutTables();
}

void Sledovani::LayoutTables() {
    ArrangeTables();
    ws_.ResetInactivity();
}

void Sledovani::ArrangeTables() {
    int visible = 0;
    for (const GridSlot& g : grids_) visible += checkItems_.value(g.flag)->isChecked() ? 1 : 0;
    const int panelHeight = panel_->height();
    const int share = qRound(double(panelHeight) / qMax(1, visible));

    int top = 0;
    for (const GridSlot& g : grids_) {
        const bool shown = checkItems_.value(g.flag)->isChecked();
        // A focused view being hidden would hand the focus on by moving its
        // current cell one column on, which selects a new current item.
        if (!shown && g.view->hasFocus()) g.view->clearFocus();
        g.view->setHidden(!shown);
        if (!shown) continue;
        int height = share;
        if (g.kind == kResultsTable) {
            height = qMax(0, panelHeight - top);
        } else if (g.shrinks) {
            const int rowCount = ws_.TableOf(g.kind)->RowCount();
            if (share > (rowCount + 1) * (kRowHeight + 3)) height = (rowCount + 1) * kRowHeight + 8;
        }
        g.view->setGeometry(0, top, panel_->width(), height);
        top += height;
    }
}

void Sledovani::ArrangeBody() {
    const bool shown = timeline_->isChecked();
    const int auxHeight = shown ? qMin(kAuxPanelHeight, body_->height()) : 0;
    aux_->setVisible(shown);
    aux_->setGeometry(0, 0, body_->width(), auxHeight);
    panel_->setGeometry(0, auxHeight, body_->width(), qMax(0, body_->height() - auxHeight));
}

void Sledovani::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    StoreHeightFlag();
}

bool Sledovani::eventFilter(QObject* watched, QEvent* event) {
    if (watched == body_ && event->type() == QEvent::Resize) ArrangeBody();
    if (watched == panel_ && event->type() == QEvent::Resize) ArrangeTables();
    if (watched == info_ && event->type() == QEvent::MouseButtonDblClick)
        RunCommand(ws_.Ask(), [this] { slot_->EnterServiceMode(); });
    return QMainWindow::eventFilter(watched, event);
}

void Sledovani::ShowPermission(ConnectionSlot::State state, const QString& text) {
    permission_->setText(text);
    const QColor colour = state == ConnectionSlot::State::Claimed
                              ? palette().color(QPalette::Button)
                              : QColor(Qt::red);
    QPalette colours = permission_->palette();
    colours.setColor(QPalette::Window, colour);
    permission_->setPalette(colours);
    // The palette alone was never drawn in the tool bar; a style sheet is.
    permission_->setStyleSheet(
        QStringLiteral("QLabel { background-color: %1; }").arg(colour.name()));
}

void Sledovani::SetServiceMenus(bool enabled) {
    files_->menuAction()->setEnabled(enabled);
    service_->menuAction()->setEnabled(enabled);
    reconstruction_->setEnabled(enabled);
}

// Commands

void Sledovani::SortCommand(int kind) {
    if (!CheckPermission(ws_, QString::fromUtf16(kThisOperation), 3)) return;
    const CurrentItem& current = ws_.Current();
    if (current.Kind() != kind || current.Column() <= 0) return;
    if (kind == kDeadlineTable)
        SortDeadlineTable(ws_, current.Column());
    else
        SortFinanceTable(ws_, current.Column());
}

void Sledovani::GridCommand(GridMenus::Command command, int kind) {
    using Command = GridMenus::Command;
    switch (command) {
        case Command::AddRecord:
            AddRecordCommand();
            break;
        case Command::Delete:
            DeleteItemCommand();
            break;
        case Command::Sort:
            RunCommand(ws_.Ask(), [&] { SortCommand(kind); });
            break;
        case Command::SuperiorLink:
            if (ws_.Current().Kind() == kDeadlineTable)
                links_->RecordSuperiorLink(ws_.Current().Row());
            break;
        case Command::PredecessorLink:
            if (ws_.Current().Kind() == kDeadlineTable)
                links_->RecordPredecessorLink(ws_.Current().Row());
            break;
        case Command::FinishLinking:
            links_->FinishLinking();
            break;
        case Command::OverviewOne:
            RunCommand(ws_.Ask(), [this] { OverviewCommand(OverviewSet::One); });
            break;
        case Command::OverviewGroup:
            RunCommand(ws_.Ask(), [this] { OverviewCommand(OverviewSet::Group); });
            break;
        case Command::OverviewAll:
            RunCommand(ws_.Ask(), [this] { OverviewCommand(OverviewSet::All); });
            break;
        case Command::OverviewWindow:
            if (overview_) overview_->ShowWindow();
            break;
        case Command::SaveResults:
            RunCommand(ws_.Ask(), [this] { SaveResultsFile(ws_); });
            break;
        case Command::SortResults:
            SortResultRows(ws_.Results, 2, ws_.Results.RowCount() - 1);
            ws_.NotifyTable(kResultsTable);
            break;
        case Command::Search:
            OpenSearch();
            break;
    }
    ws_.ResetInactivity();
}

void Sledovani::OverviewCommand(OverviewSet set) {
    // The overview window follows the choice and the computation runs once.
    SetOverviewSet(ws_, set);
    ComputeFinanceOverview(ws_);
}

void Sledovani::PrintResultsCommand() {
    if (!CheckPermission(ws_, QString::fromUtf16(kThisOperation), 3)) return;
    const int last = ws_.Projects.RowCount() - 1;
    if (last < 1) return;
    // Each project's overview makes it the current project and loads its file.
    for (int r = 1; r <= last; ++r) {
        ws_.Current().SetProjectRow(r);
        ComputeFinanceOverview(ws_);
    }
    ComposeFinanceReport(ws_, last);
}

void Sledovani::ShowOverviewWindow() {
    if (!overview_) return;
    overview_->ShowWindow();
    resize(width(), int(std::lround(screen()->geometry().height() / 2.3)));
    if (QAction* results = checkItems_.value(kFlagResultsTable)) results->setChecked(true);
    LayoutTables();
    ws_.ResetInactivity();
}

void Sledovani::AddRecordCommand() {
    AddRecordResult added;
    const CurrentItem& current = ws_.Current();
    RunCommand(ws_.Ask(), [&] { added = AddRecord(ws_, current.Kind(), current.Row()); });
    if (!added.error.isEmpty()) ws_.Ask().Error(added.error);
    if (!added.Added()) return;
    // The entry window followed the new current item by itself.
    ShowSelectionLabel();
    FollowMenuCaptions(current.Kind(), current.Column(), current.Row());
}

void Sledovani::DeleteItemCommand() {
    if (form_) {
        form_->DeleteCommand();
        return;
    }
    // Without the entry window the row is deleted all the same, for the
    // project whose items the tables hold.
    RunCommand(ws_.Ask(), [this] {
        EditContext ctx;
        ctx.now = ws_.StartMoment > 0 ? ws_.StartMoment : NowDay();
        ctx.projectNumber = ws_.CurrentProjectNumber();
        DeleteItem(ws_, ctx);
    });
    ws_.ResetInactivity();
}

void Sledovani::PropagateLinksCommand() {
    PropagateLinkDates(ws_);
    // The entry window shows the dates the links moved.
    if (form_ && ws_.Current().Kind() == kDeadlineTable)
        form_->ShowDeadlineRow(ws_.Current().Row());
}

void Sledovani::RemoveLinksCommand() {
    // Every link of the project is gone at once: asked like any other change.
    if (!CheckPermission(ws_, QString::fromUtf16(kThisOperation), 3)) return;
    RemoveAllLinks(ws_);
    if (form_ && ws_.Current().Kind() == kDeadlineTable)
        form_->ShowDeadlineRow(ws_.Current().Row());
}

void Sledovani::SaveAllProgressCommand() {
    const QStringList kept = SaveAllProgress(ws_);
    if (kept.isEmpty()) return;
    ws_.Ask().Inform(
        QStringLiteral("Tyto soubory průběhů zůstaly beze změny, tabulky neobsahují jejich "
                       "řádky:\r\n\r\n") +
        kept.join(QStringLiteral("\r\n")));
}

void Sledovani::ChooseFileLocations() {
    Config& c = ws_.config;
    struct Location {
        QString title;
        QString Config::*folder;  // where the dialog starts
        QString mask;
        QString Config::*setsFolder;
        QString Config::*setsFile;
    };
    const Location locations[] = {
        {QStringLiteral("Otevření Akcí"), &Config::Cesta, QStringLiteral("*Akce*.csv"),
         &Config::Cesta, &Config::SouborAkce},
        {QStringLiteral("Otevření úkonů"), &Config::Cesta, QStringLiteral("Ukon*.csv"), nullptr,
         &Config::SouborUkony},
        {QStringLiteral("Otevření Osob"), &Config::Cesta, QStringLiteral("*Lid*.csv"), nullptr,
         &Config::SouborLidi},
        {QStringLiteral("Umístění poznámek"), &Config::CestaTXT, QStringLiteral("*.TXT"),
         &Config::CestaTXT, &Config::SouborPoznamky},
        {QStringLiteral("Umístění změn"), &Config::CestaZmeny, QStringLiteral("Zm*.csv"),
         &Config::CestaZmeny, nullptr},
        {QStringLiteral("Umístění denníku"), &Config::CestaDennik, QStringLiteral("*.ITI"),
         &Config::CestaDennik, nullptr},
        {QStringLiteral("Umístění Foto"), &Config::CestaFoto, QStringLiteral("*.jpg"),
         &Config::CestaFoto, nullptr},
    };
    for (const Location& l : locations) {
        const QString chosen = ws_.Ask().ChooseOpenFile(
            {l.title, c.PathIn(c.*l.folder, QString()), l.mask, kFilterCsv});
        if (chosen.isEmpty()) continue;
        const QFileInfo file(chosen);
        if (l.setsFolder) c.*l.setsFolder = c.RelativeFolder(file.absolutePath());
        if (l.setsFile) c.*l.setsFile = file.fileName();
    }
}

// Start and close

bool Sledovani::StartUp() {
    ws_.ResetInactivity();
    // The gauge and the minutes caption need nothing from the configuration;
    // they are set before the loading, which may take a while.
    ws_.NotifyGauge(0, 100);
    printMinutes_->setText(QStringLiteral("Tisk zápisu ze dne ") + FormatShortDate(Clock::Today()));

    StartUpResult started;
    RunCommand(ws_.Ask(), [&] { started = LoadAtStartUp(ws_, true); });
    if (started.quit) return false;
    ApplySettingsFlags();

    RunCommand(ws_.Ask(), [this] { slot_->ClaimSlotAtStartUp(); });
    ws_.ChangeFlags = QStringLiteral("0000000");
    LayoutTables();
    // The about window shows as a splash screen until the timer closes it.
    splash_->start();
    Settings();
    return true;
}

bool Sledovani::CloseSequence(bool interactive) {
    if (closed_) return true;
    if (ws_.MayWrite()) {
        StoreHeightFlag();
        const bool saved = RunCommand(ws_.Ask(), [this] { SaveMarkedTables(ws_); });
        // Ending without the changes must be the user's choice.
        if (!saved && interactive && !ws_.Ask().AskYesNo(kCloseUnsaved)) return false;
    }
    // Stops the slot's timers; frees the slot and writes the configuration only
    // for a user who may write.
    slot_->ReleaseAtClose();
    splash_->stop();
    if (settings_) settings_->close();
    if (form_) form_->hide();
    if (foto_) foto_->hide();
    closed_ = true;
    return true;
}

void Sledovani::closeEvent(QCloseEvent* event) {
    if (!CloseSequence(true)) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

// Reconstruction, search and the about window

void Sledovani::CreateToolWindows() {
    navrat_ = new Navrat(ws_, this);
    connect(navrat_, &Navrat::tablesWanted, this, &Sledovani::ShowReconstructionTables);
    hledani_ = new Hledani(ws_, this);
    connect(hledani_, &Hledani::hitChosen, this, &Sledovani::SelectHit);
    about_ = new Info(this);
    connect(about_, &Info::panelClicked, this,
            [this] { service_->menuAction()->setEnabled(!service_->menuAction()->isEnabled()); });
    connect(about_, &Info::serviceGesture, this,
            [this] { RunCommand(ws_.Ask(), [this] { slot_->EnterServiceMode(); }); });
    const QString saving = QStringLiteral("Ukládám ");
    connect(&ws_, &Workspace::savingNotes, about_,
            [this, saving](const QString& name) { about_->ShowBanner(saving + name); });
    connect(&ws_, &Workspace::savingDayRecord, about_,
            [this, saving](const QString& name) { about_->ShowBanner(saving + name); });
    connect(splash_, &QTimer::timeout, about_, &QWidget::close);
    // The first showing of the program: the about window is the splash screen
    // until the timer closes it.
    if (splash_->isActive()) about_->ShowAbout();
}

void Sledovani::ShowReconstructionTables(bool projectTable) {
    const std::pair<int, bool> shown[] = {
        {kFlagProjectTable, projectTable}, {kFlagDeadlineTable, true},  {kFlagFinanceTable, true},
        {kFlagResultsTable, false},        {kFlagTemplateTable, false},
    };
    for (const auto& [flag, on] : shown)
        if (QAction* item = checkItems_.value(flag)) item->setChecked(on);
    resize(width(), 650);
    LayoutTables();
}

void Sledovani::OpenReconstruction() {
    if (!navrat_ || !CheckPermission(ws_, QStringLiteral(" tuto "), 3)) return;
    navrat_->show();
    navrat_->raise();
    navrat_->activateWindow();
}

void Sledovani::RestoreCommand() {
    if (!CheckPermission(ws_, QStringLiteral(" obnovovací "), 5)) return;
    ShowReconstructionTables(true);
    const bool projects = navrat_ ? navrat_->RebuildProjects() : true;
    for (const QString& line : RestoreFromBackup(ws_, projects)) ws_.AppendCheck(line);
    ws_.NotifyTable(kProjectTable);
}

void Sledovani::OpenSearch() {
    if (!hledani_) return;
    hledani_->show();
    hledani_->raise();
    hledani_->activateWindow();
}

void Sledovani::SelectHit(int kind, int row) {
    QTableView* view = Grid(kind);
    if (!view) return;
    const auto* model = static_cast<const TableModel*>(view->model());
    const QModelIndex cell = model->IndexOf(ws_.Current().Column(), row);
    if (!cell.isValid()) return;
    view->setCurrentIndex(cell);
    view->scrollTo(cell);
    ws_.ResetInactivity();
}

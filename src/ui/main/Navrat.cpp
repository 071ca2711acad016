#include "Navrat.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "Clock.h"
#include "ErrorHandler.h"
#include "Workspace.h"
#include "data/Dates.h"
#include "shell/Reconstruction.h"

namespace {

QPushButton* Button(const QString& name, const QString& caption) {
    auto* b = new QPushButton(caption);
    b->setObjectName(name);
    return b;
}

QCheckBox* Check(const QString& name, const QString& caption, bool on) {
    auto* c = new QCheckBox(caption);
    c->setObjectName(name);
    c->setChecked(on);
    return c;
}

}  // namespace

Navrat::Navrat(Workspace& ws, QWidget* parent) : QWidget(parent, Qt::Tool), ws_(ws) {
    setObjectName(QStringLiteral("Navrat"));
    setWindowTitle(QStringLiteral("Zpětná rekonstrukce dat"));
    core_ = new Reconstruction(ws_, this);

    project_ = new QComboBox;
    project_->setObjectName(QStringLiteral("ComboBox1"));
    project_->setEditable(true);
    project_->setMinimumWidth(260);
    project_->addItems(ws_.Picks.projects);
    day_ = new QDateEdit(Clock::Today());
    day_->setObjectName(QStringLiteral("DateTimePicker1"));
    day_->setCalendarPopup(true);
    day_->setDisplayFormat(QStringLiteral("d.M.yyyy"));
    day_->setMinimumDate(QDate(1900, 1, 2));
    day_->setToolTip(
        QStringLiteral("Datum - Hodnota 2.1.1900 je nejnižší možná a v tabulkách se nezobrazuje."));

    stepping_ = Check(QStringLiteral("CheckBox1"), QStringLiteral("Krokování"), true);
    projects_ = Check(QStringLiteral("CheckBox3"),
                      QStringLiteral("Obnova základní tabulky  - Žluté"), true);
    progress_ = Check(QStringLiteral("CheckBox2"),
                      QStringLiteral("Obnovit zvolené tabulky projektu - Šedivou a Zelenou"), true);
    autoSave_ =
        Check(QStringLiteral("CheckBox4"), QStringLiteral("Ukládat výsledek automaticky"), false);

    start_ = Button(QStringLiteral("Button2"), QStringLiteral("Start"));
    continue_ = Button(QStringLiteral("Button1"), QStringLiteral("Pokračuj"));
    continue_->setEnabled(false);
    saveProgress_ = Button(QStringLiteral("BitBtn1"), QStringLiteral("Uložit Zelemnou a Šedou"));
    saveProjects_ = Button(QStringLiteral("BitBtn2"), QStringLiteral("Uložit Žlutou"));
    cancel_ = Button(QStringLiteral("Button3"), QStringLiteral("Storno"));

    listing_ = new QPlainTextEdit;
    listing_->setObjectName(QStringLiteral("Memo1"));
    listing_->setReadOnly(true);
    listing_->setLineWrapMode(QPlainTextEdit::NoWrap);

    auto* form = new QGridLayout;
    form->addWidget(new QLabel(QStringLiteral("Výběr projektu")), 0, 0);
    form->addWidget(project_, 0, 1);
    form->addWidget(new QLabel(QStringLiteral("Datum návratu")), 1, 0);
    form->addWidget(day_, 1, 1, Qt::AlignLeft);
    form->setColumnStretch(1, 1);
    auto* checks = new QVBoxLayout;
    for (QCheckBox* c : {stepping_, projects_, progress_, autoSave_}) checks->addWidget(c);
    auto* steps = new QHBoxLayout;
    for (QPushButton* b : {start_, continue_, saveProjects_, saveProgress_}) steps->addWidget(b);
    steps->addStretch(1);
    steps->addWidget(cancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(checks);
    layout->addLayout(steps);
    layout->addWidget(listing_, 1);
    resize(560, 420);

    connect(start_, &QPushButton::clicked, this, &Navrat::StartCommand);
    connect(continue_, &QPushButton::clicked, this, &Navrat::ContinueCommand);
    connect(cancel_, &QPushButton::clicked, this, &Navrat::CancelCommand);
    connect(saveProgress_, &QPushButton::clicked, this, [this] {
        ws_.SetChanged(kChangedDeadlines, true);
        ws_.SetChanged(kChangedFinance, true);
    });
    connect(saveProjects_, &QPushButton::clicked, this,
            [this] { ws_.SetChanged(kChangedProjects, true); });
    connect(autoSave_, &QCheckBox::toggled, this, &Navrat::SyncSaveButtons);
    connect(core_, &Reconstruction::lineListed, listing_, &QPlainTextEdit::appendPlainText);
    connect(&ws_, &Workspace::pickListsChanged, this, [this] {
        // Until "Start" the chooser offers the projects of the live table.
        if (start_->isEnabled()) {
            const QString text = project_->currentText();
            project_->clear();
            project_->addItems(ws_.Picks.projects);
            project_->setCurrentText(text);
        }
    });
    SyncSaveButtons();
}

bool Navrat::RebuildProjects() const {
    return projects_->isChecked();
}

void Navrat::SyncSaveButtons() {
    saveProgress_->setEnabled(!autoSave_->isChecked());
    saveProjects_->setEnabled(!autoSave_->isChecked());
}

void Navrat::TakeOptions() {
    Reconstruction& r = *core_;
    r.stepping = stepping_->isChecked();
    r.rebuildProjects = projects_->isChecked();
    r.rebuildProgress = progress_->isChecked();
    r.autoSave = autoSave_->isChecked();
    r.day = DayFromDate(day_->date());
    r.projectItem = project_->currentText();
}

void Navrat::StartCommand() {
    ws_.ResetInactivity();
    TakeOptions();
    emit tablesWanted(true);
    bool started = false;
    RunCommand(ws_.Ask(), [&] { started = core_->ReconstructProjectTable(); });
    if (!started) return;
    start_->setEnabled(false);
    continue_->setEnabled(true);
    project_->clear();
    project_->addItems(core_->ProjectItems());
    project_->setCurrentText(core_->projectItem);
}

void Navrat::ContinueCommand() {
    ws_.ResetInactivity();
    TakeOptions();
    listing_->clear();
    emit tablesWanted(false);
    RunCommand(ws_.Ask(), [&] { core_->ReconstructProjectProgress(); });
}

void Navrat::CancelCommand() {
    start_->setEnabled(true);
    continue_->setEnabled(false);
    close();
}

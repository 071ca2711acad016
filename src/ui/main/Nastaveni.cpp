#include "Nastaveni.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>

#include "Clock.h"
#include "ErrorHandler.h"
#include "Prompter.h"
#include "Workspace.h"
#include "data/Cells.h"
#include "data/Dates.h"
#include "data/TextFile.h"
#include "shell/Access.h"
#include "shell/ChangeLog.h"
#include "shell/Slot.h"

namespace {

const QString kStars = QString::fromUtf16(Nastaveni::kNoPassword);
const QString kSendCaption = QStringLiteral("Send");
constexpr int kSendCaptionLimit = 15;
constexpr int kSouborPopisLimit = 60;

const QString kToleranceHint = QStringLiteral(
    "Hodnota je kladná potom je tolerováno takové zpoždění, pokuj je záporná je chyba hlášena "
    "dříve. ");

QLabel* Caption(const QString& text, const QString& hint = QString()) {
    auto* label = new QLabel(text);
    label->setTextFormat(Qt::PlainText);
    if (!hint.isEmpty()) label->setToolTip(hint);
    return label;
}

QLineEdit* TextField(const QString& name, const QString& hint = QString()) {
    auto* field = new QLineEdit;
    field->setObjectName(name);
    if (!hint.isEmpty()) field->setToolTip(hint);
    return field;
}

QSpinBox* NumberField(const QString& name, int minimum, int maximum, int step,
                      const QString& hint = QString()) {
    auto* field = new QSpinBox;
    field->setObjectName(name);
    field->setMinimumWidth(90);
    field->setRange(minimum, maximum);
    field->setSingleStep(step);
    if (!hint.isEmpty()) field->setToolTip(hint);
    return field;
}

QLabel* ResultLabel(const QString& name, const QString& text = QString()) {
    QLabel* label = Caption(text);
    label->setObjectName(name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

// The "%18.6n" form: six decimals, decimal comma, code 160 between
// thousands, right-aligned in 18 characters.
QString FormatNumber6(double value) {
    if (!std::isfinite(value)) value = 0.0;
    const QString digits = QString::number(std::fabs(value), 'f', 6);
    const qsizetype point = digits.indexOf(u'.');
    const QString whole = digits.left(point);
    QString out;
    for (qsizetype i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0) out.append(QChar(0x00A0));
        out.append(whole[i]);
    }
    out += u',' + digits.mid(point + 1);
    if (value < 0 && std::round(-value * 1e6) != 0) out.prepend(u'-');
    return out.rightJustified(18, u' ');
}

void SetRed(QLabel* label, bool red) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, red ? Qt::red : Qt::black);
    label->setPalette(palette);
}

}  // namespace

Nastaveni::Nastaveni(Workspace& ws, ConnectionSlot& slot, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint), ws_(ws), slot_(slot) {
    setObjectName(QStringLiteral("Nastaveni"));
    setWindowTitle(QStringLiteral("Nastavení"));

    pages_ = new QTabWidget;
    pages_->setObjectName(QStringLiteral("PageControl1"));
    pages_->addTab(CreateFilesPage(), QStringLiteral("Nastavení souborů"));
    pages_->addTab(CreateParametersPage(), QStringLiteral("Nastavení parametrů"));
    pages_->addTab(CreateAccessPage(), QStringLiteral("Oprávnění"));
    QWidget* tests = CreateTestsPage();
    pages_->addTab(tests, QStringLiteral("Testy"));
    pages_->addTab(CreateOutputPage(), QStringLiteral("Výstupní  [Memo]"));

    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(QStringLiteral("OK"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Storno"));
    cancel->setObjectName(QStringLiteral("Storno"));
    connect(ok, &QPushButton::clicked, this, &Nastaveni::OkCommand);
    connect(cancel, &QPushButton::clicked, this, &Nastaveni::close);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_);
    layout->addLayout(buttons);

    monitor_ = new QTimer(this);
    monitor_->setObjectName(QStringLiteral("MonitorTimer"));
    monitor_->setInterval(kMonitorIntervalMs);
    connect(monitor_, &QTimer::timeout, this, &Nastaveni::MonitorTick);
    // Choosing the page of the tests starts the monitor.
    connect(pages_, &QTabWidget::currentChanged, this, [this, tests](int index) {
        if (pages_->widget(index) == tests) send_->setChecked(true);
    });

    connect(&ws_, &Workspace::checkLineAdded, checkListing_, &QPlainTextEdit::appendPlainText);
    connect(&slot_, &ConnectionSlot::serviceMenusChanged, this, &Nastaveni::SetTestGroupsEnabled);
    connect(
        &slot_, &ConnectionSlot::stateChanged, permissionLabel_,
        [this](ConnectionSlot::State, const QString& text) { permissionLabel_->setText(text); });
    SetTestGroupsEnabled(ws_.Access.ServiceMenus);
}

QWidget* Nastaveni::CreateFilesPage() {
    auto* group = new QGroupBox(QStringLiteral("ORVA - Akce_Sledovani.INI"));
    auto* grid = new QGridLayout(group);
    const std::pair<QLineEdit**, std::pair<const char*, QString>> rows[] = {
        {&baseDir_, {"BaseDir", QStringLiteral("Cesta základního umístění  INI/EXE")}},
        {&cestaZmeny_, {"CestaZmeny", QStringLiteral("Cesta pro změny")}},
        {&cesta_, {"Cesta", QStringLiteral("Cesta ( umístění dat CSV na disku )")}},
        {&cestaTxt_, {"CestaTXT", QStringLiteral("Cesta TXT ( umístění výstupních TXT souborů )")}},
        {&cestaDennik_,
         {"CestaDennik", QStringLiteral("Cesta Denník ( umístění denních dat  ITI )")}},
        {&cestaFoto_,
         {"CestaFoto", QStringLiteral("Cesta Foto ( umístění garfických dat  jpg/bmp )")}},
        {&souborPopis_,
         {"Soubor_Popis_CSV", QStringLiteral("Soubor_Průběh_CSV (název souboru obsahujicího  "
                                             "základní data o termínech)")}},
        {&souborAkce_,
         {"Soubor_Akce_CSV", QStringLiteral("Soubor_Popis_Akcí_CSV (název souboru obsahujicího  "
                                            "základní data o akcích)")}},
        {&souborUkony_,
         {"Soubor_Ukony_CSV",
          QStringLiteral("Soubor_Úkonů_CSV (název souboru obsahujicího  sledované úkony)")}},
        {&souborPoznamky_,
         {"Soubor_Poznamky_TXT",
          QStringLiteral("Soubor Poznámek (poznámky o akcích mimo hlavní sledování)")}},
        {&souborVysledky_,
         {"Soubor_Vysledky_CSV",
          QStringLiteral("Soubor_Výsledky_TXT (název souboru obsahujicího výsledky)")}},
        {&souborLidi_,
         {"Soubor_Lidi_csv",
          QStringLiteral("Soubor_Osob_CSV (název souboru obsahujicího seznam osob)")}},
    };
    int row = 0;
    for (const auto& [field, labelled] : rows) {
        *field = TextField(QString::fromLatin1(labelled.first));
        QLabel* label = Caption(labelled.second);
        label->setBuddy(*field);
        grid->addWidget(label, row, 0);
        grid->addWidget(*field, row, 1);
        ++row;
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnMinimumWidth(1, 320);
    souborPopis_->setMaxLength(kSouborPopisLimit);

    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(group);
    layout->addStretch();
    return page;
}

QWidget* Nastaveni::CreateParametersPage() {
    auto* group = new QGroupBox(QStringLiteral("Zobrazení"));
    auto* grid = new QGridLayout(group);
    int row = 0;

    test_ = TextField(QStringLiteral("TEST"));
    popis_ = TextField(QStringLiteral("Popis"));
    firma_ = TextField(QStringLiteral("Firma"));
    auto* headings = new QHBoxLayout;
    headings->addWidget(test_);
    headings->addWidget(popis_);
    headings->addWidget(firma_);
    grid->addWidget(Caption(QStringLiteral("Popis konkrétních dat")), row, 0);
    grid->addLayout(headings, row++, 1, 1, 4);

    sirkaSloupce_ = NumberField(QStringLiteral("SirkaSloupce"), 24, 136, 4);
    grid->addWidget(Caption(QStringLiteral("Šířka sloupce  (68  = základní nastavení )")), row, 0);
    grid->addWidget(sirkaSloupce_, row++, 1, Qt::AlignLeft);
    vyskaRadku_ = NumberField(QStringLiteral("VyskaRadku"), 16, 120, 4);
    grid->addWidget(Caption(QStringLiteral("Výška řádku    (70  = základní nastavení )")), row, 0);
    grid->addWidget(vyskaRadku_, row++, 1, Qt::AlignLeft);

    uchylkaFinance_ = NumberField(QStringLiteral("UchylkaFinance"), -100, 100, 1, kToleranceHint);
    uchylkaTerminy_ = NumberField(QStringLiteral("UchylkaTerminy"), -100, 100, 1, kToleranceHint);
    auto* tolerances = new QGridLayout;
    tolerances->addWidget(
        Caption(QStringLiteral("Finance"), QStringLiteral("Hodnota posunu pro faktury.")), 0, 0);
    tolerances->addWidget(
        Caption(QStringLiteral("Termíny"), QStringLiteral("Hodnota posunu pro termíny.")), 0, 1);
    tolerances->addWidget(uchylkaFinance_, 1, 0);
    tolerances->addWidget(uchylkaTerminy_, 1, 1);
    tolerances->setColumnStretch(2, 1);
    grid->addWidget(Caption(QStringLiteral("Úchylka pro chybu dny")), row, 0, Qt::AlignBottom);
    grid->addLayout(tolerances, row++, 1, 1, 4);

    datumZapisu_ = new QDateEdit(Clock::Today());
    datumZapisu_->setObjectName(QStringLiteral("DatumZapisu"));
    datumZapisu_->setDisplayFormat(QStringLiteral("d.M.yyyy"));
    datumZapisu_->setCalendarPopup(true);
    datumZapisu_->setMinimumWidth(110);
    grid->addWidget(Caption(QStringLiteral("Datum pro ZÁPISU")), row, 0);
    grid->addWidget(datumZapisu_, row++, 1, Qt::AlignLeft);

    const QString popisHint = QStringLiteral("Hodnota se objevuje jako popisný text.");
    popisDph_ = TextField(QStringLiteral("PopisDPH"), popisHint);
    grid->addWidget(Caption(QStringLiteral("Text pro určení DPH - Popisuje zda je v částkách DPH "
                                           "(nepoužívá se pro výpočet)"),
                            popisHint),
                    row++, 0, 1, 5);
    grid->addWidget(popisDph_, row++, 0, 1, 3);

    const QString vyseHint = QStringLiteral(
        "Format v nadpisu je nutné dodežet pro stejnou sazbu se zadají dvě stejné hodnoty, pro "
        "sumy včetně DPH se použije znamémko mínus -  Př.[DPH-20%/-10%]  ");
    vyseDph_ = TextField(QStringLiteral("VyseDPH"), vyseHint);
    grid->addWidget(Caption(QStringLiteral("Hodnoty pro vypocet  DPH - Př. [DPH+19%/+9%]  = "
                                           "Hodnoty bez DPH  19 a 9 %"),
                            vyseHint),
                    row++, 0, 1, 5);
    grid->addWidget(vyseDph_, row++, 0, 1, 3);

    flags_ = TextField(QStringLiteral("SettingsFlags"));
    flags_->setReadOnly(true);
    // Wide enough for the whole text of 30 positions.
    flags_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    flags_->setMinimumWidth(flags_->fontMetrics().horizontalAdvance(QString(34, u'0')));
    grid->addWidget(Caption(QStringLiteral("Nastavení ( popisuje zobrazení programu )")), row, 0);
    grid->addWidget(flags_, row++, 1, 1, 4);

    datumUlozeni_ = ResultLabel(QStringLiteral("DatumUlozeni"));
    grid->addWidget(Caption(QStringLiteral("Datum posledního uložení ")), row, 0);
    grid->addWidget(datumUlozeni_, row++, 1);

    dobaNecinnosti_ = NumberField(QStringLiteral("DobaNecinnosti"), -100, 100, 1, kToleranceHint);
    grid->addWidget(Caption(QStringLiteral("Doba odpojení při nečinosti. [min]")), row, 0);
    grid->addWidget(dobaNecinnosti_, row++, 1, Qt::AlignLeft);
    grid->setColumnStretch(4, 1);

    // Stored at once: other windows read them while this one is open.
    connect(popisDph_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!filling_) ws_.config.PopisDPH = text;
    });
    connect(vyseDph_, &QLineEdit::textChanged, this, [this] {
        if (!filling_) ws_.config.PopisDPH = popisDph_->text();
    });
    connect(dobaNecinnosti_, &QSpinBox::valueChanged, this, [this](int minutes) {
        if (!filling_) ws_.config.DobaNecinnosti = minutes;
    });

    auto* options = new QVBoxLayout;
    const std::pair<int, QString> boxes[] = {
        {kFlagWarnBeforeChange, QStringLiteral("Kontrolní upozornění před změnou dat")},
        {kFlagFollowLinks,
         QStringLiteral("Zapnutá průběžná úprava datumů podle závislostí mezi jednotlivými "
                        "úkony.")},
        {kFlagSortByIdForGantt, QStringLiteral("Průběžné třídění podle ID pro Gantt ")},
        {kFlagSyncStages,
         QStringLiteral("Synchronizuje zápis Etapy v termínech financích a ganttu")},
    };
    for (const auto& [position, text] : boxes) {
        auto* box = new QCheckBox(text);
        box->setObjectName(QStringLiteral("CheckBox%1").arg(flagBoxes_.size() + 1));
        // Only a click stores: filling the box on activation must not.
        connect(box, &QCheckBox::clicked, this,
                [this, position](bool on) { StoreFlag(position, on); });
        options->addWidget(box);
        flagBoxes_.append({box, position});
    }
    flagBoxes_.last().box->setToolTip(
        QStringLiteral("Označuje za bude po zadání etapy automaticky generováno zadání etapy v "
                       "termínové šedé tabulce."));

    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(group);
    layout->addLayout(options);
    layout->addStretch();
    return page;
}

QWidget* Nastaveni::CreateAccessPage() {
    auto* group = new QGroupBox(QStringLiteral("Zabezpečení"));
    auto* grid = new QGridLayout(group);
    int row = 0;

    permissionLabel_ = ResultLabel(QStringLiteral("PermissionLabel"));
    grid->addWidget(permissionLabel_, row++, 0, 1, 2);

    userName_ = TextField(QStringLiteral("UserName"), QStringLiteral("Jméno uživatele"));
    password_ = TextField(QStringLiteral("Password"), QStringLiteral("Heslo uživatele"));
    permission_ =
        TextField(QStringLiteral("Permission"), QStringLiteral("Přístupové oprávnění 0-5"));
    newAdminPassword_ = TextField(
        QStringLiteral("NewAdminPassword"),
        QStringLiteral("Heslo pro změnu přístupového hesla  a oprávnění - Administrátor"));
    adminPassword_ = TextField(QStringLiteral("AdminPassword"),
                               QStringLiteral("Heslo pro změnu administrátora"));
    newAdminLabel_ = Caption(QStringLiteral("Heslo Administrátora pro přístupové změny"));
    newAdminLabel_->setObjectName(QStringLiteral("LabelNewAdminPassword"));
    adminLabel_ = Caption(QStringLiteral("Heslo pro změnu Administrátora"));
    adminLabel_->setObjectName(QStringLiteral("LabelAdminPassword"));
    newAdminLabel_->installEventFilter(this);
    adminLabel_->installEventFilter(this);

    const std::pair<QLabel*, QLineEdit*> rows[] = {
        {Caption(QStringLiteral("Jméno")), userName_},
        {Caption(QStringLiteral("Přístupové heslo")), password_},
        {Caption(QStringLiteral("Oprávnění")), permission_},
        {newAdminLabel_, newAdminPassword_},
        {adminLabel_, adminPassword_},
    };
    for (const auto& [label, field] : rows) {
        label->setBuddy(field);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row++, 1);
    }
    grid->setColumnStretch(1, 1);

    auto* change = new QPushButton(QStringLiteral("Změnit"));
    change->setObjectName(QStringLiteral("Zmenit"));
    connect(change, &QPushButton::clicked, this, &Nastaveni::ZmenitCommand);
    grid->addWidget(change, row++, 1, Qt::AlignLeft);

    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(group);
    layout->addStretch();
    // Enter after typing a password means "Změnit" here, not "OK".
    connect(pages_, &QTabWidget::currentChanged, change, [this, change, page] {
        if (pages_->currentWidget() == page)
            change->setDefault(true);
        else if (auto* ok = findChild<QPushButton*>(QStringLiteral("OK")))
            ok->setDefault(true);
    });
    return page;
}

QWidget* Nastaveni::CreateTestsPage() {
    numberGroup_ = new QGroupBox(QStringLiteral("Informační výstupy"));
    numberGroup_->setObjectName(QStringLiteral("GroupBoxTests"));
    auto* grid = new QGridLayout(numberGroup_);
    int row = 0;

    testNumber_ = TextField(QStringLiteral("TestNumber"));
    testNumber_->setText(QStringLiteral("123,4"));
    auto* numberButton = new QPushButton(QStringLiteral("Test na číslo"));
    numberButton->setObjectName(QStringLiteral("TestNaCislo"));
    connect(numberButton, &QPushButton::clicked, this, &Nastaveni::TestNumberCommand);
    numberResult_ = ResultLabel(QStringLiteral("NumberResult"));
    testedText_ = ResultLabel(QStringLiteral("TestedText"), QStringLiteral("Testovaný řetězec "));
    firstChar_ = ResultLabel(QStringLiteral("FirstChar"), QStringLiteral("1. Znak řetězce "));
    charCode_ = ResultLabel(QStringLiteral("CharCode"), QStringLiteral("Čislo znaku "));
    grid->addWidget(testNumber_, row, 0);
    grid->addWidget(numberButton, row, 1);
    grid->addWidget(numberResult_, row++, 2);
    grid->addWidget(testedText_, row, 0);
    grid->addWidget(firstChar_, row, 1);
    grid->addWidget(charCode_, row++, 2);

    testDate_ = TextField(QStringLiteral("TestDate"));
    testDate_->setText(QStringLiteral("2.1.1900"));
    auto* dateButton = new QPushButton(QStringLiteral("Test datum"));
    dateButton->setObjectName(QStringLiteral("TestDatum"));
    connect(dateButton, &QPushButton::clicked, this, &Nastaveni::TestDateCommand);
    dayNumber_ = ResultLabel(QStringLiteral("DayNumber"));
    dateResult_ = ResultLabel(QStringLiteral("DateResult"));
    grid->addWidget(Caption(QStringLiteral("Testuje převod řetězce na datum ")), row++, 0, 1, 3);
    grid->addWidget(testDate_, row, 0);
    grid->addWidget(dateButton, row++, 1);
    grid->addWidget(Caption(QStringLiteral("Výsledek převodu")), row, 0);
    grid->addWidget(dayNumber_, row, 1);
    grid->addWidget(dateResult_, row++, 2);
    grid->setColumnStretch(2, 1);
    // The amount and the day number are right-aligned in 18 characters.
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    numberResult_->setFont(fixed);
    dayNumber_->setFont(fixed);

    monitorGroup_ = new QGroupBox(QStringLiteral("Informační výstupy"));
    monitorGroup_->setObjectName(QStringLiteral("GroupBoxMonitor"));
    auto* timers = new QGridLayout(monitorGroup_);
    inactivityValue_ = ResultLabel(QStringLiteral("InactivityValue"));
    pollValue_ = ResultLabel(QStringLiteral("PollValue"));
    send_ = new QCheckBox(kSendCaption);
    send_->setObjectName(QStringLiteral("Send"));
    connect(send_, &QCheckBox::toggled, this, &Nastaveni::StartMonitor);
    timers->addWidget(Caption(QStringLiteral("Časovač 3 - Odpojení")), 0, 0);
    timers->addWidget(inactivityValue_, 0, 1);
    timers->addWidget(Caption(QStringLiteral("Časovač 2 - Připojení")), 1, 0);
    timers->addWidget(pollValue_, 1, 1);
    timers->addWidget(send_, 2, 0);
    timers->setColumnStretch(1, 1);

    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(numberGroup_);
    layout->addWidget(monitorGroup_);
    layout->addStretch();
    return page;
}

QWidget* Nastaveni::CreateOutputPage() {
    fileList_ = new QPlainTextEdit;
    fileList_->setObjectName(QStringLiteral("FileList"));
    fileList_->setToolTip(QStringLiteral("Pomocný seznam  souborů"));
    fileList_->setReadOnly(true);
    fileList_->setLineWrapMode(QPlainTextEdit::NoWrap);
    checkListing_ = new QPlainTextEdit;
    checkListing_->setObjectName(QStringLiteral("CheckListing"));
    checkListing_->setToolTip(QStringLiteral("Kontrolní výpis"));
    checkListing_->setReadOnly(true);
    checkListing_->setLineWrapMode(QPlainTextEdit::NoWrap);

    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    layout->addWidget(fileList_, 1);
    layout->addWidget(checkListing_, 1);
    return page;
}

void Nastaveni::Activate() {
    emit activating();
    Config& c = ws_.config;
    // Filling the fields is not a change by the user: nothing is stored at once.
    const QScopedValueRollback<bool> filling(filling_, true);

    baseDir_->setText(c.BaseDir);
    cestaZmeny_->setText(c.CestaZmeny);
    cesta_->setText(c.Cesta);
    cestaTxt_->setText(c.CestaTXT);
    cestaDennik_->setText(c.CestaDennik);
    cestaFoto_->setText(c.CestaFoto);
    souborPopis_->setText(c.SouborPopis.left(kSouborPopisLimit));
    souborAkce_->setText(c.SouborAkce);
    souborUkony_->setText(c.SouborUkony);
    souborPoznamky_->setText(c.SouborPoznamky);
    souborVysledky_->setText(c.SouborVysledky);
    souborLidi_->setText(c.SouborLidi);

    test_->setText(c.Test);
    popis_->setText(c.Popis);
    firma_->setText(c.Firma);
    sirkaSloupce_->setValue(c.SirkaSloupce);
    vyskaRadku_->setValue(c.VyskaRadku);
    uchylkaFinance_->setValue(c.UchylkaFinance);
    uchylkaTerminy_->setValue(c.UchylkaTerminy);
    popisDph_->setText(c.PopisDPH);
    vyseDph_->setText(c.VyseDPH);
    datumUlozeni_->setText(FormatShortDate(c.DatumUlozeni));
    dobaNecinnosti_->setValue(c.DobaNecinnosti);

    c.SetFlag(kFlagCheckListing, !checkListing_->isHidden());
    ShowFlags();
    for (const FlagBox& f : flagBoxes_) f.box->setChecked(c.Flag(f.position));

    permissionLabel_->setText(slot_.LabelText());
    userName_->setText(ws_.Access.UserName);
    permission_->setText(ws_.Access.Permission);
    ResetPasswordFields();

    send_->setChecked(monitor_->isActive());
    SetTestGroupsEnabled(ws_.Access.ServiceMenus);
    UpdateMonitor();

    FillFileList();
    checkListing_->setPlainText(ws_.CheckListing.join(u'\n'));
}

void Nastaveni::OkCommand() {
    if (CheckPermission(ws_, QString::fromUtf16(kThisOperation), 3)) {
        const QString day = FormatShortDate(datumZapisu_->date());
        emit reportCaptionChanged(QStringLiteral("Výplatnice za ") +
                                  day.mid(day.indexOf(u'.') + 1));

        Config& c = ws_.config;
        c.SouborLidi = souborLidi_->text();
        c.Test = test_->text();
        c.Popis = popis_->text();
        c.Firma = firma_->text();
        c.Cesta = cesta_->text();
        c.CestaTXT = cestaTxt_->text();
        // Every file is opened as base directory + folder + name, so the base
        // must be absolute: a relative one is taken from the current base.
        QString base = baseDir_->text().trimmed();
        base.replace(u'\\', u'/');
        base = QDir::cleanPath(QDir(c.BaseDir).absoluteFilePath(base));
        c.BaseDir = base.endsWith(u'/') ? base : base + u'/';
        c.CestaZmeny = cestaZmeny_->text();
        c.CestaFoto = cestaFoto_->text();
        c.CestaDennik = cestaDennik_->text();
        c.SouborPoznamky = souborPoznamky_->text();
        c.SouborPopis = souborPopis_->text().left(kSouborPopisLimit);
        c.SouborAkce = souborAkce_->text();
        c.SouborVysledky = souborVysledky_->text();
        c.SouborUkony = souborUkony_->text();
        c.VyseDPH = vyseDph_->text();
        c.UchylkaFinance = uchylkaFinance_->value();
        c.UchylkaTerminy = uchylkaTerminy_->value();

        if (c.SirkaSloupce != sirkaSloupce_->value() || c.VyskaRadku != vyskaRadku_->value()) {
            c.SirkaSloupce = sirkaSloupce_->value();
            c.VyskaRadku = vyskaRadku_->value();
            emit calendarSizeChanged();
        }
    }
    ws_.ResetInactivity();
    close();
}

void Nastaveni::ZmenitCommand() {
    auto entered = [](const QLineEdit* field) -> std::optional<QString> {
        if (field->text() == kStars) return std::nullopt;
        return field->text();
    };
    const AccessChangeResult result =
        ChangeAccess(ws_, {userName_->text(), permission_->text(), entered(adminPassword_),
                           entered(newAdminPassword_), entered(password_)});
    // A refused name or permission text leaves the window open for a correction.
    if (!result.message.isEmpty()) ws_.Ask().Inform(result.message);
    if (result.refused) return;
    if (result.wrongPassword) ResetPasswordFields();
    // The permission label shows the new text at once; a user who may now
    // write takes the free slot.
    if (result.recordChanged) RunCommand([&] { slot_.UserRecordChanged(); }, this);
    if (result.logged &&
        !RunCommand(
            [&] { LogChange(ws_, QString(), QString::fromUtf16(kLabelUserSettings), 0, 1); }, this))
        return;
    if (result.service) slot_.EnterServiceMode();
    close();
}

void Nastaveni::TestNumberCommand() {
    const QString text = testNumber_->text();
    numberResult_->setText(FormatAmount(ParseAmount(text)));
    testedText_->setText(QStringLiteral("Testovaný řetězec "));
    const QString first = text.left(1);
    firstChar_->setText(QStringLiteral("1. Znak řetězce ") + first);
    // The code in the data files' code page, as the other workstations see it.
    const QByteArray code = TextFile::Encode(first);
    charCode_->setText(QStringLiteral("Čislo znaku ") +
                       (code.isEmpty() ? QString() : QString::number(quint8(code[0]))));
}

void Nastaveni::TestDateCommand() {
    const double day = ParseDate(testDate_->text());
    dayNumber_->setText(FormatNumber6(day));
    dateResult_->setText(FormatDate(day));
}

bool Nastaveni::MonitorRunning() const {
    return monitor_->isActive();
}

void Nastaveni::showEvent(QShowEvent* event) {
    Activate();
    if (!centred_) {
        centred_ = true;
        adjustSize();
        if (QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
    }
    QDialog::showEvent(event);
}

void Nastaveni::hideEvent(QHideEvent* event) {
    send_->setChecked(false);
    QDialog::hideEvent(event);
}

bool Nastaveni::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == newAdminLabel_ || watched == adminLabel_) &&
        event->type() == QEvent::MouseButtonDblClick) {
        newAdminPassword_->setText(ws_.Access.AdminPassword);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void Nastaveni::StoreFlag(int position, bool on) {
    ws_.config.SetFlag(position, on);
    ShowFlags();
}

void Nastaveni::ShowFlags() {
    flags_->setText(ws_.config.SettingsFlags);
}

void Nastaveni::FillFileList() {
    // The data folder's files, so that one can see which ones another
    // workstation changed and when.
    const QString folder = ws_.config.DataPath(QString());
    QStringList lines{folder};
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files, QDir::Name);
    for (const QFileInfo& f : files)
        lines << f.fileName() + u'\t' + QString::number(f.size()) + u'\t' +
                     f.lastModified().toString(QStringLiteral("dd.MM.yyyy hh:mm"));
    fileList_->setPlainText(lines.join(u'\n'));
}

void Nastaveni::ResetPasswordFields() {
    password_->setText(kStars);
    newAdminPassword_->setText(kStars);
    adminPassword_->setText(kStars);
}

void Nastaveni::SetTestGroupsEnabled(bool enabled) {
    numberGroup_->setEnabled(enabled);
    monitorGroup_->setEnabled(enabled);
}

void Nastaveni::StartMonitor(bool run) {
    if (!run) {
        monitor_->stop();
        return;
    }
    if (!monitor_->isActive()) monitor_->start();
    UpdateMonitor();
}

void Nastaveni::UpdateMonitor() {
    inactivityValue_->setText(QString::number(ws_.Access.InactivityCounter) +
                              QStringLiteral(" / ") + QString::number(ws_.config.DobaNecinnosti));
    SetRed(inactivityValue_, slot_.InactivityRunning());
    pollValue_->setText(QString::number(slot_.PollInterval()));
    SetRed(pollValue_, slot_.PollRunning());
}

void Nastaveni::MonitorTick() {
    UpdateMonitor();
    QString caption = send_->text() + u'.';
    if (caption.size() > kSendCaptionLimit) caption = kSendCaption;
    send_->setText(caption);
}

#pragma once

#include <QDialog>

class ConnectionSlot;
class QCheckBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTimer;
class Workspace;

// The settings window: the configuration values, the user record of this
// workstation user, a few option flags, two test panels, a monitor of the
// connection timers and the check listing. It stays on top and is shown on
// demand; every showing fills the fields from the current values again.
class Nastaveni : public QDialog {
    Q_OBJECT
  public:
    // What a password field holds when nothing was entered into it.
    static constexpr const char16_t* kNoPassword = u"**********";
    static constexpr int kMonitorIntervalMs = 1000;

    Nastaveni(Workspace& ws, ConnectionSlot& slot, QWidget* parent = nullptr);

    // Fills every field from the current values (called on every showing).
    void Activate();

    // The buttons' commands, callable without a click.
    void OkCommand();
    void ZmenitCommand();
    void TestNumberCommand();
    void TestDateCommand();

    bool MonitorRunning() const;
    QTabWidget* Pages() const { return pages_; }

  signals:
    // Emitted first thing on activation, so that the main window can bring the
    // SettingsFlags positions it owns (the diary chart mark, the compact
    // window) up to date before the flags are shown.
    void activating();
    // "OK" stored a new column width or row height of the diary calendar.
    void calendarSizeChanged();
    // "OK" chose the month of the monitoring report: the caption of the main
    // menu item "Monitorovací zpráva".
    void reportCaptionChanged(const QString& caption);

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* CreateFilesPage();
    QWidget* CreateParametersPage();
    QWidget* CreateAccessPage();
    QWidget* CreateTestsPage();
    QWidget* CreateOutputPage();

    void StoreFlag(int position, bool on);
    void ShowFlags();
    void FillFileList();
    void ResetPasswordFields();
    void SetTestGroupsEnabled(bool enabled);
    void StartMonitor(bool run);
    void UpdateMonitor();
    void MonitorTick();

    Workspace& ws_;
    ConnectionSlot& slot_;
    QTabWidget* pages_ = nullptr;
    bool centred_ = false;
    // Set while Activate fills the fields, which is no change by the user.
    bool filling_ = false;

    // "Nastavení souborů"
    QLineEdit* baseDir_ = nullptr;
    QLineEdit* cestaZmeny_ = nullptr;
    QLineEdit* cesta_ = nullptr;
    QLineEdit* cestaTxt_ = nullptr;
    QLineEdit* cestaDennik_ = nullptr;
    QLineEdit* cestaFoto_ = nullptr;
    QLineEdit* souborPopis_ = nullptr;
    QLineEdit* souborAkce_ = nullptr;
    QLineEdit* souborUkony_ = nullptr;
    QLineEdit* souborPoznamky_ = nullptr;
    QLineEdit* souborVysledky_ = nullptr;
    QLineEdit* souborLidi_ = nullptr;

    // "Nastavení parametrů"
    QLineEdit* test_ = nullptr;
    QLineEdit* popis_ = nullptr;
    QLineEdit* firma_ = nullptr;
    QSpinBox* sirkaSloupce_ = nullptr;
    QSpinBox* vyskaRadku_ = nullptr;
    QSpinBox* uchylkaFinance_ = nullptr;
    QSpinBox* uchylkaTerminy_ = nullptr;
    QDateEdit* datumZapisu_ = nullptr;
    QLineEdit* popisDph_ = nullptr;
    QLineEdit* vyseDph_ = nullptr;
    QLineEdit* flags_ = nullptr;
    QLabel* datumUlozeni_ = nullptr;
    QSpinBox* dobaNecinnosti_ = nullptr;
    struct FlagBox {
        QCheckBox* box;
        int position;
    };
    QList<FlagBox> flagBoxes_;

    // "Oprávnění"
    QLabel* permissionLabel_ = nullptr;
    QLineEdit* userName_ = nullptr;
    QLineEdit* password_ = nullptr;
    QLineEdit* permission_ = nullptr;
    QLineEdit* newAdminPassword_ = nullptr;
    QLineEdit* adminPassword_ = nullptr;
    QLabel* newAdminLabel_ = nullptr;
    QLabel* adminLabel_ = nullptr;

    // "Testy"
    QGroupBox* numberGroup_ = nullptr;
    QGroupBox* monitorGroup_ = nullptr;
    QLineEdit* testNumber_ = nullptr;
    QLabel* numberResult_ = nullptr;
    QLabel* testedText_ = nullptr;
    QLabel* firstChar_ = nullptr;
    QLabel* charCode_ = nullptr;
    QLineEdit* testDate_ = nullptr;
    QLabel* dayNumber_ = nullptr;
    QLabel* dateResult_ = nullptr;
    QLabel* inactivityValue_ = nullptr;
    QLabel* pollValue_ = nullptr;
    QCheckBox* send_ = nullptr;
    QTimer* monitor_ = nullptr;

    // "Výstupní  [Memo]"
    QPlainTextEdit* fileList_ = nullptr;
    QPlainTextEdit* checkListing_ = nullptr;
};

#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QPlainTextEdit;
class QPushButton;
class Reconstruction;
class Workspace;

// The reconstruction window "Zpětná rekonstrukce dat": rebuilds the project
// table ("Start") and then one project's deadline and finance tables
// ("Pokračuj") from a monthly change log as of the chosen day, and lists what
// it did. The result stays in memory until the user marks the tables for
// saving with the two save buttons (or saves at once with the automatic save).
class Navrat : public QWidget {
    Q_OBJECT
  public:
    explicit Navrat(Workspace& ws, QWidget* parent = nullptr);

    Reconstruction& Core() const { return *core_; }
    // Whether "Obnova základní tabulky  - Žluté" is on (the backup restore asks it too).
    bool RebuildProjects() const;

  signals:
    // The main window shows the project, deadline and finance tables (or only
    // the last two) at the reconstruction height.
    void tablesWanted(bool projectTable);

  public slots:
    void StartCommand();
    void ContinueCommand();
    void CancelCommand();

  private:
    void TakeOptions();
    void SyncSaveButtons();

    Workspace& ws_;
    Reconstruction* core_ = nullptr;
    QComboBox* project_ = nullptr;
    QDateEdit* day_ = nullptr;
    QCheckBox* stepping_ = nullptr;
    QCheckBox* projects_ = nullptr;
    QCheckBox* progress_ = nullptr;
    QCheckBox* autoSave_ = nullptr;
    QPushButton* start_ = nullptr;
    QPushButton* continue_ = nullptr;
    QPushButton* saveProgress_ = nullptr;
    QPushButton* saveProjects_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPlainTextEdit* listing_ = nullptr;
};

#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;
class Workspace;

// The search window "Vyhledat": looks for a text in the current column of the
// current item's table, lists the hits in its one editable list and, when the
// user chooses a hit, asks the main window to select that row of the grid.
class Hledani : public QWidget {
    Q_OBJECT
  public:
    explicit Hledani(Workspace& ws, QWidget* parent = nullptr);

    QString SearchText() const;
    void SetSearchText(const QString& text);
    QStringList Entries() const;
    QString ResultText() const;

  signals:
    // The grid of the table of kind selects the row (which makes it the current item).
    void hitChosen(int kind, int row);

  public slots:
    // The window became active: the result label shows the current item and
    // the search text becomes its cell.
    void Activated();
    void OkCommand();
    void CancelCommand();
    void EntryChosen(int index);

  protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void ShowCurrentItem();

    Workspace& ws_;
    QLabel* result_ = nullptr;
    QComboBox* list_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    int searchedKind_ = 0;
};

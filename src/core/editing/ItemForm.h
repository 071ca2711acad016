#pragma once

#include <QString>

#include "../data/Dates.h"

class Table;
class Workspace;

// The values of the entry window's three pages, without any widget: the
// window fills its controls from here and collects them back before a button
// runs. Dates are day numbers; the empty date is kEmptyDate.

struct ProjectForm {
    QString number;           // "Číslo akce", column 1
    QString name;             // "Název akce", column 2
    QString manager;          // column 3
    QString technician;       // column 4
    QString measure;          // "Opatření", column 5
    QString activities;       // "Aktivity", column 6
    QString supplierDoc;      // "Dodavatelská  SOD", column 7
    QString externalDoc;      // "Dokument vnější", column 8
    QString note;             // column 9
    QString subsidyPercent;   // column 10, before "/"
    QString erdfPercent;      // column 10, after "/"
    QString plannedEligible;  // column 11, stored as typed
    QString subsidy;          // column 12, stored as typed
    double dateFrom = kEmptyDate;
    double dateTo = kEmptyDate;
};

// What a deadline and a finance item have alike: the same fields on both
// pages, the same columns in both tables.
struct ItemTexts {
    QString type;            // "Typ zápisu", column 1 before "-"
    QString project;         // "Číslo akce", column 1 after "-"
    QString id;              // column 12
    QString activity;        // "Činnost", column 2
    QString classification;  // "Zařazení", column 3
    QString step;            // "Proces", column 4
    QString info;            // column 13, "Informace" on the finance page
    QString note;            // column 14
    QString note2;           // column 15
    QString textDoc;         // "Soubor text vnější", column 16
    QString pictureDoc;      // column 17, "Soubor grafický vnější" / "Soubor foto vnější"
};

struct DeadlineForm : ItemTexts {
    DeadlineForm() { type = QStringLiteral("T"); }
    int duration = 30;  // "Trvání dny", column 9
    double planStart = kEmptyDate;
    double planEnd = kEmptyDate;
    double actualStart = kEmptyDate;
    double actualEnd = kEmptyDate;
};

// The amount that is computed from the other two.
enum class MarkedAmount { Total, Ineligible, Eligible };

struct FinanceForm : ItemTexts {
    FinanceForm() { type = QStringLiteral("F"); }
    QString total;       // column 11
    QString ineligible;  // column 10
    QString eligible;    // total − ineligible, never stored
    QString recognised;  // column 9, stage layout only
    MarkedAmount marked = MarkedAmount::Eligible;
    double delivery = kEmptyDate;    // column 5
    double due = kEmptyDate;         // column 6
    double assignment = kEmptyDate;  // column 7, invoice layout only
    double payment = kEmptyDate;     // column 8
};

// What ApplyPageLayout decides: which controls show, which are enabled and
// the captions that depend on the layout. It is state: a letter other than
// "F" or "T" leaves most of it as the previous call set it.
struct PageLayout {
    bool amountsShown = true;     // total, non-eligible, eligible and their radio buttons
    bool assignmentShown = true;  // "Datum pro zařazení" with its buttons (invoice layout)
    bool recognisedShown = true;  // "Způsobilé - uznané URR" (stage layout)
    bool statusShown = true;      // the status label
    bool copyEnabled = true;      // "Přidat copy"
    bool financeTypeEnabled = true;
    // The deadline page of a stage row: the planned dates, "Činnost" and
    // "Trvání dny" follow the finance stage and are not typed here.
    bool deadlineStageLocked = false;
    QString totalCaption = QStringLiteral("Celkové náklady s DPH");
    QString deliveryCaption = QStringLiteral("Datum doručení");
    QString dueCaption = QStringLiteral("Datum splatnosti");
    QString assignmentCaption = QStringLiteral("Datum pro zařazení");
    QString paymentCaption = QStringLiteral("Datum zaplacení");
    QString plannedEligibleCaption = QStringLiteral("Celk.způs. výdaje  PLÁN");
};

struct ItemForm {
    ProjectForm project;
    DeadlineForm deadline;
    FinanceForm finance;
    PageLayout layout;
};

// The part of a date picker: a set date lies above day 1000.
inline bool IsFormDateSet(double day) {
    return day > kSetDateThreshold;
}
// How a picker's date is stored: "dd.mm.yyyy", the empty date as an empty cell.
QString StoredDate(double day);

// Row → form. A project row of 0 or less is row 1.
ProjectForm ReadProjectForm(const Table& projects, int row);
DeadlineForm ReadDeadlineForm(const Table& deadlines, int row);
// Keeps the marked amount of the given form; fills the four amount texts.
FinanceForm ReadFinanceForm(const Table& finance, int row, const FinanceForm& previous = {});
// The real-term text the main window shows beside its timeline strip.
QString RealTermText(const Table& deadlines, int row);

// Form → row. Row 0 appends a row. Each marks its table changed, makes the
// row the item row and returns it.
int StoreProjectRow(Workspace& ws, int row, const ProjectForm& form);
// "Real od" and "Real do" are kept; an appended row starts without them.
int StoreDeadlineRow(Workspace& ws, int row, const DeadlineForm& form);
// Rewrites the amount texts in their cell form first; column 7 is written only
// in the invoice layout, column 9 only in the stage layout.
int StoreFinanceRow(Workspace& ws, int row, FinanceForm& form, const PageLayout& layout);

// Chooses the controls for a type letter ("T", "F", "J", "O") and an activity:
// the finance page's stage layout when the activity contains "Etapa", its
// invoice layout otherwise; the deadline page locks the planned dates of a
// stage. vatText is the configured "popis_DPH".
void ApplyPageLayout(PageLayout& layout, QChar letter, const QString& activity,
                     const QString& vatText);

// Puts the dates of the page of the item kind into order before they are
// stored: ends not before starts, nothing fulfilled or paid after now; the
// deadline duration follows the planned term. The project page has no rule.
void NormaliseFormDates(ItemForm& form, int kind, double now);

// "Splněno": the actual dates (deadline) or the assignment and payment dates
// (finance) taken from the plan, as far as they do not lie in the future.
void MarkFulfilled(ItemForm& form, int kind, double now);

// The marked amount computed from the other two, in cell form.
void RecomputeMarkedAmount(FinanceForm& form);

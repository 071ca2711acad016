#pragma once

#include <QObject>
#include <QString>
#include <QStringView>
#include <string>
#include <vector>

class Table;
class Workspace;

// Deadline items name their superior ("N-" + its identifier) and their
// predecessor ("P-" + its identifier) in the "/"-separated fields of column 12
// after their own identifier. A row is linked to an identifier when its cell
// holds the marker directly followed by that identifier anywhere, so the links
// of T-001-10 also name T-001-1.

// The row's own identifier: the first "/"-field of column 12.
QString OwnIdentifier(const Table& deadlines, int row);

// The rows whose identifier cell holds a marker ("N-" or "P-") followed by a
// given identifier, found without scanning the table for each question. Built
// over column 12 as it stands; the date passes never change that column.
class LinkIndex {
  public:
    LinkIndex(const Table& deadlines, QStringView marker);
    // Ascending row numbers; an empty identifier names every row with the marker.
    std::vector<int> RowsLinkedTo(const QString& identifier) const;

  private:
    struct Tail {
        std::u16string text;  // the cell after one marker
        int row;
    };
    std::vector<Tail> tails_;  // sorted by text
};

// The captions of the two menu items that record links, which carry the row
// picked first, and whether each item can be chosen.
struct LinkMenuState {
    QString superiorCaption;
    QString predecessorCaption;
    bool superiorEnabled = true;
    bool predecessorEnabled = true;
    int pendingSuperior = 0;  // the superior row waiting for children, 0 none
    int pendingPredecessor = 0;
};

inline constexpr const char16_t* kSuperiorIdleCaption = u"Potvrdit nadřízenou položku";
// The predecessor item's caption as designed, and after a recording was finished.
inline constexpr const char16_t* kPredecessorDesignCaption = u"Potvrdit první položku";
inline constexpr const char16_t* kPredecessorIdleCaption = u"Potvrď první položku";

// Records links in two steps: the first call remembers a row, each later call
// links the given row to it, until FinishLinking. Shared by the main window's
// pop-up menu and the Gantt diagram.
class LinkRecorder : public QObject {
    Q_OBJECT
  public:
    explicit LinkRecorder(Workspace& ws, QObject* parent = nullptr);

    const LinkMenuState& State() const { return state_; }

    // First call: row becomes the pending superior. Later calls make row its
    // child, replacing an earlier superior link and keeping a predecessor link.
    // Returns whether a cell was written.
    bool RecordSuperiorLink(int row);
    // First call: row becomes the pending predecessor. Later calls make row its
    // successor (dropping an earlier predecessor link) and then the pending
    // predecessor, so that successive calls build a chain.
    bool RecordPredecessorLink(int row);
    // Ends both recordings and marks the deadline table changed.
    void FinishLinking();

  signals:
    void menuChanged();
    // The entry window shows this deadline row once a recording is finished.
    void showDeadlineRow(int row);

  private:
    bool ValidRow(int row) const;

    Workspace& ws_;
    LinkMenuState state_;
};

// Every deadline row keeps only its own identifier in column 12.
void RemoveAllLinks(Workspace& ws);

// Brings the planned dates into line with the links, when the dependency
// adjustment setting is on: the optional sort by identifier, superiors span
// their children, successors start the day after their predecessors end,
// superiors again, then every row's realistic term. Each pass visits the rows
// once in order, so cycles of links end. today is the program's start-up
// moment; the one-argument form takes the workspace's (now before a start-up).
void PropagateLinkDates(Workspace& ws, double today);
void PropagateLinkDates(Workspace& ws);

// Writes the row's realistic term into "Real od" and "Real do" and returns its
// end: from the actual start (else today) to the actual end (else start plus
// duration, but not before today).
double RealisticTerm(Table& deadlines, int row, double today);

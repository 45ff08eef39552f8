#pragma once

#include "gradesmodel.h"
#include "history/drawstore.h"
#include "history/exportresults.h"
#include "history/toolwindow.h"
#include "savedticketsmodel.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QSortFilterProxyModel;
class QTableView;
class QPushButton;

// "当せん確認": the saved tickets against the stored results, each with its matches, grade and
// prize, what they cost and won together, and how the chosen tickets would have done in every
// stored draw beside what a random ticket gets there.
class FormCheck : public ToolWindow
{
    Q_OBJECT

public:
    FormCheck(const QString &databasePath, const Game &game, QWidget *parent = nullptr);

    void checkAll(); // "過去の全抽せんで照合": the chosen tickets, or all, against every draw
    // "券を入力": the tickets the user bought, saved for their draws, any already saved with
    // the same numbers pointed out.
    void enterTickets();
    void remove(); // "削除": the chosen tickets, once the user agrees
    void change(); // "修正": the one chosen ticket's numbers or draw, checked as entered ones
    // "CSV に書き出す": the tickets as shown, with their grades and prizes. The reason when the
    // file could not be written, empty when it was.
    QString exportTickets(const QString &path, ExportEncoding encoding) const;

private:
    void buildControls();
    void refresh(); // the saved tickets changed: every row and the summary follow
    std::vector<SavedTicket> chosen() const; // the tickets of the selected rows
    std::vector<SavedTicket> shown() const; // the tickets the filter lets through

    DrawStore m_drawStore {m_database, m_game};
    TicketStore m_ticketStore {m_database, m_game};
    std::vector<PastDraw> m_draws;
    SavedTicketsModel m_tickets;
    GradesModel m_gradeCounts;
    RowsProxy *m_view = nullptr; // sorted, and filtered by draw and by winning

    QComboBox *m_filter = nullptr; // "回": every draw, or one
    QTableView *m_table = nullptr; // a row for each saved ticket
    QLabel *m_summary = nullptr; // tickets, money spent and won, the balance
    QPushButton *m_enter = nullptr; // "券を入力"
    QCheckBox *m_wonOnly = nullptr; // "当せんした券だけ"
    QTableView *m_grades = nullptr; // each grade against every draw, and by chance
    QLabel *m_gradesNote = nullptr; // what the grade table counted
    QPushButton *m_remove = nullptr; // "削除"
    QPushButton *m_change = nullptr; // "修正"
};

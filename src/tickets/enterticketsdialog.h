#pragma once

#include "ticketcheck.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QSpinBox;

// "券を入力": the tickets the user bought, a line each as コピー writes them or the numbers
// alone, for a draw and the draws after it (継続回数). 保存 closes only on lines that are all
// tickets; the faults stay in view otherwise.
class EnterTicketsDialog : public QDialog
{
public:
    EnterTicketsDialog(const Game &game, int draw, QWidget *parent);
    // 修正: one saved ticket, its numbers and draw; for no more draws than its own.
    EnterTicketsDialog(const Game &game, const SavedTicket &ticket, QWidget *parent);

    const std::vector<Ticket> &tickets() const { return m_tickets; }
    std::vector<int> draws() const; // the first draw and the ones after it

    void accept() override;

private:
    const Game &m_game;
    std::vector<Ticket> m_tickets;
    bool m_one = false; // 修正: exactly one ticket
    QPlainTextEdit *m_lines = nullptr;
    QSpinBox *m_draw = nullptr;
    QSpinBox *m_repeat = nullptr;
    QLabel *m_faults = nullptr;
};

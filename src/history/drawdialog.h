#pragma once

#include "pastresults.h"

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;

// 修正: one stored draw in fields as the official file has them. 適用 checks them as an import
// checks a row, and that a draw number changed is not stored already (taken), and closes only
// on a valid draw; otherwise the reason stays in view beside the fields as the user left them.
class DrawDialog : public QDialog
{
public:
    DrawDialog(
        const Game &game, const PastDraw &draw, std::function<bool(int)> taken, QWidget *parent);

    // The draw the fields give, once the dialog is accepted.
    const PastDraw &draw() const { return m_draw; }

    void accept() override;

private:
    const Game &m_game;
    PastDraw m_draw;
    std::function<bool(int)> m_taken;
    std::vector<QLineEdit *> m_fields; // the official row's fields, the drawn numbers in one
    QLabel *m_reason = nullptr;
};

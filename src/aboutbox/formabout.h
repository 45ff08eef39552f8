#pragma once

#include <QDialog>

#include <array>

class QLabel;
class QPushButton;
class QTextEdit;

// The version dialog: icon, title, version, maker's line, the product's web address as a link
// and a disclaimer. It is made afresh for each opening and writes nothing.
class FormAbout : public QDialog
{
    Q_OBJECT

public:
    explicit FormAbout(QWidget *parent = nullptr);

    void Com1_Click(int index);
    void Lab1_Click(int index);

    // Lab1(1) to Lab1(5); element 0 is not used.
    QLabel *lab1(int index) const { return m_lab1.at(static_cast<std::size_t>(index)); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_Load();

    QPushButton *m_com1 = nullptr;
    QTextEdit *m_txt1 = nullptr;
    QLabel *m_img1 = nullptr;
    std::array<QLabel *, 6> m_lab1 {};
    bool m_linkPressed = false;
};

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

    void Com1_Click(int index); // OK (element 0): closes the box
    void Lab1_Click(int index); // the web address (element 1): opens it in the browser

    // Lab1(1) to Lab1(5); element 0 is not used.
    QLabel *lab1(int index) const { return m_lab1.at(static_cast<std::size_t>(index)); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override; // a click on the link

private:
    void Form_Load();

    QPushButton *m_com1 = nullptr; // OK
    QTextEdit *m_txt1 = nullptr; // the disclaimer, read-only
    QLabel *m_img1 = nullptr; // the program's icon
    std::array<QLabel *, 6> m_lab1 {}; // link, title, version, maker, web site: by Label
    bool m_linkPressed = false; // the left button went down on the link and is still down
};

#pragma once

#include <QWidget>

// The main window's client area: it draws the etched and raised panel lines and the thin frame
// around the slider, in the desktop palette's colour roles.
class MainPanel : public QWidget
{
    Q_OBJECT

public:
    explicit MainPanel(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

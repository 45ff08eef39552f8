#pragma once

#include <QScrollBar>

// A horizontal scroll bar whose keys work as on the classic desktop: Left and Right move by the
// small change, Page Up towards the minimum and Page Down towards the maximum by the large
// change, Home and End to the ends. (Qt's own scroll bar turns the arrow keys around.)
class HScrollBar : public QScrollBar
{
    Q_OBJECT

public:
    explicit HScrollBar(QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

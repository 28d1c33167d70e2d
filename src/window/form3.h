// The OSD switch window: four keys that send OSD key presses through the main window.
#pragma once

#include <QPointer>
#include <QWidget>

#include <cstdint>

class QPushButton;
class TForm1;

class TForm3 : public QWidget
{
    Q_OBJECT
public:
    explicit TForm3(QWidget *parent = nullptr);

    QPushButton *push_up = nullptr;
    QPushButton *push_down = nullptr;
    QPushButton *push_enter = nullptr;
    QPushButton *push_pre = nullptr;

    // The window the keys go to; it may close while this window stays.
    void setMainWindow(TForm1 *form1);

private:
    void push(uint8_t code);
    QPointer<QObject> main_; // a TForm1
};

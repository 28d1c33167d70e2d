// The port chooser, the application's main window: pick a port and press GO.
#pragma once

#include <QPointer>
#include <QWidget>

class QLabel;
class QPushButton;
class TForm1;
class TForm3;
namespace kit { class RadioGroup; }

class TForm2 : public QWidget
{
    Q_OBJECT
public:
    // formType: the FormType item the main window starts with.
    explicit TForm2(int formType = 1, QWidget *parent = nullptr);
    ~TForm2() override;

    kit::RadioGroup *Com_Port = nullptr;
    QPushButton *Com_Port_Go = nullptr;
    QLabel *Com_Port_Path = nullptr;   // the device GO will open
    TForm3 *Form3 = nullptr;

    void Com_Port_GoClick();
    TForm1 *mainWindow() const;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void showPath();
    int formType_;
    QPointer<TForm1> form1_;
};

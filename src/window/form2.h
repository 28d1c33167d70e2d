// The port chooser, the application's main window: pick a port and press GO.
#pragma once

#include <QPointer>
#include <QWidget>

class QComboBox;
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
    // The device the selected port opens: the serial devices present, or a path typed in.
    QComboBox *Com_Port_Device = nullptr;
    QPushButton *Com_Port_Refresh = nullptr; // looks for the devices again
    TForm3 *Form3 = nullptr;

    void Com_Port_GoClick();
    TForm1 *mainWindow() const;
    // Makes path the device of the selected port and remembers it; empty: the default.
    void chooseDevice(const QString &path);
    void refreshDevices();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void showPath();
    int selectedPort() const;
    int formType_;
    QPointer<TForm1> form1_;
};

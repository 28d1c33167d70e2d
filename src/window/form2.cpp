#include "window/form2.h"

#include "serial/devices.h"
#include "serial/tcomm.h"
#include "widgets/kit.h"
#include "window/form1.h"
#include "window/form3.h"
#include "window/remembered.h"

#include <QApplication>
#include <QCloseEvent>
#include <QAbstractItemView>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include <algorithm>

TForm2::TForm2(int formType, QWidget *parent) : QWidget(parent), formType_(formType)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Orvik"));
    auto *outer = new QVBoxLayout(this);
    Com_Port = kit::radioGroup(this, "Com_Port", QStringLiteral("Com Port"),
                               {QStringLiteral("Com1"), QStringLiteral("Com2"), QStringLiteral("Com3"),
                                QStringLiteral("Com4")},
                               1, 0);
    Com_Port_Device = kit::comboBox(this, "Com_Port_Device", {});
    Com_Port_Device->setEditable(true);
    Com_Port_Device->setInsertPolicy(QComboBox::NoInsert);
    // Long device names (serial/by-id) widen the list, not the window.
    Com_Port_Device->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    Com_Port_Device->setMinimumContentsLength(14);
    Com_Port_Device->setToolTip(QStringLiteral("The device this port opens: pick one that is present, or type a path"));
    Com_Port_Refresh = kit::button(this, "Com_Port_Refresh", QStringLiteral("Refresh"));
    Com_Port_Refresh->setToolTip(QStringLiteral("Look for serial devices again"));
    Com_Port_Path = kit::label(this, "Com_Port_Path", QString());
    Com_Port_Path->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Com_Port_Go = kit::button(this, "Com_Port_Go", QStringLiteral("GO"));
    outer->addWidget(Com_Port);
    auto *device = new QHBoxLayout;
    device->addWidget(Com_Port_Device, 1);
    device->addWidget(Com_Port_Refresh);
    outer->addLayout(device);
    outer->addWidget(Com_Port_Path);
    outer->addWidget(Com_Port_Go);
    refreshDevices();
    showPath();
    setMinimumWidth(220);

    // The switch window lives for the whole run, hidden until the menu shows it.
    Form3 = new TForm3(this);
    Form3->hide();

    kit::on(Com_Port, &kit::RadioGroup::itemClicked, this, [this] { showPath(); });
    kit::on(Com_Port_Go, &QPushButton::clicked, this, [this] { Com_Port_GoClick(); });
    kit::on(Com_Port_Refresh, &QPushButton::clicked, this, [this] { refreshDevices(); });
    // A pick from the list, or a typed path once Enter is pressed or the field is left.
    kit::on(Com_Port_Device, &QComboBox::activated, this, [this] { chooseDevice(Com_Port_Device->currentText()); });
    kit::on(Com_Port_Device->lineEdit(), &QLineEdit::editingFinished, this,
            [this] { chooseDevice(Com_Port_Device->currentText()); });
}

TForm2::~TForm2()
{
    delete form1_.data();
}

TForm1 *TForm2::mainWindow() const
{
    return form1_;
}

int TForm2::selectedPort() const
{
    return std::clamp(Com_Port->itemIndex(), 0, 3) + 1;
}

void TForm2::showPath()
{
    const QString path = QString::fromStdString(PortMap::path(selectedPort()));
    Com_Port_Path->setText(path);
    if (Com_Port_Device->currentText() != path)
        Com_Port_Device->setEditText(path);
}

void TForm2::chooseDevice(const QString &path)
{
    const QString chosen = path.trimmed();
    const int port = selectedPort();
    if (chosen.isEmpty() || chosen.toStdString() != PortMap::path(port)) {
        PortMap::setPath(port, chosen.toStdString());
        Remembered::savePortDevice(port, chosen);
    }
    showPath();
}

void TForm2::refreshDevices()
{
    const QString text = Com_Port_Device->currentText();
    Com_Port_Device->clear();
    for (const std::string &path : SerialDevices::scan())
        Com_Port_Device->addItem(QString::fromStdString(path));
    Com_Port_Device->view()->setMinimumWidth(Com_Port_Device->view()->sizeHintForColumn(0) + 24);
    Com_Port_Device->setEditText(text);
}

void TForm2::Com_Port_GoClick()
{
    // A path typed but not yet confirmed is the one meant.
    chooseDevice(Com_Port_Device->currentText());
    // A second GO brings the open main window forward.
    if (!form1_) {
        form1_ = new TForm1(Com_Port->itemIndex(), formType_);
        form1_->setSwitchWindow(Form3);
    }
    form1_->show();
    form1_->raise();
    form1_->activateWindow();
}

void TForm2::closeEvent(QCloseEvent *event)
{
    // Closing the chooser ends the program, also while the main window is open.
    if (form1_)
        form1_->close();
    event->accept();
    QApplication::quit();
}

#include "window/form2.h"

#include "serial/tcomm.h"
#include "widgets/kit.h"
#include "window/form1.h"
#include "window/form3.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QVBoxLayout>

TForm2::TForm2(int formType, QWidget *parent) : QWidget(parent), formType_(formType)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Orvik"));
    auto *outer = new QVBoxLayout(this);
    Com_Port = kit::radioGroup(this, "Com_Port", QStringLiteral("Com Port"),
                               {QStringLiteral("Com1"), QStringLiteral("Com2"), QStringLiteral("Com3"),
                                QStringLiteral("Com4")},
                               1, 0);
    Com_Port_Path = kit::label(this, "Com_Port_Path", QString());
    Com_Port_Path->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Com_Port_Go = kit::button(this, "Com_Port_Go", QStringLiteral("GO"));
    outer->addWidget(Com_Port);
    outer->addWidget(Com_Port_Path);
    outer->addWidget(Com_Port_Go);
    showPath();
    setMinimumWidth(220);

    // The switch window lives for the whole run, hidden until the menu shows it.
    Form3 = new TForm3(this);
    Form3->hide();

    kit::on(Com_Port, &kit::RadioGroup::itemClicked, this, [this] { showPath(); });
    kit::on(Com_Port_Go, &QPushButton::clicked, this, [this] { Com_Port_GoClick(); });
}

TForm2::~TForm2()
{
    delete form1_.data();
}

TForm1 *TForm2::mainWindow() const
{
    return form1_;
}

void TForm2::showPath()
{
    Com_Port_Path->setText(QString::fromStdString(PortMap::path(Com_Port->itemIndex() + 1)));
}

void TForm2::Com_Port_GoClick()
{
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

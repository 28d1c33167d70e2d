#include "widgets/dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

namespace {
Dialogs *installed = nullptr;

QWidget *activeParent()
{
    return QApplication::activeWindow();
}
} // namespace

QString Dialogs::dataFilter()
{
    return QStringLiteral("データ(*.dat);;すべてのファイル (*)");
}

Dialogs &Dialogs::instance()
{
    static WidgetDialogs real;
    return installed ? *installed : real;
}

void Dialogs::install(Dialogs *dialogs)
{
    installed = dialogs;
}

Dialogs::Answer WidgetDialogs::message(const QString &text, const QString &caption, Buttons buttons)
{
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::NoButton, activeParent());
    switch (buttons) {
    case Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Buttons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case Buttons::AbortRetryIgnore:
        box.setStandardButtons(QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore);
        break;
    case Buttons::YesNo:
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Abort: return Answer::Abort;
    case QMessageBox::Retry: return Answer::Retry;
    case QMessageBox::Ignore: return Answer::Ignore;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Cancel;
    }
}

void WidgetDialogs::exception(const QString &text)
{
    QMessageBox::critical(activeParent(), QStringLiteral("Orvik"), text);
}

QString WidgetDialogs::openFile(const QString &lastFile)
{
    QFileDialog dlg(activeParent(), QString(), lastFile.isEmpty() ? QDir::homePath() : lastFile,
                    dataFilter());
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    dlg.setFileMode(QFileDialog::ExistingFile);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return {};
    return dlg.selectedFiles().constFirst();
}

QString WidgetDialogs::saveFile(const QString &filter)
{
    QFileDialog dlg(activeParent(), QString(), QDir::homePath(), filter);
    // The program asks about overwriting itself.
    dlg.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return {};
    return dlg.selectedFiles().constFirst();
}

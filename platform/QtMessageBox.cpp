// Message boxes shown as real modal Qt boxes captioned "pixmoor".
#include <QApplication>
#include <QMessageBox>

#include "platform/MessageBox.h"
#include "platform/QtMessageBox.h"

static int ShowQtMessageBox(const char* text, UINT type)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(QStringLiteral("pixmoor"));
    box.setText(QString::fromLocal8Bit(text));
    box.setStandardButtons(QMessageBox::Ok);
    box.setIcon((type & MB_ICONINFORMATION) == MB_ICONINFORMATION ? QMessageBox::Information
                : (type & MB_ICONEXCLAMATION) ? QMessageBox::Warning
                                              : QMessageBox::NoIcon);
    box.exec();
    return IDOK;
}

void InstallQtMessageBoxes()
{
    SetMessageBoxHandler(ShowQtMessageBox);
}

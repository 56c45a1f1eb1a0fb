// Message boxes shown as real modal Qt boxes captioned "pixmoor".
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "platform/MessageBox.h"
#include "platform/ModalRunner.h"
#include "platform/QtMessageBox.h"
#include "platform/WndImpl.h"

static void RunBox(const QString& text, UINT type)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(QStringLiteral("pixmoor"));
    box.setText(text);
    box.setStandardButtons(QMessageBox::Ok);
    box.setIcon((type & MB_ICONINFORMATION) == MB_ICONINFORMATION ? QMessageBox::Information
                : (type & MB_ICONEXCLAMATION) ? QMessageBox::Warning
                                              : QMessageBox::NoIcon);
    AfxRunModal(box);
}

static int ShowQtMessageBox(const char* text, UINT type)
{
    const QString message = QString::fromLocal8Bit(text);
    if (AfxPaintDepth() > 0) {
        // A box cannot run inside a paint: it appears when the paint is over.
        QTimer::singleShot(0, qApp, [message, type]() { RunBox(message, type); });
        return IDOK;
    }
    RunBox(message, type);
    return IDOK;
}

void InstallQtMessageBoxes()
{
    SetMessageBoxHandler(ShowQtMessageBox);
}

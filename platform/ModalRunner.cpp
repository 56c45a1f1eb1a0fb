#include "platform/ModalRunner.h"

#include <QDialog>
#include <utility>

static ModalRunner& Runner()
{
    static ModalRunner runner;
    return runner;
}

ModalRunner SetModalRunner(ModalRunner runner)
{
    ModalRunner old = std::move(Runner());
    Runner() = std::move(runner);
    return old;
}

int AfxRunModal(QDialog& dialog)
{
    if (Runner())
        return Runner()(dialog);
    return dialog.exec();
}

#include "ModalRun.h"

#include <QDialog>
#include <QTimer>

int RunModal(QDialog& dialog, const std::function<void()>& whileOpen) {
    QTimer::singleShot(0, &dialog, [&dialog, whileOpen] {
        whileOpen();
        if (dialog.isVisible()) {
            dialog.reject();
        }
    });
    return dialog.exec();
}

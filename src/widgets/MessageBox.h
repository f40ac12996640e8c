#pragma once

#include <QMessageBox>
#include <QString>
#include <deque>

class QWidget;

// Every message box of the station goes through here, so tests can answer
// one without showing it.
class MessageBox {
public:
    static QMessageBox::StandardButton
    Show(QWidget* parent, const QString& text, const QString& caption,
         QMessageBox::StandardButtons buttons = QMessageBox::Ok,
         QMessageBox::Icon icon = QMessageBox::NoIcon,
         QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

    // Test hook: the next box is not shown; it records its text and returns
    // this answer.
    static void SetNextAnswer(QMessageBox::StandardButton answer);
    static bool HasPendingAnswers();
    static QString LastText();
    static QString LastCaption();
    static QMessageBox::StandardButton LastDefaultButton();
};

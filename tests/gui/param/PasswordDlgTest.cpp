#include "gui/PasswordDlg.h"

#include "ModalRun.h"
#include "QStringPrinter.h"
#include "res/ResourceIds.h"
#include "widgets/DialogUnits.h"
#include "widgets/MessageBox.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class PasswordDlgTest : public ::testing::Test {
protected:
    QLineEdit* Edit() { return dialog.findChild<QLineEdit*>(QString::number(IDC_PASSWORD)); }
    QPushButton* Button(int id) { return dialog.findChild<QPushButton*>(QString::number(id)); }

    CPasswordDlg dialog;
};

TEST_F(PasswordDlgTest, OnlyTheExactPasswordEndsWithOK) {
    QStringList messages;
    const int result = RunModal(dialog, [&] {
        for (const char* wrong : {"vexor", "Vexor ", ""}) {
            MessageBox::SetNextAnswer(QMessageBox::Ok);
            Edit()->setText(wrong);
            QTest::mouseClick(Button(IDOK), Qt::LeftButton);
            messages << (dialog.isVisible() ? MessageBox::LastText() : "closed");
        }
        Edit()->setText("Vexor");
        QTest::keyClick(Edit(), Qt::Key_Return);
    });
    EXPECT_EQ(messages, QStringList({"Error password", "Error password", "Error password"}));
    EXPECT_EQ(MessageBox::LastCaption(), "");
    EXPECT_EQ(result, QDialog::Accepted);
}

TEST_F(PasswordDlgTest, CancelEndsWithCancel) {
    const int result = RunModal(dialog, [&] {
        Edit()->setText("Vexor");
        QTest::mouseClick(Button(IDCANCEL), Qt::LeftButton);
    });
    EXPECT_EQ(result, QDialog::Rejected);
}

TEST_F(PasswordDlgTest, MaskedEditAndLayoutInDialogUnits) {
    const DialogUnits units(dialog.font());
    EXPECT_EQ(dialog.windowTitle(), "Password");
    EXPECT_EQ(Edit()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(dialog.size(), units.Rect(0, 0, 237, 88).size());
    EXPECT_EQ(Edit()->geometry(), units.Rect(66, 22, 84, 19));
    EXPECT_EQ(Button(IDOK)->geometry().topLeft(), units.Rect(57, 67, 0, 0).topLeft());
    EXPECT_EQ(Button(IDCANCEL)->geometry().topLeft(), units.Rect(130, 67, 0, 0).topLeft());
    EXPECT_TRUE(Button(IDOK)->isDefault());
}

} // namespace

#include "PasswordDlg.h"

#include "res/ResourceIds.h"
#include "widgets/DialogControls.h"
#include "widgets/DialogUnits.h"
#include "widgets/MessageBox.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
const QString PASSWORD = "Vexor";

} // namespace

CPasswordDlg::CPasswordDlg(QWidget* parent) : QDialog(parent) {
    const DialogUnits units = SetUpDialog(*this, IDD_PASSWORD, "Password", 237, 88);

    auto* label = new QLabel("Password", this);
    label->setGeometry(units.Rect(7, 25, 50, 8));
    m_pEdit = new QLineEdit(this);
    m_pEdit->setObjectName(QString::number(IDC_PASSWORD));
    m_pEdit->setGeometry(units.Rect(66, 22, 84, 19));
    m_pEdit->setEchoMode(QLineEdit::Password);

    QPushButton* ok = AddPushButton(this, units, "OK", IDOK, QPoint(57, 67));
    ok->setDefault(true);
    QPushButton* cancel = AddPushButton(this, units, "Cancel", IDCANCEL, QPoint(130, 67));
    connect(ok, &QPushButton::clicked, this, &CPasswordDlg::OnOK);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CPasswordDlg::OnOK() {
    if (m_pEdit->text() != PASSWORD) {
        MessageBox::Show(this, "Error password", "");
        return;
    }
    accept();
}

#include "PasswordDlg.h"

#include "DialogUnits.h"
#include "MessageBox.h"
#include "ResourceIds.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
const QString PASSWORD = "Vexor";

QPushButton* AddButton(QDialog* dialog, const DialogUnits& units, const QString& text, int id,
                       QPoint at) {
    auto* button = new QPushButton(text, dialog);
    button->setObjectName(QString::number(id));
    button->setGeometry(units.Rect(at.x(), at.y(), 50, 14));
    return button;
}
} // namespace

CPasswordDlg::CPasswordDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QString::number(IDD_PASSWORD));
    setWindowTitle("Password");
    setFont(DialogUnits::DialogFont());
    const DialogUnits units(font());
    setFixedSize(units.Rect(0, 0, 237, 88).size());

    auto* label = new QLabel("Password", this);
    label->setGeometry(units.Rect(7, 25, 50, 8));
    m_pEdit = new QLineEdit(this);
    m_pEdit->setObjectName(QString::number(IDC_PASSWORD));
    m_pEdit->setGeometry(units.Rect(66, 22, 84, 19));
    m_pEdit->setEchoMode(QLineEdit::Password);

    QPushButton* ok = AddButton(this, units, "OK", IDOK, QPoint(57, 67));
    ok->setDefault(true);
    QPushButton* cancel = AddButton(this, units, "Cancel", IDCANCEL, QPoint(130, 67));
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

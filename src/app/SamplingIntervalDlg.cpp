#include "SamplingIntervalDlg.h"

#include "res/ResourceIds.h"
#include "store/HeliowatchDoc.h"
#include "widgets/DialogControls.h"
#include "widgets/DialogUnits.h"
#include "widgets/MessageBox.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

namespace {
constexpr int MIN_INTERVAL = 1;

} // namespace

CSamplingIntervalDlg::CSamplingIntervalDlg(QWidget* parent) : QDialog(parent) {
    const DialogUnits units =
        SetUpDialog(*this, IDD_SAMPLING_INTERVAL, "Sampling interval", 215, 95);

    AddStaticText(this, units, "Interval", QRect(7, 17, 40, 12));
    m_pEdit = new QLineEdit(this);
    m_pEdit->setObjectName(QString::number(IDC_INTERVAL));
    m_pEdit->setGeometry(units.Rect(70, 16, 57, 14));
    m_pEdit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), m_pEdit));
    AddStaticText(this, units, "(>=1 S)", QRect(132, 18, 40, 12));

    QPushButton* ok = AddPushButton(this, units, "OK", IDOK, QPoint(39, 74));
    ok->setDefault(true);
    QPushButton* cancel = AddPushButton(this, units, "Cancel", IDCANCEL, QPoint(103, 74));
    connect(ok, &QPushButton::clicked, this, &CSamplingIntervalDlg::OnOK);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

int CSamplingIntervalDlg::exec() {
    if (!OnInitDialog()) {
        setResult(Rejected);
        return Rejected;
    }
    return QDialog::exec();
}

bool CSamplingIntervalDlg::OnInitDialog() {
    if (m_pDoc == nullptr) {
        return false;
    }
    m_nInterval = m_pDoc->GetInterval();
    m_pEdit->setText(QString::number(m_nInterval));
    m_pEdit->selectAll();
    m_pEdit->setFocus();
    return true;
}

void CSamplingIntervalDlg::OnOK() {
    if (!ReadInterval()) {
        return;
    }
    if (m_nInterval < MIN_INTERVAL) {
        MessageBox::Show(this, "Interval must >=1S", "");
        return;
    }
    // A settings file that cannot be written loses this one write; the new
    // interval is in force all the same.
    m_pDoc->SetInterval(m_nInterval);
    accept();
}

bool CSamplingIntervalDlg::ReadInterval() {
    bool isNumber = false;
    const int value = m_pEdit->text().toInt(&isNumber);
    if (!isNumber) {
        MessageBox::Show(this, "Please enter an integer.", "Heliowatch", QMessageBox::Ok,
                         QMessageBox::Warning);
        m_pEdit->setFocus();
        m_pEdit->selectAll();
        return false;
    }
    m_nInterval = value;
    return true;
}

#include "SamplingIntervalDlg.h"

#include "SaveProblemBox.h"
#include "comm/CommShared.h"
#include "res/ResourceIds.h"
#include "store/HeliowatchDoc.h"
#include "widgets/DialogControls.h"
#include "widgets/DialogUnits.h"
#include "widgets/MessageBox.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

namespace {
constexpr int MIN_INTERVAL = 1;

// A sign, a point or a blank is refused rather than dropped, so that "1.5"
// never passes for 15.
bool IsDigitsOnly(const QString& text) {
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// Digits too many for 64 bits are above the limit as well.
bool IsAboveLimit(const QString& digits) {
    bool fits = false;
    const qulonglong value = digits.toULongLong(&fits);
    return !fits || value > MAX_INTERVAL;
}
} // namespace

CSamplingIntervalDlg::CSamplingIntervalDlg(QWidget* parent) : QDialog(parent) {
    const DialogUnits units =
        SetUpDialog(*this, IDD_SAMPLING_INTERVAL, "Sampling interval", 215, 95);

    AddStaticText(this, units, "Interval", QRect(7, 17, 40, 12));
    m_pEdit = new QLineEdit(this);
    m_pEdit->setObjectName(QString::number(IDC_INTERVAL));
    m_pEdit->setGeometry(units.Rect(70, 16, 57, 14));
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
    if (!m_pDoc->SetInterval(m_nInterval)) {
        ShowSaveProblem(this, *m_pDoc);
    }
    accept();
}

bool CSamplingIntervalDlg::ReadInterval() {
    const QString text = m_pEdit->text();
    if (!IsDigitsOnly(text)) {
        MessageBox::Show(this, "Please enter an integer.", "Heliowatch", QMessageBox::Ok,
                         QMessageBox::Warning);
        m_pEdit->setFocus();
        m_pEdit->selectAll();
        return false;
    }
    if (IsAboveLimit(text)) {
        MessageBox::Show(this, QString("Interval must <= %1S").arg(MAX_INTERVAL), "");
        return false;
    }
    m_nInterval = text.toInt();
    return true;
}

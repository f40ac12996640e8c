#pragma once

#include <QDialog>

class CHeliowatchDoc;
class QLineEdit;

// Shows and changes the sampling interval, in whole seconds, through the
// document.
class CSamplingIntervalDlg : public QDialog {
    Q_OBJECT

public:
    explicit CSamplingIntervalDlg(QWidget* parent = nullptr);

    void SetDocument(CHeliowatchDoc* document) { m_pDoc = document; }

    // Without a document the dialog cancels itself before it is shown.
    int exec() override;

private:
    bool OnInitDialog();
    void OnOK();
    // False, after telling the operator, when the edit holds anything but
    // digits or a number above the longest interval.
    bool ReadInterval();

    int m_nInterval = 0;
    CHeliowatchDoc* m_pDoc = nullptr;
    QLineEdit* m_pEdit;
};

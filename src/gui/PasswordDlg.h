#pragma once

#include <QDialog>

class QLineEdit;

// Asks for the password that guards writes to an inverter; ends with OK only
// once the right one was typed.
class CPasswordDlg : public QDialog {
    Q_OBJECT

public:
    explicit CPasswordDlg(QWidget* parent = nullptr);

private:
    void OnOK();

    QLineEdit* m_pEdit;
};

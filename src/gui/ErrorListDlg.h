#pragma once

#include "model/InvFaultRecord.h"

#include <QDialog>
#include <string>
#include <vector>

class QComboBox;
class QTableWidget;

// The fault records of the fault record file as a table, narrowed to one
// inverter by serial number and sorted by a click on a heading, and their
// export to a CSV file. The file is read
// once each time the dialog opens and never written.
class CErrorListDlg : public QDialog {
    Q_OBJECT

public:
    enum Column { SERNO, START_TIME, ERROR_TIME, MODE, MESSAGE, VALUE, COLUMNS };

    explicit CErrorListDlg(QWidget* parent = nullptr);

    int exec() override;

    // The fault values as text, chosen by the lowest set error bit.
    static std::string ValueText(const InvFaultRecord& record);

protected:
    void done(int result) override;

private:
    void OnInitDialog();
    void InitColumns();
    void LoadRecords();
    void FillInverterCombo();
    void FillList();
    void AddRow(int row, const InvFaultRecord& record);
    // By the heading the operator clicked last, if any.
    void SortList();
    void OnExport();
    // In file order; only the chosen inverter's records once one is chosen.
    std::vector<const InvFaultRecord*> ShownRecords() const;

    QComboBox* m_cbInverter;
    QTableWidget* m_lcErrors;
    std::vector<InvFaultRecord> m_records;
};

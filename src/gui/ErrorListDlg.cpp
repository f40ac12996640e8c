#include "ErrorListDlg.h"

#include "SortableItem.h"
#include "res/ResourceIds.h"
#include "store/BusText.h"
#include "store/FaultRecordFile.h"
#include "store/FaultRecordReader.h"
#include "store/FaultRowText.h"
#include "store/ReplaceFile.h"
#include "widgets/DialogControls.h"
#include "widgets/DialogUnits.h"
#include "widgets/FileDialog.h"
#include "widgets/FullTextToolTip.h"
#include "widgets/MessageBox.h"

#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

namespace {
const QStringList COLUMN_NAMES = {"Serno", "Start time", "Error time", "Mode", "Message", "Value"};
const QString ALL_INVERTERS = "All";
using RowTexts = FaultRowTexts;

QTableWidget* AddErrorTable(QDialog* dialog, const DialogUnits& units) {
    auto* table = new QTableWidget(dialog);
    table->setObjectName(QString::number(IDC_ERROR_LIST));
    table->setGeometry(units.Rect(7, 7, 473, 168));
    table->setItemDelegate(new FullTextToolTip(table));
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setWordWrap(false);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    table->horizontalHeader()->setHighlightSections(false);
    // File order until the operator clicks a heading.
    table->horizontalHeader()->setSectionsClickable(true);
    table->horizontalHeader()->setSortIndicatorShown(true);
    table->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    return table;
}

QComboBox* AddInverterCombo(QDialog* dialog, const DialogUnits& units) {
    auto* label = new QLabel("Inverter", dialog);
    label->setGeometry(units.Rect(7, 185, 47, 11));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* combo = new QComboBox(dialog);
    combo->setObjectName(QString::number(IDC_ERROR_INVERTER));
    // The closed box keeps its natural height; the template's height is
    // that of the opened list.
    combo->setGeometry(units.X(7), units.Y(198), units.X(100), combo->sizeHint().height());
    return combo;
}
} // namespace

CErrorListDlg::CErrorListDlg(QWidget* parent) : QDialog(parent) {
    const DialogUnits units = SetUpDialog(*this, IDD_ERROR_LIST, "Error list", 490, 222);

    m_lcErrors = AddErrorTable(this, units);
    m_cbInverter = AddInverterCombo(this, units);
    QPushButton* exportButton = AddPushButton(this, units, "Export", IDC_ERROR_EXPORT, {169, 199});
    QPushButton* cancel = AddPushButton(this, units, "Cancel", IDCANCEL, {270, 198});
    QPushButton* ok = AddPushButton(this, units, "OK", IDOK, {342, 199});
    ok->setDefault(true);

    connect(m_cbInverter, &QComboBox::currentIndexChanged, this, &CErrorListDlg::FillList);
    connect(m_lcErrors->horizontalHeader(), &QHeaderView::sortIndicatorChanged, this,
            &CErrorListDlg::SortList);
    connect(exportButton, &QPushButton::clicked, this, &CErrorListDlg::OnExport);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

int CErrorListDlg::exec() {
    OnInitDialog();
    return QDialog::exec();
}

void CErrorListDlg::done(int result) {
    std::vector<InvFaultRecord>().swap(m_records);
    QDialog::done(result);
}

void CErrorListDlg::OnInitDialog() {
    InitColumns();
    LoadRecords();
    FillInverterCombo();
    FillList();
}

void CErrorListDlg::InitColumns() {
    m_lcErrors->setColumnCount(COLUMNS);
    m_lcErrors->setHorizontalHeaderLabels(COLUMN_NAMES);
    m_lcErrors->setShowGrid(true);
    m_lcErrors->setSelectionBehavior(QAbstractItemView::SelectRows);
    const int width = m_lcErrors->contentsRect().width();
    for (int column = 0; column < COLUMNS; ++column) {
        m_lcErrors->setColumnWidth(column,
                                   width / COLUMNS + (column == MESSAGE ? width % COLUMNS : 0));
    }
}

void CErrorListDlg::LoadRecords() {
    m_records = LoadFaultRecords(FaultRecordFilePath());
}

void CErrorListDlg::FillInverterCombo() {
    const QSignalBlocker quiet(m_cbInverter);
    m_cbInverter->clear();
    m_cbInverter->addItem(ALL_INVERTERS);
    for (const InvFaultRecord& record : m_records) {
        const QString serial = BusText(FaultSerialText(record));
        if (m_cbInverter->findText(serial, Qt::MatchFixedString | Qt::MatchCaseSensitive) < 0) {
            m_cbInverter->addItem(serial);
        }
    }
    m_cbInverter->setCurrentIndex(0);
}

void CErrorListDlg::FillList() {
    const std::vector<const InvFaultRecord*> shown = ShownRecords();
    m_lcErrors->setRowCount(0);
    m_lcErrors->setRowCount(static_cast<int>(shown.size()));
    for (std::size_t row = 0; row < shown.size(); ++row) {
        AddRow(static_cast<int>(row), *shown[row]);
    }
    SortList();
}

// Rows that tie keep their order in the file.
void CErrorListDlg::AddRow(int row, const InvFaultRecord& record) {
    const RowTexts texts = FaultRowTextsOf(record);
    for (int column = 0; column < COLUMNS; ++column) {
        auto* cell = new SortableItem(BusText(texts[column]));
        cell->setData(SortableItem::SORT_ROLE, cell->text());
        cell->setData(SortableItem::TIE_ROLE, row);
        m_lcErrors->setItem(row, column, cell);
    }
}

void CErrorListDlg::SortList() {
    const QHeaderView* header = m_lcErrors->horizontalHeader();
    if (header->sortIndicatorSection() >= 0 && header->sortIndicatorSection() < COLUMNS) {
        m_lcErrors->sortItems(header->sortIndicatorSection(), header->sortIndicatorOrder());
    }
}

std::vector<const InvFaultRecord*> CErrorListDlg::ShownRecords() const {
    const bool allInverters = m_cbInverter->currentIndex() <= 0;
    const std::string chosen = BusBytes(m_cbInverter->currentText());
    std::vector<const InvFaultRecord*> shown;
    for (const InvFaultRecord& record : m_records) {
        if (allInverters || FaultSerialText(record) == chosen) {
            shown.push_back(&record);
        }
    }
    return shown;
}

void CErrorListDlg::OnExport() {
    const QString path =
        FileDialog::GetSaveFileName(this, "Save As", "ErrorList.csv", "CSV Files (*.csv)");
    if (path.isEmpty()) {
        return;
    }
    std::string text(FAULT_EXPORT_HEADER);
    for (const InvFaultRecord* record : ShownRecords()) {
        text += FaultExportLine(FaultRowTextsOf(*record));
    }
    std::string reason;
    const ReplaceOutcome outcome =
        ReplaceFile(QFile::encodeName(path).toStdString(), text, &reason);
    if (outcome != ReplaceOutcome::WRITTEN) {
        const QString failure =
            outcome == ReplaceOutcome::OPEN_FAILED ? "Open file fail" : "Write file fail";
        MessageBox::Show(this, failure + "\n" + QString::fromLocal8Bit(reason), "");
    }
}

std::string CErrorListDlg::ValueText(const InvFaultRecord& record) {
    return FaultValueText(record);
}

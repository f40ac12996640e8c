#include "ErrorListDlg.h"

#include "model/NoTime.h"
#include "platform/TimeText.h"
#include "res/ResourceIds.h"
#include "store/CsvField.h"
#include "store/FaultRecordFile.h"
#include "store/FaultRecordReader.h"
#include "store/FaultText.h"
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
constexpr std::string_view EXPORT_HEADER =
    "Serno, Start time, Error time, Mode, Message, Value\r\n";

using RowTexts = std::array<std::string, CErrorListDlg::COLUMNS>;

template <typename... Args>
std::string Printf(const char* format, Args... args) {
    char text[80];
    std::snprintf(text, sizeof text, format, args...);
    return text;
}

std::string SerialText(const InvFaultRecord& record) {
    return std::string(record.serialNo.data(), strnlen(record.serialNo.data(), 16));
}

// Serial numbers can hold any byte; Latin-1 shows each one as one character
// and gives the same bytes back.
QString ShownText(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string EndTimeText(const InvFaultRecord& record) {
    return record.endTime == g_tNoTime ? "----" : LocalTimeText(record.endTime);
}

std::string RecordModeText(const InvFaultRecord& record) {
    return record.mode == 2 || record.mode == 3 ? ModeText(record.mode) : std::string();
}

RowTexts TextsOf(const InvFaultRecord& record) {
    return {SerialText(record),          LocalTimeText(record.startTime),
            EndTimeText(record),         RecordModeText(record),
            FaultText(record.errorBits), CErrorListDlg::ValueText(record)};
}

// Spreadsheets would read a serial number of digits only as a number.
bool IsDigitsOnly(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Each field stays one column however its text reads.
std::string ExportLine(const RowTexts& texts) {
    const std::string& serial = texts[CErrorListDlg::SERNO];
    std::string line = IsDigitsOnly(serial) ? "'" + serial + " ," : CsvField(serial + " ") + ",";
    line += CsvField("  " + texts[CErrorListDlg::START_TIME]) + ",";
    line += CsvField("  " + texts[CErrorListDlg::ERROR_TIME]) + ",";
    line += CsvField(texts[CErrorListDlg::MODE]) + ",";
    line += CsvField(texts[CErrorListDlg::MESSAGE]) + ",";
    line += CsvField(texts[CErrorListDlg::VALUE] + " ") + "\r\n";
    return line;
}

// value / divisor with as many decimals as the divisor has zeros.
std::string Fixed(unsigned value, unsigned divisor) {
    return Printf("%u.%0*u", value / divisor, divisor == 100 ? 2 : 1, value % divisor);
}

// One value, or three phase values when the second one is set.
std::string PhaseValues(const char* name, unsigned divisor, const char* unit,
                        const InvFaultRecord& record) {
    if (record.value2 == 0) {
        return Printf("%s : %s %s", name, Fixed(record.value1, divisor).c_str(), unit);
    }
    return Printf("%s1/2/3 : %s/%s/%s %s", name, Fixed(record.value1, divisor).c_str(),
                  Fixed(record.value2, divisor).c_str(), Fixed(record.value3, divisor).c_str(),
                  unit);
}

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
    table->horizontalHeader()->setSectionsClickable(false);
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
        const QString serial = ShownText(SerialText(record));
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
}

void CErrorListDlg::AddRow(int row, const InvFaultRecord& record) {
    const RowTexts texts = TextsOf(record);
    for (int column = 0; column < COLUMNS; ++column) {
        m_lcErrors->setItem(row, column, new QTableWidgetItem(ShownText(texts[column])));
    }
}

std::vector<const InvFaultRecord*> CErrorListDlg::ShownRecords() const {
    const bool allInverters = m_cbInverter->currentIndex() <= 0;
    const QByteArray chosenText = m_cbInverter->currentText().toLatin1();
    const std::string chosen = chosenText.toStdString();
    std::vector<const InvFaultRecord*> shown;
    for (const InvFaultRecord& record : m_records) {
        if (allInverters || SerialText(record) == chosen) {
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
    std::string text(EXPORT_HEADER);
    for (const InvFaultRecord* record : ShownRecords()) {
        text += ExportLine(TextsOf(*record));
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
    const unsigned first = record.value1;
    switch (LowestSetBit(record.errorBits)) {
    case 10: return Printf("GFCI : %u:%03u A", first / 1000, first % 1000);
    case 13: return Printf("Temp : %s C", Fixed(first, 10).c_str());
    case 15: return PhaseValues("Vpv", 10, "V", record);
    case 16:
    case 17: return PhaseValues("Vac", 10, "V", record);
    case 29: return PhaseValues("Fac", 100, "Hz", record);
    default: return {};
    }
}

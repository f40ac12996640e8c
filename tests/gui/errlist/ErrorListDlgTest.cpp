#include "gui/ErrorListDlg.h"

#include "CellToolTip.h"
#include "LocalTime.h"
#include "ModalRun.h"
#include "TempDirectory.h"
#include "model/NoTime.h"
#include "platform/DataDirectory.h"
#include "res/ResourceIds.h"
#include "store/FaultRecordCodec.h"
#include "widgets/FileDialog.h"
#include "widgets/MessageBox.h"

#include <QComboBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace {

constexpr std::uint32_t BIT(int n) {
    return 1U << n;
}

const std::int32_t TEN_AM = static_cast<std::int32_t>(LocalTime(2024, 5, 1, 10, 0, 0));
const std::string HEADER = "Fault Record File";
const std::string EXPORT_HEADER = "Serno, Start time, Error time, Mode, Message, Value\r\n";

InvFaultRecord Record(const std::string& serial, std::uint16_t mode, std::uint32_t errorBits,
                      std::int32_t endTime = g_tNoTime, std::uint16_t p = 0, std::uint16_t q = 0,
                      std::uint16_t r = 0) {
    InvFaultRecord record;
    std::copy_n(serial.begin(), std::min<std::size_t>(serial.size(), 16), record.serialNo.begin());
    record.mode = mode;
    record.errorBits = errorBits;
    record.value1 = p;
    record.value2 = q;
    record.value3 = r;
    record.startTime = TEN_AM;
    record.endTime = endTime;
    return record;
}

std::string Bytes(std::initializer_list<InvFaultRecord> records) {
    std::string bytes;
    for (const InvFaultRecord& record : records) {
        const FaultRecordBytes encoded = EncodeFaultRecord(record);
        bytes.append(encoded.begin(), encoded.end());
    }
    return bytes;
}

class ErrorListDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directory(directory.Path() + "/HistLog");
        SetDataDirectory(directory.Path());
    }
    void WriteFaultFile(const std::string& bytes) const {
        std::ofstream(directory.Path() + "/HistLog/InvFaultRecord.dat", std::ios::binary) << bytes;
    }
    std::string InDirectory(const std::string& name) const { return directory.Path() + "/" + name; }

    // A fresh dialog on the fault file as it is now, closed after whileOpen.
    void WithDialog(const std::function<void()>& whileOpen) {
        CErrorListDlg fresh;
        dialog = &fresh;
        RunModal(fresh, whileOpen);
    }
    template <typename Widget>
    Widget* Control(int id) const {
        return dialog->findChild<Widget*>(QString::number(id));
    }
    QTableWidget* Table() const { return Control<QTableWidget>(IDC_ERROR_LIST); }
    QComboBox* Combo() const { return Control<QComboBox>(IDC_ERROR_INVERTER); }
    QString Cell(int row, int column) const { return Table()->item(row, column)->text(); }
    void Export(const std::string& path) const {
        FileDialog::SetNextFileName(QString::fromStdString(path));
        QTest::mouseClick(Control<QPushButton>(IDC_ERROR_EXPORT), Qt::LeftButton);
    }
    std::string Exported(const std::string& name) const {
        std::ifstream in(InDirectory(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    TempDirectory directory;
    CErrorListDlg* dialog = nullptr;
};

// The file only grows and may have been cut short or replaced: whole records
// only, never a row made of the bytes that follow them.
TEST_F(ErrorListDlgTest, ShowsTheWholeRecordsOfAnyFile) {
    const std::string two = Bytes({Record("A1", 2, BIT(9)), Record("B2", 2, BIT(9))});
    const std::pair<std::string, int> files[] = {
        {"", 0},        {HEADER.substr(0, 10), 0},      {HEADER, 0},
        {two + two, 0}, {"Fault Record Filx" + two, 0}, {HEADER + two + two.substr(0, 20), 2},
    };
    for (const auto& [bytes, rows] : files) {
        WriteFaultFile(bytes);
        WithDialog([&, rows = rows] {
            EXPECT_EQ(Table()->rowCount(), rows) << bytes.size();
            EXPECT_EQ(Combo()->count(), rows + 1) << bytes.size();
            EXPECT_EQ(Combo()->currentText(), "All");
        });
    }
}

TEST_F(ErrorListDlgTest, OpensInFileOrderAndAClickOnAHeadingSortsByItBothWays) {
    WriteFaultFile(HEADER + Bytes({Record("B2", 2, BIT(9)), Record("C3", 2, BIT(9)),
                                   Record("A1", 2, BIT(9))}));
    WithDialog([&] {
        const auto serials = [&] { return Cell(0, 0) + Cell(1, 0) + Cell(2, 0); };
        EXPECT_EQ(serials(), "B2C3A1");
        QHeaderView* header = Table()->horizontalHeader();
        const QPoint serno(header->sectionViewportPosition(CErrorListDlg::SERNO) + 5,
                           header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, serno);
        const QString once = serials();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, serno);
        QStringList both = {once, serials()};
        both.sort();
        EXPECT_EQ(both, QStringList({"A1B2C3", "C3B2A1"}));
    });
}

TEST_F(ErrorListDlgTest, ACutMessageShowsInFullAsItsTooltip) {
    WriteFaultFile(HEADER + Bytes({Record("A1", 2, BIT(18))}));
    WithDialog([&] {
        const std::string message = Cell(0, CErrorListDlg::MESSAGE).toStdString();
        EXPECT_EQ(CellToolTip(*Table(), 0, CErrorListDlg::MESSAGE).toStdString(), message);
        EXPECT_EQ(CellToolTip(*Table(), 0, CErrorListDlg::SERNO).toStdString(), "");
    });
}

TEST_F(ErrorListDlgTest, TableAndExportShowTheSameTexts) {
    WriteFaultFile(HEADER +
                   Bytes({Record("1234567890123456", 2, BIT(10), TEN_AM + 300, 250),
                          Record("INV-A7", 3, BIT(15), g_tNoTime, 4120), Record("", 1, 0)}));
    WithDialog([&] {
        ASSERT_EQ(Table()->rowCount(), 3);
        EXPECT_EQ(Cell(1, CErrorListDlg::ERROR_TIME), "----");
        EXPECT_EQ(Cell(1, CErrorListDlg::VALUE), "Vpv : 412.0 V");
        Export(InDirectory("all.csv"));
    });
    EXPECT_EQ(FileDialog::LastProposedName(), "ErrorList.csv");
    EXPECT_EQ(Exported("all.csv"),
              EXPORT_HEADER +
                  "'1234567890123456 ,  2024/05/01 10:00:00,  2024/05/01 10:05:00,Fault,"
                  "Ground current is too high,GFCI : 0:250 A \r\n"
                  "INV-A7 ,  2024/05/01 10:00:00,  ----,Permanent Fault,"
                  "Pv input voltage is over the tolerable maximum value,Vpv : 412.0 V \r\n"
                  "' ,  2024/05/01 10:00:00,  ----,,, \r\n");
}

TEST_F(ErrorListDlgTest, ChosenInverterNarrowsTheTableAndTheExport) {
    WriteFaultFile(HEADER + Bytes({Record("B2", 2, BIT(9)), Record("A1", 2, BIT(9)),
                                   Record("B2", 3, BIT(9))}));
    WithDialog([&] {
        ASSERT_EQ(Combo()->count(), 3);
        EXPECT_EQ(Combo()->itemText(1), "B2");
        EXPECT_EQ(Combo()->itemText(2), "A1");
        QTest::keyClick(Combo(), Qt::Key_Down);
        ASSERT_EQ(Table()->rowCount(), 2);
        EXPECT_EQ(Cell(1, CErrorListDlg::MODE), "Permanent Fault");
        Export(InDirectory("b2.csv"));
        QTest::keyClick(Combo(), Qt::Key_Home);
        EXPECT_EQ(Table()->rowCount(), 3);
    });
    EXPECT_EQ(Exported("b2.csv"),
              EXPORT_HEADER +
                  "B2 ,  2024/05/01 10:00:00,  ----,Fault,Grid voltage =0, \r\n"
                  "B2 ,  2024/05/01 10:00:00,  ----,Permanent Fault,Grid voltage =0, \r\n");
}

TEST_F(ErrorListDlgTest, ValueTextsFollowTheLowestErrorBit) {
    const auto text = [](std::uint32_t bits, std::uint16_t p, std::uint16_t q, std::uint16_t r) {
        return CErrorListDlg::ValueText(Record("S", 2, bits, 0, p, q, r));
    };
    EXPECT_EQ(text(BIT(10) | BIT(13), 65535, 7, 0), "GFCI : 65:535 A");
    EXPECT_EQ(text(BIT(13) | BIT(29), 655, 0, 0), "Temp : 65.5 C");
    EXPECT_EQ(text(BIT(15), 4120, 0, 0), "Vpv : 412.0 V");
    EXPECT_EQ(text(BIT(15), 4120, 4115, 9), "Vpv1/2/3 : 412.0/411.5/0.9 V");
    EXPECT_EQ(text(BIT(16), 2301, 0, 0), "Vac : 230.1 V");
    EXPECT_EQ(text(BIT(17), 2301, 2299, 2310), "Vac1/2/3 : 230.1/229.9/231.0 V");
    EXPECT_EQ(text(BIT(29), 5002, 0, 0), "Fac : 50.02 Hz");
    EXPECT_EQ(text(BIT(29), 4998, 5000, 5105), "Fac1/2/3 : 49.98/50.00/51.05 Hz");
    for (const std::uint32_t bits : {0U, BIT(8), BIT(28), BIT(31)}) {
        EXPECT_EQ(text(bits, 1234, 0, 0), "") << bits;
    }
}

TEST_F(ErrorListDlgTest, CancelledOrUnwritableExportLeavesTheDialogOpen) {
    WriteFaultFile(HEADER + Bytes({Record("A1", 2, BIT(9))}));
    WithDialog([&] {
        MessageBox::SetNextAnswer(QMessageBox::Ok);
        Export("");
        EXPECT_TRUE(MessageBox::HasPendingAnswers());
        Export(InDirectory("missing/list.csv"));
        EXPECT_FALSE(MessageBox::HasPendingAnswers());
        EXPECT_EQ(MessageBox::LastText().section('\n', 0, 0), "Open file fail");
        EXPECT_TRUE(MessageBox::LastText().contains("No such file or directory"));
        EXPECT_EQ(MessageBox::LastCaption(), "");
        // A full disk: the write fails after the open went through.
        MessageBox::SetNextAnswer(QMessageBox::Ok);
        Export("/dev/full");
        EXPECT_EQ(MessageBox::LastText(), "Write file fail\n/dev/full: No space left on device");
        EXPECT_TRUE(dialog->isVisible());
    });
}

// A comma in a fault text once split it over two columns; a serial number
// like a formula would run in a spreadsheet.
TEST_F(ErrorListDlgTest, ExportedFieldsStayOneColumnAndNeverRunAsFormulas) {
    WriteFaultFile(HEADER + Bytes({Record("=1+2", 2, BIT(20)), Record("A,\"B", 2, BIT(9))}));
    WithDialog([&] { Export(InDirectory("quoted.csv")); });
    EXPECT_EQ(Exported("quoted.csv"),
              EXPORT_HEADER +
                  "'=1+2 ,  2024/05/01 10:00:00,  ----,Fault,\"Different value between Master and "
                  "Slave for dI, Fac, Uac or Zac\", \r\n"
                  "\"A,\"\"B \",  2024/05/01 10:00:00,  ----,Fault,Grid voltage =0, \r\n");
}

} // namespace

#include "gui/HistoryDlg.h"

#include "HistoryFixture.h"
#include "HistoryLines.h"
#include "Succeeded.h"
#include "charts/HistoryChartView.h"
#include "history/SummaryReader.h"
#include "history/SummarySchema.h"
#include "res/ResourceIds.h"
#include "widgets/FileDialog.h"

#include <QComboBox>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTest>

namespace {

const std::string ODD_NAME = "S,\"7\""; // a file name a CSV field must quote

// June 2026: on day d, A1 yields d × 0.1 kWh and peaks at 2000 + d W at
// 16:00; the other inverter yields d × 0.05 kWh at a steady 1000 W.
void WriteJune(const std::string& histLog) {
    std::vector<LineSample> a1;
    std::vector<LineSample> odd;
    for (int day = 1; day <= 30; ++day) {
        a1.push_back({Berlin(2026, 6, day, 10, 0), 1000, 0, 100});
        a1.push_back({Berlin(2026, 6, day, 16, 0), 2000 + day, day * 10, 100});
        odd.push_back({Berlin(2026, 6, day, 10, 0), 1000, 0, 100});
        odd.push_back({Berlin(2026, 6, day, 16, 0), 1000, day * 5, 100});
    }
    WriteBytes(histLog + "/A1.csv", SingleFile(a1));
    WriteBytes(histLog + "/" + ODD_NAME + ".csv", SingleFile(odd));
}

// The rows of a CSV file as Python's csv module reads them.
std::vector<QStringList> ParsedByPython(const QString& path) {
    QProcess python;
    python.start("python3", {"-c",
                             "import csv, json, sys\n"
                             "print(json.dumps(list(csv.reader(open(sys.argv[1], newline='')))))",
                             path});
    EXPECT_TRUE(python.waitForFinished(10000));
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    std::vector<QStringList> rows;
    for (const QJsonValue& row : QJsonDocument::fromJson(python.readAllStandardOutput()).array()) {
        rows.push_back(row.toVariant().toStringList());
    }
    return rows;
}

std::int64_t WattHours(const QString& kilowattHours) {
    return kilowattHours.isEmpty() ? -1 : std::llround(kilowattHours.toDouble() * 1000.0);
}

class HistoryDlgTest : public HistoryFixture {
protected:
    void SetUp() override {
        HistoryFixture::SetUp();
        WriteJune(HistLog());
        Rebuild();
        dialog = std::make_unique<CHistoryDlg>();
        dialog->show();
    }
    template <typename Widget>
    Widget* Control(int id) const {
        return dialog->findChild<Widget*>(QString::number(id));
    }
    CHistoryChartView* Chart() const { return Control<CHistoryChartView>(IDC_HISTORY_CHART); }
    QString Text(int id) const { return Control<QLabel>(id)->text(); }
    QString Export(int button, const QString& name) const {
        const QString path = QString::fromStdString(DataDirectory()) + "/" + name;
        FileDialog::SetNextFileName(path);
        QTest::mouseClick(Control<QPushButton>(button), Qt::LeftButton);
        return path;
    }

    std::unique_ptr<CHistoryDlg> dialog;
};

TEST_F(HistoryDlgTest, ASummaryThatCannotBeReadShowsWhy) {
    DropDayTable(SummaryPath());
    CHistoryDlg broken;
    broken.ShowPeriod({PeriodKind::MONTH, 20260601});
    const QString totals = broken.findChild<QLabel*>(QString::number(IDC_HISTORY_TOTALS))->text();
    EXPECT_TRUE(totals.contains("no such table: day")) << totals.toStdString();
}

TEST_F(HistoryDlgTest, MonthShowsDailyBarsAndTotals) {
    dialog->ShowPeriod({PeriodKind::MONTH, 20260615});
    ASSERT_TRUE(Chart()->ShowsBars());
    const auto& bars = Chart()->Bars().Bars();
    ASSERT_EQ(bars.size(), 30U);
    for (std::size_t i = 0; i < bars.size(); ++i) {
        EXPECT_NEAR(bars[i].value, 0.15 * static_cast<double>(i + 1), 1e-9) << i;
        EXPECT_EQ(bars[i].label, QString::number(i + 1));
    }
    EXPECT_EQ(Text(IDC_HISTORY_TITLE), "Plant, 2026-06");
    EXPECT_EQ(Text(IDC_HISTORY_TOTALS),
              "Energy: 69.75 kWh    Peak (5-minute mean): 3030 W on 2026-06-30 at 16:00    "
              "Best day: 2026-06-30, 4.50 kWh");

    const QImage picture = Chart()->Picture();
    const QRect tallest = Chart()->Bars().BarRect(29);
    EXPECT_EQ(picture.pixelColor(tallest.center()), QColor(0, 240, 0));
    for (const int i : {0, 14}) {
        const QRect bar = Chart()->Bars().BarRect(i);
        EXPECT_EQ(picture.pixelColor(bar.center()), QColor(0, 240, 0));
        EXPECT_EQ(bar.bottom(), tallest.bottom());
        EXPECT_NEAR(bar.height(), tallest.height() * (i + 1) / 30.0, 1.0) << i;
    }
}

TEST_F(HistoryDlgTest, ExportedMonthReadsBackAsTheSummary) {
    dialog->ShowPeriod({PeriodKind::MONTH, 20260615});
    const std::vector<QStringList> rows = ParsedByPython(Export(IDC_HISTORY_EXPORT_CSV, "m.csv"));
    ASSERT_EQ(rows.size(), 31U);
    EXPECT_EQ(rows[0], (QStringList{"date", "energy (kWh)", "A1 energy (kWh)",
                                    QString::fromStdString(ODD_NAME) + " energy (kWh)"}));
    SummaryReader reader;
    ASSERT_TRUE(reader.Open(SummaryPath(), nullptr));
    const auto plant = Succeeded(reader.Energy(20260601, 20260630, 1, SummaryReader::PLANT));
    const auto bySource = Succeeded(reader.EnergyBySource(20260601, 20260630, 1));
    const auto sources = Succeeded(reader.Sources());
    for (int day = 1; day <= 30; ++day) {
        const QStringList& row = rows[static_cast<std::size_t>(day)];
        const int key = 20260600 + day;
        EXPECT_EQ(row[0], QString::asprintf("2026-06-%02d", day));
        EXPECT_EQ(WattHours(row[1]), plant.at(key));
        EXPECT_EQ(WattHours(row[2]), bySource.at(sources[0].id).at(key));
        EXPECT_EQ(WattHours(row[3]), bySource.at(sources[1].id).at(key));
    }
}

TEST_F(HistoryDlgTest, DayOfOneInverterExportsItsFiveMinuteStretches) {
    dialog->findChild<QComboBox*>(QString::number(IDC_HISTORY_SUBJECT))->setCurrentText("A1");
    dialog->ShowPeriod({PeriodKind::DAY, 20260630});
    EXPECT_FALSE(Chart()->ShowsBars());
    EXPECT_EQ(Chart()->Curve().SampleCount(), 2U);
    EXPECT_EQ(Text(IDC_HISTORY_TOTALS), "Energy: 3.00 kWh    Peak: 2030 W at 16:00:00");
    const std::vector<QStringList> rows = ParsedByPython(Export(IDC_HISTORY_EXPORT_CSV, "d.csv"));
    ASSERT_EQ(rows.size(), 1U + 288U);
    EXPECT_EQ(rows[0],
              (QStringList{"start", "end", "mean power (W)", "maximum power (W)", "energy (kWh)"}));
    EXPECT_EQ(rows[1 + 16 * 12],
              (QStringList{"2026-06-30T16:00:00+02:00", "2026-06-30T16:05:00+02:00", "2030.0",
                           "2030", "3.000"}));
    EXPECT_EQ(rows[1 + 12 * 12],
              (QStringList{"2026-06-30T12:00:00+02:00", "2026-06-30T12:05:00+02:00", "", "", ""}));

    const QImage picture(Export(IDC_HISTORY_EXPORT_PNG, "d.png"));
    EXPECT_EQ(picture.size(), Chart()->size());

    dialog->ShowPeriod({PeriodKind::DAY, 20260329});
    EXPECT_EQ(Text(IDC_HISTORY_TITLE), "A1, 2026-03-29 (23 hours)");
    EXPECT_EQ(Text(IDC_HISTORY_TOTALS), "No samples in this period");
}

} // namespace

#include "gui/AboutDlg.h"

#include "ModalRun.h"
#include "res/ResourceIds.h"
#include "widgets/DialogUnits.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QPushButton* OkButton(const CAboutDlg& dialog) {
    return dialog.findChild<QPushButton*>(QString::number(IDOK));
}

const QLabel* LabelWithText(const CAboutDlg& dialog, const QString& text) {
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        if (label->text() == text) {
            return label;
        }
    }
    return nullptr;
}

TEST(AboutDlgTest, ShowsBothLinesWithinTheirRectangles) {
    CAboutDlg dialog;
    const DialogUnits units(dialog.font());
    EXPECT_EQ(dialog.windowTitle(), "About Heliowatch");
    const struct {
        QString text;
        QRect rect;
    } lines[] = {{"Thanks your using our product", units.Rect(53, 12, 149, 8)},
                 {"Heliowatch Version 0.1", units.Rect(53, 27, 119, 8)}};
    for (const auto& line : lines) {
        const QLabel* label = LabelWithText(dialog, line.text);
        ASSERT_NE(label, nullptr) << line.text.toStdString();
        EXPECT_EQ(label->geometry(), line.rect);
        EXPECT_LE(label->fontMetrics().horizontalAdvance(line.text), line.rect.width())
            << line.text.toStdString() << " is cut off";
    }
}

TEST(AboutDlgTest, IconAndButtonSitWhereTheDialogUnitsSay) {
    CAboutDlg dialog;
    const DialogUnits units(dialog.font());
    EXPECT_EQ(dialog.size(), units.Rect(0, 0, 265, 81).size());
    const auto* icon = dialog.findChild<QLabel*>(QString::number(IDI_ABOUT));
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->geometry(), QRect(units.X(8), units.Y(8), 32, 32));
    EXPECT_FALSE(icon->pixmap().isNull());
    EXPECT_EQ(OkButton(dialog)->geometry(), units.Rect(208, 7, 50, 14));
    EXPECT_TRUE(OkButton(dialog)->isDefault());
}

TEST(AboutDlgTest, OkAndReturnClose) {
    CAboutDlg dialog;
    EXPECT_EQ(RunModal(dialog, [&] { QTest::mouseClick(OkButton(dialog), Qt::LeftButton); }),
              QDialog::Accepted);
    EXPECT_EQ(RunModal(dialog, [&] { QTest::keyClick(&dialog, Qt::Key_Return); }),
              QDialog::Accepted);
}

} // namespace

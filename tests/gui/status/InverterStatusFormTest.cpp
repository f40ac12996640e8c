#include "gui/InverterStatusForm.h"

#include "FieldContrast.h"
#include "charts/Meter.h"
#include "res/ResourceIds.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace {

class InverterStatusForm : public ::testing::Test {
protected:
    void SetUp() override { CreateInverterStatusForm(dialog, meter); }

    QLineEdit* Field(int id) const { return dialog.findChild<QLineEdit*>(QString::number(id)); }
    // The unit stands right of its box, on the same line.
    QString UnitBeside(int id) const {
        const QRect box = Field(id)->geometry();
        for (const QLabel* label : dialog.findChildren<QLabel*>()) {
            const QRect place = label->geometry();
            if (place.left() > box.right() && place.top() < box.bottom() &&
                place.bottom() > box.top()) {
                return label->text();
            }
        }
        return {};
    }

    QDialog dialog;
    CMeter meter;
};

TEST_F(InverterStatusForm, EnvironmentReadingsCarryTheirUnits) {
    const std::pair<int, const char*> units[] = {{IDC_STATUS_RADIATION, "W/m²"},
                                                 {IDC_STATUS_WIND_SPEED, "m/s"},
                                                 {IDC_STATUS_ENV_TEMP, "°C"},
                                                 {IDC_STATUS_MODULE_TEMP, "°C"}};
    for (const auto& [id, unit] : units) {
        EXPECT_EQ(UnitBeside(id).toStdString(), unit) << id;
    }
}

TEST_F(InverterStatusForm, ValueBoxesAreReadOnlyAndLegible) {
    const QList<QLineEdit*> fields = dialog.findChildren<QLineEdit*>();
    ASSERT_EQ(fields.size(), 16);
    for (QLineEdit* field : fields) {
        EXPECT_TRUE(field->isReadOnly() && field->isEnabled()) << field->objectName().toStdString();
        EXPECT_GE(FieldContrast(*field), 4.5) << field->objectName().toStdString();
    }
}

} // namespace

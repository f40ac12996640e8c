#include "store/ParamAudit.h"

#include "HistLogFixture.h"
#include "LocalTime.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

using ParamAuditTest = HistLogFixture;

ParamAuditEntry Entry(const std::string& serialNo, const std::string& parameter,
                      const std::string& newValue, const std::string& outcome) {
    return {LocalTime(2027, 1, 15, 12, 3, 4),
            3,
            2,
            serialNo,
            parameter,
            "V",
            "150.0",
            newValue,
            outcome};
}

TEST_F(ParamAuditTest, EachWriteIsOneLineUnderAHeaderAndReadsBackAsWritten) {
    const ParamAuditEntry refused = Entry("SN,1", "Vpv-Start", "155.0", "refused by the inverter");
    const ParamAuditEntry written = Entry("SN,1", "Vpv-Start", "155.0", "written");
    const ParamAuditEntry elsewhere = Entry("OTHER", "Vac-Min", "-1", "no answer");
    for (const ParamAuditEntry& entry : {refused, elsewhere, written}) {
        ASSERT_TRUE(AppendParamAudit(entry));
    }
    EXPECT_EQ(ReadFile(m_dataDirectory + "/ParameterWrites.csv"),
              "Time,Port,Address,Serno,Parameter,Unit,Old value,New value,Outcome\r\n"
              "2027/01/15 12:03:04,COM3,2,\"SN,1\",Vpv-Start,V,150.0,155.0,refused by the "
              "inverter\r\n"
              "2027/01/15 12:03:04,COM3,2,OTHER,Vac-Min,V,150.0,'-1,no answer\r\n"
              "2027/01/15 12:03:04,COM3,2,\"SN,1\",Vpv-Start,V,150.0,155.0,written\r\n");
    EXPECT_EQ(ReadParamAudit("SN,1"), (std::vector<ParamAuditEntry>{refused, written}));
    EXPECT_EQ(ReadParamAudit("OTHER"), (std::vector<ParamAuditEntry>{elsewhere}));
}

TEST_F(ParamAuditTest, TheChangeThatGaveAnInverterItsSerialNumberIsAmongItsWrites) {
    const ParamAuditEntry change = Entry("OLD", SERIAL_PARAMETER, "NEW", "written");
    ASSERT_TRUE(AppendParamAudit(change));
    EXPECT_EQ(ReadParamAudit("NEW"), (std::vector<ParamAuditEntry>{change}));
    EXPECT_EQ(ReadParamAudit("OLD"), (std::vector<ParamAuditEntry>{change}));
}

TEST_F(ParamAuditTest, AWriteThatCannotBeRecordedSaysWhy) {
    std::filesystem::remove_all(m_dataDirectory);
    WriteFile(m_dataDirectory, "a file where the data directory was");
    std::string failure;
    EXPECT_FALSE(AppendParamAudit(Entry("SN", "T-Start", "30", "written"), &failure));
    EXPECT_NE(failure.find("ParameterWrites.csv"), std::string::npos) << failure;
}

} // namespace

#include "gui/CommConfigDlg.h"

#include "TempDirectory.h"
#include "comm/CommShared.h"
#include "model/InverterGroup.h"
#include "platform/ExitEvent.h"
#include "res/ResourceIds.h"
#include "store/HeliowatchDoc.h"
#include "store/SettingsStore.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QPushButton>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>

namespace {

class CommConfigDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        settingsPath = directory.Path() + "/Heliowatch.ini";
        // No port object: every group's thread ends at once, so the requests
        // the dialog sets stay for the test to read.
        environment.makePort = [](const SerialSettings&) { return std::unique_ptr<SerialPort>(); };
    }
    void TearDown() override {
        dialog.reset();
        document.reset();
        g_hExitEvent.Reset();
    }
    void OpenDocument(const std::string& settings) {
        std::ofstream(settingsPath) << settings;
        document = std::make_unique<CHeliowatchDoc>(environment, settingsPath);
        ASSERT_TRUE(document->LoadSettings());
    }
    void OpenDialog(std::vector<int> systemPorts) {
        dialog = std::make_unique<CCommConfigDlg>(*document, nullptr,
                                                  [systemPorts] { return systemPorts; });
    }
    void Open(const std::string& settings, std::vector<int> systemPorts) {
        OpenDocument(settings);
        OpenDialog(std::move(systemPorts));
    }
    template <class Control>
    Control* Find(int id) {
        return dialog->findChild<Control*>(QString::number(id));
    }
    QComboBox* ComList() { return Find<QComboBox>(IDC_COM_PORT); }
    QComboBox* EnvList() { return Find<QComboBox>(IDC_ENV_PORT); }
    QCheckBox* Enable() { return Find<QCheckBox>(IDC_COM_ENABLE); }
    QCheckBox* Environment() { return Find<QCheckBox>(IDC_ENVIRONMENT); }
    static QStringList Items(const QComboBox* list) {
        QStringList items;
        for (int index = 0; index < list->count(); ++index) {
            items.append(list->itemText(index));
        }
        return items;
    }
    static void Focus(QWidget* control) {
        QFocusEvent event(QEvent::FocusIn, Qt::MouseFocusReason);
        QApplication::sendEvent(control, &event);
    }
    // As the operator picks an item: the list gains the focus first.
    static void Choose(QComboBox* list, const QString& text) {
        Focus(list);
        const int index = list->findText(text);
        ASSERT_GE(index, 0) << text.toStdString() << " not offered";
        list->setCurrentIndex(index);
        emit list->activated(index);
    }
    CInverterGroup* Group(int port) const {
        for (CInverterGroup* group : document->GetGroups()) {
            if (group->m_nComPort == port) {
                return group;
            }
        }
        return nullptr;
    }
    std::string SettingsText() const {
        std::ifstream file(settingsPath);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }

    TempDirectory directory;
    std::string settingsPath;
    CommEnvironment environment;
    std::unique_ptr<CHeliowatchDoc> document;
    std::unique_ptr<CCommConfigDlg> dialog;
};

TEST_F(CommConfigDlgTest, OffersSystemAndConfiguredPortsInPortOrder) {
    Open("[Com5]\nEnable=1\n", {10, 1, 3});
    EXPECT_EQ(Items(ComList()), (QStringList{"Com1", "Com3", "Com5", "Com10"}));
    // The first port has no entry yet.
    EXPECT_EQ(ComList()->currentText(), "Com1");
    EXPECT_FALSE(Enable()->isChecked());
    EXPECT_FALSE(Environment()->isChecked());
    EXPECT_FALSE(EnvList()->isEnabled());

    Choose(ComList(), "Com5");
    EXPECT_TRUE(Enable()->isChecked());
    EXPECT_EQ(Items(ComList()), (QStringList{"Com1", "Com3", "Com5", "Com10"}));
}

TEST_F(CommConfigDlgTest, WithNothingConfiguredOrOfferedBothBoxesAreClear) {
    Open("", {});
    EXPECT_EQ(ComList()->count(), 0);
    EXPECT_FALSE(Enable()->isChecked());
    EXPECT_FALSE(Environment()->isChecked());
    EXPECT_FALSE(EnvList()->isEnabled());
    Enable()->click(); // no port chosen: nothing to record
    Find<QPushButton>(IDOK)->click();
    EXPECT_TRUE(document->GetGroups().empty());
}

TEST_F(CommConfigDlgTest, AnEnvironmentPortIsNeverOfferedAsABusPort) {
    Open("[Com3]\nEnable=1\nEnvironmentCom=5\n", {1, 3, 5, 7});
    EXPECT_EQ(Items(ComList()), (QStringList{"Com1", "Com3", "Com7"}));
    Choose(ComList(), "Com3");
    EXPECT_TRUE(Environment()->isChecked());
    EXPECT_EQ(EnvList()->currentText(), "Com5");

    Choose(ComList(), "Com7");
    Enable()->click();
    Environment()->click();
    Focus(EnvList());
    // Bus ports, the other port's sensor and the port itself are left out.
    EXPECT_EQ(Items(EnvList()), (QStringList{"Com1"}));
    Choose(EnvList(), "Com1");
    Focus(ComList());
    EXPECT_EQ(Items(ComList()), (QStringList{"Com3", "Com7"}));
    EXPECT_EQ(ComList()->currentText(), "Com7");

    Find<QPushButton>(IDOK)->click();
    ASSERT_NE(Group(7), nullptr);
    EXPECT_EQ(Group(7)->m_bEnvEnabled, 1);
    EXPECT_EQ(Group(7)->m_nEnvComPort, 1);
    EXPECT_EQ(Group(3)->m_bEnvChangeRequest, 0); // its sensor port is unchanged
}

TEST_F(CommConfigDlgTest, UntickingEnableStopsThePortAndSavesItDisabled) {
    Open("[Com3]\nEnable=1\nEnvironmentCom=5\n[Com4]\nEnable=1\n", {3, 4, 5});
    Choose(ComList(), "Com3");
    Enable()->click();
    EXPECT_FALSE(Environment()->isChecked());
    EXPECT_FALSE(EnvList()->isEnabled());
    Find<QPushButton>(IDOK)->click();

    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(Group(3)->m_bStopRequest, 1);
    EXPECT_EQ(Group(4)->m_bStopRequest, 0);
    const SettingsStore saved(settingsPath);
    EXPECT_EQ(saved.GetInt("Com3", "Enable", -1), 0);
    EXPECT_EQ(saved.GetInt("Com3", "EnvironmentEnable", -1), 0);
    EXPECT_EQ(saved.GetInt("Com3", "EnvironmentCom", -1), 0);
    EXPECT_EQ(saved.GetInt("Com4", "Enable", -1), 1);

    // Opened again before the port's thread has ended: the port is off, and
    // stays off once its group is gone.
    OpenDialog({3, 4, 5});
    Choose(ComList(), "Com3");
    EXPECT_FALSE(Enable()->isChecked());
    document->RemovePortGroup(Group(3));
    Find<QPushButton>(IDOK)->click();
    EXPECT_EQ(Group(3), nullptr);
}

TEST_F(CommConfigDlgTest, OkHandsSensorChangesToTheRunningPorts) {
    OpenDocument("[Com3]\nEnable=1\nEnvironmentCom=5\n[Com4]\nEnable=1\nEnvironmentCom=8\n"
                 "[Com10]\nEnable=1\nEnvironmentCom=11\n");
    // Its thread has since switched the sensor off; the old number stays.
    Group(10)->m_bEnvEnabled = 0;
    OpenDialog({3, 4, 5, 6, 8, 10, 11});
    Choose(ComList(), "Com3");
    Choose(EnvList(), "Com6");
    Choose(ComList(), "Com4");
    Environment()->click();
    Choose(ComList(), "Com10");
    Environment()->click();
    Choose(EnvList(), "Com11");
    Find<QPushButton>(IDOK)->click();

    EXPECT_EQ(Group(3)->m_nNewEnvComPort, 6);
    EXPECT_EQ(Group(3)->m_bEnvChangeRequest, 1);
    EXPECT_EQ(Group(4)->m_nNewEnvComPort, 0);
    EXPECT_EQ(Group(4)->m_bEnvChangeRequest, 1);
    EXPECT_EQ(Group(10)->m_nNewEnvComPort, 11);
    EXPECT_EQ(Group(10)->m_bEnvChangeRequest, 1);
}

TEST_F(CommConfigDlgTest, ANewPortWhoseSensorWasUntickedAgainStartsWithoutOne) {
    Open("", {2, 4});
    Choose(ComList(), "Com2");
    Enable()->click();
    Environment()->click();
    Choose(EnvList(), "Com4");
    Environment()->click();
    Find<QPushButton>(IDOK)->click();

    ASSERT_NE(Group(2), nullptr);
    EXPECT_EQ(Group(2)->m_bEnvEnabled, 0);
    const SettingsStore saved(settingsPath);
    EXPECT_EQ(saved.GetInt("Com2", "Enable", -1), 1);
    EXPECT_EQ(saved.GetInt("Com2", "EnvironmentCom", -1), 0);
}

TEST_F(CommConfigDlgTest, FastRepliesBoxShowsTheSettingAndOkSavesIt) {
    Open("[Bus]\nFastReplies=1\n", {});
    QCheckBox* fast = Find<QCheckBox>(IDC_FAST_REPLIES);
    ASSERT_NE(fast, nullptr);
    EXPECT_TRUE(fast->isChecked());
    fast->click();
    Find<QPushButton>(IDOK)->click();
    EXPECT_FALSE(g_bFastReplies);
    EXPECT_EQ(SettingsStore(settingsPath).GetInt("Bus", "FastReplies", -1), 0);
}

TEST_F(CommConfigDlgTest, CancelTouchesNothing) {
    const std::string settings = "[Com3]\nEnable=1\nEnvironmentCom=5\n";
    Open(settings, {1, 3, 5, 6});
    Choose(ComList(), "Com3");
    Choose(EnvList(), "Com6");
    Enable()->click();
    Choose(ComList(), "Com1");
    Enable()->click();
    Find<QPushButton>(IDCANCEL)->click();

    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    ASSERT_EQ(document->GetGroups().size(), 1U);
    const CInverterGroup& group = *Group(3);
    EXPECT_EQ(group.m_bStopRequest, 0);
    EXPECT_EQ(group.m_bEnvChangeRequest, 0);
    EXPECT_EQ(group.m_nEnvComPort, 5);
    EXPECT_EQ(SettingsText(), settings);
}

} // namespace

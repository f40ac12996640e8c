#include "DeviceListFixture.h"

#include "comm/CommShared.h"
#include "comm/WindowMessages.h"
#include "model/ErrorState.h"
#include "model/SingleRuntimeData.h"
#include "platform/ExitEvent.h"

#include <QCoreApplication>
#include <QTest>
#include <cstdlib>

void DeviceListFixture::SetUp() {
    g_viewsCreated = 0;
    environment.clock = &clock;
    environment.notifier = &notifier;
    environment.makePort = [this](const SerialSettings&) -> std::unique_ptr<SerialPort> {
        std::lock_guard lock(wiresLock);
        return std::make_unique<ScriptedPort>(wires.emplace_back(), clock);
    };
    const char* base = std::getenv("HELIOWATCH_TEST_TMP");
    document = std::make_unique<CHeliowatchDoc>(
        environment, std::string(base != nullptr ? base : "/tmp") + "/list-none.ini");
    document->AddPortGroup(1, 0);
    document->AddPortGroup(3, 0);
    view = std::make_unique<CDeviceListView>(*document);
    view->OnInitialUpdate();
    view->resize(VIEW_WIDTH, 300);
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    Deliver(WM_FILL_DEVICE_LIST, nullptr);
}

void DeviceListFixture::TearDown() {
    view.reset();
    document.reset();
    g_hExitEvent.Reset();
}

CInverterGroup* DeviceListFixture::Group(int comPort) const {
    for (CInverterGroup* group : document->GetGroups()) {
        if (group->m_nComPort == comPort) {
            return group;
        }
    }
    return nullptr;
}

CInverter* DeviceListFixture::AddInverter(int comPort, int address, const char* serial) {
    CInverterGroup* group = Group(comPort);
    auto inverter = group->CreateInverter(static_cast<std::uint8_t>(address));
    inverter->m_strSerialNo = serial;
    inverter->m_strModel = "PV-3000";
    return group->AppendInverter(std::move(inverter));
}

void DeviceListFixture::SetReadings(CInverter* inverter, int vpv1, int vpv2, int pac, int eTotal,
                                    int eTodayHundredths) {
    auto data = std::make_unique<SingleRuntimeData>();
    data->m_nVpv1 = static_cast<std::uint16_t>(vpv1);
    data->m_nVpv2 = static_cast<std::uint16_t>(vpv2);
    data->m_nPac = static_cast<std::uint16_t>(pac);
    data->m_dwETotal = static_cast<std::uint32_t>(eTotal);
    data->m_nEToday = static_cast<std::uint16_t>(eTodayHundredths);
    data->m_tSample = clock.Now();
    auto lock = inverter->Lock();
    inverter->m_pRuntimeData = std::move(data);
    inverter->m_bOnline = 1;
    inverter->m_nErrorState = ERROR_STATE_CLEAR;
    inverter->m_pGroup->m_bPortOpen = 1;
}

void DeviceListFixture::Deliver(unsigned message, const void* subject) {
    view->Target()->Post(message, reinterpret_cast<std::uintptr_t>(subject));
    QCoreApplication::sendPostedEvents(view.get());
    QCoreApplication::processEvents();
}

void DeviceListFixture::Register(CInverter* inverter) {
    Deliver(WM_INVERTER_REGISTERED, inverter);
}

QString DeviceListFixture::Text(int row, int column) const {
    const QTableWidgetItem* item = view->item(row, column);
    return item != nullptr ? item->text() : QStringLiteral("<no item>");
}

QColor DeviceListFixture::MarkColour(int row) const {
    const QImage mark =
        view->item(row, CDeviceListView::Column::STATUS)->icon().pixmap(16, 16).toImage();
    return mark.pixelColor(5, 11);
}

bool DeviceListFixture::IsItalic(int row, int column) const {
    return view->item(row, column)->font().italic();
}

bool IsGreen(const QColor& colour) {
    return colour.green() > colour.red() + 60 && colour.green() > colour.blue() + 60;
}

bool IsRed(const QColor& colour) {
    return colour.red() > colour.green() + 60 && colour.red() > colour.blue() + 60;
}

bool IsGrey(const QColor& colour) {
    return colour.alpha() == 255 && std::abs(colour.red() - colour.green()) < 10 &&
           std::abs(colour.green() - colour.blue()) < 10;
}

#pragma once

#include "FakeClock.h"
#include "LocalTime.h"
#include "Recorders.h"
#include "ScriptedPort.h"
#include "gui/DeviceListView.h"
#include "model/InverterGroup.h"
#include "store/HeliowatchDoc.h"

#include <QColor>
#include <gtest/gtest.h>
#include <list>
#include <memory>
#include <mutex>

// A list view wide enough for every column, its columns built, on a document
// with the groups of COM1 and COM3 whose threads find no views and end at
// once. The clock stands at 12:03:30 local time.
class DeviceListFixture : public ::testing::Test {
protected:
    static constexpr int VIEW_WIDTH = 1400;

    void SetUp() override;
    void TearDown() override;

    CInverterGroup* Group(int comPort) const;
    CInverter* AddInverter(int comPort, int address, const char* serial = "SN");
    // Online single-phase record with these raw readings (0.1 V, 0.1 W,
    // 0.1 kWh), sampled now on an open port.
    void SetReadings(CInverter* inverter, int vpv1, int vpv2, int pac, int eTotal,
                     int eTodayHundredths = 0);
    // Posts as the communication threads do and lets the view handle it.
    void Deliver(unsigned message, const void* subject);
    void Register(CInverter* inverter);
    QString Text(int row, int column) const;
    QColor MarkColour(int row) const;
    bool IsItalic(int row, int column) const;

    FakeClock clock{LocalTime(2027, 1, 15, 12, 3, 30)};
    std::mutex wiresLock;
    std::list<ScriptedWire> wires;
    RecordingNotifier notifier;
    CommEnvironment environment;
    std::unique_ptr<CHeliowatchDoc> document;
    std::unique_ptr<CDeviceListView> view;
};

bool IsGreen(const QColor& colour);
bool IsRed(const QColor& colour);
bool IsGrey(const QColor& colour);

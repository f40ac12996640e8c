#pragma once

#include "CommBusFixture.h"
#include "store/PlantDayCurves.h"
#include "web/WebServer.h"

#include <QJsonDocument>
#include <httplib.h>
#include <memory>
#include <string>

// A simulated bus polled by the station's thread, served by the web server
// on a free loopback port.
class WebFixture : public CommBusFixture {
protected:
    void TearDown() override;

    // Polls inverters until each has a sample, then starts the server.
    void StartPlantAndServer(int inverters, WebServerConfig config = {});
    void StartServer(GroupVisitor groups, WebServerConfig config);
    // Serves a group of the test's making, kept until the server has stopped.
    void ServeGroup(std::unique_ptr<CInverterGroup> group);
    httplib::Client Client() const;
    QJsonDocument GetJson(const std::string& path, int expectedStatus = 200);
    // Sends raw bytes and gives back what the server answered before closing.
    std::string RawExchange(const std::string& request) const;
    // A connected socket to the server from the given loopback address.
    int Connect(const char* from = "127.0.0.1") const;

    PlantDayCurves plantCurves; // outlives the server that reads it
    std::unique_ptr<CInverterGroup> servedGroup;
    std::unique_ptr<WebServer> server;
};

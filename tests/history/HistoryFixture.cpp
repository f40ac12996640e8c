#include "HistoryFixture.h"

#include "history/SummaryRebuild.h"
#include "platform/DataDirectory.h"

#include <cstdlib>
#include <ctime>
#include <filesystem>

void HistoryFixture::SetUp() {
    const char* zone = std::getenv("TZ");
    m_hadZone = zone != nullptr;
    m_savedZone = m_hadZone ? zone : "";
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    std::filesystem::create_directories(HistLog());
    SetDataDirectory(m_directory.Path());
}

void HistoryFixture::TearDown() {
    if (m_hadZone) {
        setenv("TZ", m_savedZone.c_str(), 1);
    } else {
        unsetenv("TZ");
    }
    tzset();
}

void HistoryFixture::Rebuild() {
    RebuildReport report;
    std::string problem;
    ASSERT_TRUE(RebuildSummary({}, report, &problem)) << problem;
}

#pragma once

#include "TempDirectory.h"

#include <gtest/gtest.h>
#include <string>

// A data directory with an empty HistLog folder, in the Berlin time zone.
class HistoryFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string HistLog() const { return m_directory.Path() + "/HistLog"; }
    std::string InHistLog(const std::string& name) const { return HistLog() + "/" + name; }
    std::string DataDirectory() const { return m_directory.Path(); }
    // Rebuilds the summary from the files and expects it to work.
    void Rebuild();

private:
    TempDirectory m_directory;
    std::string m_savedZone;
    bool m_hadZone = false;
};

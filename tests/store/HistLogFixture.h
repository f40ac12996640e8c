#pragma once

#include "TempDirectory.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

// Each test gets its own data directory with an empty HistLog folder.
class HistLogFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string HistLog() const { return m_dataDirectory + "/HistLog"; }
    std::string InHistLog(const std::string& name) const { return HistLog() + "/" + name; }
    // Every file below the data directory, relative to it, sorted.
    std::vector<std::string> FilesBelowDataDirectory() const;

    static std::string ReadFile(const std::string& path);
    static void WriteFile(const std::string& path, const std::string& bytes);

    std::unique_ptr<TempDirectory> m_temp;
    std::string m_dataDirectory;
};

#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

// A pseudo-terminal whose master plays the far end of a serial line. Its
// slave is linked into a port directory as COM<n>, so the station opens it as
// it would open an adapter. The master is set raw; on Linux that setting
// reaches the slave too, so a port under test starts on a raw line.
class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool IsOpen() const { return m_masterFd >= 0; }
    int MasterFd() const { return m_masterFd; }
    const std::string& SlavePath() const { return m_slavePath; }

    // Creates or replaces directory/COM<port> as a link to the slave.
    bool LinkAs(const std::string& directory, int port) const;

    bool Write(const std::vector<std::uint8_t>& bytes) const;
    // What arrived until count bytes were in or the timeout passed.
    std::vector<std::uint8_t> Read(std::size_t count, std::chrono::milliseconds timeout) const;

    // The far end goes away: the slave hangs up as an unplugged adapter does.
    void CloseMaster();

private:
    int m_masterFd = -1;
    std::string m_slavePath;
};

#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace sim {

// One pseudo-terminal standing in for a serial adapter: the simulator holds
// the master, and the slave is linked into the port directory as COM<n>.
//
// The simulator keeps a slave descriptor of its own open for the link's whole
// life, so the master never sees a hang-up between the station's opens and the
// line stays raw (no echo). The station marks the slave for exclusive use when
// it opens it; the flag would outlive its close and lock out its next open, so
// the link clears it whenever a slave descriptor is closed.
class PtyLink {
public:
    PtyLink() = default;
    ~PtyLink();
    PtyLink(const PtyLink&) = delete;
    PtyLink& operator=(const PtyLink&) = delete;

    // Refuses an existing entry that is not a symlink; replaces a symlink.
    bool Open(const std::string& linkPath, std::string& error);
    // Closes the pty and removes the link if it still points to it.
    void Close();
    bool IsOpen() const { return m_master >= 0; }

    int MasterFd() const { return m_master; }
    int CloseWatchFd() const { return m_closeWatch; }
    const std::string& SlavePath() const { return m_slavePath; }
    const std::string& LinkPath() const { return m_linkPath; }
    // At the speed and framing the station last set on the slave.
    std::chrono::nanoseconds CharacterTime() const;

    // What the station wrote since the last call.
    std::vector<std::uint8_t> ReadAvailable();
    bool Write(const std::vector<std::uint8_t>& bytes);
    // Call when the close watch is readable.
    void OnSlaveClosed();

private:
    bool OpenPty(std::string& error);
    bool LinkSlave(const std::string& linkPath, std::string& error);

    int m_master = -1;
    int m_slaveKeeper = -1;
    int m_closeWatch = -1;
    std::string m_slavePath;
    std::string m_linkPath;
};

} // namespace sim

#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class CHeliowatchDoc;
class CInverterGroup;
class QCheckBox;
class QComboBox;

// Chooses the ports that carry an inverter bus and their environment sensor
// ports. The operator edits a private copy; only OK hands it to the document.
class CCommConfigDlg : public QDialog {
    Q_OBJECT

public:
    using SystemPortLister = std::function<std::vector<int>()>;

    // listSystemPorts gives the port numbers the machine offers; by default
    // the port directory's entries and the UART-backed ttyS lines.
    explicit CCommConfigDlg(CHeliowatchDoc& document, QWidget* parent = nullptr,
                            SystemPortLister listSystemPorts = {});

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct PortEntry {
        int m_nComPort = 0;
        int m_bEnabled = 0;
        int m_nEnvComPort = 0;
        int m_bEnvEnabled = 0;
    };

    void CreateControls();
    void OnInitDialog(const SystemPortLister& listSystemPorts);
    void BuildEntries();
    void ReadSystemPortNames(const SystemPortLister& listSystemPorts);
    QStringList SystemPortTexts() const;
    void FillComList();
    void FillEnvList();
    void ShowSelectedPort();
    void ClearEnvironment();
    PortEntry* FindEntry(int port) const;

    void OnEnable(bool checked);
    void OnEnvironment(bool checked);
    void OnSelchangeEnvList();
    void OnOK();
    void ApplyToGroup(const PortEntry& entry, CInverterGroup& group) const;

    CHeliowatchDoc& m_doc;
    std::vector<int> m_systemPorts;
    std::vector<std::unique_ptr<PortEntry>> m_entries;
    PortEntry* m_pCurEntry = nullptr;
    QComboBox* m_pComList = nullptr;
    QCheckBox* m_pEnable = nullptr;
    QCheckBox* m_pEnvironment = nullptr;
    QComboBox* m_pEnvList = nullptr;
    QCheckBox* m_pFastReplies = nullptr;
};

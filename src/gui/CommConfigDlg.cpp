#include "CommConfigDlg.h"

#include "PortList.h"
#include "SaveProblemBox.h"
#include "model/InverterGroup.h"
#include "platform/SystemPorts.h"
#include "res/ResourceIds.h"
#include "store/HeliowatchDoc.h"
#include "store/SettingRanges.h"
#include "widgets/DialogControls.h"
#include "widgets/DialogUnits.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

namespace {
// The settings keep ports 1 to 19; a higher port would run until the next
// start and then be forgotten, so it is not offered.
constexpr int LIST_DROP_HEIGHT = 73;
constexpr int LIST_CLOSED_HEIGHT = 14;

void AddLineParameter(QDialog* dialog, const DialogUnits& units, int id, const QString& text,
                      QPoint at) {
    auto* edit = new QLineEdit(text, dialog);
    edit->setObjectName(QString::number(id));
    edit->setGeometry(units.Rect(at.x(), at.y(), 55, 14));
    edit->setEnabled(false);
}

QComboBox* AddPortList(QDialog* dialog, const DialogUnits& units, int id, QPoint at) {
    auto* list = new QComboBox(dialog);
    list->setObjectName(QString::number(id));
    list->setGeometry(units.Rect(at.x(), at.y(), 55, LIST_CLOSED_HEIGHT));
    list->setMaxVisibleItems(
        std::max(1, units.Y(LIST_DROP_HEIGHT - LIST_CLOSED_HEIGHT) / list->fontMetrics().height()));
    return list;
}

QCheckBox* AddCheckBox(QDialog* dialog, const DialogUnits& units, int id, const QString& text,
                       QRect rect) {
    auto* box = new QCheckBox(text, dialog);
    box->setObjectName(QString::number(id));
    box->setGeometry(units.Rect(rect.x(), rect.y(), rect.width(), rect.height()));
    return box;
}
} // namespace

CCommConfigDlg::CCommConfigDlg(CHeliowatchDoc& document, QWidget* parent,
                               SystemPortLister listSystemPorts)
    : QDialog(parent), m_doc(document) {
    setObjectName(QString::number(IDD_COMM_CONFIG));
    setWindowTitle("Communication configuration");
    setFont(DialogUnits::DialogFont());
    CreateControls();
    OnInitDialog(listSystemPorts ? listSystemPorts : [] { return ListSystemPorts(); });
}

void CCommConfigDlg::CreateControls() {
    const DialogUnits units(font());
    setFixedSize(units.Rect(0, 0, 201, 205).size());

    AddStaticText(this, units, "Com", QRect(7, 14, 56, 12), IDC_COM_LABEL);
    m_pComList = AddPortList(this, units, IDC_COM_PORT, QPoint(75, 13));
    m_pEnable = AddCheckBox(this, units, IDC_COM_ENABLE, "Enable", QRect(143, 15, 37, 10));
    AddStaticText(this, units, "Baudrate", QRect(7, 40, 53, 12), IDC_BAUDRATE_LABEL);
    AddLineParameter(this, units, IDC_BAUDRATE, "9600", QPoint(75, 38));
    AddStaticText(this, units, "Parity", QRect(7, 67, 55, 12), IDC_PARITY_LABEL);
    AddLineParameter(this, units, IDC_PARITY, "None", QPoint(75, 65));
    AddStaticText(this, units, "Databits", QRect(7, 95, 51, 12), IDC_DATABITS_LABEL);
    AddLineParameter(this, units, IDC_DATABITS, "8", QPoint(75, 92));
    AddStaticText(this, units, "Stopbits", QRect(7, 122, 51, 12), IDC_STOPBITS_LABEL);
    AddLineParameter(this, units, IDC_STOPBITS, "One", QPoint(75, 119));
    m_pEnvironment =
        AddCheckBox(this, units, IDC_ENVIRONMENT, "Environment", QRect(7, 149, 63, 10));
    m_pEnvList = AddPortList(this, units, IDC_ENV_PORT, QPoint(75, 148));
    m_pEnvList->setEnabled(false);
    m_pFastReplies =
        AddCheckBox(this, units, IDC_FAST_REPLIES, "Fast replies", QRect(7, 166, 120, 10));
    m_pFastReplies->setToolTip("Replies end as soon as their frame is complete, and new "
                               "inverters register one after another");
    QPushButton* ok = AddPushButton(this, units, "OK", IDOK, QPoint(21, 182));
    ok->setDefault(true);
    QPushButton* cancel = AddPushButton(this, units, "Cancel", IDCANCEL, QPoint(114, 182));

    // activated, not currentIndexChanged: refilling a list must not count as
    // the operator's choice.
    connect(m_pComList, &QComboBox::activated, this, &CCommConfigDlg::ShowSelectedPort);
    connect(m_pEnvList, &QComboBox::activated, this, &CCommConfigDlg::OnSelchangeEnvList);
    connect(m_pEnable, &QCheckBox::clicked, this, &CCommConfigDlg::OnEnable);
    connect(m_pEnvironment, &QCheckBox::clicked, this, &CCommConfigDlg::OnEnvironment);
    connect(ok, &QPushButton::clicked, this, &CCommConfigDlg::OnOK);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    m_pComList->installEventFilter(this);
    m_pEnvList->installEventFilter(this);
}

void CCommConfigDlg::OnInitDialog(const SystemPortLister& listSystemPorts) {
    m_pFastReplies->setChecked(m_doc.GetFastReplies());
    BuildEntries();
    ReadSystemPortNames(listSystemPorts);
    FillComList();
    if (m_pComList->count() > 0) {
        m_pComList->setCurrentIndex(0);
    }
    ShowSelectedPort();
}

void CCommConfigDlg::BuildEntries() {
    for (const CInverterGroup* group : m_doc.GetGroups()) {
        // A port stopped by an earlier OK keeps its group until its thread has
        // ended; offering it as enabled would start it again on this OK.
        if (group->m_bStopRequest) {
            continue;
        }
        const bool withEnv = group->m_bEnvEnabled != 0;
        m_entries.push_back(std::make_unique<PortEntry>(
            PortEntry{group->m_nComPort, 1, withEnv ? group->m_nEnvComPort.load() : 0, withEnv}));
    }
}

void CCommConfigDlg::ReadSystemPortNames(const SystemPortLister& listSystemPorts) {
    m_systemPorts.clear();
    for (const int port : listSystemPorts()) {
        if (port <= LAST_PORT) {
            m_systemPorts.push_back(port);
        }
    }
}

QStringList CCommConfigDlg::SystemPortTexts() const {
    QStringList texts;
    for (const int port : m_systemPorts) {
        texts.append(PortText(port));
    }
    return texts;
}

// The list is rebuilt whenever it gains the focus, so ports enabled or taken
// as environment ports since are shown as they are now.
bool CCommConfigDlg::eventFilter(QObject* watched, QEvent* event) {
    // Closing the list's own pop-up hands the focus back; that is no new visit.
    if (event->type() == QEvent::FocusIn &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        if (watched == m_pComList) {
            FillComList();
        } else if (watched == m_pEnvList) {
            FillEnvList();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CCommConfigDlg::FillComList() {
    const QString remembered = m_pComList->currentText();
    m_pComList->clear();
    for (const QString& text : SystemPortTexts()) {
        AddPortInOrder(*m_pComList, text);
    }
    for (const auto& entry : m_entries) {
        if (entry->m_bEnabled) {
            AddPortInOrder(*m_pComList, PortText(entry->m_nComPort));
        }
    }
    for (const auto& entry : m_entries) {
        if (entry->m_bEnvEnabled) {
            RemovePortText(*m_pComList, PortText(entry->m_nEnvComPort));
        }
    }
    AddPortInOrder(*m_pComList, remembered);
    SelectPortText(*m_pComList, remembered);
}

void CCommConfigDlg::FillEnvList() {
    const QString remembered = m_pEnvList->currentText();
    m_pEnvList->clear();
    for (const QString& text : SystemPortTexts()) {
        AddPortInOrder(*m_pEnvList, text);
    }
    for (const auto& entry : m_entries) {
        if (entry->m_bEnabled) {
            RemovePortText(*m_pEnvList, PortText(entry->m_nComPort));
        }
        if (entry->m_bEnvEnabled) {
            RemovePortText(*m_pEnvList, PortText(entry->m_nEnvComPort));
        }
    }
    AddPortInOrder(*m_pEnvList, remembered);
    RemovePortText(*m_pEnvList, m_pComList->currentText());
    SelectPortText(*m_pEnvList, remembered);
}

void CCommConfigDlg::ShowSelectedPort() {
    const int port = PortNumberOfText(m_pComList->currentText());
    if (port <= 0) {
        return;
    }
    m_pCurEntry = FindEntry(port);
    if (m_pCurEntry == nullptr) {
        m_pEnable->setChecked(false);
        ClearEnvironment();
        return;
    }
    m_pEnable->setChecked(m_pCurEntry->m_bEnabled != 0);
    if (!m_pCurEntry->m_bEnvEnabled) {
        ClearEnvironment();
        return;
    }
    m_pEnvironment->setChecked(true);
    m_pEnvList->setEnabled(true);
    const QString envText =
        m_pCurEntry->m_nEnvComPort > 0 ? PortText(m_pCurEntry->m_nEnvComPort) : QString();
    AddPortInOrder(*m_pEnvList, envText);
    SelectPortText(*m_pEnvList, envText);
}

void CCommConfigDlg::ClearEnvironment() {
    m_pEnvironment->setChecked(false);
    m_pEnvList->setEnabled(false);
    m_pEnvList->setCurrentIndex(-1);
}

CCommConfigDlg::PortEntry* CCommConfigDlg::FindEntry(int port) const {
    for (const auto& entry : m_entries) {
        if (entry->m_nComPort == port) {
            return entry.get();
        }
    }
    return nullptr;
}

void CCommConfigDlg::OnEnable(bool checked) {
    if (m_pComList->currentIndex() < 0) {
        return;
    }
    if (m_pCurEntry == nullptr) {
        // The box of a port without an entry was clear, so it has just been
        // ticked.
        m_entries.push_back(std::make_unique<PortEntry>(
            PortEntry{PortNumberOfText(m_pComList->currentText()), 1, 0, 0}));
        m_pCurEntry = m_entries.back().get();
    } else if (checked) {
        m_pCurEntry->m_bEnabled = 1;
    } else {
        *m_pCurEntry = PortEntry{m_pCurEntry->m_nComPort, 0, 0, 0};
        ClearEnvironment();
    }
}

void CCommConfigDlg::OnEnvironment(bool checked) {
    if (m_pCurEntry == nullptr) {
        return;
    }
    m_pEnvList->setEnabled(checked);
    m_pCurEntry->m_bEnvEnabled = checked ? 1 : 0;
}

void CCommConfigDlg::OnSelchangeEnvList() {
    if (m_pCurEntry == nullptr || m_pEnvList->currentIndex() < 0) {
        return;
    }
    m_pCurEntry->m_nEnvComPort = PortNumberOfText(m_pEnvList->currentText());
}

void CCommConfigDlg::OnOK() {
    m_pCurEntry = nullptr;
    for (CInverterGroup* group : m_doc.GetGroups()) {
        const auto matched =
            std::find_if(m_entries.begin(), m_entries.end(),
                         [&](const auto& entry) { return entry->m_nComPort == group->m_nComPort; });
        if (matched != m_entries.end()) {
            ApplyToGroup(**matched, *group);
            m_entries.erase(matched);
        }
    }
    for (const auto& entry : m_entries) {
        if (entry->m_bEnabled && entry->m_nComPort > 0) {
            m_doc.AddPortGroup(entry->m_nComPort, entry->m_bEnvEnabled ? entry->m_nEnvComPort : 0);
        }
    }
    // A settings file that cannot be written loses this one write; the ports
    // run as chosen all the same.
    bool saved = m_doc.SaveComSettings();
    if (m_pFastReplies->isChecked() != m_doc.GetFastReplies()) {
        saved = m_doc.SetFastReplies(m_pFastReplies->isChecked()) && saved;
    }
    if (!saved) {
        ShowSaveProblem(this, m_doc);
    }
    m_entries.clear();
    accept();
}

void CCommConfigDlg::ApplyToGroup(const PortEntry& entry, CInverterGroup& group) const {
    if (!entry.m_bEnabled) {
        group.m_bStopRequest = 1;
        return;
    }
    // A group whose sensor was switched off keeps its old port number, so
    // the port in use is compared, not the field alone.
    const int envInUse = group.m_bEnvEnabled ? group.m_nEnvComPort.load() : 0;
    const int envPort = entry.m_bEnvEnabled ? entry.m_nEnvComPort : 0;
    if (entry.m_bEnvEnabled && envPort == envInUse) {
        return;
    }
    // The thread reads the port once it sees the flag.
    group.m_nNewEnvComPort = envPort;
    group.m_bEnvChangeRequest = 1;
}

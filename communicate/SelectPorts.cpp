// The Communicate page's COM port list, baud list and "comms.cfg".
#include <cstdlib>

#include "communicate/CommsConfig.h"
#include "communicate/DialogSelect.h"
#include "framework/FileReader.h"
#include "framework/FileWarning.h"
#include "framework/Files.h"
#include "framework/ModalRunner.h"
#include "framework/SerialDevice.h"
#include "framework/Text.h"
#include "shell/CommPort.h"
#include "shell/XTabCtrl.h"

namespace {

const char kCommsConfig[] = "comms.cfg";

// The sentences, one a line.
std::string JoinLines(const std::map<int, std::string>& lines) {
    std::string text;
    for (const auto& [port, line] : lines)
        text += (text.empty() ? "" : "\n") + line;
    return text;
}

// The number after "COM" in a list entry; 0 for anything else.
int PortOfEntry(const std::string& entry) {
    if (entry.compare(0, 3, "COM") != 0)
        return 0;
    return std::atoi(entry.c_str() + 3);
}

} // namespace

void CDialogSelect::WriteCommsConfig(int port, int baudIndex, bool synced) {
    const std::string path = JoinPath(m_szDataFolder, kCommsConfig);
    int error = 0;
    if (WriteFileIfDifferent(path, FormatCommsConfig(port, baudIndex), &error, synced))
        return;
    // Told once a run; the program goes on with the port.
    if (!m_bToldConfigFailure) {
        m_bToldConfigFailure = 1;
        WarnFileFailure("Could not save the port settings in", path, error);
    }
}

void CDialogSelect::ApplyFraming() {
    if (m_nBaudIndex == BAUD_INDEX_SDI12) {
        m_pCommPort->SetEvenParity();
        m_pCommPort->SetSevenBits();
        m_stcFraming.SetWindowText("\\7\\E\\1");
    } else {
        m_stcFraming.SetWindowText("\\8\\N\\1");
    }
}

std::map<int, std::string> CDialogSelect::EnumeratePorts() {
    CWaitCursor wait;
    m_cboPort.ResetContent();
    m_nPortCount = 0;
    int next = 0;
    std::string denied;
    std::map<int, std::string> inUse;
    for (int n = 1; n <= 99; ++n) {
        // The port this page has open is listed as it is: closing it to
        // probe it would drop DTR (hanging up a call) and lose unread bytes.
        // The others are probed without changing any of their settings.
        const bool ours = n == m_nPortNumber && m_pCommPort->IsOpen();
        bool listed = ours;
        if (!ours) {
            const std::string path = ComDevicePath(n);
            PortHolder holder;
            const PortProbe probe = ProbePort(path.c_str(), &holder);
            listed = probe == PortProbe::Available;
            if (probe == PortProbe::NoPermission)
                denied += Format("%sCOM%d", denied.empty() ? "" : ", ", n);
            // A port another program holds is named once, until it is seen free.
            if (probe == PortProbe::InUse && !m_bToldInUse[n - 1])
                inUse[n] = PortProbeText(path.c_str(), probe, holder);
            m_bToldInUse[n - 1] = probe == PortProbe::InUse;
        }
        if (listed) {
            m_cboPort.AddString(Format("COM%d", n).c_str());
            m_nPortComboIndex[n - 1] = next++;
            ++m_nPortCount;
        } else {
            m_nPortComboIndex[n - 1] = PORT_NOT_LISTED;
        }
    }
    if (m_nPortNumber != 0 && m_nPortComboIndex[m_nPortNumber - 1] != PORT_NOT_LISTED)
        m_cboPort.SetCurSel(m_nPortComboIndex[m_nPortNumber - 1]);
    // Ports left out for want of permission are named once a run.
    if (!denied.empty() && !m_bToldNoPermission) {
        m_bToldNoPermission = 1;
        MessageBox(Format("You may not open %s: only members of the dialout group may use "
                          "serial ports.\nAsk for your user to be added to the dialout group, "
                          "then log in again.",
                          denied.c_str())
                       .c_str(),
                   "Warning", MB_ICONEXCLAMATION);
    }
    return inUse;
}

void CDialogSelect::OnDropdownPort() {
    const std::string inUse = JoinLines(EnumeratePorts());
    if (!inUse.empty())
        MessageBox(inUse.c_str(), "Warning", MB_ICONEXCLAMATION);
}

void CDialogSelect::RestorePort() {
    CWaitCursor wait;
    std::map<int, std::string> inUse = EnumeratePorts();
    // A box ended by a signal: no port is opened and "comms.cfg" stays as it is.
    if (ModalRunner::Get().IsEnding())
        return;
    if (m_nPortCount == 0) {
        m_cboPort.SetCurSel(m_cboPort.AddString("NoPortsAvail"));
        // No port: no framing either.
        m_stcFraming.SetWindowText("");
        m_nPortNumber = 0;
        if (!inUse.empty())
            MessageBox(JoinLines(inUse).c_str(), "Warning", MB_ICONEXCLAMATION);
        return;
    }

    // The file is written when the port is opened below.
    std::string bytes;
    ReadFileStart(JoinPath(m_szDataFolder, kCommsConfig), &bytes, 8);
    const CommsConfig config = ParseCommsConfig(bytes);
    m_nBaudIndex = config.baudIndex;
    m_cboBaud.SetCurSel(m_nBaudIndex);
    m_dwBaudRate = m_dwBaudTable[m_nBaudIndex];

    int port = config.port;
    const bool listed = port >= 1 && port <= 99 && m_nPortComboIndex[port - 1] != PORT_NOT_LISTED;
    if (!listed) {
        // Why the port could not be opened comes first, then the other ports in use.
        std::string why;
        if (port >= 1 && port <= 99) {
            why = inUse[port];
            if (why.empty()) {
                const std::string path = ComDevicePath(port);
                PortHolder holder;
                why = PortProbeText(path.c_str(), ProbePort(path.c_str(), &holder), holder);
            }
            inUse.erase(port);
        }
        const std::string others = JoinLines(inUse);
        const std::string text = "The previously used Comm Port is not available.\n" +
                                 (why.empty() ? "" : why + "\n") +
                                 (others.empty() ? "" : others + "\n") + "Select a new comm Port.";
        MessageBox(text.c_str(), "Warning", MB_ICONEXCLAMATION);
        if (ModalRunner::Get().IsEnding())
            return;
        m_cboPort.SetCurSel(0);
        port = PortOfEntry(m_cboPort.GetLBText(0));
    } else if (!inUse.empty()) {
        MessageBox(JoinLines(inUse).c_str(), "Warning", MB_ICONEXCLAMATION);
        if (ModalRunner::Get().IsEnding())
            return;
    }
    // At start-up the port is written unsynced (the same choice is made
    // again if a power cut loses it); OpenPort then finds it written.
    WriteCommsConfig(port, m_nBaudIndex, false);
    OpenPort(port);
    if (listed)
        m_cboPort.SetCurSel(m_nPortComboIndex[port - 1]);
}

void CDialogSelect::OpenPort(int n) {
    WriteCommsConfig(n, m_nBaudIndex);
    if (m_pCommPort->Open(ComDevicePath(n).c_str())) {
        m_pCommPort->SetTimeouts(100);
        m_pCommPort->SetBaudRate(m_dwBaudRate);
        if (m_pTabCtrl)
            m_pTabCtrl->SetCommPort(m_pCommPort);
        ApplyFraming();
        m_nPortNumber = n;
        m_bLostLineReported = 0;
        return;
    }
    std::string text = Format(
        "COM%d is not available, another application may be using it. Try another COM Port !!!", n);
    // A permission problem has a cure the user should be told.
    if (m_pCommPort->GetOpenError().find("dialout") != std::string::npos)
        text += "\n\n" + m_pCommPort->GetOpenError();
    MessageBox(text.c_str(), "Warning", MB_ICONEXCLAMATION);
    m_nPortNumber = 0;
}

void CDialogSelect::OnSelchangePort() {
    if (m_nPortCount == 0) {
        MessageBox("There are no Comm Ports available!\nClose the application using the required "
                   "Comm Port, then try again.",
                   "Warning", MB_ICONEXCLAMATION);
    } else {
        const std::string entry = m_cboPort.GetLBText(m_cboPort.GetCurSel());
        if (m_nPortNumber != 0) {
            m_pCommPort->Close();
            m_nPortNumber = 0;
        }
        const int n = PortOfEntry(entry);
        if (n != 0)
            OpenPort(n);
    }
    m_editTerminal.SetFocus();
}

void CDialogSelect::OnSelchangeBaud() {
    const int index = m_cboBaud.GetCurSel();
    if (index >= 0 && index <= 7) {
        m_nBaudIndex = index;
        m_dwBaudRate = m_dwBaudTable[index];
    }
    if (m_nPortNumber != 0) {
        m_pCommPort->SetBaudRate(m_dwBaudRate);
        ApplyFraming();
        WriteCommsConfig(m_nPortNumber, m_nBaudIndex);
    }
    m_editTerminal.SetFocus();
}

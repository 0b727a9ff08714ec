// CXTabCtrl: the main window's owner-drawn tab control, and the state that
// the four pages share. Pages read and write it from their own timers.
#pragma once

#include <string>
#include <vector>

#include "framework/Geometry.h"
#include "framework/TabCtrl.h"
#include "shell/CallCommands.h"
#include "shell/PageIndex.h"

class CCommPort;

constexpr UINT IDT_TAB_HOVER = 40001;
constexpr UINT IDT_TAB_SELECT = 40002;

class CXTabCtrl : public CTabCtrl {
public:
    CXTabCtrl() = default;
    ~CXTabCtrl() override = default;

    void SetSelectedColor(COLORREF color);
    void SetMouseOverColor(COLORREF color);

    BOOL IsCurrentPage(int page) const { return page == m_nCurrentPage ? TRUE : FALSE; }
    // Written directly by "Call Now" after SelectTab.
    void SetCurrentPage(int page) { m_nCurrentPage = page; }

    void SetNewDump(BYTE value) { m_bNewDump = value; }
    BYTE IsNewDump() const { return m_bNewDump; }

    // The data folder is kept whole, however long the path.
    void SetDataFolder(const char* folder) { m_szDataFolder = folder ? folder : ""; }
    const char* GetDataFolder() const { return m_szDataFolder.c_str(); }

    void RequestScheduledCall(const char* phone);
    void ClearScheduledCall() { m_bScheduledCallRequest = 0; }
    BYTE IsScheduledCall() const { return m_bScheduledCallRequest; }
    void RequestCallNow(const char* phone);
    void ClearCallNow() { m_bCallNowRequest = 0; }
    BYTE IsCallNow() const { return m_bCallNowRequest; }
    char* GetPhoneNumber() { return m_szPhoneNumber; }

    // The call line's commands, each text cut to its field.
    void SetCallCommands(const CallCommands& commands);
    const CallCommands& GetCallCommands() const { return m_szCallCommands; }
    void SetSiteName(const char* name);
    char* GetSiteName() { return m_szSiteName; }

    void SetCommPort(CCommPort* port) { m_pCommPort = port; }
    CCommPort* GetCommPort() const { return m_pCommPort; }

    void SetDataReceived(BYTE value) { m_bDataReceived = value; }
    BYTE IsDataReceived() const { return m_bDataReceived; }
    void SetCallResult(char result) { m_cCallResult = result; }
    char GetCallResult() const { return m_cCallResult; }
    void SetModemInUse(BYTE value) { m_bModemInUse = value; }
    BYTE IsModemInUse() const { return m_bModemInUse; }

    void SetLastDumpEvent(const char* event);
    void GetLastDumpEvent(char* out) const; // 20 bytes
    void SetDumpEventRepeats(BYTE repeats) { m_nDumpEventRepeats = repeats; }
    BYTE GetDumpEventRepeats() const { return m_nDumpEventRepeats; }
    void SetDumpEventTotal(const char* total);
    void GetDumpEventTotal(char* out) const; // 15 bytes
    void SetDumpEventCommand(char command) { m_cDumpEventCommand = command; }
    char GetDumpEventCommand() const { return m_cDumpEventCommand; }

    int GetHangupTimeLeft() const { return m_nHangupTimeLeft; }
    void SetHangupTimeLeft(int seconds) { m_nHangupTimeLeft = seconds; }
    void SetHangupTimeout(int seconds) { m_nHangupTimeout = m_nHangupTimeLeft = seconds; }
    void RestartHangupTimeout() { m_nHangupTimeLeft = m_nHangupTimeout; }

    void SetAutoPollDisabled(BYTE value) { m_bAutoPollDisabled = value; }
    BYTE IsAutoPollDisabled() const { return m_bAutoPollDisabled; }

    std::string GetPlotFileName() const { return m_strPlotFileName; }
    void SetPlotFileName(const std::string& name) { m_strPlotFileName = name; }

    void AddTab(CWnd* page, const char* caption, int image);
    void EnableTab(int index, BOOL enable);
    BOOL IsTabEnabled(int index) const;
    BOOL SelectTab(int index);
    // The tab whose page is shown.
    int GetShownTab() const { return m_nShownTab; }
    int GetHoverTab() const { return m_nHoverTab; }

    // Reflected notifications, owner drawing, mouse and timers.
    BOOL OnSelchanging() override;
    void OnSelchange() override;
    void DrawItem(DRAWITEMSTRUCT* dis) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnTimer(UINT id) override;

    // Colour DrawItem gives the caption of tab `index` now.
    COLORREF CaptionColor(int index, bool selected) const;

private:
    void ShowPage(int index, bool show);

    int m_nCurrentPage = 0;
    std::vector<int> m_arrEnabled;
    CPoint m_ptPageOffset{4, 28};
    COLORREF m_crSelected = 0;
    COLORREF m_crMouseOver = 0;
    int m_nHoverTab = -1;
    BYTE m_bTrackingHover = 0;
    BYTE m_bUseMouseOverColor = 0;
    BYTE m_bUseSelectedColor = 0;
    BYTE m_bNewDump = 0;
    BYTE m_bModemInUse = 0;
    int m_nHangupTimeLeft = 0;
    int m_nHangupTimeout = 0;
    BYTE m_bScheduledCallRequest = 0;
    BYTE m_bCallNowRequest = 0;
    char m_szPhoneNumber[100] = {};
    CallCommands m_szCallCommands;
    char m_szSiteName[100] = {};
    BYTE m_bDataReceived = 0;
    char m_cCallResult = 0;
    char m_szLastDumpEvent[20] = {};
    BYTE m_nDumpEventRepeats = 0;
    char m_cDumpEventCommand = 0;
    char m_szDumpEventTotal[15] = {};
    std::string m_strPlotFileName;
    std::string m_szDataFolder;
    BYTE m_bAutoPollDisabled = 0;
    CCommPort* m_pCommPort = nullptr;
    int m_nShownTab = 0;
};

// CDialog: a window built from a dialog template. Pages are modeless child
// dialogs; the small dialogs run modally through the modal runner.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/Controls.h"
#include "framework/Template.h"
#include "framework/Wnd.h"

class CDialog;

// Binds member controls to template ids and moves values between controls
// and members.
struct CDataExchange {
    CDialog* m_pDlgWnd = nullptr;
    BOOL m_bSaveAndValidate = FALSE; // TRUE: controls to members
    bool m_bBinding = false;         // the first pass, before controls exist
};

void DDX_Control(CDataExchange* pDX, int id, CControl& control);
void DDX_Text(CDataExchange* pDX, int id, std::string& value);
void DDX_Check(CDataExchange* pDX, int id, int& value);

struct MINMAXINFO {
    CPoint ptMinTrackSize;
    CPoint ptMaxTrackSize;
};

constexpr UINT SIZE_RESTORED = 0;
constexpr UINT SIZE_MINIMIZED = 1;
constexpr UINT SIZE_MAXIMIZED = 2;

class CDialog : public CWnd {
public:
    explicit CDialog(int templateId = 0, CWnd* parent = nullptr);
    ~CDialog() override;

    // Modeless: a child window of `parent`, or a top-level window when null.
    BOOL Create(int templateId, CWnd* parent = nullptr);
    // Modal: builds the window, runs it through the modal runner, destroys it.
    int DoModal();
    void EndDialog(int result);
    bool IsEnded() const { return m_bEnded; }
    int GetResult() const { return m_nResult; }
    int GetTemplateId() const { return m_nTemplateId; }
    bool IsChildDialog() const { return m_bChild; }
    std::string GetCaption() const;

    CWnd* GetDlgItem(int id) const override;
    template <class T> T* Item(int id) const { return dynamic_cast<T*>(GetDlgItem(id)); }
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange* pDX) { (void)pDX; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    virtual void OnGetMinMaxInfo(MINMAXINFO* info) { (void)info; }
    // A child dialog brought forward (shown).
    virtual void OnShowWindow(BOOL show) { (void)show; }

    BOOL OnCommand(UINT id, UINT code) override;
    void OnClose() override { OnCancel(); }
    BOOL PreTranslateMessage(MSG* msg) override;

    void BindControl(int id, CControl* control);

private:
    bool BuildWindow(QWidget* parentWidget, bool child);

    int m_nTemplateId;
    CWnd* m_pParentWnd;
    bool m_bChild = false;
    bool m_bEnded = false;
    int m_nResult = 0;
    std::map<int, CControl*> m_bound;
    std::map<int, CControl*> m_items;
    std::vector<std::unique_ptr<CControl>> m_ownedControls;
};

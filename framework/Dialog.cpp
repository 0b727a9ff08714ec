#include "framework/Dialog.h"

#include <QCloseEvent>
#include <QDialog>
#include <QPushButton>
#include <QResizeEvent>
#include <QShowEvent>

#include "framework/DateTimeCtrl.h"
#include "framework/ListCtrl.h"
#include "framework/ModalRunner.h"
#include "framework/ProgressCtrl.h"
#include "framework/TabCtrl.h"

namespace {

// The Qt side of a dialog: forwards size, close and show to the CDialog and
// leaves Enter and Esc to the program's key handling.
class DialogWidget : public QDialog {
public:
    DialogWidget(CDialog* dlg, QWidget* parent, bool child) : QDialog(parent), m_dlg(dlg) {
        // QDialog makes itself a window whatever flags it is given; a page
        // is a plain child widget.
        if (child)
            setWindowFlags(Qt::Widget);
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QDialog::resizeEvent(event);
        const UINT type = isMaximized() ? SIZE_MAXIMIZED : SIZE_RESTORED;
        m_dlg->OnSize(type, event->size().width(), event->size().height());
    }
    void closeEvent(QCloseEvent* event) override {
        // The dialog decides: it ends itself through EndDialog or stays.
        event->ignore();
        m_dlg->OnClose();
    }
    void showEvent(QShowEvent* event) override {
        QDialog::showEvent(event);
        if (!event->spontaneous())
            m_dlg->OnShowWindow(TRUE);
    }
    void keyPressEvent(QKeyEvent* event) override { QWidget::keyPressEvent(event); }
    void reject() override { m_dlg->OnClose(); }

private:
    CDialog* m_dlg;
};

std::unique_ptr<CControl> CreateDefaultControl(ControlKind kind) {
    switch (kind) {
    case ControlKind::PushButton:
    case ControlKind::DefPushButton:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
    case ControlKind::GroupBox:
        return std::make_unique<CButton>();
    case ControlKind::Static:
    case ControlKind::StaticIcon:
        return std::make_unique<CStatic>();
    case ControlKind::Edit:
        return std::make_unique<CEdit>();
    case ControlKind::ComboDropList:
    case ControlKind::ComboDropDown:
        return std::make_unique<CComboBox>();
    case ControlKind::TabControl:
        return std::make_unique<CTabCtrl>();
    case ControlKind::ListView:
        return std::make_unique<CListCtrl>();
    case ControlKind::DateTime:
        return std::make_unique<CDateTimeCtrl>();
    case ControlKind::Progress:
        return std::make_unique<CProgressCtrl>();
    default:
        return nullptr; // made by the page itself
    }
}

} // namespace

void DDX_Control(CDataExchange* pDX, int id, CControl& control) {
    if (pDX->m_bBinding)
        pDX->m_pDlgWnd->BindControl(id, &control);
}

void DDX_Text(CDataExchange* pDX, int id, std::string& value) {
    if (pDX->m_bBinding)
        return;
    CWnd* item = pDX->m_pDlgWnd->GetDlgItem(id);
    if (!item)
        return;
    if (pDX->m_bSaveAndValidate)
        value = item->GetWindowText();
    else
        item->SetWindowText(value);
}

void DDX_Check(CDataExchange* pDX, int id, int& value) {
    if (pDX->m_bBinding)
        return;
    auto* button = pDX->m_pDlgWnd->Item<CButton>(id);
    if (!button)
        return;
    if (pDX->m_bSaveAndValidate)
        value = button->GetCheck();
    else
        button->SetCheck(value);
}

CDialog::CDialog(int templateId, CWnd* parent) : m_nTemplateId(templateId), m_pParentWnd(parent) {}

CDialog::~CDialog() {
    // Controls go before the dialog's own widget.
    m_items.clear();
    m_ownedControls.clear();
}

void CDialog::BindControl(int id, CControl* control) {
    m_bound[id] = control;
}

bool CDialog::BuildWindow(QWidget* parentWidget, bool child) {
    const DialogTemplate* tmpl = FindDialogTemplate(m_nTemplateId);
    if (!tmpl)
        return false;
    m_bChild = child;
    m_bEnded = false;
    auto* widget = new DialogWidget(this, parentWidget, child);
    widget->setWindowTitle(QString::fromLatin1(tmpl->caption ? tmpl->caption : ""));
    widget->resize(DluX(tmpl->w), DluY(tmpl->h));
    Attach(widget, 0, m_pParentWnd);

    CDataExchange bind;
    bind.m_pDlgWnd = this;
    bind.m_bBinding = true;
    DoDataExchange(&bind);

    for (const TemplateItem& item : tmpl->items) {
        CControl* control = nullptr;
        auto bound = m_bound.find(item.id);
        if (bound != m_bound.end()) {
            control = bound->second;
        } else {
            std::unique_ptr<CControl> made = CreateDefaultControl(item.kind);
            if (!made)
                continue;
            control = made.get();
            m_ownedControls.push_back(std::move(made));
        }
        if (control->CreateFromTemplate(item, this, widget))
            m_items[item.id] = control;
    }

    MINMAXINFO info{};
    OnGetMinMaxInfo(&info);
    if (info.ptMinTrackSize.x > 0 || info.ptMinTrackSize.y > 0)
        widget->setMinimumSize(info.ptMinTrackSize.x, info.ptMinTrackSize.y);
    return true;
}

BOOL CDialog::Create(int templateId, CWnd* parent) {
    m_nTemplateId = templateId;
    m_pParentWnd = parent;
    const bool child = parent != nullptr;
    if (!BuildWindow(parent ? parent->GetWidget() : nullptr, child))
        return FALSE;
    OnInitDialog();
    if (child)
        GetWidget()->show();
    return TRUE;
}

int CDialog::DoModal() {
    QWidget* parentWidget = m_pParentWnd ? m_pParentWnd->GetWidget() : nullptr;
    if (!BuildWindow(parentWidget ? parentWidget->window() : nullptr, false))
        return -1;
    static_cast<QDialog*>(GetWidget())->setModal(true);
    OnInitDialog();
    const int result = ModalRunner::Get().RunDialog(*this);
    if (!m_bEnded)
        m_nResult = result;
    DestroyWindow();
    m_items.clear();
    m_ownedControls.clear();
    return m_nResult;
}

void CDialog::EndDialog(int result) {
    m_nResult = result;
    m_bEnded = true;
    if (m_bChild)
        return;
    if (auto* dialog = qobject_cast<QDialog*>(GetWidget()))
        dialog->done(result);
}

std::string CDialog::GetCaption() const {
    QWidget* w = GetWidget();
    return w ? w->windowTitle().toLatin1().toStdString() : std::string();
}

CWnd* CDialog::GetDlgItem(int id) const {
    auto it = m_items.find(id);
    return it == m_items.end() ? nullptr : it->second;
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
    CDataExchange dx;
    dx.m_pDlgWnd = this;
    dx.m_bSaveAndValidate = saveAndValidate;
    DoDataExchange(&dx);
    return TRUE;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

BOOL CDialog::OnCommand(UINT id, UINT code) {
    if (code != BN_CLICKED)
        return FALSE;
    if (id == UINT(IDOK)) {
        OnOK();
        return TRUE;
    }
    if (id == UINT(IDCANCEL)) {
        OnCancel();
        return TRUE;
    }
    return FALSE;
}

BOOL CDialog::PreTranslateMessage(MSG* msg) {
    if (msg->message != WM_KEYDOWN || (msg->wParam != VK_RETURN && msg->wParam != VK_ESCAPE))
        return FALSE;
    // A page never lets Enter or Esc end anything.
    if (m_bChild)
        return TRUE;
    if (msg->wParam == VK_ESCAPE) {
        OnCommand(UINT(IDCANCEL), BN_CLICKED);
        return TRUE;
    }
    // Enter clicks the focused push button of this dialog, else the default
    // (a focused check box or radio button is not clicked).
    CWnd* focus = GetFocus();
    if (auto* button = dynamic_cast<CButton*>(focus);
        button && button->GetParent() == this && qobject_cast<QPushButton*>(button->GetWidget())) {
        button->Click();
        return TRUE;
    }
    OnCommand(UINT(IDOK), BN_CLICKED);
    return TRUE;
}

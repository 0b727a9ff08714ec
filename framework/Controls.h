// The standard controls, each a CWnd around one Qt widget, created from a
// dialog template item. Programmatic changes raise the notifications that
// Windows raises for them; user actions raise theirs.
#pragma once

#include <QString>

#include <QComboBox>
#include <QPixmap>
#include <string>
#include <vector>

#include "framework/EditText.h"
#include "framework/Template.h"
#include "framework/Wnd.h"

class CDialog;

// Base of every control made from a template item.
class CControl : public CWnd {
public:
    // Creates the widget as a child of `parent`, placed and styled from `item`.
    bool CreateFromTemplate(const TemplateItem& item, CWnd* owner, QWidget* parent);
    unsigned GetTemplateStyle() const { return m_style; }

protected:
    virtual QWidget* CreateControlWidget(const TemplateItem& item, QWidget* parent) = 0;
    // Called once the widget exists, like a window being subclassed.
    virtual void PreSubclassWindow() {}

private:
    unsigned m_style = 0;
};

class CStatic : public CControl {
public:
    void SetIcon(const QPixmap& icon);

protected:
    void SetText(const std::string& text) override;
    std::string GetText() const override;
    QWidget* CreateControlWidget(const TemplateItem& item, QWidget* parent) override;
};

constexpr int BST_UNCHECKED = 0;
constexpr int BST_CHECKED = 1;

class CButton : public CControl {
public:
    int GetCheck() const;
    void SetCheck(int state);
    // The user's click: BN_CLICKED reaches the owner.
    void Click();

protected:
    void SetText(const std::string& text) override;
    std::string GetText() const override;
    QWidget* CreateControlWidget(const TemplateItem& item, QWidget* parent) override;
};

// Single-line edits are Qt line edits; multi-line edits keep their text as
// bytes (EditText) and show it in a plain-text view.
class CEdit : public CControl {
public:
    void SetSel(int start, int end, BOOL noScroll = FALSE);
    void GetSel(int* start, int* end) const;
    void ReplaceSel(const char* text, BOOL canUndo = FALSE);
    void ReplaceSel(const std::string& bytes);
    int GetLimitText() const;
    void SetLimitText(int limit);
    int LineFromChar(int index = -1) const;
    int LineIndex(int line = -1) const;
    int GetLineCount() const;
    void ScrollCaret();
    void SetReadOnly(BOOL readOnly = TRUE);

    bool IsMultiLine() const { return m_multiLine; }
    // The bytes of a multi-line edit (what the program put there).
    const EditText& Model() const { return m_model; }

    // The user typing into a single-line edit.
    void UserType(const std::string& text);

protected:
    void SetText(const std::string& text) override;
    std::string GetText() const override;
    QWidget* CreateControlWidget(const TemplateItem& item, QWidget* parent) override;

private:
    void ApplyChange(const EditText::Change& change);
    void ScheduleViewUpdate();
    // Brings the view up to the bytes (changes and scrolling).
    void FlushView();

    // A single-line edit: what the user adds is cut to the byte limit at a
    // character boundary; the program's own text is not limited.
    void KeepByteLimit();

    bool m_multiLine = false;
    int m_nByteLimit = EditText::kDefaultLimit;
    bool m_bProgramText = false;
    QString m_lastText;
    EditText m_model;
    std::vector<EditText::Change> m_pendingView;
    bool m_bViewUpdateScheduled = false;
    bool m_bScrollPending = false;
};

class CComboBox : public CControl {
public:
    int AddString(const char* text);
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int index); // -1 clears the selection
    std::string GetLBText(int index) const;
    int FindStringExact(int startAfter, const char* text) const;

    // The user drops the list (CBN_DROPDOWN first) and picks an entry
    // (CBN_SELCHANGE).
    void UserDropDown();
    void UserSelect(int index);

protected:
    void SetText(const std::string& text) override;
    std::string GetText() const override;
    QWidget* CreateControlWidget(const TemplateItem& item, QWidget* parent) override;
};

// Qt's combo box with the Windows order of notices: the drop-down notice
// reaches the owner before the list opens. A wheel turn changes the choice
// only while the box has the keyboard focus (and never gives it the focus).
class NotifyingComboBox : public QComboBox {
public:
    NotifyingComboBox(CComboBox* owner, QWidget* parent);
    void showPopup() override;

protected:
    void wheelEvent(QWheelEvent* event) override;

private:
    CComboBox* m_owner;
};

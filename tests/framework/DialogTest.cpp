#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "framework/Dialog.h"
#include "framework/ModalRunner.h"
#include "framework/Text.h"
#include "resources/ResourcePlot.h"
#include "resources/ResourceSelect.h"
#include "resources/ResourceShell.h"
#include "tests/support/ScriptedModal.h"
#include "tests/support/TestEnv.h"
#include "tests/support/UiDriver.h"

namespace {

TEST(DialogTest, ControlsAreFoundByIdAtTheirTemplatePlaces) {
    TestEnv env;
    for (int templateId :
         {IDD_KESTRUNE_DIALOG, IDD_ABOUTBOX, IDD_MYDATA, IDD_HELP_COMMS, IDD_SELECT}) {
        SCOPED_TRACE(Format("template %d", templateId));
        const DialogTemplate* tmpl = FindDialogTemplate(templateId);
        ASSERT_NE(tmpl, nullptr);
        CDialog dlg(templateId);
        ASSERT_TRUE(dlg.Create(templateId));
        EXPECT_EQ(dlg.GetWidget()->width(), tmpl->w * 3 / 2);
        EXPECT_EQ(dlg.GetWidget()->height(), tmpl->h * 13 / 8);
        std::set<int> seen;
        for (const TemplateItem& item : tmpl->items) {
            if (item.id <= 0 || !seen.insert(item.id).second || item.kind == ControlKind::Custom)
                continue;
            SCOPED_TRACE(Format("control %d", item.id));
            CWnd* control = dlg.GetDlgItem(item.id);
            ASSERT_NE(control, nullptr);
            EXPECT_EQ(control->GetDlgCtrlID(), item.id);
            EXPECT_EQ(control->GetParent(), &dlg);
            const CRect r = control->GetRectInParent();
            EXPECT_EQ(r.left, item.x * 3 / 2);
            EXPECT_EQ(r.top, item.y * 13 / 8);
            EXPECT_EQ(r.Width(), item.w * 3 / 2);
            if (item.kind == ControlKind::ComboDropList || item.kind == ControlKind::ComboDropDown)
                EXPECT_LT(r.Height(), item.h * 13 / 8); // one line; the height is the list's
            else
                EXPECT_EQ(r.Height(), item.h * 13 / 8);
            EXPECT_EQ(control->IsWindowVisible(), !(item.style & TS_HIDDEN));
            EXPECT_EQ(control->IsWindowEnabled() != FALSE, !(item.style & TS_DISABLED));
            if (item.kind == ControlKind::PushButton || item.kind == ControlKind::DefPushButton) {
                EXPECT_EQ(control->GetWindowText(), item.text);
            }
        }
        EXPECT_EQ(dlg.GetDlgItem(4242), nullptr);
    }
}

// A top-level dialog that logs the notifications of its controls.
class LoggingDialog : public CDialog {
public:
    LoggingDialog() : CDialog(IDD_ABOUTBOX) {}
    BOOL OnCommand(UINT id, UINT code) override {
        log.push_back(Format("%u/%u", id, code));
        if (onCommand)
            onCommand(id, code);
        return CDialog::OnCommand(id, code);
    }
    std::vector<std::string> log;
    std::function<void(UINT, UINT)> onCommand;
};

TemplateItem Item(int id, ControlKind kind, unsigned style = 0) {
    return TemplateItem{id, kind, "", 10, 10, 80, 100, style};
}

TEST(DialogTest, ComboAndEditNotifyTheirDialog) {
    TestEnv env;
    LoggingDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_ABOUTBOX));
    ui::Activate(dlg);
    CComboBox combo;
    ASSERT_TRUE(
        combo.CreateFromTemplate(Item(501, ControlKind::ComboDropList), &dlg, dlg.GetWidget()));
    auto* box = qobject_cast<QComboBox*>(combo.GetWidget());
    ASSERT_NE(box, nullptr);

    // The program's changes raise nothing.
    combo.AddString("COM1");
    EXPECT_EQ(combo.GetCurSel(), CB_ERR);
    combo.AddString("COM2");
    combo.SetCurSel(1);
    combo.ResetContent();
    EXPECT_TRUE(dlg.log.empty());

    // The list is filled when it drops: the notice comes before it opens.
    bool openAtNotice = true;
    dlg.onCommand = [&](UINT id, UINT code) {
        if (id == 501 && code == CBN_DROPDOWN) {
            openAtNotice = box->view()->isVisible();
            combo.ResetContent();
            combo.AddString("COM3");
            combo.AddString("COM7");
        }
    };
    ui::Press(box, Qt::LeftButton);
    EXPECT_EQ(dlg.log, std::vector<std::string>{"501/7"});
    EXPECT_FALSE(openAtNotice);
    EXPECT_TRUE(box->view()->isVisible());
    EXPECT_EQ(combo.GetCount(), 2);
    box->hidePopup();
    dlg.onCommand = nullptr;

    // A choice with the keyboard is the user's.
    dlg.log.clear();
    combo.SetCurSel(0);
    ui::Key(box, Qt::Key_Down);
    EXPECT_EQ(combo.GetCurSel(), 1);
    EXPECT_EQ(dlg.log, std::vector<std::string>{"501/1"});

    // An edit's change notice comes for the program's text and the user's.
    dlg.log.clear();
    CEdit edit;
    ASSERT_TRUE(
        edit.CreateFromTemplate(Item(502, ControlKind::Edit, TS_BORDER), &dlg, dlg.GetWidget()));
    edit.SetWindowText("0212");
    EXPECT_EQ(dlg.log, std::vector<std::string>{"502/768"});
    edit.GetWidget()->setFocus();
    ui::Key(edit.GetWidget(), Qt::Key_5);
    EXPECT_EQ(edit.GetWindowText(), "02125");
    EXPECT_EQ(dlg.log, (std::vector<std::string>{"502/768", "502/768"}));
}

// Logs what PreTranslateMessage is offered and consumes what it is told to.
template <class Base> class KeyLogger : public Base {
public:
    template <class... Args>
    KeyLogger(std::vector<std::string>* log, const char* name, Args... args)
        : Base(args...), m_log(log), m_name(name) {}
    BOOL PreTranslateMessage(MSG* msg) override {
        const char* kind = msg->message == WM_KEYDOWN ? "down" : "char";
        m_log->push_back(Format("%s %s %u", m_name, kind, msg->wParam));
        if (msg->message == consume.message && msg->wParam == consume.wParam)
            return TRUE;
        return Base::PreTranslateMessage(msg);
    }
    MSG consume{0xFFFF, 0};

private:
    std::vector<std::string>* m_log;
    const char* m_name;
};

TEST(DialogTest, KeysAreOfferedFromTheFocusUpToTheWindow) {
    TestEnv env;
    ScriptedModal modal;
    std::vector<std::string> log;
    KeyLogger<CDialog> top(&log, "window", IDD_ABOUTBOX);
    ASSERT_TRUE(top.Create(IDD_ABOUTBOX));
    KeyLogger<CDialog> page(&log, "page", IDD_PLOT);
    ASSERT_TRUE(page.Create(IDD_PLOT, &top));
    KeyLogger<CEdit> edit(&log, "edit");
    ASSERT_TRUE(edit.CreateFromTemplate(Item(503, ControlKind::Edit), &page, page.GetWidget()));
    ui::Activate(top);
    QWidget* field = edit.GetWidget();
    field->setFocus();
    auto* line = qobject_cast<QLineEdit*>(field);
    ASSERT_NE(line, nullptr);

    ui::Key(field, Qt::Key_A);
    EXPECT_EQ(log, (std::vector<std::string>{"edit down 65", "page down 65", "window down 65",
                                             "edit char 97", "page char 97", "window char 97"}));
    EXPECT_EQ(line->text(), "a");

    // A consumed key goes no further, not even to the control.
    log.clear();
    edit.consume = MSG{WM_KEYDOWN, 'X'};
    ui::Key(field, Qt::Key_X);
    EXPECT_EQ(log, std::vector<std::string>{"edit down 88"});
    log.clear();
    page.consume = MSG{WM_CHAR, 'b'};
    ui::Key(field, Qt::Key_B);
    EXPECT_EQ(log, (std::vector<std::string>{"edit down 66", "page down 66", "window down 66",
                                             "edit char 98", "page char 98"}));
    EXPECT_EQ(line->text(), "a");

    // A page keeps Enter and Esc from its window.
    log.clear();
    ui::Key(field, Qt::Key_Return);
    ui::Key(field, Qt::Key_Escape);
    EXPECT_EQ(log, (std::vector<std::string>{"edit down 13", "page down 13", "edit down 27",
                                             "page down 27"}));
    EXPECT_FALSE(top.IsEnded());

    // Keys without a character of their own offer only their key code, and
    // never one that another key has.
    log.clear();
    ui::Key(field, Qt::Key_F1);
    ui::Key(field, Qt::Key_Shift);
    ui::Key(field, Qt::Key_Print);
    ui::Key(field, Qt::Key_Delete, QString(QChar(0x7F))); // X11 gives Delete a DEL text
    EXPECT_EQ(log, (std::vector<std::string>{"edit down 112", "page down 112", "window down 112",
                                             "edit down 16", "page down 16", "window down 16",
                                             "edit down 44", "page down 44", "window down 44",
                                             "edit down 46", "page down 46", "window down 46"}));
    EXPECT_EQ(line->text(), "a");
    modal.VerifyDone();
}

TEST(DialogTest, EnterClicksTheFocusedPushButtonElseTheDefault) {
    TestEnv env;
    LoggingDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_ABOUTBOX));
    ui::Activate(dlg);
    CButton push;
    ASSERT_TRUE(push.CreateFromTemplate(Item(504, ControlKind::PushButton), &dlg, dlg.GetWidget()));
    CButton check;
    ASSERT_TRUE(check.CreateFromTemplate(Item(505, ControlKind::CheckBox), &dlg, dlg.GetWidget()));

    push.GetWidget()->setFocus();
    ui::Key(push.GetWidget(), Qt::Key_Return);
    EXPECT_EQ(dlg.log, std::vector<std::string>{"504/0"});
    EXPECT_FALSE(dlg.IsEnded());

    // A check box is no push button: Enter is the dialog's OK.
    dlg.log.clear();
    check.GetWidget()->setFocus();
    ui::Key(check.GetWidget(), Qt::Key_Return);
    EXPECT_EQ(check.GetCheck(), BST_UNCHECKED);
    EXPECT_EQ(dlg.log, std::vector<std::string>{"1/0"});
    EXPECT_TRUE(dlg.IsEnded());
    EXPECT_EQ(dlg.GetResult(), IDOK);
}

TEST(DialogTest, CheckBoxesAndRadioButtonsTakeClicksInTheirWholeRectangle) {
    TestEnv env;
    LoggingDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_ABOUTBOX));
    ui::Activate(dlg);
    // Short captions in wide rectangles, as the Firmware page's device boxes.
    const TemplateItem items[] = {{506, ControlKind::CheckBox, "PX70", 10, 10, 149, 10, 0},
                                  {507, ControlKind::RadioButton, "PX", 10, 30, 149, 10, 0}};
    CButton boxes[2];
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(boxes[i].CreateFromTemplate(items[i], &dlg, dlg.GetWidget()));
        QWidget* w = boxes[i].GetWidget();
        ui::Click(w, Qt::LeftButton, QPoint(w->width() - 2, w->height() / 2));
        EXPECT_EQ(boxes[i].GetCheck(), BST_CHECKED) << items[i].id;
    }
    EXPECT_EQ(dlg.log, (std::vector<std::string>{"506/0", "507/0"}));
}

} // namespace

// A box asked for while another is up (start-up warnings from several
// timers) opens only when that one has closed, and its caller gets its own
// answer: never two boxes on top of each other.
TEST(DialogTest, MessageBoxesOpenOneAtATime) {
    ModalRunner::Set(nullptr);
    std::vector<std::vector<std::string>> shown;
    int second = 0;
    QTimer::singleShot(0,
                       [&] { second = ModalRunner::Get().MessageBox("Second", "Warning", MB_OK); });
    QTimer closer;
    closer.setInterval(20);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        std::vector<std::string> up;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible())
                up.push_back(box->text().toStdString());
        if (up.empty())
            return;
        shown.push_back(up);
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->button(QMessageBox::Ok)->click();
    });
    closer.start();
    QTimer::singleShot(20000, [] { // a safety net: never hang the run
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w))
                box->reject();
    });
    const int first = ModalRunner::Get().MessageBox("First", "Warning", MB_OK);
    closer.stop();
    EXPECT_EQ(first, IDOK);
    EXPECT_EQ(second, IDOK);
    EXPECT_EQ(shown, (std::vector<std::vector<std::string>>{{"First"}, {"Second"}}));
}

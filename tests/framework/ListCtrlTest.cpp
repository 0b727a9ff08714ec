// The list view with the mouse and keyboard: what reaches the owner.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QTableWidget>

#include "framework/Dialog.h"
#include "framework/ListCtrl.h"
#include "resources/ResourceSchedule.h"
#include "tests/support/TestEnv.h"
#include "tests/support/UiDriver.h"

namespace {

struct Notice {
    int id;
    UINT code;
    int item;
    UINT newState;
};

class ListOwner : public CDialog {
public:
    ListOwner() : CDialog(IDD_SCHEDULE) {}
    BOOL OnNotify(UINT id, UINT code, NMHDR* payload) override {
        if (code == NM_CUSTOMDRAW)
            return FALSE;
        Notice n{int(id), code, -1, 0};
        if (auto* click = dynamic_cast<NMITEMACTIVATE*>(payload))
            n.item = click->iItem;
        if (auto* change = dynamic_cast<NMLISTVIEW*>(payload)) {
            n.item = change->iItem;
            n.newState = change->uNewState;
        }
        if (auto* header = dynamic_cast<NMHEADER*>(payload))
            n.item = header->iItem;
        notices.push_back(n);
        return TRUE;
    }
    std::vector<Notice> notices;
};

void Mouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(at), QPointF(w->mapToGlobal(at)), Qt::LeftButton, held,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

TEST(ListCtrlTest, MouseAndKeysReachTheOwnerWithTheirRows) {
    TestEnv env;
    ListOwner owner;
    ASSERT_TRUE(owner.Create(IDD_SCHEDULE));
    owner.GetWidget()->show();
    ui::Activate(owner);
    auto& list = *owner.Item<CListCtrl>(IDC_SCHEDULE_LIST);
    for (int col = 0; col < 3; ++col)
        list.InsertColumn(col, "H", LVCFMT_LEFT, 80);
    list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    for (int row = 0; row < 5; ++row)
        list.InsertItem(row, std::to_string(row + 1).c_str());
    list.SetItemText(2, 1, "two");
    list.SetCheck(3, TRUE); // from the program: no notice
    EXPECT_TRUE(owner.notices.empty());
    EXPECT_TRUE(list.GetCheck(3));

    auto* table = qobject_cast<QTableWidget*>(list.GetWidget());
    QWidget* viewport = table->viewport();
    const QRect cell = table->visualRect(table->model()->index(1, 0));
    // The check box sits at the left of the first cell.
    const QPoint box(cell.left() + 10, cell.center().y());
    Mouse(viewport, QEvent::MouseButtonPress, box, Qt::LeftButton);
    Mouse(viewport, QEvent::MouseButtonRelease, box, Qt::NoButton);
    ASSERT_EQ(owner.notices.size(), 2u);
    EXPECT_EQ(owner.notices[0].code, LVN_ITEMCHANGED);
    EXPECT_EQ(owner.notices[0].item, 1);
    EXPECT_EQ(owner.notices[0].newState & LVIS_STATEIMAGEMASK, 0x2000u);
    EXPECT_EQ(owner.notices[1].code, NM_CLICK);
    EXPECT_TRUE(list.GetCheck(1));

    owner.notices.clear();
    const QPoint text = table->visualRect(table->model()->index(2, 1)).center();
    Mouse(viewport, QEvent::MouseButtonPress, text, Qt::LeftButton);
    Mouse(viewport, QEvent::MouseButtonRelease, text, Qt::NoButton);
    Mouse(viewport, QEvent::MouseButtonDblClick, text, Qt::LeftButton);
    Mouse(viewport, QEvent::MouseButtonRelease, text, Qt::NoButton);
    ASSERT_FALSE(owner.notices.empty());
    EXPECT_EQ(owner.notices.back().code, NM_DBLCLK);
    EXPECT_EQ(owner.notices.back().item, 2);
    EXPECT_EQ(list.GetItemText(2, 1), "two");
    EXPECT_TRUE(list.GetItemState(2, LVIS_SELECTED));
    EXPECT_FALSE(list.GetItemState(1, LVIS_SELECTED));

    // Space on the current row changes its check box as the mouse does.
    owner.notices.clear();
    ui::Key(table, Qt::Key_Space, " ");
    ASSERT_EQ(owner.notices.size(), 1u);
    EXPECT_EQ(owner.notices[0].code, LVN_ITEMCHANGED);
    EXPECT_EQ(owner.notices[0].item, 2);
    EXPECT_TRUE(list.GetCheck(2));

    // Dragging a divider reports once, at its end, from the header (id 0).
    owner.notices.clear();
    QHeaderView* header = table->horizontalHeader();
    const int edge = header->sectionViewportPosition(0) + header->sectionSize(0) - 1;
    const int y = header->height() / 2;
    Mouse(header->viewport(), QEvent::MouseButtonPress, QPoint(edge, y), Qt::LeftButton);
    Mouse(header->viewport(), QEvent::MouseMove, QPoint(edge + 20, y), Qt::LeftButton);
    Mouse(header->viewport(), QEvent::MouseMove, QPoint(edge + 40, y), Qt::LeftButton);
    EXPECT_TRUE(owner.notices.empty());
    Mouse(header->viewport(), QEvent::MouseButtonRelease, QPoint(edge + 40, y), Qt::NoButton);
    ASSERT_EQ(owner.notices.size(), 1u);
    EXPECT_EQ(owner.notices[0].id, 0);
    EXPECT_EQ(owner.notices[0].code, HDN_ENDTRACK);
    EXPECT_EQ(owner.notices[0].item, 0);
    EXPECT_EQ(list.GetColumnWidth(0), 120);
}

} // namespace

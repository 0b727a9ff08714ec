#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionViewItem>
#include <QTableWidget>
#include <algorithm>

#include "framework/Resources.h"
#include "resources/ResourceUpgrade.h"
#include "tests/support/MainWindowHarness.h"
#include "upgrade/DialogUpgrade.h"

namespace {

// The room a control's text has, as the style lays the control out.
int TextRoom(QWidget* w) {
    if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        QStyleOptionButton opt;
        opt.initFrom(button);
        const bool push = qobject_cast<QPushButton*>(button) != nullptr;
        const QStyle::SubElement contents =
            push ? QStyle::SE_PushButtonContents
                 : (button->inherits("QCheckBox") ? QStyle::SE_CheckBoxContents
                                                  : QStyle::SE_RadioButtonContents);
        const QRect r = button->style()->subElementRect(contents, &opt, button);
        return push ? r.width() - 2 : r.width();
    }
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        QStyleOptionComboBox opt;
        opt.initFrom(combo);
        opt.editable = combo->isEditable();
        return combo->style()
            ->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, combo)
            .width();
    }
    if (auto* group = qobject_cast<QGroupBox*>(w))
        return group->width() - 16;
    return w->contentsRect().width();
}

// Every text of every control under `root` that does not fit its control.
std::vector<std::string> TextsThatDoNotFit(QWidget* root, const std::string& where) {
    std::vector<std::string> cut;
    for (QWidget* w : root->findChildren<QWidget*>()) {
        if (w->isHidden())
            continue; // hidden by its template
        const QFontMetrics fm(w->font());
        std::vector<QString> texts;
        if (auto* label = qobject_cast<QLabel*>(w)) {
            if (label->pixmap().isNull())
                texts.push_back(label->text());
            if (label->wordWrap()) {
                const QRect need = fm.boundingRect(QRect(0, 0, TextRoom(w), 100000),
                                                   Qt::TextWordWrap, label->text());
                if (need.height() > label->contentsRect().height())
                    cut.push_back(where + ": \"" + label->text().left(30).toStdString() +
                                  "\" needs more lines");
                continue;
            }
            const QRect need = fm.boundingRect(QRect(0, 0, 100000, 100000), 0, label->text());
            if (need.height() > label->contentsRect().height())
                cut.push_back(where + ": \"" + label->text().left(30).toStdString() + "\" needs " +
                              std::to_string(need.height()) + " px high, has " +
                              std::to_string(label->contentsRect().height()));
        } else if (auto* table = qobject_cast<QTableWidget*>(w)) {
            // Each heading and cell within its column's width.
            for (int col = 0; col < table->columnCount(); ++col) {
                const int width = table->columnWidth(col);
                int need = table->horizontalHeader()->sectionSizeHint(col);
                for (int row = 0; row < table->rowCount(); ++row) {
                    QStyleOptionViewItem opt;
                    opt.initFrom(table);
                    opt.font = table->font();
                    need = std::max(need, table->itemDelegate()
                                              ->sizeHint(opt, table->model()->index(row, col))
                                              .width());
                }
                if (need > width)
                    cut.push_back(where + ": column \"" +
                                  table->horizontalHeaderItem(col)->text().toStdString() +
                                  "\" needs " + std::to_string(need) + " px, has " +
                                  std::to_string(width));
            }
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            texts.push_back(button->text());
        } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
            texts.push_back(group->title());
        } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            // "NoPortsAvail" stands in for a port and is wider than the
            // port list on the original platform too.
            for (int i = 0; i < combo->count(); ++i) {
                if (combo->itemText(i) != "NoPortsAvail")
                    texts.push_back(combo->itemText(i));
            }
        }
        for (const QString& text : texts) {
            for (const QString& line : text.split('\n')) {
                if (line.isEmpty())
                    continue;
                const int need = fm.horizontalAdvance(line);
                if (need > TextRoom(w))
                    cut.push_back(where + ": \"" + line.toStdString() + "\" needs " +
                                  std::to_string(need) + " px, has " + std::to_string(TextRoom(w)));
            }
        }
    }
    return cut;
}

// Each registered template built as a plain dialog: no text is cut by its
// control. The pages' own lists (ports, baud rates, the schedule's columns)
// and a two-line version label are checked as filled.
TEST(TemplateFitTest, EveryTemplateTextFitsItsControl) {
    TestEnv env;
    std::vector<std::string> cut;
    const std::vector<int> ids = RegisteredTemplateIds();
    ASSERT_FALSE(ids.empty());
    for (int id : ids) {
        CDialog dlg(id);
        ASSERT_TRUE(dlg.Create(id, nullptr)) << id;
        for (const std::string& c : TextsThatDoNotFit(dlg.GetWidget(), std::to_string(id)))
            cut.push_back(c);
        dlg.DestroyWindow();
    }
    {
        MainWindowHarness h;
        h.AddPort(99);
        h.WriteDataFile("comms.cfg", "099, 7");
        // Schedule rows with the widest texts their columns take.
        h.WriteDataFile("site.cfg",
                        "#001,Weir,Direct,3,23:59 28-May-2026,999,M,ST^M,a.txt,A,R,,,,R,,,,R\r\n"
                        "#002,Ford,5551234,3,23:59 28-Dec-2026,999,D,ST^M,a.txt,A,R,,,,R,,,,R\r\n");
        h.WriteDataFile("stat.cfg", "8,9,");
        h.Start();
        // The previous version as a logger reports it, on two lines.
        CWnd* version = h.Main().GetUpgradePage()->GetDlgItem(IDC_STEP_VERSION);
        version->SetWindowText("Previous Version : PX80 Logger V4.10\nBuilt 12/01/24");
        version->ShowWindow(SW_SHOW);
        for (const std::string& c : TextsThatDoNotFit(h.Main().GetWidget(), "main window"))
            cut.push_back(c);
    }
    EXPECT_EQ(cut, std::vector<std::string>{});
}

} // namespace

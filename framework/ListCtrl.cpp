#include "framework/ListCtrl.h"

#include "framework/WidgetText.h"

#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableWidget>

namespace {

QColor ToQColor(COLORREF c) {
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

// Paints each cell in the colours the owner gives its row.
class RowColourDelegate : public QStyledItemDelegate {
public:
    RowColourDelegate(CListCtrl* list, QObject* parent)
        : QStyledItemDelegate(parent), m_list(list) {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        COLORREF text = 0;
        COLORREF background = 0;
        m_list->GetRowColors(index.row(), &text, &background);
        option->palette.setColor(QPalette::Text, ToQColor(text));
        option->backgroundBrush = QBrush(ToQColor(background));
    }

private:
    CListCtrl* m_list;
};

// The table: reports check boxes the user changes and the end of a column
// divider drag; the program's own changes are told apart by the control.
class ListTable : public QTableWidget {
public:
    ListTable(CListCtrl* list, QWidget* parent) : QTableWidget(parent), m_list(list) {
        horizontalHeader()->viewport()->installEventFilter(this);
        connect(horizontalHeader(), &QHeaderView::sectionResized, [this](int col, int, int) {
            if (m_dragging)
                m_resized = col;
        });
    }

protected:
    // Space changes the check box of the current row, whichever cell has
    // the focus.
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Space && currentIndex().isValid() &&
            (m_list->GetExtendedStyle() & LVS_EX_CHECKBOXES)) {
            m_list->UserToggleCheck(currentIndex().row());
            event->accept();
            return;
        }
        QTableWidget::keyPressEvent(event);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == horizontalHeader()->viewport()) {
            if (event->type() == QEvent::MouseButtonPress) {
                m_dragging = true;
                m_resized = -1;
            } else if (event->type() == QEvent::MouseButtonRelease) {
                m_dragging = false;
                const int col = m_resized;
                m_resized = -1;
                if (col >= 0)
                    m_list->OnUserEndTrack(col);
            }
        }
        return QTableWidget::eventFilter(watched, event);
    }

private:
    CListCtrl* m_list;
    bool m_dragging = false;
    int m_resized = -1;
};

} // namespace

QWidget* CListCtrl::CreateControlWidget(const TemplateItem& item, QWidget* parent) {
    (void)item;
    auto* table = new ListTable(this, parent);
    table->setColumnCount(0);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 4);
    table->horizontalHeader()->setStretchLastSection(false);
    table->horizontalHeader()->setSectionsMovable(false);
    table->horizontalHeader()->setSectionsClickable(false);
    table->horizontalHeader()->setMinimumSectionSize(0);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table->setSelectionBehavior(QAbstractItemView::SelectItems);
    table->setShowGrid(false);
    // A list of many rows always shows its scroll bar; the client width
    // then does not depend on when the bar was last laid out.
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    table->setWordWrap(false);
    table->setItemDelegate(new RowColourDelegate(this, table));
    QObject::connect(table, &QTableWidget::itemChanged, [this](QTableWidgetItem* changed) {
        if (m_bProgramChange || changed->column() != 0 ||
            !(changed->flags() & Qt::ItemIsUserCheckable))
            return;
        OnUserCheckChanged(changed->row(), changed->checkState() == Qt::Checked);
    });
    QObject::connect(table, &QTableWidget::clicked, [this](const QModelIndex& index) {
        NMITEMACTIVATE payload;
        payload.iItem = index.row();
        payload.iSubItem = index.column();
        NotifyParent(NM_CLICK, payload);
    });
    QObject::connect(table, &QTableWidget::doubleClicked, [this](const QModelIndex& index) {
        NMITEMACTIVATE payload;
        payload.iItem = index.row();
        payload.iSubItem = index.column();
        NotifyParent(NM_DBLCLK, payload);
    });
    return table;
}

QTableWidget* CListCtrl::Table() const {
    return qobject_cast<QTableWidget*>(GetWidget());
}

int CListCtrl::InsertColumn(int col, const char* heading, int format, int width) {
    (void)format;
    QTableWidget* table = Table();
    if (!table)
        return -1;
    col = std::clamp(col, 0, table->columnCount());
    table->insertColumn(col);
    auto* header = new QTableWidgetItem(ToWidgetText(heading));
    header->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    table->setHorizontalHeaderItem(col, header);
    if (width >= 0)
        table->setColumnWidth(col, width);
    return col;
}

int CListCtrl::GetColumnCount() const {
    QTableWidget* table = Table();
    return table ? table->columnCount() : 0;
}

int CListCtrl::GetColumnWidth(int col) const {
    QTableWidget* table = Table();
    if (!table || col < 0 || col >= table->columnCount())
        return 0;
    return table->columnWidth(col);
}

int CListCtrl::GetStringWidth(const char* text) const {
    QTableWidget* table = Table();
    if (!table || !text)
        return 0;
    return table->fontMetrics().horizontalAdvance(ToWidgetText(text));
}

BOOL CListCtrl::SetColumnWidth(int col, int width) {
    QTableWidget* table = Table();
    if (!table || col < 0 || col >= table->columnCount())
        return FALSE;
    table->setColumnWidth(col, std::max(0, width));
    return TRUE;
}

DWORD CListCtrl::SetExtendedStyle(DWORD style) {
    const DWORD previous = m_dwExStyle;
    m_dwExStyle = style;
    if (QTableWidget* table = Table()) {
        table->setShowGrid(style & LVS_EX_GRIDLINES);
        table->setSelectionBehavior((style & LVS_EX_FULLROWSELECT)
                                        ? QAbstractItemView::SelectRows
                                        : QAbstractItemView::SelectItems);
        for (int row = 0; row < table->rowCount(); ++row)
            ApplyCheckable(row);
    }
    return previous;
}

void CListCtrl::ApplyCheckable(int row) {
    QTableWidget* table = Table();
    QTableWidgetItem* first = table ? table->item(row, 0) : nullptr;
    if (!first)
        return;
    m_bProgramChange = true;
    if (m_dwExStyle & LVS_EX_CHECKBOXES) {
        first->setFlags(first->flags() | Qt::ItemIsUserCheckable);
        if (first->data(Qt::CheckStateRole).isNull())
            first->setCheckState(Qt::Unchecked);
    } else {
        first->setFlags(first->flags() & ~Qt::ItemIsUserCheckable);
        first->setData(Qt::CheckStateRole, QVariant());
    }
    m_bProgramChange = false;
}

int CListCtrl::InsertItem(int row, const char* text) {
    QTableWidget* table = Table();
    if (!table)
        return -1;
    row = std::clamp(row, 0, table->rowCount());
    m_bProgramChange = true;
    table->insertRow(row);
    for (int col = 0; col < table->columnCount(); ++col) {
        auto* cell = new QTableWidgetItem(col == 0 ? ToWidgetText(text) : QString());
        cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        table->setItem(row, col, cell);
    }
    m_bProgramChange = false;
    ApplyCheckable(row);
    return row;
}

BOOL CListCtrl::DeleteAllItems() {
    QTableWidget* table = Table();
    if (!table)
        return FALSE;
    m_bProgramChange = true;
    table->setRowCount(0);
    m_bProgramChange = false;
    return TRUE;
}

int CListCtrl::GetItemCount() const {
    QTableWidget* table = Table();
    return table ? table->rowCount() : 0;
}

BOOL CListCtrl::SetItemText(int row, int col, const char* text) {
    QTableWidget* table = Table();
    QTableWidgetItem* cell = table ? table->item(row, col) : nullptr;
    if (!cell)
        return FALSE;
    m_bProgramChange = true;
    cell->setText(ToWidgetText(text));
    m_bProgramChange = false;
    return TRUE;
}

std::string CListCtrl::GetItemText(int row, int col) const {
    QTableWidget* table = Table();
    QTableWidgetItem* cell = table ? table->item(row, col) : nullptr;
    return cell ? FromWidgetText(cell->text()) : std::string();
}

BOOL CListCtrl::SetCheck(int row, BOOL check) {
    QTableWidget* table = Table();
    QTableWidgetItem* first = table ? table->item(row, 0) : nullptr;
    if (!first || !(m_dwExStyle & LVS_EX_CHECKBOXES))
        return FALSE;
    m_bProgramChange = true;
    first->setCheckState(check ? Qt::Checked : Qt::Unchecked);
    m_bProgramChange = false;
    return TRUE;
}

BOOL CListCtrl::GetCheck(int row) const {
    QTableWidget* table = Table();
    QTableWidgetItem* first = table ? table->item(row, 0) : nullptr;
    return first && first->checkState() == Qt::Checked ? TRUE : FALSE;
}

BOOL CListCtrl::SetItemState(int row, UINT state, UINT mask) {
    QTableWidget* table = Table();
    if (!table || row < 0 || row >= table->rowCount() || !(mask & LVIS_SELECTED))
        return FALSE;
    const bool select = state & LVIS_SELECTED;
    const QItemSelection whole(table->model()->index(row, 0),
                               table->model()->index(row, table->columnCount() - 1));
    table->selectionModel()->select(whole, select ? QItemSelectionModel::Select
                                                  : QItemSelectionModel::Deselect);
    return TRUE;
}

UINT CListCtrl::GetItemState(int row, UINT mask) const {
    QTableWidget* table = Table();
    if (!table || row < 0 || row >= table->rowCount() || !(mask & LVIS_SELECTED))
        return 0;
    const QModelIndex first = table->model()->index(row, 0);
    return table->selectionModel()->isSelected(first) ? LVIS_SELECTED : 0;
}

int CListCtrl::GetNextItem(int start, UINT flags) const {
    const int count = GetItemCount();
    for (int row = std::max(0, start + 1); row < count; ++row) {
        if (!(flags & LVNI_SELECTED) || GetItemState(row, LVIS_SELECTED))
            return row;
    }
    return -1;
}

BOOL CListCtrl::RedrawItems(int first, int last) {
    QTableWidget* table = Table();
    if (!table)
        return FALSE;
    const int count = table->rowCount();
    first = std::max(0, first);
    last = std::min(count - 1, last);
    if (first > last)
        return TRUE;
    const QRect top = table->visualRect(table->model()->index(first, 0));
    const QRect bottom = table->visualRect(table->model()->index(last, 0));
    table->viewport()->update(
        QRect(0, top.top(), table->viewport()->width(), bottom.bottom() - top.top() + 1));
    return TRUE;
}

void CListCtrl::GetClientRect(CRect* rect) const {
    QTableWidget* table = Table();
    if (!table) {
        *rect = CRect{};
        return;
    }
    // From the control's own size: the viewport of a hidden page is laid
    // out only when it is shown.
    const int frame = table->frameWidth();
    const int bar = table->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, table);
    const int width = std::max(0, table->width() - 2 * frame - bar);
    const int height = std::max(0, table->height() - 2 * frame);
    *rect = CRect{0, 0, width, height};
}

void CListCtrl::GetRowColors(int row, COLORREF* text, COLORREF* background) {
    NMLVCUSTOMDRAW draw;
    draw.dwDrawStage = CDDS_PREPAINT;
    NotifyParent(NM_CUSTOMDRAW, draw);
    if (draw.result & CDRF_NOTIFYITEMDRAW) {
        NMLVCUSTOMDRAW item;
        item.dwDrawStage = CDDS_ITEMPREPAINT;
        item.dwItemSpec = row;
        NotifyParent(NM_CUSTOMDRAW, item);
        *text = item.clrText;
        *background = item.clrTextBk;
        return;
    }
    *text = RGB(0, 0, 0);
    *background = RGB(255, 255, 255);
}

void CListCtrl::OnUserCheckChanged(int row, bool checked) {
    NMLISTVIEW payload;
    payload.iItem = row;
    payload.uChanged = LVIF_STATE;
    payload.uNewState = checked ? 0x2000 : 0x1000;
    payload.uOldState = checked ? 0x1000 : 0x2000;
    NotifyParent(LVN_ITEMCHANGED, payload);
}

void CListCtrl::OnUserEndTrack(int col) {
    // The header is the list's child of id 0; its notices reach the list's owner.
    NMHEADER payload;
    payload.idFrom = 0;
    payload.code = HDN_ENDTRACK;
    payload.iItem = col;
    payload.cxy = GetColumnWidth(col);
    if (CWnd* owner = GetParent())
        owner->OnNotify(0, HDN_ENDTRACK, &payload);
}

void CListCtrl::UserClick(int row, int col) {
    QTableWidget* table = Table();
    if (!table)
        return;
    const QModelIndex index = table->model()->index(row, col);
    if (index.isValid()) {
        table->setCurrentIndex(index);
        table->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect |
                                                   QItemSelectionModel::Rows);
    }
    NMITEMACTIVATE payload;
    payload.iItem = index.isValid() ? row : -1;
    payload.iSubItem = index.isValid() ? col : -1;
    NotifyParent(NM_CLICK, payload);
}

void CListCtrl::UserDoubleClick(int row, int col) {
    QTableWidget* table = Table();
    if (!table)
        return;
    const QModelIndex index = table->model()->index(row, col);
    NMITEMACTIVATE payload;
    payload.iItem = index.isValid() ? row : -1;
    payload.iSubItem = index.isValid() ? col : -1;
    NotifyParent(NM_DBLCLK, payload);
}

void CListCtrl::UserToggleCheck(int row) {
    QTableWidget* table = Table();
    QTableWidgetItem* first = table ? table->item(row, 0) : nullptr;
    if (!first || !(first->flags() & Qt::ItemIsUserCheckable))
        return;
    // As the view does it: the item changes and itemChanged reports it.
    first->setCheckState(first->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

void CListCtrl::UserResizeColumn(int col, int width) {
    if (SetColumnWidth(col, width))
        OnUserEndTrack(col);
}

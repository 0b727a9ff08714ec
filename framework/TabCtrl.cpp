#include "framework/TabCtrl.h"

#include <QFrame>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionTab>
#include <QStylePainter>
#include <QWheelEvent>

namespace {

// The row of tabs: Qt draws the tab shapes, the owner draws each label, and
// every selection change by the user goes through CTabCtrl::UserSelect.
class OwnerTabBar : public QTabBar {
public:
    OwnerTabBar(CTabCtrl* owner, QWidget* parent) : QTabBar(parent), m_owner(owner) {
        setMouseTracking(true);
        setDrawBase(false);
        setExpanding(false);
        setUsesScrollButtons(false);
        setFocusPolicy(Qt::StrongFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        for (int i = 0; i < count(); ++i) {
            QStyleOptionTab opt;
            initStyleOption(&opt, i);
            opt.text.clear();
            opt.icon = QIcon();
            painter.drawControl(QStyle::CE_TabBarTabShape, opt);
        }
        for (int i = 0; i < count(); ++i) {
            const QRect r = tabRect(i);
            DRAWITEMSTRUCT dis;
            dis.itemID = i;
            dis.itemState = (i == currentIndex()) ? ODS_SELECTED : 0;
            dis.hDC = &painter;
            dis.rcItem = CRect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
            painter.save();
            m_owner->DrawItem(&dis);
            painter.restore();
        }
    }
    QSize tabSizeHint(int index) const override {
        const QSize base = QTabBar::tabSizeHint(index);
        const int imageWidth =
            m_owner->GetImageList() ? 15 + fontMetrics().horizontalAdvance(' ') : 0;
        return QSize(base.width() + imageWidth + 8, std::max(base.height(), 22));
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton)
            return;
        const int index = tabAt(event->position().toPoint());
        if (index < 0)
            return;
        // The focus moves to the tabs before the page goes, so that it never
        // falls through to a button of the window (Space or Enter on "Exit").
        setFocus(Qt::MouseFocusReason);
        m_owner->UserSelect(index);
    }
    void mouseReleaseEvent(QMouseEvent*) override {}
    void mouseMoveEvent(QMouseEvent* event) override {
        const QPoint p = mapTo(parentWidget(), event->position().toPoint());
        m_owner->OnMouseMove(0, CPoint{p.x(), p.y()});
    }
    void wheelEvent(QWheelEvent* event) override { event->accept(); }
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Left)
            m_owner->UserSelect(currentIndex() - 1);
        else if (event->key() == Qt::Key_Right)
            m_owner->UserSelect(currentIndex() + 1);
        else
            QWidget::keyPressEvent(event);
    }

private:
    CTabCtrl* m_owner;
};

// The control's own window: the tab row on top, a framed client area below.
class TabCtrlWidget : public QFrame {
public:
    explicit TabCtrlWidget(QWidget* parent) : QFrame(parent) {}
    QTabBar* bar = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override {
        QFrame::resizeEvent(event);
        if (bar)
            bar->setGeometry(2, 0, width() - 4, bar->sizeHint().height());
    }
    void paintEvent(QPaintEvent* event) override {
        QFrame::paintEvent(event);
        QPainter painter(this);
        const int top = bar ? bar->height() - 1 : 0;
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(0, top, width() - 1, height() - top - 1);
    }
};

} // namespace

QWidget* CTabCtrl::CreateControlWidget(const TemplateItem& item, QWidget* parent) {
    (void)item;
    auto* widget = new TabCtrlWidget(parent);
    m_pBar = new OwnerTabBar(this, widget);
    widget->bar = m_pBar;
    m_pBar->setGeometry(2, 0, 100, m_pBar->sizeHint().height());
    return widget;
}

int CTabCtrl::InsertItem(int index, const char* caption, int image, CWnd* data) {
    if (!m_pBar)
        return -1;
    index = std::clamp(index, 0, int(m_items.size()));
    m_items.insert(m_items.begin() + index, Item{caption ? caption : "", image, data});
    const QSignalBlocker block(m_pBar);
    m_pBar->insertTab(index, QString::fromLatin1(caption ? caption : ""));
    if (QWidget* w = GetWidget())
        m_pBar->setGeometry(2, 0, w->width() - 4, m_pBar->sizeHint().height());
    return index;
}

int CTabCtrl::GetItemCount() const {
    return int(m_items.size());
}

int CTabCtrl::GetCurSel() const {
    return m_pBar ? m_pBar->currentIndex() : -1;
}

int CTabCtrl::SetCurSel(int index) {
    if (!m_pBar || index < 0 || index >= GetItemCount())
        return -1;
    const int previous = m_pBar->currentIndex();
    const QSignalBlocker block(m_pBar);
    m_pBar->setCurrentIndex(index);
    m_pBar->update();
    return previous;
}

bool CTabCtrl::GetItemRect(int index, CRect* rect) const {
    if (!m_pBar || index < 0 || index >= GetItemCount())
        return false;
    const QRect r = m_pBar->tabRect(index).translated(m_pBar->pos());
    *rect = CRect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    return true;
}

int CTabCtrl::HitTest(CPoint point) const {
    if (!m_pBar)
        return -1;
    return m_pBar->tabAt(QPoint(point.x, point.y) - m_pBar->pos());
}

std::string CTabCtrl::GetItemText(int index) const {
    return index >= 0 && index < GetItemCount() ? m_items[std::size_t(index)].caption
                                                : std::string();
}

int CTabCtrl::GetItemImage(int index) const {
    return index >= 0 && index < GetItemCount() ? m_items[std::size_t(index)].image : -1;
}

CWnd* CTabCtrl::GetItemData(int index) const {
    return index >= 0 && index < GetItemCount() ? m_items[std::size_t(index)].data : nullptr;
}

void CTabCtrl::InvalidateItem(int index) {
    if (m_pBar && index >= 0 && index < GetItemCount())
        m_pBar->update(m_pBar->tabRect(index));
}

int CTabCtrl::GetTabRowHeight() const {
    return m_pBar ? m_pBar->height() : 0;
}

void CTabCtrl::UserSelect(int index) {
    if (index < 0 || index >= GetItemCount() || index == GetCurSel())
        return;
    if (OnSelchanging())
        return;
    SetCurSel(index);
    OnSelchange();
}

void CTabCtrl::DrawItem(DRAWITEMSTRUCT* dis) {
    if (!dis->hDC || dis->itemID < 0)
        return;
    QPainter* p = dis->hDC;
    QRect r(dis->rcItem.left, dis->rcItem.top, dis->rcItem.Width(), dis->rcItem.Height());
    p->drawText(r, Qt::AlignCenter, QString::fromLatin1(GetItemText(dis->itemID)));
}

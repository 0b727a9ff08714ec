#include "framework/Controls.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QTimer>
#include <QWheelEvent>

#include <functional>
#include <utility>

#include "framework/IconRegistry.h"
#include "framework/WidgetText.h"

bool CControl::CreateFromTemplate(const TemplateItem& item, CWnd* owner, QWidget* parent) {
    QWidget* widget = CreateControlWidget(item, parent);
    if (!widget)
        return false;
    m_style = item.style;
    int height = DluY(item.h);
    // A combo box's template height is that of its dropped list.
    if (item.kind == ControlKind::ComboDropList || item.kind == ControlKind::ComboDropDown)
        height = std::min(height, std::max(DluY(12), widget->sizeHint().height()));
    widget->setGeometry(DluX(item.x), DluY(item.y), DluX(item.w), height);
    widget->setEnabled(!(item.style & TS_DISABLED));
    Attach(widget, item.id, owner);
    if (item.style & TS_HIDDEN)
        widget->hide();
    else
        widget->show();
    PreSubclassWindow();
    return true;
}

namespace {

// Calls `notice` when the watched widget loses the keyboard focus.
class FocusLossNotice : public QObject {
public:
    FocusLossNotice(QObject* parent, std::function<void()> notice)
        : QObject(parent), m_notice(std::move(notice)) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        // Not from a widget half taken down (no longer a QLineEdit).
        if (event->type() == QEvent::FocusOut && qobject_cast<QLineEdit*>(watched))
            m_notice();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_notice;
};

} // namespace

// --- CStatic ---------------------------------------------------------------

QWidget* CStatic::CreateControlWidget(const TemplateItem& item, QWidget* parent) {
    auto* label = new QLabel(parent);
    if (item.kind == ControlKind::StaticIcon) {
        label->setPixmap(RegisteredIcon(std::atoi(item.text ? item.text : "0")));
    } else {
        label->setText(ToWidgetText(item.text));
        label->setTextFormat(Qt::PlainText);
        Qt::Alignment align = Qt::AlignTop;
        if (item.style & TS_CENTER)
            align |= Qt::AlignHCenter;
        else if (item.style & TS_RIGHT)
            align |= Qt::AlignRight;
        else
            align |= Qt::AlignLeft;
        label->setAlignment(align);
        if (item.kind == ControlKind::Static && item.h > 12)
            label->setWordWrap(true);
    }
    if (item.style & TS_BORDER)
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return label;
}

void CStatic::SetText(const std::string& text) {
    if (auto* label = qobject_cast<QLabel*>(GetWidget()))
        label->setText(ToWidgetText(text));
}

std::string CStatic::GetText() const {
    auto* label = qobject_cast<QLabel*>(GetWidget());
    return label ? FromWidgetText(label->text()) : std::string();
}

void CStatic::SetIcon(const QPixmap& icon) {
    if (auto* label = qobject_cast<QLabel*>(GetWidget()))
        label->setPixmap(icon);
}

// --- CButton ---------------------------------------------------------------

namespace {

// Check boxes and radio buttons take a click anywhere in their rectangle,
// as on Windows, not only over the box and its caption.
template <class Base> class WholeRectButton : public Base {
public:
    WholeRectButton(const QString& text, QWidget* parent) : Base(text, parent) {}

protected:
    bool hitButton(const QPoint& pos) const override { return this->rect().contains(pos); }
};

} // namespace

QWidget* CButton::CreateControlWidget(const TemplateItem& item, QWidget* parent) {
    const QString text = ToWidgetText(item.text);
    QAbstractButton* button = nullptr;
    switch (item.kind) {
    case ControlKind::CheckBox:
        button = new WholeRectButton<QCheckBox>(text, parent);
        break;
    case ControlKind::RadioButton:
        button = new WholeRectButton<QRadioButton>(text, parent);
        break;
    case ControlKind::GroupBox:
        return new QGroupBox(text, parent);
    default: {
        auto* push = new QPushButton(text, parent);
        push->setAutoDefault(false);
        push->setDefault(item.kind == ControlKind::DefPushButton);
        button = push;
        break;
    }
    }
    QObject::connect(button, &QAbstractButton::clicked, [this] { NotifyParent(BN_CLICKED); });
    return button;
}

void CButton::SetText(const std::string& text) {
    if (auto* button = qobject_cast<QAbstractButton*>(GetWidget()))
        button->setText(ToWidgetText(text));
    else if (auto* group = qobject_cast<QGroupBox*>(GetWidget()))
        group->setTitle(ToWidgetText(text));
}

std::string CButton::GetText() const {
    if (auto* button = qobject_cast<QAbstractButton*>(GetWidget()))
        return FromWidgetText(button->text());
    if (auto* group = qobject_cast<QGroupBox*>(GetWidget()))
        return FromWidgetText(group->title());
    return {};
}

int CButton::GetCheck() const {
    auto* button = qobject_cast<QAbstractButton*>(GetWidget());
    return button && button->isChecked() ? BST_CHECKED : BST_UNCHECKED;
}

void CButton::SetCheck(int state) {
    if (auto* button = qobject_cast<QAbstractButton*>(GetWidget()))
        button->setChecked(state == BST_CHECKED);
}

void CButton::Click() {
    if (auto* button = qobject_cast<QAbstractButton*>(GetWidget()))
        button->click();
}

// --- CEdit -----------------------------------------------------------------

QWidget* CEdit::CreateControlWidget(const TemplateItem& item, QWidget* parent) {
    const QString text = QString::fromLatin1(item.text ? item.text : "");
    if (item.style & TS_MULTILINE) {
        m_multiLine = true;
        auto* view = new QPlainTextEdit(parent);
        view->setReadOnly(item.style & TS_READONLY);
        // A read-only edit still takes the keyboard focus, as on Windows.
        view->setFocusPolicy(Qt::StrongFocus);
        view->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        view->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        view->setUndoRedoEnabled(false);
        view->setVerticalScrollBarPolicy((item.style & TS_VSCROLL) ? Qt::ScrollBarAlwaysOn
                                                                   : Qt::ScrollBarAsNeeded);
        view->setFrameStyle((item.style & TS_BORDER) ? QFrame::StyledPanel : QFrame::NoFrame);
        m_model.SetText(text.toLatin1().toStdString());
        view->setPlainText(QString::fromLatin1(m_model.ShownText()));
        return view;
    }
    m_lastText = ToWidgetText(item.text);
    auto* line = new QLineEdit(m_lastText, parent);
    line->setReadOnly(item.style & TS_READONLY);
    if (item.style & TS_PASSWORD)
        line->setEchoMode(QLineEdit::Password);
    if (item.style & TS_RIGHT)
        line->setAlignment(Qt::AlignRight);
    QObject::connect(line, &QLineEdit::textChanged, [this] {
        KeepByteLimit();
        NotifyParent(EN_CHANGE);
    });
    line->installEventFilter(new FocusLossNotice(line, [this] {
        if (GetWidget()) // not while the edit is taken down
            NotifyParent(EN_KILLFOCUS);
    }));
    return line;
}

void CEdit::KeepByteLimit() {
    auto* line = qobject_cast<QLineEdit*>(GetWidget());
    if (!line)
        return;
    const QString text = line->text();
    if (m_bProgramText || FromWidgetText(text).size() <= std::size_t(m_nByteLimit)) {
        m_lastText = text;
        return;
    }
    // What changed lies between the part both texts begin with and the part
    // both end with; only that is cut.
    const QString& old = m_lastText;
    qsizetype head = 0;
    while (head < old.size() && head < text.size() && old[head] == text[head])
        ++head;
    if (head > 0 && text[head - 1].isHighSurrogate())
        --head;
    qsizetype tail = 0;
    while (tail < old.size() - head && tail < text.size() - head &&
           old[old.size() - 1 - tail] == text[text.size() - 1 - tail])
        ++tail;
    if (tail > 0 && text[text.size() - tail].isLowSurrogate())
        --tail;
    const std::string before = FromWidgetText(text.left(head));
    const std::string added = FromWidgetText(text.mid(head, text.size() - head - tail));
    const std::string after = FromWidgetText(text.right(tail));
    const long room = long(m_nByteLimit) - long(before.size() + after.size());
    const std::string kept =
        room > 0 ? added.substr(0, Utf8PrefixLength(added, std::size_t(room))) : "";
    const QString shownBefore = ToWidgetText(before + kept);
    {
        const QSignalBlocker block(line);
        line->setText(shownBefore + ToWidgetText(after));
        line->setCursorPosition(int(shownBefore.size()));
    }
    m_lastText = line->text();
}

std::string CEdit::GetText() const {
    if (m_multiLine)
        return m_model.Text();
    if (auto* line = qobject_cast<QLineEdit*>(GetWidget()))
        return FromWidgetText(line->text());
    return {};
}

void CEdit::SetText(const std::string& bytes) {
    if (m_multiLine) {
        ApplyChange(m_model.SetText(bytes));
        NotifyParent(EN_CHANGE);
        return;
    }
    if (auto* line = qobject_cast<QLineEdit*>(GetWidget())) {
        m_bProgramText = true;
        line->setText(ToWidgetText(bytes)); // raises EN_CHANGE
        m_bProgramText = false;
    }
}

void CEdit::ApplyChange(const EditText::Change& change) {
    // The view follows the bytes once per turn of the event loop, so that
    // a burst of small changes costs one layout, not one each.
    // A change whose text is now all there is replaces everything before it.
    if (change.shownPos == 0 && m_model.ShownIndex(m_model.Length()) == int(change.inserted.size()))
        m_pendingView.clear();
    m_pendingView.push_back(change);
    ScheduleViewUpdate();
}

void CEdit::ScheduleViewUpdate() {
    QWidget* view = GetWidget();
    if (!view)
        return;
    if (m_pendingView.size() > 512) {
        FlushView();
        return;
    }
    if (!m_bViewUpdateScheduled) {
        m_bViewUpdateScheduled = true;
        QTimer::singleShot(0, view, [this] { FlushView(); });
    }
}

void CEdit::FlushView() {
    m_bViewUpdateScheduled = false;
    auto* view = qobject_cast<QPlainTextEdit*>(GetWidget());
    if (!view)
        return;
    if (!m_pendingView.empty()) {
        QTextCursor cursor(view->document());
        cursor.beginEditBlock();
        for (const EditText::Change& change : m_pendingView) {
            cursor.setPosition(change.shownPos);
            cursor.setPosition(change.shownPos + change.removed, QTextCursor::KeepAnchor);
            cursor.insertText(QString::fromLatin1(change.inserted));
        }
        cursor.endEditBlock();
        m_pendingView.clear();
    }
    if (m_bScrollPending) {
        m_bScrollPending = false;
        int start = 0;
        int end = 0;
        m_model.GetSel(&start, &end);
        if (end >= m_model.Length()) {
            view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
        } else {
            QTextCursor caret(view->document());
            caret.setPosition(m_model.ShownIndex(end));
            view->setTextCursor(caret);
            view->ensureCursorVisible();
        }
    }
}

void CEdit::SetSel(int start, int end, BOOL noScroll) {
    if (m_multiLine) {
        m_model.SetSel(start, end);
        if (!noScroll)
            ScrollCaret();
        return;
    }
    if (auto* line = qobject_cast<QLineEdit*>(GetWidget())) {
        const int len = int(line->text().size());
        if (start < 0)
            start = len;
        if (end < 0)
            end = len;
        line->setSelection(start, end - start);
    }
}

void CEdit::GetSel(int* start, int* end) const {
    if (m_multiLine) {
        m_model.GetSel(start, end);
        return;
    }
    *start = *end = 0;
    if (auto* line = qobject_cast<QLineEdit*>(GetWidget())) {
        *start = line->hasSelectedText() ? line->selectionStart() : line->cursorPosition();
        *end = *start + int(line->selectedText().size());
    }
}

void CEdit::ReplaceSel(const char* text, BOOL canUndo) {
    (void)canUndo;
    ReplaceSel(std::string(text ? text : ""));
}

void CEdit::ReplaceSel(const std::string& bytes) {
    if (m_multiLine) {
        ApplyChange(m_model.ReplaceSel(bytes));
        NotifyParent(EN_CHANGE);
        return;
    }
    if (auto* line = qobject_cast<QLineEdit*>(GetWidget()))
        line->insert(ToWidgetText(bytes));
}

int CEdit::GetLimitText() const {
    if (m_multiLine)
        return m_model.GetLimitText();
    return m_nByteLimit;
}

void CEdit::SetLimitText(int limit) {
    if (m_multiLine) {
        m_model.SetLimitText(limit);
        return;
    }
    m_nByteLimit = limit > 0 ? limit : EditText::kDefaultLimit;
    // Never more characters than bytes; the bytes are held in KeepByteLimit.
    if (auto* line = qobject_cast<QLineEdit*>(GetWidget()))
        line->setMaxLength(m_nByteLimit);
}

int CEdit::LineFromChar(int index) const {
    return m_multiLine ? m_model.LineFromChar(index) : 0;
}

int CEdit::LineIndex(int line) const {
    if (m_multiLine)
        return m_model.LineIndex(line);
    return line <= 0 ? 0 : -1;
}

int CEdit::GetLineCount() const {
    return m_multiLine ? m_model.GetLineCount() : 1;
}

void CEdit::ScrollCaret() {
    if (!m_multiLine)
        return;
    m_bScrollPending = true;
    ScheduleViewUpdate();
}

void CEdit::SetReadOnly(BOOL readOnly) {
    if (auto* view = qobject_cast<QPlainTextEdit*>(GetWidget()))
        view->setReadOnly(readOnly);
    else if (auto* line = qobject_cast<QLineEdit*>(GetWidget()))
        line->setReadOnly(readOnly);
}

void CEdit::UserType(const std::string& text) {
    if (auto* line = qobject_cast<QLineEdit*>(GetWidget()))
        line->insert(ToWidgetText(text));
}

// --- CComboBox -------------------------------------------------------------

NotifyingComboBox::NotifyingComboBox(CComboBox* owner, QWidget* parent)
    : QComboBox(parent), m_owner(owner) {
    setFocusPolicy(Qt::StrongFocus);
}

void NotifyingComboBox::wheelEvent(QWheelEvent* event) {
    if (!hasFocus()) {
        event->ignore(); // on to the parent, which may scroll
        return;
    }
    QComboBox::wheelEvent(event);
}

void NotifyingComboBox::showPopup() {
    m_owner->NotifyParent(CBN_DROPDOWN);
    QComboBox::showPopup();
}

QWidget* CComboBox::CreateControlWidget(const TemplateItem& item, QWidget* parent) {
    auto* combo = new NotifyingComboBox(this, parent);
    combo->setEditable(item.kind == ControlKind::ComboDropDown);
    combo->setMaxVisibleItems(20);
    QObject::connect(combo, qOverload<int>(&QComboBox::activated),
                     [this](int) { NotifyParent(CBN_SELCHANGE); });
    return combo;
}

void CComboBox::SetText(const std::string& text) {
    auto* combo = qobject_cast<QComboBox*>(GetWidget());
    if (combo && combo->isEditable())
        combo->setEditText(ToWidgetText(text));
}

std::string CComboBox::GetText() const {
    auto* combo = qobject_cast<QComboBox*>(GetWidget());
    return combo ? FromWidgetText(combo->currentText()) : std::string();
}

int CComboBox::AddString(const char* text) {
    auto* combo = qobject_cast<QComboBox*>(GetWidget());
    if (!combo)
        return CB_ERR;
    const int current = combo->currentIndex();
    combo->addItem(ToWidgetText(text));
    // A drop list keeps "no selection" until the program selects an entry.
    if (current < 0)
        combo->setCurrentIndex(-1);
    return combo->count() - 1;
}

void CComboBox::ResetContent() {
    if (auto* combo = qobject_cast<QComboBox*>(GetWidget()))
        combo->clear();
}

int CComboBox::GetCount() const {
    auto* combo = qobject_cast<QComboBox*>(GetWidget());
    return combo ? combo->count() : 0;
}

int CComboBox::GetCurSel() const {
    auto* combo = qobject_cast<QComboBox*>(GetWidget());
    return combo ? combo->currentIndex() : CB_ERR;
}

int CComboBox::SetCurSel(int index) {
    auto* combo = qobject_cast<QComboBox*>(GetWidget());
    if (!combo)
        return CB_ERR;
    if (index < 0 || index >= combo->count()) {
        combo->setCurrentIndex(-1);
        return CB_ERR;
    }
    combo->setCurrentIndex(index);
    return index;
}

std::string CComboBox::GetLBText(int index) const {
    auto* combo = qobject_cast<QComboBox*>(GetWidget());
    if (!combo || index < 0 || index >= combo->count())
        return {};
    return FromWidgetText(combo->itemText(index));
}

int CComboBox::FindStringExact(int startAfter, const char* text) const {
    const int count = GetCount();
    const QString wanted = ToWidgetText(text);
    for (int n = 0; n < count; ++n) {
        const int index = (startAfter + 1 + n) % count;
        if (ToWidgetText(GetLBText(index)).compare(wanted, Qt::CaseInsensitive) == 0)
            return index;
    }
    return CB_ERR;
}

void CComboBox::UserDropDown() {
    NotifyParent(CBN_DROPDOWN);
}

void CComboBox::UserSelect(int index) {
    if (SetCurSel(index) != CB_ERR)
        NotifyParent(CBN_SELCHANGE);
}

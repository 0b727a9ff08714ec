#include "framework/DateTimeCtrl.h"

#include <QDateTimeEdit>
#include <QLocale>
#include <QWheelEvent>
#include <algorithm>

namespace {

// Two-digit years as the program reads them: below 80 is 20xx.
int FullYear(int twoDigits) {
    return twoDigits < 80 ? 2000 + twoDigits : 1900 + twoDigits;
}

// Qt's date edit with two-digit years read as the program reads them.
class PickerEdit : public QDateTimeEdit {
public:
    explicit PickerEdit(QWidget* parent) : QDateTimeEdit(parent) {
        setFocusPolicy(Qt::StrongFocus);
    }

protected:
    // Like the combo boxes: a wheel turned over a picker without the focus
    // changes nothing.
    void wheelEvent(QWheelEvent* event) override {
        if (!hasFocus()) {
            event->ignore();
            return;
        }
        QDateTimeEdit::wheelEvent(event);
    }

    QDateTime dateTimeFromText(const QString& text) const override {
        QDateTime value = QDateTimeEdit::dateTimeFromText(text);
        const QString format = displayFormat();
        if (value.isValid() && format.contains(QLatin1String("yy")) &&
            !format.contains(QLatin1String("yyyy"))) {
            const QDate date = value.date();
            const int year = FullYear(date.year() % 100);
            value.setDate(QDate(year, date.month(),
                                std::min(date.day(), QDate(year, date.month(), 1).daysInMonth())));
        }
        return value;
    }
};

QDateTime ToQt(const LocalTime& t) {
    return QDateTime(QDate(t.year, t.month, t.day), QTime(t.hour, t.minute, t.second), Qt::UTC);
}

LocalTime FromQt(const QDateTime& value) {
    LocalTime t;
    const QDate d = value.date();
    const QTime tm = value.time();
    t.year = d.year();
    t.month = d.month();
    t.day = d.day();
    t.hour = tm.hour();
    t.minute = tm.minute();
    t.second = 0;
    t.dayOfWeek = d.dayOfWeek() % 7;
    return t;
}

} // namespace

QWidget* CDateTimeCtrl::CreateControlWidget(const TemplateItem& item, QWidget* parent) {
    auto* edit = new PickerEdit(parent);
    edit->setLocale(QLocale::c());
    // Wall-clock fields only: no daylight-saving gap may move an hour.
    edit->setTimeSpec(Qt::UTC);
    edit->setCalendarPopup(!(item.style & DTS_UPDOWN));
    edit->setDisplayFormat(item.style & DTS_UPDOWN ? QStringLiteral("HH:mm")
                                                   : QStringLiteral("dd-MMM-yy"));
    QObject::connect(edit, &QDateTimeEdit::dateTimeChanged, [this] { Changed(); });
    return edit;
}

void CDateTimeCtrl::Changed() {
    if (m_bSetting)
        return;
    LocalTime picked = GetTime();
    if (picked.year < m_nFirstYear || picked.year > m_nLastYear) {
        // The calendar reaches further than the years the picker takes.
        picked.year = picked.year < m_nFirstYear ? m_nFirstYear : m_nLastYear;
        picked.day = std::min(picked.day, QDate(picked.year, picked.month, 1).daysInMonth());
        SetTime(picked);
    }
    NMDATETIMECHANGE change;
    change.st = picked;
    NotifyParent(DTN_DATETIMECHANGE, change);
}

void CDateTimeCtrl::SetFormat(const char* format) {
    if (auto* edit = qobject_cast<QDateTimeEdit*>(GetWidget())) {
        m_bSetting = true;
        edit->setDisplayFormat(QString::fromLatin1(format ? format : ""));
        m_bSetting = false;
    }
}

void CDateTimeCtrl::SetTime(const LocalTime& time) {
    if (auto* edit = qobject_cast<QDateTimeEdit*>(GetWidget())) {
        m_bSetting = true;
        edit->setDateTime(ToQt(time));
        m_bSetting = false;
    }
}

LocalTime CDateTimeCtrl::GetTime() const {
    auto* edit = qobject_cast<QDateTimeEdit*>(GetWidget());
    return edit ? FromQt(edit->dateTime()) : LocalTime{};
}

void CDateTimeCtrl::SetYearRange(int first, int last) {
    m_nFirstYear = first;
    m_nLastYear = last;
    // Whole centuries, so that a two-digit year can be typed before it is
    // read by the rule above.
    if (auto* edit = qobject_cast<QDateTimeEdit*>(GetWidget())) {
        m_bSetting = true;
        edit->setDateTimeRange(
            QDateTime(QDate(first - first % 100, 1, 1), QTime(0, 0), Qt::UTC),
            QDateTime(QDate(last - last % 100 + 99, 12, 31), QTime(23, 59), Qt::UTC));
        m_bSetting = false;
    }
}

void CDateTimeCtrl::UserPick(const LocalTime& time) {
    if (auto* edit = qobject_cast<QDateTimeEdit*>(GetWidget()))
        edit->setDateTime(ToQt(time)); // raises DTN_DATETIMECHANGE when it changes
}

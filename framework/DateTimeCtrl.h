// CDateTimeCtrl: a date and time picker made from a DateTime template item,
// either a date with a drop-down calendar or, with DTS_UPDOWN, a field with
// spin buttons. Month names are English, whatever the user's locale. A
// value the user picks reaches the owner as DTN_DATETIMECHANGE with an
// NMDATETIMECHANGE payload; values the program sets raise nothing.
#pragma once

#include <string>

#include "framework/Clock.h"
#include "framework/Controls.h"

// Style bit of a DateTime item: spin buttons instead of a calendar. (Bits
// from 24 up belong to the control kind.)
constexpr unsigned DTS_UPDOWN = 1u << 24;

constexpr UINT DTN_DATETIMECHANGE = 0u - 759u;

struct NMDATETIMECHANGE : NMHDR {
    LocalTime st; // the picked date and time (seconds 0)
};

class CDateTimeCtrl : public CControl {
public:
    // Display format in the picker's own letters: "HH:mm", "dd-MMM-yy".
    void SetFormat(const char* format);
    void SetTime(const LocalTime& time);
    LocalTime GetTime() const;
    // Earliest and latest year the picker takes; a year picked beyond them
    // is held to them.
    void SetYearRange(int first, int last);

    // The user picks a value (calendar, spin buttons or typing).
    void UserPick(const LocalTime& time);

protected:
    QWidget* CreateControlWidget(const TemplateItem& item, QWidget* parent) override;

private:
    void Changed();
    bool m_bSetting = false;
    int m_nFirstYear = 100;
    int m_nLastYear = 9999;
};

// The Edit Schedule dialog on the virtual clock with scripted boxes, in a
// temporary data folder, driven by control id.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDateTimeEdit>
#include <QWheelEvent>
#include <filesystem>

#include "framework/Files.h"
#include "schedule/DialogEditSchedule.h"
#include "schedule/DumpEventFile.h"
#include "schedule/SiteFile.h"
#include "tests/schedule/ScheduleTestFiles.h"
#include "tests/support/ScriptedModal.h"
#include "tests/support/TestEnv.h"
#include "tests/support/UiDriver.h"

namespace {

class EditSchedule : public testing::Test {
protected:
    EditSchedule() : m_folder(m_env.DataFolder()) { std::filesystem::create_directories(m_folder); }

    std::string Path(const char* name) const { return JoinPath(m_folder, name); }
    std::string Site() const { return ReadAll(Path("site.cfg")); }
    std::string Last() const { return ReadAll(Path("last.cfg")); }

    // Opens site `site` and lets `act` use it; the dialog's result.
    int Edit(int site, std::function<void(CDialogEditSchedule&)> act) {
        m_modal.ExpectDialog(IDD_EDIT_SCHEDULE, [&](CDialog& dialog) {
            act(static_cast<CDialogEditSchedule&>(dialog));
            return IDCANCEL;
        });
        CDialogEditSchedule dialog;
        dialog.SetDataFolder(m_folder + "/");
        dialog.SetSite(site);
        const int result = dialog.DoModal();
        m_modal.VerifyDone();
        return result;
    }

    static void Click(CDialogEditSchedule& d, int id) { d.Item<CButton>(id)->Click(); }
    static bool Checked(CDialogEditSchedule& d, int id) {
        return d.Item<CButton>(id)->GetCheck() == BST_CHECKED;
    }
    static bool Visible(CDialogEditSchedule& d, int id) {
        return d.GetDlgItem(id)->IsWindowVisible();
    }
    static std::string Text(CDialogEditSchedule& d, int id) {
        return d.GetDlgItem(id)->GetWindowText();
    }
    static std::string Shown(CDialogEditSchedule& d, int id) {
        return static_cast<QDateTimeEdit*>(d.GetDlgItem(id)->GetWidget())
            ->text()
            .toLatin1()
            .toStdString();
    }
    // Types one character at a time, as keystrokes.
    static void Type(CDialogEditSchedule& d, int id, const std::string& text) {
        for (char c : text)
            d.Item<CEdit>(id)->UserType(std::string(1, c));
    }

    TestEnv m_env;
    ScriptedModal m_modal;
    std::string m_folder;
};

} // namespace

TEST_F(EditSchedule, MissingFilesAreCreatedAndOkWritesOnlyTheSitesLines) {
    Edit(5, [&](CDialogEditSchedule& d) {
        EXPECT_EQ(DefaultSiteFile(), Site());
        EXPECT_EQ(DefaultDumpEventFile(), Last());
        EXPECT_EQ("Site #5 :", Text(d, IDC_ES_SITE_GROUP));
        EXPECT_EQ("", Text(d, IDC_ES_NAME));
        EXPECT_EQ("", Text(d, IDC_ES_PHONE));
        EXPECT_EQ(0, d.m_cbRetries.GetCurSel());
        EXPECT_EQ("00:00", Shown(d, IDC_ES_START_TIME));
        EXPECT_EQ("01-Jan-08", Shown(d, IDC_ES_START_DATE));
        EXPECT_EQ("0", Text(d, IDC_ES_INTERVAL));
        EXPECT_TRUE(Checked(d, IDC_ES_UNIT_DAYS));
        EXPECT_FALSE(Checked(d, IDC_ES_UNIT_MIN));
        for (int id : {IDC_ES_CMD1_RAW, IDC_ES_CMD2_RAW, IDC_ES_CMD3_RAW})
            EXPECT_TRUE(Checked(d, id));
        EXPECT_FALSE(Visible(d, IDC_ES_CLEAR1));
        Click(d, IDOK);
    });
    std::string site =
        WithLine(DefaultSiteFile(), 5, "#005,,,1,00:00 01-01-2008,0,D,,,,R,,,,R,,,,R\r\n");
    EXPECT_EQ(site, Site());
    EXPECT_EQ(DefaultDumpEventFile(), Last());

    // Cancel and Esc write nothing, whatever was changed.
    EXPECT_EQ(IDCANCEL, Edit(5, [&](CDialogEditSchedule& d) {
                  Type(d, IDC_ES_NAME, "Weir");
                  Click(d, IDC_ES_UNIT_MIN);
                  Click(d, IDCANCEL);
              }));
    Edit(5, [&](CDialogEditSchedule& d) {
        Type(d, IDC_ES_NAME, "Weir");
        MSG esc{WM_KEYDOWN, VK_ESCAPE};
        d.PreTranslateMessage(&esc);
        EXPECT_TRUE(d.IsEnded());
    });
    EXPECT_EQ(site, Site());

    // Groups are set by their handlers alone; Enter is OK.
    Edit(5, [&](CDialogEditSchedule& d) {
        Type(d, IDC_ES_NAME, "Weir");
        d.m_edInterval.SetWindowText("");
        Type(d, IDC_ES_INTERVAL, "15");
        Click(d, IDC_ES_UNIT_MIN);
        Click(d, IDC_ES_UNIT_MIN); // a second click keeps it
        Click(d, IDC_ES_CMD2_CSV2);
        Click(d, IDC_ES_CMD3_TIDEDA);
        Click(d, IDC_ES_APPEND1);
        Click(d, IDC_ES_APPEND3);
        Click(d, IDC_ES_APPEND3); // Append inverts on each click
        EXPECT_TRUE(Checked(d, IDC_ES_CMD1_RAW));
        EXPECT_FALSE(Checked(d, IDC_ES_CMD2_RAW));
        EXPECT_TRUE(Checked(d, IDC_ES_UNIT_MIN));
        EXPECT_FALSE(Checked(d, IDC_ES_UNIT_DAYS));
        d.m_cbRetries.UserSelect(2);
        LocalTime start{2009, 12, 31, 8, 5};
        d.m_dtTime.UserPick(start);
        d.m_dtDate.UserPick(start);
        MSG enter{WM_KEYDOWN, VK_RETURN};
        d.PreTranslateMessage(&enter);
    });
    site = WithLine(site, 5, "#005,Weir,,3,08:05 31-12-2009,15,M,,,A,R,,,,2,,,,T\r\n");
    EXPECT_EQ(site, Site());

    // A line that cannot be written is told, the file stays as it was and
    // the dialog stays open.
    std::filesystem::create_directories(Path("site-temp.cfg"));
    Edit(5, [&](CDialogEditSchedule& d) {
        m_modal.ExpectMessage("Could not write " + Path("site-temp.cfg") + ".\nIs a directory",
                              "Warning");
        Type(d, IDC_ES_NAME, "x");
        Click(d, IDOK);
        EXPECT_FALSE(d.IsEnded());
        Click(d, IDCANCEL);
    });
    EXPECT_EQ(site, Site());
}

TEST_F(EditSchedule, DirectLinkAndInputLimits) {
    Edit(7, [&](CDialogEditSchedule& d) {
        Type(d, IDC_ES_PHONE, "0123");
        Click(d, IDC_ES_DIRECT);
        TestEnv::Advance(60);
        EXPECT_EQ("Direct", Text(d, IDC_ES_PHONE));
        EXPECT_FALSE(d.GetDlgItem(IDC_ES_PHONE)->IsWindowEnabled());
        // Nothing typed can move a field: separators are refused, widths kept.
        Type(d, IDC_ES_NAME, "Upper, Weir\r\n" + std::string(60, 'n'));
        d.m_edInterval.SetWindowText("");
        Type(d, IDC_ES_INTERVAL, "-5x7");
        Type(d, IDC_ES_CMD1, "DUR/5^M," + std::string(120, 'c'));
        Click(d, IDOK);
    });
    EXPECT_EQ("#007,Upper Weir" + std::string(41, 'n') + ",D0123,1,00:00 01-01-2008,57,D,DUR/5^M" +
                  std::string(92, 'c') + ",,,R,,,,R,,,,R\r\n",
              LineOf(Site(), 7));

    Edit(7, [&](CDialogEditSchedule& d) {
        EXPECT_TRUE(Checked(d, IDC_ES_DIRECT));
        EXPECT_EQ("Direct", Text(d, IDC_ES_PHONE));
        Click(d, IDC_ES_DIRECT);
        TestEnv::Advance(60);
        EXPECT_EQ("0123", Text(d, IDC_ES_PHONE));
        EXPECT_TRUE(d.GetDlgItem(IDC_ES_PHONE)->IsWindowEnabled());
        // A double click within 50 ms changes nothing.
        Click(d, IDC_ES_DIRECT);
        TestEnv::Advance(20);
        Click(d, IDC_ES_DIRECT);
        TestEnv::Advance(60);
        EXPECT_EQ("0123", Text(d, IDC_ES_PHONE));
        Click(d, IDOK);
    });
    EXPECT_EQ("0123", ParseSiteLine(LineOf(Site(), 7).c_str()).phone);
}

TEST_F(EditSchedule, TrackedEventSurvivesAnUpdateWhileOpen) {
    std::string site = WithLine(DefaultSiteFile(), 5,
                                "#005,Weir,555,2,10:30 31-02-2009,1,H,DUR/^t/^L^M,"
                                "d.csv,,1,ST^M,,,R,,,,R\r\n");
    WriteAll(Path("site.cfg"), site);
    WriteAll(Path("last.cfg"),
             WithLine(DefaultDumpEventFile(), 5, "1,10:00:00 01/02/09,<,12.5\r\n"));
    Edit(5, [&](CDialogEditSchedule& d) {
        // No real date: 00:00 01-01-2008.
        EXPECT_EQ("00:00", Shown(d, IDC_ES_START_TIME));
        EXPECT_EQ("01-Jan-08", Shown(d, IDC_ES_START_DATE));
        EXPECT_TRUE(Checked(d, IDC_ES_SAVE_EVENT1));
        EXPECT_TRUE(Visible(d, IDC_ES_EVENT1));
        EXPECT_EQ("10:00:00 01/02/09", Text(d, IDC_ES_EVENT1));
        EXPECT_FALSE(Visible(d, IDC_ES_CLEAR2));
        Click(d, IDC_ES_SAVE_EVENT2);
        EXPECT_FALSE(Checked(d, IDC_ES_SAVE_EVENT1));
        EXPECT_TRUE(Checked(d, IDC_ES_SAVE_EVENT2));
        EXPECT_FALSE(Visible(d, IDC_ES_EVENT1));
        EXPECT_TRUE(Visible(d, IDC_ES_CLEAR2));
        // A call stores a newer event meanwhile.
        WriteAll(Path("last.cfg"),
                 WithLine(DefaultDumpEventFile(), 5, "1,11:00:00 01/02/09,3,14.0\r\n"));
        Click(d, IDOK);
    });
    EXPECT_EQ("2,11:00:00 01/02/09,3,14.0\r\n", LineOf(Last(), 5));
    EXPECT_EQ("#005,Weir,555,2,00:00 01-01-2008,1,H,DUR/^t/^L^M,d.csv,,1,ST^M,,,R,,,,R\r\n",
              LineOf(Site(), 5));

    // Clear: No changes nothing, Yes empties the event only.
    Edit(5, [&](CDialogEditSchedule& d) {
        const char* question =
            "Are you sure you want to clear the time of the last recorded event?";
        m_modal.ExpectMessage(question, "Clear ?", IDNO);
        m_modal.ExpectMessage(question, "Clear ?", IDYES);
        Click(d, IDC_ES_CLEAR2);
        EXPECT_EQ("11:00:00 01/02/09", Text(d, IDC_ES_EVENT2));
        Click(d, IDC_ES_CLEAR2);
        EXPECT_EQ("", Text(d, IDC_ES_EVENT2));
        Click(d, IDOK);
    });
    EXPECT_EQ("2,,3,14.0\r\n", LineOf(Last(), 5));

    // No tracked command: the default record.
    Edit(5, [&](CDialogEditSchedule& d) {
        Click(d, IDC_ES_SAVE_EVENT2);
        EXPECT_FALSE(Visible(d, IDC_ES_EVENT2));
        Click(d, IDOK);
    });
    EXPECT_EQ("0,,1,0.0\r\n", LineOf(Last(), 5));
    EXPECT_EQ(DefaultDumpEventLine(), LineOf(Last(), 4));
}

TEST_F(EditSchedule, TemplateSavedUsedAndMissing) {
    WriteAll(Path("last.cfg"),
             WithLine(DefaultDumpEventFile(), 5, "3,09:00:00 02/03/10,2,1.5\r\n"));
    Edit(5, [&](CDialogEditSchedule& d) {
        m_modal.ExpectMessage("Template not found !", "Warning");
        Click(d, IDC_ES_USE_TEMPLATE);
        Type(d, IDC_ES_NAME, "Weir");
        Type(d, IDC_ES_PHONE, "77");
        Click(d, IDC_ES_DIRECT);
        TestEnv::Advance(60);
        Type(d, IDC_ES_CMD3, "DUR/^t^M");
        Click(d, IDC_ES_CMD3_CSV1);
        Click(d, IDC_ES_SAVE_TEMPLATE);
        Click(d, IDCANCEL);
    });
    EXPECT_EQ("3,09:00:00 02/03/10,2,1.5\r\n#005,Weir,D77,1,00:00 "
              "01-01-2008,0,D,,,,R,,,,R,DUR/^t^M,,,1\r\n",
              ReadAll(Path("copy.cfg")));
    EXPECT_EQ(DefaultSiteFile(), Site()); // the template survives Cancel, the site is untouched

    Edit(9, [&](CDialogEditSchedule& d) {
        Click(d, IDC_ES_USE_TEMPLATE);
        EXPECT_EQ("Weir", Text(d, IDC_ES_NAME));
        EXPECT_TRUE(Checked(d, IDC_ES_DIRECT));
        EXPECT_TRUE(Checked(d, IDC_ES_SAVE_EVENT3));
        EXPECT_TRUE(Visible(d, IDC_ES_EVENT3));
        EXPECT_FALSE(Visible(d, IDC_ES_EVENT1));
        Click(d, IDOK);
    });
    EXPECT_EQ("#009,Weir,D77,1,00:00 01-01-2008,0,D,,,,R,,,,R,DUR/^t^M,,,1\r\n", LineOf(Site(), 9));
    EXPECT_EQ("3,09:00:00 02/03/10,2,1.5\r\n", LineOf(Last(), 9));
}

// The pickers: what the user picks reaches the dialog as DTN_DATETIMECHANGE
// with the date in its payload; what the program sets raises nothing; a
// typed two-digit year below 80 is 20xx, else 19xx.
TEST_F(EditSchedule, PickedDatesArriveWithTheirPayload) {
    struct Spy : CDialogEditSchedule {
        BOOL OnNotify(UINT id, UINT code, NMHDR* payload) override {
            if (code == DTN_DATETIMECHANGE)
                picked.push_back({int(id), static_cast<NMDATETIMECHANGE*>(payload)->st});
            return TRUE;
        }
        std::vector<std::pair<int, LocalTime>> picked;
    } spy;
    m_modal.ExpectDialog(IDD_EDIT_SCHEDULE, [&](CDialog&) {
        EXPECT_TRUE(spy.picked.empty()); // the values set at opening
        spy.m_dtDate.UserPick({2010, 6, 15, 0, 0});
        EXPECT_EQ(1u, spy.picked.size());
        EXPECT_EQ(IDC_ES_START_DATE, spy.picked[0].first);
        EXPECT_EQ(15, spy.picked[0].second.day);
        EXPECT_EQ(6, spy.picked[0].second.month);
        EXPECT_EQ(2010, spy.picked[0].second.year);
        EXPECT_EQ("15-Jun-10", Shown(spy, IDC_ES_START_DATE));

        auto* edit = static_cast<QDateTimeEdit*>(spy.m_dtDate.GetWidget());
        for (const auto& [typed, year] : {std::pair{"05", 2005}, std::pair{"95", 1995},
                                          std::pair{"79", 2079}, std::pair{"80", 1980}}) {
            edit->setSelectedSection(QDateTimeEdit::YearSection);
            for (const char* c = typed; *c; ++c)
                ui::Key(edit, Qt::Key_0 + (*c - '0'));
            edit->interpretText();
            EXPECT_EQ(year, spy.m_dtDate.GetTime().year) << typed;
        }

        // A wheel turned over the picker changes it only while it has the focus.
        auto wheel = [edit] {
            const QPointF at(edit->width() / 2.0, edit->height() / 2.0);
            QWheelEvent event(at, edit->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(edit, &event);
        };
        spy.GetDlgItem(IDC_ES_NAME)->SetFocus();
        const int before = spy.m_dtDate.GetTime().year;
        const std::size_t notices = spy.picked.size();
        wheel();
        EXPECT_EQ(before, spy.m_dtDate.GetTime().year);
        EXPECT_EQ(notices, spy.picked.size());
        return IDCANCEL;
    });
    spy.SetDataFolder(m_folder);
    spy.SetSite(1);
    spy.DoModal();
}

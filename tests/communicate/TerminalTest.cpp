#include <gtest/gtest.h>

#include <QApplication>

#include "shell/CommPort.h"
#include "shell/XTabCtrl.h"
#include "tests/support/MainWindowHarness.h"

namespace {

class TerminalTest : public testing::Test {
protected:
    void SetUp() override {
        logger = &h.AddPort(1);
        h.Start();
        h.modal.VerifyDone();
        ASSERT_EQ(h.Select().GetPortNumber(), 1);
        terminal = h.Select().Terminal().GetWidget();
        terminal->setFocus();
    }

    // The logger sends; the poll takes it on its next ticks.
    void LoggerSends(const std::string& bytes) {
        ASSERT_TRUE(logger->Send(bytes));
        TestEnv::Advance(200);
    }

    MainWindowHarness h;
    PtyPeer* logger = nullptr;
    QWidget* terminal = nullptr;
};

TEST_F(TerminalTest, TypedKeysGoOutOneByOneWithTheirEcho) {
    MainWindowHarness::Type(terminal, "ST");
    MainWindowHarness::Key(terminal, Qt::Key_Return);
    EXPECT_TRUE(logger->Expect("ST\r"));
    EXPECT_EQ(h.Terminal(), "ST\r");

    // Enter sends CR wherever the focus is on the page.
    QWidget* clear = h.Select().GetDlgItem(IDC_CLEAR_SCREEN)->GetWidget();
    clear->setFocus();
    MainWindowHarness::Key(clear, Qt::Key_Return);
    EXPECT_TRUE(logger->Expect("\r"));

    // The logger's reply follows the echo.
    LoggerSends("\r\nStatus OK\r\n");
    EXPECT_EQ(h.Terminal(), "ST\r\r\r\nStatus OK\r\n");
}

TEST_F(TerminalTest, AtSdi12KeysAreSentButNotEchoed) {
    h.Select().Item<CComboBox>(IDC_COMBO_BAUD)->UserSelect(7);
    terminal->setFocus();
    MainWindowHarness::Type(terminal, "0I!");
    MainWindowHarness::Key(terminal, Qt::Key_Return);
    EXPECT_TRUE(logger->Expect("0I!\r"));
    EXPECT_EQ(h.Terminal(), "");
}

TEST_F(TerminalTest, EscGoesToTheLoggerAndClosesNothing) {
    MainWindowHarness::Key(terminal, Qt::Key_Escape);
    EXPECT_TRUE(logger->Expect("\x1b"));
    EXPECT_FALSE(h.Main().IsEnded());
    EXPECT_TRUE(h.Main().GetWidget()->isVisible());
    EXPECT_EQ(h.Terminal(), "");
}

TEST_F(TerminalTest, BackspaceRemovesTheLastCharacterShownWhoeverSentIt) {
    LoggerSends("AB");
    MainWindowHarness::Key(terminal, Qt::Key_Backspace);
    EXPECT_TRUE(logger->Expect("\x08"));
    EXPECT_EQ(h.Terminal(), "A");
}

TEST_F(TerminalTest, TypingIntoThePhoneNumberSendsNothing) {
    QWidget* phone = h.Select().GetDlgItem(IDC_PHONE_NUMBER)->GetWidget();
    phone->setFocus();
    MainWindowHarness::Type(phone, "0800");
    EXPECT_EQ(h.Select().GetDlgItem(IDC_PHONE_NUMBER)->GetWindowText(), "0800");
    EXPECT_EQ(logger->ReadAvailable(20), "");
    // The poll keeps receiving meanwhile.
    LoggerSends("tick\r\n");
    EXPECT_EQ(h.Terminal(), "tick\r\n");
}

TEST_F(TerminalTest, FirmwarePageLeavesThePortAlone) {
    h.ChooseTab(PAGE_FIRMWARE_UPGRADE);
    LoggerSends("programming reply");
    TestEnv::Advance(1000);
    EXPECT_EQ(h.Terminal(), "");
    EXPECT_EQ(logger->QueuedForProgram(), 17);

    // The View Plot page does not stop the poll.
    h.ChooseTab(PAGE_VIEW_PLOT);
    TestEnv::Advance(200);
    EXPECT_EQ(h.Terminal(), "programming reply");
}

TEST_F(TerminalTest, KeysOnAnotherPageSendNothing) {
    h.ChooseTab(PAGE_SCHEDULE);
    h.Tabs().UserSelect(PAGE_COMMUNICATE); // shown, not yet recorded
    MainWindowHarness::Key(terminal, Qt::Key_Return);
    MainWindowHarness::Type(terminal, "X");
    EXPECT_EQ(logger->ReadAvailable(20), "");
    EXPECT_EQ(h.Terminal(), "");
}

TEST_F(TerminalTest, NulShowsNothingAndHidesNothingAfterIt) {
    LoggerSends(std::string("ab\0cd\0\0ef", 10));
    EXPECT_EQ(h.Terminal(), "abcdef");
    EXPECT_EQ(h.Select().GetTotalReceived(), 10);
}

// With the port's real waits on and a read time-out of a minute: a poll of a
// silent line takes what is queued and returns. A poll that waited would
// hold the window ten minutes here, which the test's time-out catches.
TEST_F(TerminalTest, PollOfASilentLineNeverHoldsTheWindow) {
    h.Tabs().GetCommPort()->SetTimeouts(60000);
    CCommPort::SetRealWaits(true);
    TestEnv::Advance(1000); // ten polls
    CCommPort::SetRealWaits(false);
    ASSERT_TRUE(logger->Send("after silence"));
    TestEnv::Advance(100);
    EXPECT_EQ(h.Terminal(), "after silence");
}

TEST_F(TerminalTest, ClearScreenEmptiesTheTerminal) {
    LoggerSends("old text\r\n");
    h.Select().Item<CButton>(IDC_CLEAR_SCREEN)->Click();
    EXPECT_EQ(h.Terminal(), "");
    LoggerSends("new");
    EXPECT_EQ(h.Terminal(), "new");
}

TEST_F(TerminalTest, TrimmingPastTheLimitKeepsTheNewestText) {
    CEdit& edit = h.Select().Terminal();
    std::string old;
    for (int i = 0; old.size() < 31800; ++i)
        old += "old line " + std::to_string(i) + "\r\n";
    edit.SetWindowText(old);
    LoggerSends("newest\r\n");
    const std::string text = h.Terminal();
    EXPECT_LT(text.size(), old.size());
    EXPECT_EQ(text.substr(text.size() - 8), "newest\r\n");
    // Whole lines went: the text starts at the beginning of a line, and the
    // line that held character 2000 is still there.
    const std::size_t lineStart = old.rfind('\n', 2000) + 1;
    EXPECT_EQ(text.substr(0, 20), old.substr(lineStart, 20));
    EXPECT_EQ(text.size(), old.size() - lineStart + 8);
}

TEST_F(TerminalTest, TrimmingAOneLineTextStillMakesRoom) {
    CEdit& edit = h.Select().Terminal();
    edit.SetWindowText(std::string(31900, 'x'));
    LoggerSends("end");
    const std::string text = h.Terminal();
    EXPECT_EQ(text.size(), 31900u - 2000u + 3u);
    EXPECT_EQ(text.substr(text.size() - 3), "end");
}

TEST_F(TerminalTest, LongBurstArrivesCompleteAndInOrder) {
    std::string sent;
    for (int i = 0; i < 2000; ++i) {
        char line[16];
        std::snprintf(line, sizeof line, "rec %04d\r\n", i);
        sent += line;
    }
    ASSERT_EQ(sent.size(), 20000u);
    // A tty queues only a few KB for a reader: feed it as the page reads.
    for (std::size_t pos = 0; pos < sent.size(); pos += 2500) {
        ASSERT_TRUE(logger->Send(sent.substr(pos, 2500)));
        TestEnv::Advance(100);
    }
    TestEnv::Advance(300);
    EXPECT_EQ(h.Select().GetTotalReceived(), 20000);
    EXPECT_TRUE(h.Terminal() == sent) << "terminal holds " << h.Terminal().size() << " bytes";
}

TEST_F(TerminalTest, LostLineIsReportedOnce) {
    h.modal.ExpectMessage("COM1 has stopped answering: the device was unplugged or the line was "
                          "lost.\nChoose the port again once it is back.",
                          "Warning");
    logger->HangUp();
    TestEnv::Advance(1000);
    h.modal.VerifyDone();
    EXPECT_FALSE(h.Main().IsEnded());
}

} // namespace

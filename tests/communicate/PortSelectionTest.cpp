#include <gtest/gtest.h>

#include <QApplication>
#include <QWheelEvent>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include "communicate/CommsConfig.h"
#include "framework/Files.h"
#include "framework/SerialDevice.h"
#include "shell/CommPort.h"
#include "shell/XTabCtrl.h"
#include "tests/support/MainWindowHarness.h"

namespace {

const char kNotAvailable[] = "COM%d is not available, another application may be using it. Try "
                             "another COM Port !!!";

std::string NotAvailable(int n) {
    char text[200];
    std::snprintf(text, sizeof text, kNotAvailable, n);
    return text;
}

std::string Framing(CDialogSelect& page) {
    return page.GetDlgItem(IDC_FRAMING)->GetWindowText();
}

CComboBox& PortList(CDialogSelect& page) {
    return *page.Item<CComboBox>(IDC_COMBO_PORT);
}
CComboBox& BaudList(CDialogSelect& page) {
    return *page.Item<CComboBox>(IDC_COMBO_BAUD);
}

std::vector<std::string> Entries(CComboBox& combo) {
    std::vector<std::string> out;
    for (int i = 0; i < combo.GetCount(); ++i)
        out.push_back(combo.GetLBText(i));
    return out;
}

TEST(CommsConfigTest, ReadsPortAndBaudAndGuardsTheIndex) {
    EXPECT_EQ(FormatCommsConfig(3, 3), "003, 3");
    EXPECT_EQ(FormatCommsConfig(12, 7), "012, 7");
    const CommsConfig empty = ParseCommsConfig("");
    EXPECT_EQ(empty.port, 1);
    EXPECT_EQ(empty.baudIndex, 3);
    const CommsConfig sdi = ParseCommsConfig("012, 7");
    EXPECT_EQ(sdi.port, 12);
    EXPECT_EQ(sdi.baudIndex, 7);
    // An index that would fall outside the baud table is taken as 9600.
    EXPECT_EQ(ParseCommsConfig("001, 9").baudIndex, 3);
    EXPECT_EQ(ParseCommsConfig("001, -1").baudIndex, 3);
    // Only the first 8 bytes count.
    EXPECT_EQ(ParseCommsConfig("004, 5xxxxxxxxxxxxxxxxxxxxxxxxxxx").baudIndex, 5);
    EXPECT_EQ(ParseCommsConfig("004,    6").baudIndex, 3); // the 6 lies past byte 7
    // A garbled baud field never gives another rate than 9600.
    for (const char* garbled : {"003", "003, ", "003, abc", "003, 10", "003, +5", "003,  5"})
        EXPECT_EQ(ParseCommsConfig(garbled).baudIndex, 3) << garbled;
}

TEST(CommunicateStartTest, FirstRunMakesTheFolderAndOpensTheFirstListedPort) {
    MainWindowHarness h;
    h.AddPort(3);
    h.AddPort(5);
    h.modal.ExpectMessage("The previously used Comm Port is not available.\nCOM1 is gone: no "
                          "such device.\nSelect a new comm Port.",
                          "Warning");
    h.Start();
    h.modal.VerifyDone();

    CDialogSelect& page = h.Select();
    EXPECT_TRUE(IsDirectory(h.env.DataFolder()));
    EXPECT_TRUE(FileExists(h.env.DataFolder() + "/DurnDemo.plt"));
    EXPECT_TRUE(FileExists(h.env.DataFolder() + "/DurvDemo.plt"));
    EXPECT_EQ(h.ReadDataFile("comms.cfg"), "003, 3");
    EXPECT_EQ(page.GetPortNumber(), 3);
    EXPECT_EQ(Entries(PortList(page)), (std::vector<std::string>{"COM3", "COM5"}));
    EXPECT_EQ(PortList(page).GetCurSel(), 0);
    EXPECT_EQ(BaudList(page).GetCurSel(), 3);
    EXPECT_EQ(Framing(page), "\\8\\N\\1");
    EXPECT_EQ(page.GetCommPort()->GetBaudRate(), 9600u);
    EXPECT_EQ(page.GetCommPort()->GetByteSize(), 8);
    EXPECT_EQ(h.Tabs().GetCommPort(), page.GetCommPort());
    EXPECT_EQ(std::string(h.Tabs().GetDataFolder()), h.env.DataFolder());
    EXPECT_EQ(h.Tabs().IsModemInUse(), 0);
}

TEST(CommunicateStartTest, ExistingFolderGetsNoDemoFilesAndRemembersSdi12) {
    MainWindowHarness h;
    PtyPeer& com12 = h.AddPort(12);
    h.WriteDataFile("comms.cfg", "012, 7");
    h.Start();
    h.modal.VerifyDone();

    CDialogSelect& page = h.Select();
    EXPECT_FALSE(FileExists(h.env.DataFolder() + "/DurnDemo.plt"));
    EXPECT_EQ(page.GetPortNumber(), 12);
    EXPECT_EQ(BaudList(page).GetCurSel(), 7);
    EXPECT_EQ(Framing(page), "\\7\\E\\1");
    EXPECT_EQ(page.GetCommPort()->GetBaudRate(), 1200u);
    EXPECT_EQ(page.GetCommPort()->GetByteSize(), 7);
    EXPECT_TRUE(page.GetCommPort()->IsParityEven());
    EXPECT_EQ(h.ReadDataFile("comms.cfg"), "012, 7");

    // A later baud choice goes to the port and the file at once.
    BaudList(page).UserSelect(6);
    EXPECT_EQ(page.GetCommPort()->GetBaudRate(), 57600u);
    EXPECT_EQ(page.GetCommPort()->GetByteSize(), 8);
    EXPECT_EQ(Framing(page), "\\8\\N\\1");
    EXPECT_EQ(h.ReadDataFile("comms.cfg"), "012, 6");
    (void)com12;
}

TEST(CommunicateStartTest, NoPortsAtAllThenOnePluggedIn) {
    MainWindowHarness h;
    h.Start();
    CDialogSelect& page = h.Select();
    EXPECT_EQ(Entries(PortList(page)), (std::vector<std::string>{"NoPortsAvail"}));
    EXPECT_EQ(page.GetPortNumber(), 0);
    EXPECT_EQ(h.Tabs().GetCommPort(), nullptr);
    // No half texts: no framing, no baud.
    EXPECT_EQ(Framing(page), "");
    EXPECT_EQ(BaudList(page).GetCurSel(), -1);

    h.modal.ExpectMessage("There are no Comm Ports available!\nClose the application using the "
                          "required Comm Port, then try again.",
                          "Warning");
    PortList(page).UserSelect(0);
    h.modal.VerifyDone();

    // SDI-12 without an open port is only remembered.
    BaudList(page).UserSelect(7);
    EXPECT_EQ(Framing(page), "");
    EXPECT_FALSE(FileExists(h.env.DataFolder() + "/comms.cfg"));

    // A port plugged in later shows at the next drop and opens at SDI-12.
    h.AddPort(2);
    PortList(page).UserDropDown();
    EXPECT_EQ(Entries(PortList(page)), (std::vector<std::string>{"COM2"}));
    PortList(page).UserSelect(0);
    EXPECT_EQ(page.GetPortNumber(), 2);
    EXPECT_EQ(Framing(page), "\\7\\E\\1");
    EXPECT_EQ(page.GetCommPort()->GetByteSize(), 7);
    EXPECT_EQ(h.ReadDataFile("comms.cfg"), "002, 7");
    EXPECT_EQ(h.Tabs().GetCommPort(), page.GetCommPort());
}

TEST(CommunicateStartTest, HeldPortFailsToOpenAndLeavesTheList) {
    MainWindowHarness h;
    h.AddPort(1);
    PtyPeer& com4 = h.AddPort(4);
    h.Start();
    CDialogSelect& page = h.Select();
    EXPECT_EQ(page.GetPortNumber(), 1); // no file: COM1, 9600
    EXPECT_EQ(h.ReadDataFile("comms.cfg"), "001, 3");

    PortList(page).UserDropDown();
    ASSERT_EQ(Entries(PortList(page)), (std::vector<std::string>{"COM1", "COM4"}));
    com4.Hold(); // another program takes it before the user picks it
    h.modal.ExpectMessage(NotAvailable(4), "Warning");
    PortList(page).UserSelect(1);
    h.modal.VerifyDone();
    EXPECT_EQ(page.GetPortNumber(), 0);
    EXPECT_FALSE(page.GetCommPort()->IsOpen());
    // The file was written before the port was tried.
    EXPECT_EQ(h.ReadDataFile("comms.cfg"), "004, 3");

    // Named once while it is held, again when it is held after being free.
    h.modal.ExpectMessage(InUseText(4, com4, getpid()), "Warning");
    PortList(page).UserDropDown();
    h.modal.VerifyDone();
    EXPECT_EQ(Entries(PortList(page)), (std::vector<std::string>{"COM1"}));
    EXPECT_EQ(PortList(page).GetCurSel(), -1);
    PortList(page).UserDropDown();
    com4.Release();
    PortList(page).UserDropDown();
    EXPECT_EQ(Entries(PortList(page)), (std::vector<std::string>{"COM1", "COM4"}));
    com4.Hold();
    h.modal.ExpectMessage(InUseText(4, com4, getpid()), "Warning");
    PortList(page).UserDropDown();
    h.modal.VerifyDone();
}

// At start-up the remembered port is named with why it cannot be opened, then the other
// ports in use; the first free port is opened.
TEST(CommunicateStartTest, StartUpNamesTheHeldPortAndItsHolder) {
    MainWindowHarness h;
    h.AddPort(2);
    PtyPeer& com4 = h.AddPort(4);
    PtyPeer& com6 = h.AddPort(6);
    h.WriteDataFile("comms.cfg", "006, 3");
    com4.Hold();
    com6.Hold();
    h.modal.ExpectMessage("The previously used Comm Port is not available.\n" +
                              InUseText(6, com6, getpid()) + "\n" + InUseText(4, com4, getpid()) +
                              "\nSelect a new comm Port.",
                          "Warning");
    h.Start();
    h.modal.VerifyDone();
    EXPECT_EQ(h.Select().GetPortNumber(), 2);
    PortList(h.Select()).UserDropDown(); // told already
    h.modal.VerifyDone();
}

TEST(CommunicateStartTest, DroppingTheListKeepsTheOpenPortAndItsUnreadBytes) {
    MainWindowHarness h;
    PtyPeer& com7 = h.AddPort(7);
    h.AddPort(9);
    h.WriteDataFile("comms.cfg", "007, 3");
    h.Start();
    CDialogSelect& page = h.Select();
    ASSERT_EQ(page.GetPortNumber(), 7);

    ASSERT_TRUE(com7.Send("reply before the drop\r\n"));
    PortList(page).UserDropDown();
    EXPECT_EQ(Entries(PortList(page)), (std::vector<std::string>{"COM7", "COM9"}));
    EXPECT_EQ(PortList(page).GetCurSel(), 0);
    EXPECT_EQ(page.GetPortNumber(), 7);
    EXPECT_TRUE(page.GetCommPort()->IsOpen());
    EXPECT_EQ(com7.QueuedForProgram(), 23);

    TestEnv::Advance(100);
    EXPECT_EQ(h.Terminal(), "reply before the drop\r\n");
}

TEST(CommunicateStartTest, ChoosingAnotherPortMovesTheLine) {
    MainWindowHarness h;
    PtyPeer& com1 = h.AddPort(1);
    PtyPeer& com2 = h.AddPort(2);
    h.Start();
    CDialogSelect& page = h.Select();
    PortList(page).UserDropDown();
    PortList(page).UserSelect(1);
    EXPECT_EQ(page.GetPortNumber(), 2);
    EXPECT_EQ(h.ReadDataFile("comms.cfg"), "002, 3");

    // Keys now go to COM2 only.
    QWidget* terminal = page.Terminal().GetWidget();
    MainWindowHarness::Key(terminal, Qt::Key_Escape);
    EXPECT_TRUE(com2.Expect("\x1b"));
    EXPECT_EQ(com1.ReadAvailable(20), "");
}

// A wheel turned over a closed list changes it only while it has the focus.
TEST(CommunicateStartTest, WheelChangesAListOnlyWithTheFocus) {
    MainWindowHarness h;
    h.AddPort(3);
    h.AddPort(5);
    h.WriteDataFile("comms.cfg", "003, 3");
    h.Start();
    CDialogSelect& page = h.Select();
    auto wheel = [](CComboBox& combo) {
        QWidget* w = combo.GetWidget();
        const QPointF at(w->width() / 2.0, w->height() / 2.0);
        QWheelEvent event(at, w->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w, &event);
    };
    page.Terminal().SetFocus();
    wheel(PortList(page));
    wheel(BaudList(page));
    EXPECT_EQ(page.GetPortNumber(), 3);
    EXPECT_EQ(BaudList(page).GetCurSel(), 3);
    EXPECT_EQ(page.GetCommPort()->GetBaudRate(), 9600u);
    EXPECT_EQ(h.ReadDataFile("comms.cfg"), "003, 3");
    EXPECT_TRUE(page.Terminal().HasFocus()) << "a wheel turn gives no focus";

    BaudList(page).SetFocus();
    wheel(BaudList(page));
    EXPECT_EQ(BaudList(page).GetCurSel(), 4);
    EXPECT_EQ(page.GetCommPort()->GetBaudRate(), 19200u);
    EXPECT_EQ(h.ReadDataFile("comms.cfg"), "003, 4");
    PortList(page).SetFocus();
    wheel(PortList(page));
    EXPECT_EQ(page.GetPortNumber(), 5);
    h.modal.VerifyDone();
}

// Listing ports changes none of them: a terminal that another program holds
// open without locking keeps its settings, and UUCP lock files are honoured.
TEST(CommunicateStartTest, ListingProbesWithoutTouchingAndHonoursLockFiles) {
    MainWindowHarness h;
    h.AddPort(1);
    PtyPeer& other = h.AddPort(2); // open in "another program", not locked
    PtyPeer& locked = h.AddPort(3);
    PtyPeer& stale = h.AddPort(4);
    other.MakeSlaveCooked();
    termios before{};
    ASSERT_EQ(tcgetattr(other.SlaveFd(), &before), 0);

    const pid_t dead = fork();
    if (dead == 0)
        _exit(0);
    waitpid(dead, nullptr, 0);
    auto writeLock = [&](PtyPeer& peer, int pid) {
        std::ofstream(h.env.Locks() + "/" + LockFileName(peer.SlavePath()))
            << std::setw(10) << pid << "\n";
    };
    writeLock(locked, int(getppid()));
    writeLock(stale, int(dead));

    h.modal.ExpectMessage(InUseText(3, locked, int(getppid())), "Warning");
    h.Start();
    CDialogSelect& page = h.Select();
    PortList(page).UserDropDown();
    EXPECT_EQ(Entries(PortList(page)), (std::vector<std::string>{"COM1", "COM2", "COM4"}));
    termios after{};
    ASSERT_EQ(tcgetattr(other.SlaveFd(), &after), 0);
    EXPECT_EQ(std::memcmp(&before, &after, sizeof before), 0) << "the probe changed COM2";

    // Held, our own lock file names us; let go, it is gone.
    ASSERT_EQ(page.GetPortNumber(), 1);
    const std::string com1Lock =
        h.env.Locks() + "/" + LockFileName(std::filesystem::read_symlink(h.env.Ports() + "/COM1"));
    std::string pid;
    std::ifstream(com1Lock) >> pid;
    EXPECT_EQ(pid, std::to_string(getpid()));
    PortList(page).UserSelect(2); // COM4: the dead process's lock is replaced
    EXPECT_EQ(page.GetPortNumber(), 4);
    EXPECT_FALSE(FileExists(com1Lock));
    std::ifstream(h.env.Locks() + "/" + LockFileName(stale.SlavePath())) >> pid;
    EXPECT_EQ(pid, std::to_string(getpid()));
    h.modal.VerifyDone();
}

// A data folder that cannot be made, or a "comms.cfg" that cannot be
// written: one warning naming the path and the reason, and the page goes on.
TEST(CommunicateStartTest, FilesThatCannotBeWrittenAreToldOnce) {
    {
        MainWindowHarness h;
        h.AddPort(1);
        const std::string blocker = h.env.Root() + "/plain-file";
        std::ofstream(blocker) << "x";
        setenv("APPDATA", blocker.c_str(), 1);
        h.modal.ExpectMessage("Could not create the data folder " + blocker + "/TrelvoranFiles.\n" +
                                  std::strerror(ENOTDIR),
                              "Warning");
        h.Start();
        BaudList(h.Select()).UserSelect(4);
        h.modal.VerifyDone();
        EXPECT_EQ(h.modal.History().front().type & MB_ICONMASK, MB_ICONEXCLAMATION);
        EXPECT_EQ(h.Select().GetPortNumber(), 1);
        EXPECT_EQ(h.Select().GetCommPort()->GetBaudRate(), 19200u);
    }
    {
        MainWindowHarness h;
        h.AddPort(1);
        std::filesystem::create_directories(h.env.DataFolder() + "/comms.cfg");
        h.modal.ExpectMessage("Could not save the port settings in " + h.env.DataFolder() +
                                  "/comms.cfg.\n" + std::strerror(EISDIR),
                              "Warning");
        h.Start();
        BaudList(h.Select()).UserSelect(5);
        h.modal.VerifyDone();
        EXPECT_EQ(h.Select().GetPortNumber(), 1);
        EXPECT_TRUE(FindFiles(h.env.DataFolder(), "*.part").empty());
    }
}

} // namespace

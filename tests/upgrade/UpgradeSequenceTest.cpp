#include <gtest/gtest.h>

#include "shell/CommPort.h"
#include "tests/support/PtySimulatedLogger.h"
#include "tests/upgrade/HexFixtures.h"
#include "tests/upgrade/UpgradeBench.h"

namespace {

using Kind = SimulatedLogger::Kind;

constexpr int kRecords = 120; // three ticks of the record loop

struct KindRow {
    Kind kind;
    int box;
    bool sdi12;
};

const KindRow kKinds[] = {
    {Kind::Quenta, IDC_DEVICE_QUENTA, false},
    {Kind::Px70, IDC_DEVICE_PX70, false},
    {Kind::Px80, IDC_DEVICE_PX80, false},
    {Kind::Ferrant, IDC_DEVICE_FERRANT, false},
    {Kind::Vx5400, IDC_DEVICE_VX5400, true},
    {Kind::Vx6400, IDC_DEVICE_VX6400, true},
    {Kind::Lindqvar, IDC_DEVICE_LINDQVAR, true},
    {Kind::LindqvarPlus, IDC_DEVICE_LINDQVAR_PLUS, true},
};

// A page with a loaded image of `records` data records and a simulated device on COM1.
struct UpgradeRun {
    explicit UpgradeRun(const KindRow& row, int records = kRecords) : sim(*b.peer, row.kind) {
        b.Show();
        b.Click(row.box);
        b.Load(b.WriteFile("fw.hex", FirmwareFile(records, "\n")));
        b.page->Item<CEdit>(IDC_PASSWORD)->UserType("Ab3x");
        b.Click(IDC_MORE);
        sim.Attach();
        b.h.Tabs().SetHangupTimeout(600);
    }
    void Start(long long runMs = 20000) {
        b.h.Tabs().SetHangupTimeLeft(3);
        b.Click(IDC_START_UPGRADE);
        TestEnv::Advance(runMs);
    }
    bool Released() { return b.Enabled(IDC_START_UPGRADE) && b.TabsEnabled(); }
    CCommPort& Port() { return *b.h.Tabs().GetCommPort(); }

    UpgradeBench b;
    SimulatedLogger sim;
};

// The page carries the sequence out on the real port: every type against the simulated device
// (its bytes, the line settings, the labels, counts, bar, status, hang-up reloads, release).
TEST(UpgradeSequenceTest, EveryDeviceTypeTakesTheWholeImage) {
    for (const KindRow& row : kKinds) {
        SCOPED_TRACE(int(row.kind));
        UpgradeRun r(row);
        const bool saved7E1 = row.kind == Kind::LindqvarPlus;
        if (saved7E1) {
            r.Port().SetBaudRate(1200);
            r.Port().SetEvenParity();
            r.Port().SetSevenBits();
        }
        r.b.h.Tabs().SetHangupTimeLeft(3);
        r.b.Click(IDC_START_UPGRADE);
        EXPECT_FALSE(r.b.TabsEnabled());
        EXPECT_FALSE(r.b.Enabled(IDC_DEVICE_QUENTA));
        TestEnv::Advance(20000);

        EXPECT_EQ(r.sim.records, BinaryRecords(kRecords));
        EXPECT_EQ(r.b.Text(IDC_SEND_COUNT), std::to_string(kRecords + 1));
        EXPECT_EQ(r.b.page->GetProgress(), 100);
        EXPECT_TRUE(r.b.Visible(IDC_STEP_COMPLETE));
        EXPECT_FALSE(r.b.Visible(IDC_STEP_PROGRAMMING));
        EXPECT_EQ(r.b.Text(IDC_RX_LINE), row.kind == Kind::Px70
                                             ? std::string("(\x06) 0x06 (\r) 0x0D ")
                                             : std::string("(\x06) 0x06 "));
        EXPECT_TRUE(r.Released());
        // Reloaded at every step; the Communicate page's tick counts it down between steps.
        EXPECT_GE(r.b.h.Tabs().GetHangupTimeLeft(), 580);
        if (row.sdi12) {
            EXPECT_EQ(r.sim.commandBauds, (std::vector<unsigned>{1200, 1200}));
            EXPECT_EQ(r.sim.recordBaud, 9600u);
            EXPECT_EQ(r.Port().GetBaudRate(), saved7E1 ? 1200u : 9600u);
            EXPECT_EQ(r.Port().GetByteSize(), saved7E1 ? 7 : 8);
            EXPECT_TRUE(r.b.Visible(IDC_STEP_EXECUTE));
        } else {
            EXPECT_EQ(r.b.Text(IDC_UPGRADE_STATUS), row.kind == Kind::Ferrant
                                                        ? "New Version : F2.1"
                                                        : "New Version : Logger V5.02 03/03/26");
        }
        if (!row.sdi12 && row.kind != Kind::Ferrant) {
            EXPECT_EQ(r.b.Text(IDC_STEP_VERSION), "Previous Version : Logger V4.10 12/01/24");
            EXPECT_TRUE(r.b.Visible(IDC_STEP_PASSWORD));
            EXPECT_EQ(r.b.Visible(IDC_STEP_COPY), row.kind == Kind::Px70);
        }
        r.b.h.modal.VerifyDone();
    }
}

TEST(UpgradeSequenceTest, StopUpgradeIsTakenAtTheNextTick) {
    // Stopped while record 5 is refused: five accepted, and the user told what to do.
    UpgradeRun r(kKinds[0], 10);
    r.sim.nakFrame[5] = 1000;
    r.b.h.Tabs().SetHangupTimeLeft(3);
    r.b.Click(IDC_START_UPGRADE);
    while (r.sim.transmissions < 9)
        TestEnv::Advance(50);
    r.b.h.modal.ExpectMessage("Upgrade stopped - the logger may still be in program mode.\n"
                              "Turn Logger Power off and on - then try programming sequence again",
                              "Warning");
    r.b.Click(IDC_STOP_UPGRADE);
    TestEnv::Advance(100);
    r.b.h.modal.VerifyDone();
    EXPECT_TRUE(r.Released());
    EXPECT_EQ(r.b.Text(IDC_UPGRADE_STATUS), "Upgrade Stopped - 5 records accepted");
    EXPECT_EQ(r.b.Text(IDC_STEP_PROGRAMMING), "Programming Stopped");
    EXPECT_EQ(r.b.page->GetProgress(), 45); // 5 of 11 frames
    const int sent = r.sim.transmissions;
    TestEnv::Advance(10000);
    EXPECT_EQ(r.sim.transmissions, sent);
}

// The program ending in the record loop of an SDI-12 device: no frame
// more, and the line back at the 1200 7E1 it had before the upgrade.
TEST(UpgradeSequenceTest, EndingSendsNothingMoreAndGivesTheLineBack) {
    UpgradeRun r(kKinds[7]);
    r.Port().SetBaudRate(1200);
    r.Port().SetEvenParity();
    r.Port().SetSevenBits();
    r.b.h.Tabs().SetHangupTimeLeft(3);
    r.b.Click(IDC_START_UPGRADE);
    for (int step = 0; step < 400 && r.sim.records.size() < 2; ++step)
        TestEnv::Advance(50);
    ASSERT_EQ(r.Port().GetBaudRate(), 9600u);
    r.b.page->EndForSignal();
    const int sent = r.sim.transmissions;
    TestEnv::Advance(10000);
    EXPECT_EQ(r.sim.transmissions, sent);
    EXPECT_EQ(r.Port().GetBaudRate(), 1200u);
    EXPECT_EQ(r.Port().GetByteSize(), 7);
}

TEST(UpgradeSequenceTest, StartReadsTheFileAgain) {
    {
        // Replaced on disk after loading: the new image goes, its count shown first.
        UpgradeRun r(kKinds[0], 10);
        r.b.WriteFile("fw.hex", FirmwareFile(4, "\n"));
        r.b.h.Tabs().SetHangupTimeLeft(3);
        r.b.Click(IDC_START_UPGRADE);
        EXPECT_EQ(r.b.Text(IDC_FILE_LINE),
                  r.b.h.env.Root() + "/fw.hex - changed on disk, 5 records");
        EXPECT_EQ(r.sim.transmissions, 0);
        TestEnv::Advance(20000);
        EXPECT_EQ(r.sim.records, BinaryRecords(4));
        EXPECT_EQ(r.b.page->GetFrameCount(), 5);
    }
    {
        // Replaced by a broken file: refused before anything is sent.
        UpgradeRun r(kKinds[0], 10);
        std::string broken = FirmwareFile(4, "\n");
        broken[5] = broken[5] == '0' ? '1' : '0';
        r.b.WriteFile("fw.hex", broken);
        r.Start();
        EXPECT_EQ(r.b.Text(IDC_FILE_LINE), "File Content Suspect: bad checksum on line 1");
        EXPECT_TRUE(r.sim.commands.empty());
        EXPECT_FALSE(r.b.Enabled(IDC_START_UPGRADE));
        EXPECT_TRUE(r.b.TabsEnabled());
    }
}

// The question asked through the page's modal box: silence at the address, then Yes or No.
TEST(UpgradeSequenceTest, Sdi12AddressSilenceAndTheQuestionAnswered) {
    for (const bool yes : {true, false}) {
        SCOPED_TRACE(yes);
        UpgradeRun r(kKinds[4], 10);
        r.sim.silentAddress = true;
        r.b.h.modal.ExpectMessage(
            "Bad or No reply, check cables and RS232 mode.\n\nTry upgrading the firmware anyway?",
            "Warning", yes ? IDYES : IDNO);
        r.Start();
        r.b.h.modal.VerifyDone();
        EXPECT_TRUE(r.Released());
        EXPECT_EQ(r.sim.records, yes ? BinaryRecords(10) : std::vector<std::string>{});
        EXPECT_EQ(r.sim.recordBaud, yes ? 9600u : 0u);
        EXPECT_EQ(r.Port().GetByteSize(), 8);
    }
}

} // namespace

// The record loop: frames sent back to back, acknowledged, refused or unanswered; and
// "Send Reset".
#include <algorithm>
#include <utility>

#include "framework/Text.h"
#include "upgrade/ProgrammingSequence.h"

namespace {

using Kind = UpgradeEffect::Kind;

// Records sent back to back within one tick of the record loop.
constexpr int kRecordsPerTick = 50;
// Missing or unknown replies to one record before the loop gives up.
constexpr int kMaxRetries = 5;
// Refusals (NAK) of one record in a row before the loop gives up.
constexpr int kMaxRefusals = 20;

} // namespace

ProgrammingSequence::Effects ProgrammingSequence::SendReset(DeviceType device) {
    const char endOfFile[] = {':', 0x00, 0x00, 0x00, char(kHexRecordEndOfFile), char(0xFF)};
    return {{.kind = Kind::TxLine, .text = ": 0x00 0x00 0x00 0x01 0xFF"},
            {.kind = Kind::Send,
             .text = std::string(endOfFile, sizeof endOfFile),
             .readEcho = IsSdi12Device(device)}};
}

void ProgrammingSequence::SendNextRecord() {
    if (m_nReadPos >= int(m_frames.size())) {
        m_bTxLast = true; // not reached: every loaded image ends with its last record
        return;
    }
    const HexFrame& frame = m_frames[std::size_t(m_nReadPos++)];
    m_tx.assign(reinterpret_cast<const char*>(frame.bytes), frame.length);
    m_bTxLast = IsLastHexFrame(frame, m_device == DeviceType::Px70);
    Put(Kind::TxLine, HexFrameDump(frame, m_text.data(), m_text.size()));
    Put(Kind::RxLine, "");
    Send(m_tx);
}

void ProgrammingSequence::ResendRecord() {
    Put(Kind::RxLine, "");
    Send(m_tx);
}

void ProgrammingSequence::NextRecordExchange() {
    if (m_nRetries != 0) {
        ResendRecord();
        ++m_nReSendCount;
    } else {
        SendNextRecord();
        ++m_nRecordsSent;
        ++m_nSendCount;
    }
    Counts(m_nSendCount, m_nReSendCount);
    Read(Await::Record, m_device == DeviceType::Px70 ? 2 : 1, 4000);
}

void ProgrammingSequence::RecordReply(const std::uint8_t* bytes, std::size_t n) {
    std::string rx;
    for (std::size_t k = 0; k < n; ++k)
        rx += Format("(%c) 0x%02X ", char(bytes[k]), unsigned(bytes[k]));
    Put(Kind::RxLine, std::move(rx));
    const bool last = m_bTxLast;
    if (n >= 1 && bytes[0] == kAck) {
        m_nRetries = 0;
        m_nRefusals = 0;
        ++m_nAccepted;
        if (last) {
            CompleteRecords();
            EndRecordTick(false);
        } else if (++m_nTickAcks >= kRecordsPerTick) {
            EndRecordTick(true);
        } else {
            NextRecordExchange();
        }
        return;
    }
    if (n >= 1 && bytes[0] == kNak) {
        ++m_nRetries;
        if (last) {
            CompleteRecords();
            EndRecordTick(false);
            return;
        }
        // A record the logger never takes must not hold the port for ever.
        if (++m_nRefusals < kMaxRefusals) {
            EndRecordTick(true);
        } else {
            FailRecords();
            EndRecordTick(false);
        }
        return;
    }
    if (m_nRetries < kMaxRetries) {
        ++m_nRetries;
        EndRecordTick(true);
        return;
    }
    FailRecords();
    EndRecordTick(false);
}

void ProgrammingSequence::ShowProgress(int frames) {
    if (!m_frames.empty())
        Progress(std::min(100, int(static_cast<long long>(frames) * 100 /
                                   static_cast<long long>(m_frames.size()))));
}

void ProgrammingSequence::EndRecordTick(bool rearm) {
    ShowProgress(m_nRecordsSent);
    if (!rearm)
        return;
    if (m_bStop) {
        StopRecords();
        return;
    }
    Arm(IDT_RECORDS, 50);
}

void ProgrammingSequence::CompleteRecords() {
    Show(StepLabel::Programming, false);
    Show(StepLabel::Complete, true);
    Status("Waiting for Reset");
    Arm(IDT_NEW_VERSION, IsSdi12Device(m_device) ? 500 : 7500);
}

void ProgrammingSequence::FailRecords() {
    Status("Programming -> Invalid Response");
    Warn("Invalid response during programming. Try clicking on 'Start Upgrade' again");
    if (IsSdi12Device(m_device))
        RestoreLineSettings();
    Release();
}

void ProgrammingSequence::StopRecords() {
    // The bar and labels show what the logger took, not what was sent.
    ShowProgress(m_nAccepted);
    Label(StepLabel::Programming, "Programming Stopped");
    Status(Format("Upgrade Stopped - %d records accepted", m_nAccepted));
    if (IsSdi12Device(m_device))
        RestoreLineSettings();
    Release();
    Warn("Upgrade stopped - the logger may still be in program mode.\nTurn Logger Power off and "
         "on - then try programming sequence again");
}

// Where the Communicate page's dump file and capture file meet the poll and
// the keyboard. The files themselves come with their own features; until
// then nothing is ever open.
#include "communicate/DialogSelect.h"

void CDialogSelect::CloseDump() {
    m_nDumpState = 0;
}

void CDialogSelect::WriteDump(const char* bytes, int count) {
    (void)bytes;
    (void)count;
}

void CDialogSelect::StopCapture() {}

void CDialogSelect::CaptureRawLines(const char* bytes, int count) {
    WriteRawCapture(bytes, count);
}

void CDialogSelect::CaptureFormattedLines(const char* bytes, int count) {
    (void)bytes;
    (void)count;
}

void CDialogSelect::WriteRawCapture(const char* bytes, int count) {
    (void)bytes;
    (void)count;
}

// The Communicate page's capture file: where it meets the poll and the
// keyboard. Nothing is ever open until capture is built.
#include "communicate/DialogSelect.h"

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

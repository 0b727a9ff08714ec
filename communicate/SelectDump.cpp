// The Communicate page's dump file: where it meets the poll and the
// keyboard. Nothing is ever open until dumps are built.
#include "communicate/DialogSelect.h"

void CDialogSelect::CloseDump() {
    m_nDumpState = 0;
}

void CDialogSelect::WriteDump(const char* bytes, int count) {
    (void)bytes;
    (void)count;
}

// Where the Communicate page's user buttons and modem dialler meet its
// start-up and terminal. The features themselves come with their own
// settings files; until then the buttons keep their template captions and
// the automatic hang-up stays off.
#include "communicate/DialogSelect.h"

void CDialogSelect::LoadButtons() {}

void CDialogSelect::OnDefineButtons(UINT id) {
    (void)id;
}

void CDialogSelect::ResetAutoHangup() {}

void CDialogSelect::LoadDiallerSettings() {}

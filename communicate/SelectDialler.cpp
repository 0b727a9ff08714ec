// The Communicate page's modem dialler. Until it is built the automatic
// hang-up stays off.
#include "communicate/DialogSelect.h"

void CDialogSelect::ResetAutoHangup() {}

void CDialogSelect::LoadDiallerSettings() {}

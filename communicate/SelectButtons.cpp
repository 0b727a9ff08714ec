// The Communicate page's user buttons. Until they are built the buttons
// keep their template captions.
#include "communicate/DialogSelect.h"

void CDialogSelect::LoadButtons() {}

void CDialogSelect::OnDefineButtons(UINT id) {
    (void)id;
}

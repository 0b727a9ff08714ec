// The Communicate page when the program ends by a signal: nothing more
// starts here and a modem call up is hung up as "Hangup" does.
#include "communicate/CommandEscapes.h"
#include "communicate/DialogSelect.h"
#include "framework/Timers.h"
#include "shell/XTabCtrl.h"

bool CDialogSelect::EndForSignal() {
    if (!m_pTabCtrl || !m_pTabCtrl->IsModemInUse()) {
        TimerQueue::Instance().KillAll(this);
        return false;
    }
    // No start-up step (no port opened), no tick (no automatic hang-up, no
    // call picked up), no further piece of a command, no dump command; the
    // poll goes on for the hang-up.
    for (UINT id : {IDT_STARTUP, IDT_SECOND, IDT_SENDNEXT, IDT_BUTTONWARNING})
        KillTimer(id);
    for (int k = 0; k < kDumpKindCount; ++k)
        KillTimer(DumpKindAt(k).timerId);
    if (m_bDirectLink && m_nSessionState != SessionState::None) {
        // A direct link has no line to hang up: the call's steps stop.
        TimerQueue::Instance().KillAll(this);
        CloseSessionCapture();
        m_nSessionState = SessionState::None;
        return false;
    }
    // A hang-up already on its way goes on; its "ATH" clears the flag.
    if (!TimerQueue::Instance().IsSet(this, IDT_HANGUP))
        OnHangup();
    return true;
}

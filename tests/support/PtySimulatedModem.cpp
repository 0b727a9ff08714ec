#include "tests/support/PtySimulatedModem.h"

#include "framework/Clock.h"
#include "shell/CommPort.h"

SimulatedModem::SimulatedModem(PtyPeer& peer) : m_peer(peer) {}

SimulatedModem::~SimulatedModem() {
    CCommPort::SetReadHook(nullptr);
}

void SimulatedModem::Attach() {
    m_online = direct;
    CCommPort::SetReadHook([this](unsigned long long written) { OnRead(written); });
}

void SimulatedModem::Take(unsigned long long written) {
    if (written <= m_taken)
        return;
    const std::string chunk = m_peer.Take(std::size_t(written - m_taken));
    m_taken = written;
    m_in += chunk;
    received += chunk;
}

void SimulatedModem::Queue(long long afterMs, const std::string& bytes) {
    m_due.emplace(Clock::NowMs() + afterMs, bytes);
}

void SimulatedModem::OnRead(unsigned long long written) {
    Take(written);
    for (bool again = true; again;) {
        const std::size_t before = m_in.size();
        const bool wasOnline = m_online;
        if (m_online)
            Online();
        else
            CommandMode();
        again = !m_in.empty() && (m_in.size() != before || m_online != wasOnline);
    }
    std::string out;
    const long long now = Clock::NowMs();
    while (!m_due.empty() && m_due.begin()->first <= now) {
        out += m_due.begin()->second;
        m_due.erase(m_due.begin());
    }
    if (!out.empty())
        m_peer.Send(out);
}

void SimulatedModem::CommandMode() {
    // The escape sequence in command mode is not echoed and changes nothing.
    if (m_in.compare(0, 3, "+++") == 0) {
        m_in.erase(0, 3);
        return;
    }
    const std::size_t cr = m_in.find('\r');
    if (cr == std::string::npos)
        return;
    const std::string line = m_in.substr(0, cr);
    m_in.erase(0, cr + 1);
    if (echo)
        Queue(0, line + "\r");
    if (line.compare(0, 4, "ATDT") == 0) {
        const std::string number = line.substr(4);
        dialled.push_back(number);
        auto it = numbers.find(number);
        const Answer answer = it == numbers.end() ? Answer::Silence : it->second;
        switch (answer) {
        case Answer::Connect:
            Queue(answerAfterMs, "\r\nCONNECT 9600\r\n");
            m_online = true;
            break;
        case Answer::Busy:
            Queue(answerAfterMs, "BUSY\r\n");
            break;
        case Answer::NoCarrier:
            Queue(answerAfterMs, "NO CARRIER\r\n");
            break;
        case Answer::NoDialtone:
            Queue(answerAfterMs, "\r\nNO DIALTONE\r\n");
            break;
        case Answer::Silence:
            break;
        }
    } else if (line.compare(0, 3, "ATH") == 0) {
        ++hangups;
        m_due.clear();
        Queue(0, "OK\r\n");
    } else if (line.compare(0, 2, "AT") == 0) {
        Queue(0, "OK\r\n");
    }
}

void SimulatedModem::Online() {
    // "+++" takes the modem back to command mode; what the logger was still
    // to send is lost with the line.
    const std::size_t escape = m_in.find("+++");
    const std::size_t end = escape == std::string::npos ? m_in.size() : escape;
    std::size_t start = 0;
    for (std::size_t cr; (cr = m_in.find('\r', start)) != std::string::npos && cr < end;
         start = cr + 1) {
        const std::string line = m_in.substr(start, cr - start);
        loggerLines.push_back(line);
        auto it = replies.find(line);
        if (it != replies.end())
            for (const Piece& piece : it->second)
                Queue(piece.afterMs, piece.bytes);
    }
    if (escape == std::string::npos) {
        m_in.erase(0, start);
        return;
    }
    m_in.erase(0, escape + 3);
    if (!direct) {
        m_online = false;
        m_due.clear();
    }
}

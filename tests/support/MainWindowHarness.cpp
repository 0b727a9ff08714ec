#include "tests/support/MainWindowHarness.h"

#include <QApplication>
#include <QKeyEvent>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "resources/ResourceShell.h"

MainWindowHarness::MainWindowHarness() = default;

MainWindowHarness::~MainWindowHarness() {
    m_main.reset();
    m_ports.clear();
}

PtyPeer& MainWindowHarness::AddPort(int n) {
    auto peer = std::make_unique<PtyPeer>();
    peer->LinkAs(env.Ports(), n);
    PtyPeer& ref = *peer;
    m_ports[n] = std::move(peer);
    return ref;
}

void MainWindowHarness::WriteDataFile(const std::string& name, const std::string& bytes) {
    std::filesystem::create_directories(env.DataFolder());
    std::ofstream out(env.DataFolder() + "/" + name, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string MainWindowHarness::ReadDataFile(const std::string& name) const {
    std::ifstream in(env.DataFolder() + "/" + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void MainWindowHarness::Start() {
    m_main = std::make_unique<CKestruneDlg>();
    m_main->Create(IDD_KESTRUNE_DIALOG, nullptr);
    QWidget* window = m_main->GetWidget();
    window->activateWindow();
    QApplication::setActiveWindow(window);
    TestEnv::Advance(100);
}

void MainWindowHarness::Key(QWidget* target, int qtKey, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, qtKey, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, qtKey, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
}

void MainWindowHarness::Type(QWidget* target, const std::string& text) {
    for (char c : text) {
        const int key = (c >= 'a' && c <= 'z') ? Qt::Key_A + (c - 'a') : int(c);
        Key(target, key, QString(QChar::fromLatin1(c)));
    }
}

void MainWindowHarness::ChooseTab(int index) {
    Tabs().UserSelect(index);
    TestEnv::Advance(50);
}

// The Firmware Upgrade page in the running main window, on the virtual clock, with COM1 on a
// pseudo-terminal (or no port at all).
#pragma once

#include <filesystem>
#include <fstream>

#include "shell/XTabCtrl.h"
#include "tests/support/MainWindowHarness.h"
#include "upgrade/DialogUpgrade.h"

struct UpgradeBench {
    explicit UpgradeBench(bool withPort = true) {
        if (withPort) {
            peer = &h.AddPort(1);
            h.WriteDataFile("comms.cfg", "001, 3");
        }
        h.Start();
        page = h.Main().GetUpgradePage();
    }

    void Show() {
        h.ChooseTab(3);
        TestEnv::Advance(200);
    }

    CButton& Button(int id) const { return *page->Item<CButton>(id); }
    std::string Text(int id) const { return page->GetDlgItem(id)->GetWindowText(); }
    bool Visible(int id) const { return page->GetDlgItem(id)->IsWindowVisible(); }
    bool Enabled(int id) const { return page->GetDlgItem(id)->IsWindowEnabled() != FALSE; }
    void Click(int id) { Button(id).Click(); }
    bool TabsEnabled() {
        for (int tab = 0; tab < 4; ++tab) {
            if (!h.Tabs().IsTabEnabled(tab))
                return false;
        }
        return true;
    }

    std::string WriteFile(const std::string& name, const std::string& bytes) {
        const std::string path = h.env.Root() + "/" + name;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
        return path;
    }

    // Chooses the file in the file dialog and lets it load.
    void Load(const std::string& path) {
        h.modal.ExpectFileDialog(path);
        Click(IDC_SELECT_FILE);
        TestEnv::Advance(100);
    }

    MainWindowHarness h;
    PtyPeer* peer = nullptr;
    CDialogUpgrade* page = nullptr;
};

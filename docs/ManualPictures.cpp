// Takes the manual's pictures from the real main window, headless, on the
// virtual clock of the tests: one of each page, with demo data.
// Usage: manual_pictures OUT_FOLDER [MANUAL]
// With MANUAL it also checks that the manual links exactly the pictures taken.
#include <QCoreApplication>
#include <QPixmap>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "framework/Application.h"
#include "resources/ProgramResources.h"
#include "resources/ResourceUpgrade.h"
#include "schedule/SiteFile.h"
#include "tests/support/MainWindowHarness.h"
#include "upgrade/DialogUpgrade.h"

namespace {

std::string SiteLine(int site, const char* name, const char* phone, const char* interval,
                     char unit) {
    char number[8];
    std::snprintf(number, sizeof number, "#%03d", site);
    return std::string(number) + "," + name + "," + phone + ",3,06:00 01-03-2026," + interval +
           "," + unit + ",DUMP^M,site.txt,A,R,,,,R,,,,R\r\n";
}

std::string DemoSiteFile() {
    std::string bytes = SiteLine(1, "Weir", "Direct", "1", 'H') +
                        SiteLine(2, "Gorge", "5551234", "6", 'H') +
                        SiteLine(3, "Ford", "5551235", "1", 'D');
    for (int site = 4; site <= 300; ++site)
        bytes += DefaultSiteLine(site);
    return bytes;
}

bool Save(QWidget* window, const std::string& path) {
    if (!window->grab().save(QString::fromStdString(path), "PNG")) {
        std::fprintf(stderr, "could not write %s\n", path.c_str());
        return false;
    }
    return true;
}

// The pictures `manual` links as "pictures/NAME.png".
std::set<std::string> LinkedPictures(const std::string& manual) {
    std::ifstream in(manual);
    std::stringstream text;
    text << in.rdbuf();
    const std::string s = text.str();
    std::set<std::string> names;
    const std::regex link(R"(\]\(pictures/([A-Za-z0-9_-]+\.png)\))");
    for (auto it = std::sregex_iterator(s.begin(), s.end(), link); it != std::sregex_iterator();
         ++it)
        names.insert((*it)[1].str());
    return names;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUT_FOLDER [MANUAL]\n", argv[0]);
        return 2;
    }
    const std::string out = argv[1];
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    TestEnv::PrepareProcess();
    FrameworkApplication app(argc, argv);
    RegisterProgramResources();

    std::set<std::string> taken;
    bool ok = true;
    {
        MainWindowHarness h;
        PtyPeer& logger = h.AddPort(1);
        h.WriteDataFile("comms.cfg", "001, 4");
        h.WriteDataFile("site.cfg", DemoSiteFile());
        h.WriteDataFile("stat.cfg", "1,4,0,");
        for (const char* demo : {"DurnDemo.plt", "DurvDemo.plt"})
            std::filesystem::copy_file(std::string(TRELVORAN_SOURCE_DIR "/data/") + demo,
                                       h.env.DataFolder() + "/" + demo);
        h.Start();
        QWidget* window = h.Main().GetWidget();
        window->showNormal();
        window->resize(960, 640);
        TestEnv::Advance(1000);
        logger.Send("LOGGER V4.10 12/01/24\r\n>");
        TestEnv::Advance(1000);

        const char* names[4] = {"communicate.png", "view-plot.png", "schedule.png", "firmware.png"};
        for (int page = 0; page < 4; ++page) {
            h.ChooseTab(page);
            if (page == 3) {
                if (CWnd* more = h.Main().GetUpgradePage()->GetDlgItem(IDC_MORE))
                    static_cast<CButton*>(more)->Click();
            }
            TestEnv::Advance(1000);
            // Let the widgets take what the pages gave them before the picture.
            QCoreApplication::processEvents();
            ok = Save(window, out + "/" + names[page]) && ok;
            taken.insert(names[page]);
        }
    }
    if (!ok)
        return 1;
    if (argc < 3)
        return 0;
    const std::string manual = argv[2];
    const std::set<std::string> linked = LinkedPictures(manual);
    const std::string folder = manual.substr(0, manual.find_last_of('/') + 1) + "pictures/";
    for (const std::string& name : linked) {
        if (!std::ifstream(folder + name)) {
            std::fprintf(stderr, "%s%s is missing: run scripts/pictures\n", folder.c_str(),
                         name.c_str());
            ok = false;
        }
    }
    if (linked != taken) {
        std::fprintf(stderr, "%s links other pictures than those taken:\n", argv[2]);
        for (const std::string& name : linked)
            std::fprintf(stderr, "  linked: %s\n", name.c_str());
        for (const std::string& name : taken)
            std::fprintf(stderr, "  taken:  %s\n", name.c_str());
        return 1;
    }
    return ok ? 0 : 1;
}

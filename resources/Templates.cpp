// Dialog templates of the main window and the information dialogs; every
// page's templates are registered from here.
#include "framework/Resources.h"
#include "resources/ResourceShell.h"
#include "resources/TemplateSets.h"

namespace {

using K = ControlKind;

const char kAboutHistory[] =
    "Revision history\n"
    "3.05  First release for the Communicate, View Plot and Schedule pages.\n"
    "3.10  Capture can append to an existing capture file.\n"
    "3.20  SDI-12 added to the baud list.\n"
    "3.30  New loggers added to the firmware list.\n"
    "3.40  All dump kinds plotted, with colour keys.\n"
    "3.50  Held traces and cursor readouts on the View Plot page.\n"
    "3.60  \"Where's My Data ?\" tells where the files are kept.\n"
    "4.00  Direct Connection Test for scheduled sites.\n"
    "4.06  Fixes in CSV and Tideda capture.";

const char kHelpComms[] =
    "COM port list: scanned for COM1 to COM99 each time it is dropped; pick the port "
    "the logger or modem is on.\n"
    "Baud list: the line speed; SDI-12 sets 1200 baud, 7 data bits, even parity.\n"
    "Phone No: the number the modem dials.\n"
    "Dial: calls the number through the modem.  Hangup: ends the call.\n"
    "< and >: step through the nine levels of user buttons.\n"
    "Auto Hangup: minutes of silence after which the call is ended.\n"
    "Clear Screen: empties the terminal.\n"
    "User buttons: a click sends the button's command; a right click opens Button "
    "Definitions, where ^T and ^D insert the computer's time and date and a button can ask "
    "whether to plot the reply.\n"
    "Start Capture: saves what is received to a file as Raw, CSV-1, CSV-2 or Tideda.\n\n"
    "More in the user manual: docs/manual.md in the program's source folder "
    "(share/doc/trelvoran/manual.md where it is installed).";

const char kHelpPlot[] =
    "File list: the dump files in your data folder; pick one to plot it.\n"
    "Check boxes: choose the traces to show; Plot Separately gives each its own track.\n"
    "Hold: keeps a trace on the chart for comparison.\n"
    "Left click or drag on the chart: places the cursor; the readouts show its time and "
    "values.\n"
    "Left drag with Shift held down: the rain total between the two ends of the drag.\n"
    "Right or middle drag: moves the chart along in time.  Mouse wheel: zooms in and out.\n"
    "Zoom In and Zoom Out: fixed spans from 10 minutes to a year, or all the data.\n"
    "Units: metric or imperial captions; date order D/M/Y or M/D/Y.\n"
    "Print: prints the chart.\n\n"
    "More in the user manual: docs/manual.md in the program's source folder "
    "(share/doc/trelvoran/manual.md where it is installed).";

const char kHelpSchedule[] =
    "The site list holds up to 300 sites.  Columns: site name, phone number, start time, "
    "interval, attempts, commands and the status of the last call.\n"
    "Tick a site's check box to call it on schedule; Disable Auto Polling stops all "
    "scheduled calls.\n"
    "Call Now: dials the selected site at once from the Communicate page.\n"
    "View Log: opens the poll log.\n"
    "Row colours: yellow call in progress, green last poll OK, red error, grey auto "
    "polling disabled.\n\n"
    "More in the user manual: docs/manual.md in the program's source folder "
    "(share/doc/trelvoran/manual.md where it is installed).";

const char kHelpUpgrade[] =
    "Select File: choose the firmware file (Intel HEX) for the logger.\n"
    "Password: the logger's 4-character password.\n"
    "Start Upgrade: programs the firmware into the logger on the selected COM port.\n\n"
    "WARNING: DO NOT STOP AN UPGRADE OR REMOVE POWER FROM THE LOGGER WHILE IT IS BEING "
    "PROGRAMMED.  IF AN UPGRADE IS INTERRUPTED, REPEAT IT AT ONCE.\n\n"
    "More in the user manual: docs/manual.md in the program's source folder "
    "(share/doc/trelvoran/manual.md where it is installed).";

DialogTemplate HelpTemplate(int id, const char* caption, const char* text) {
    return DialogTemplate{id,
                          caption,
                          330,
                          230,
                          {
                              {-1, K::Static, text, 10, 10, 310, 190, 0},
                              {1, K::DefPushButton, "OK", 270, 208, 50, 14, 0},
                              {2, K::PushButton, "Cancel", 210, 208, 50, 14, TS_HIDDEN},
                          }};
}

std::map<int, DialogTemplate> BuildTemplates() {
    std::map<int, DialogTemplate> t;
    t[IDD_KESTRUNE_DIALOG] = DialogTemplate{
        IDD_KESTRUNE_DIALOG,
        "Trelvoran Rev 4.06",
        502,
        332,
        {
            {1, K::PushButton, "Exit", 445, 311, 50, 14, 0},
            {2, K::PushButton, "Cancel", 171, 311, 50, 14, TS_HIDDEN},
            {IDC_TAB, K::TabControl, "", 7, 7, 488, 300, 0},
            {IDC_PROGRAM_ICON, K::StaticIcon, "128", 293, 305, 20, 20, 0},
            {ID_HELP, K::PushButton, "Help...", 7, 311, 50, 14, 0},
            {IDC_AUTOPOLL_DISABLED, K::Static, "Autopolling Disabled !", 74, 314, 87, 10,
             TS_HIDDEN},
            {IDC_ABOUT, K::PushButton, "About", 388, 311, 50, 14, 0},
            {IDC_WHERES_MY_DATA, K::PushButton, "Where'sMyData?", 319, 311, 62, 14, 0},
        }};
    t[IDD_ABOUTBOX] =
        DialogTemplate{IDD_ABOUTBOX,
                       "About Trelvoran",
                       300,
                       200,
                       {
                           {-1, K::StaticIcon, "128", 10, 10, 20, 20, 0},
                           {-1, K::Static, "Trelvoran Rev 4.06", 40, 10, 200, 10, 0},
                           {-1, K::Static, "Trelvoran Field Systems", 40, 22, 200, 10, 0},
                           {-1, K::Static,
                            "Written by the Trelvoran field software team, with thanks to the "
                            "hydrologists who tested it in the field.",
                            40, 34, 250, 20, 0},
                           {-1, K::Static, kAboutHistory, 10, 60, 280, 110, 0},
                           {1, K::DefPushButton, "OK", 240, 178, 50, 14, 0},
                       }};
    t[IDD_MYDATA] = DialogTemplate{
        IDD_MYDATA,
        "Where's My Data ?",
        330,
        230,
        {
            {-1, K::Static,
             "Captured data: saved in the file you chose when you pressed Start Capture.", 10, 10,
             310, 20, 0},
            {-1, K::Static,
             "Plot files: every dump for plotting is saved as a \"du*.plt\" file in your folder:",
             10, 36, 310, 10, 0},
            {IDC_PATH_PLOTS, K::Static, "", 20, 48, 300, 20, TS_BORDER},
            {-1, K::Static, "Configuration data: the settings are kept as \"*.cfg\" files in:", 10,
             76, 310, 10, 0},
            {IDC_PATH_CONFIG, K::Static, "", 20, 88, 300, 20, TS_BORDER},
            {-1, K::Static,
             "Schedule data: a capture file named without a full path, and the poll log "
             "\"log.txt\", are kept in:",
             10, 116, 310, 20, 0},
            {IDC_PATH_SCHEDULE, K::Static, "", 20, 138, 300, 20, TS_BORDER},
            {1, K::DefPushButton, "OK", 270, 208, 50, 14, 0},
        }};
    t[IDD_HELP_COMMS] = HelpTemplate(IDD_HELP_COMMS, "Help with Communicate Screen", kHelpComms);
    t[IDD_HELP_PLOT] = HelpTemplate(IDD_HELP_PLOT, "Help with View Plot Screen", kHelpPlot);
    t[IDD_HELP_SCHEDULE] =
        HelpTemplate(IDD_HELP_SCHEDULE, "Help with Schedule Screen", kHelpSchedule);
    t[IDD_HELP_UPGRADE] =
        HelpTemplate(IDD_HELP_UPGRADE, "Help with Firmware Upgrade Screen", kHelpUpgrade);

    AddSelectTemplates(t);
    AddPlotTemplates(t);
    AddScheduleTemplates(t);
    AddUpgradeTemplates(t);
    return t;
}

} // namespace

void RegisterTemplates() {
    for (const auto& entry : BuildTemplates())
        RegisterDialogTemplate(entry.second);
}

// COM port numbers and the serial devices behind them. Plain C++, no Qt.
#pragma once

#include <string>

// The device path the program uses for port n: "\\.\COMn".
std::string ComDevicePath(int n);

// The port number of "\\.\COMn" or "COMn" (any letter case, n from 1 to 99 without leading
// zeros); 0 for any other path.
int ComPortNumber(const char* path);

// The folder whose COMn links name the ports: $TRELVORAN_PORTS when set and not empty,
// else ~/.config/trelvoran/ports (empty when there is no home folder).
std::string PortsFolder();

// The device to open for a path. A COM port resolves to the entry COMn of the ports folder
// (a link, followed when the device is opened; a dangling link still claims the number),
// else, when $TRELVORAN_PORTS is not set, to the fixed table:
//   COM1-16 -> /dev/ttyS0-15, COM17-48 -> /dev/ttyUSB0-31, COM49-80 -> /dev/ttyACM0-31;
// COM81-99 only through a link. No match, or a "\\.\" path that names no COM port, gives an
// empty string. Any other path is returned as given.
std::string ResolveDevicePath(const char* path);

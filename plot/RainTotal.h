// The rain between two marked times, counted tip by tip from a rain dump (or
// rain line by rain line from an all-parameter dump). No Qt in here.
#pragma once

#include <string>

#include "plot/DumpLine.h"

// Sums the rain of the lines whose time lies between `startOle` and `endOle`
// (OLE dates, either order, half a second of tolerance at both; equal marks
// count nothing). A file that is neither kind counts nothing.
double CountRainTotal(DumpSource& source, bool dayFirst, double startOle, double endOle);
// False when the file cannot be opened.
bool CountRainTotalFile(const std::string& path, bool dayFirst, double startOle, double endOle,
                        double* total);

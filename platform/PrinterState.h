#pragma once
// The printer the application prints to (internal to platform/): chosen in
// Print Setup and the print dialog, kept for the rest of the run.

#include <QPrinter>

struct PrinterState {
    QPrinter printer{ QPrinter::HighResolution };
};

PrinterState* AfxGetPrinterState();

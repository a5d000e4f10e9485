// The system's printers, through the CUPS command-line tools (lpstat, lp):
// which printers exist, which one is the default, and handing a PDF file to
// one of them. No tools or no printers simply means an empty list.
#pragma once

#include <string>
#include <vector>

namespace platform {

// The names of the print queues that exist (empty when there are none or
// lpstat is missing).
std::vector<std::string> ListPrinters();
// The default print queue, or empty when none is set.
std::string DefaultPrinter();

// Queues file on printer (copies >= 1, title shown in the queue); false with
// the spooler's message in error.
bool SubmitPrintFile(const std::string& printer, const std::string& file, int copies, const std::string& title,
                     std::string& error);

// Runs argv (no shell, LANG=C) and collects its standard output and error;
// the exit status, or -1 when it could not start or did not end within
// timeoutMs (it is then killed).
int RunAndCapture(const std::vector<std::string>& argv, int timeoutMs, std::string& output);

} // namespace platform

// quarvell-replay: runs the calculator headless on the scripted platform from a script of user
// actions and prints what the user would see, as one JSON object per line.
#include <fstream>
#include <iostream>
#include <memory>
#include <string>

#include "tools/replay/replay.h"
#ifdef QUARVELL_REPLAY_PDF
#include "platform/qt/sheet_pdf.h"
#endif

namespace {

constexpr const char* kUsage =
    "usage: quarvell-replay [--comma] [SCRIPT]\n"
    "Runs the calculator window headless and prints its state as JSON, one line per state.\n"
    "Reads the script from SCRIPT, or from standard input when it is missing or \"-\".\n"
    "  --comma   numbers are written with a decimal comma and a period between groups\n"
    "Actions, one per line (blank lines and lines starting with # are ignored):\n"
    "  select CONTROL N     choose entry N (from 0) of a list; select optNotice 1|2\n"
    "  type CONTROL TEXT    focus a field and replace its text (TEXT may be empty)\n"
    "  focus CONTROL        scroll CONTROL VALUE        click CONTROL\n"
    "  key CHAR             enter          tab          f1\n"
    "  answer TEXT          cancel         reply Yes|No|OK   (for the next input or message box)\n"
    "  wait SECONDS         dump           (the state is printed again after the last action)\n"
    "  sheet FILE           write the calculation sheet of the result on screen; FILE ends in\n"
    "                       .json, .html or .pdf (without a result, the run stops with status 2)\n"
    "  curves FILE          write the CSV of the curves of the current result to FILE; without\n"
    "                       a usable result an error that stops the script (exit status 2)\n";

}  // namespace

int main(int argc, char** argv) {
    quarvell::replay::ReplayOptions options;
#ifdef QUARVELL_REPLAY_PDF
    // Started with the first PDF sheet: a script without one runs without Qt.
    std::unique_ptr<quarvell::platform::qt::GuiForPdf> gui;
    options.writePdf = [&gui](const quarvell::analysis::Sheet& sheet, const std::string& file,
                              std::string& error) {
        if (!gui) {
            gui = std::make_unique<quarvell::platform::qt::GuiForPdf>();
        }
        return quarvell::platform::qt::WriteSheetPdf(sheet, file, error);
    };
#endif
    std::string path;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--comma") {
            options.comma = true;
        } else if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return 0;
        } else if (arg.size() > 1 && arg[0] == '-') {
            std::cerr << "quarvell-replay: unknown option \"" << arg << "\"\n" << kUsage;
            return 2;
        } else if (!path.empty()) {
            std::cerr << "quarvell-replay: only one script may be given\n" << kUsage;
            return 2;
        } else {
            path = arg;
        }
    }
    if (path.empty() || path == "-") {
        return quarvell::replay::RunReplay(std::cin, std::cout, std::cerr, options);
    }
    std::ifstream file(path);
    if (!file) {
        std::cerr << "quarvell-replay: cannot read \"" << path << "\"\n";
        return 2;
    }
    return quarvell::replay::RunReplay(file, std::cout, std::cerr, options);
}

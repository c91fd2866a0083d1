#include "cli/DataSystemCommand.h"

#include <iostream>
#include <memory>

#include "cli/ExitCode.h"
#include "convert/DataSystemLoader.h"

void AddDataSystemCommand(CLI::App& app, int& exitCode) {
    CLI::App* command = app.add_subcommand(
        kDataSystemCommand, "Show or set the folder of the data system's Ferrox and Ostrel");
    command->footer(
        "Looked in, in this order: --data-system FOLDER, $KORR2LD_DATA_SYSTEM, the folder\n"
        "stored with set (Korr2LD.INI, [DataSystem] Folder), on Windows the program's\n"
        "own folder; on Linux, without one, the stand-ins built into the program.");
    auto folder = std::make_shared<std::string>();
    CLI::App* set = command->add_subcommand("set", "store the folder (empty: forget it)");
    set->add_option("FOLDER", *folder, "folder of Ferrox and Ostrel")->required();
    set->callback(
        [folder, &exitCode] { exitCode = RunDataSystemSet(*folder, std::cout, std::cerr); });
    command->callback([command, &app, &exitCode] {
        if (command->get_subcommands().empty()) {
            exitCode =
                RunDataSystemShow(app.get_option("--data-system")->as<std::string>(), std::cout);
        }
    });
}

int RunDataSystemShow(const std::string& option, std::ostream& out) {
    if (const auto where = ChooseDataSystemFolder(option)) {
        out << where->folder << "\t(the folder " << where->how << ")\n";
    } else {
        out << "the stand-ins built into korr2ld-cli\n";
    }
    return kExitOk;
}

int RunDataSystemSet(const std::string& folder, std::ostream& out, std::ostream& err) {
    if (const Status stored = StoreDataSystemFolder(folder); !stored.ok()) {
        err << "korr2ld-cli data-system set: " << stored.message() << '\n';
        return kExitFailure;
    }
    out << "stored in " << Korr2ldSettingsPath().value() << '\n';
    return kExitOk;
}

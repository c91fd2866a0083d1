// korr2ld-cli: the conversion dialog's work from the command line, and a
// look into Sample Lists, the data system's file locations and the log of
// past conversions.
//
// Exit status: 0 success, 1 failure, 2 usage error (see cli/ExitCode.h).
// Output that cannot be written to its end is a failure too.
#include <cxxabi.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <new>
#include <stdexcept>
#include <string>
#include <typeinfo>

#include <CLI/CLI.hpp>

#include "cli/ConvertCommand.h"
#include "cli/DataSystemCommand.h"
#include "cli/ExitCode.h"
#include "cli/LocationsCommand.h"
#include "cli/LogCommand.h"
#include "cli/ShowCommand.h"
#include "cli/StandardOutput.h"
#include "convert/DataSystemLoader.h"
#include "framework/Process.h"
#include "framework/Signals.h"

namespace {

int Run(int argc, char** argv) {
    CLI::App app("Korr2LD: converts Korrin exports into Lumenda Sample Lists.", "korr2ld-cli");
    app.set_version_flag("--version", std::string("korr2ld-cli ") + K2L_VERSION);
    app.require_subcommand(1);

    // The data system's libraries are chosen before any command runs; one
    // that cannot be used stops the program before anything is written.
    std::string dataSystem;
    app.add_option("--data-system", dataSystem,
                   "load the data system's Ferrox and Ostrel libraries from FOLDER (else from $" +
                       std::string(kDataSystemVariable) + ", then the folder of data-system set)")
        ->option_text("FOLDER");
    app.parse_complete_callback([&app, &dataSystem] {
        if (app.got_subcommand(kDataSystemCommand)) {
            return;  // it loads nothing
        }
        if (const auto where = ChooseDataSystemFolder(dataSystem)) {
            const Result<DataSystemEntries> loaded = LoadDataSystem(*where, "korr2ld-cli");
            if (!loaded.ok()) {
                throw std::runtime_error(loaded.status().message());
            }
            InstallDataSystem(loaded.value());
        }
    });

    int exitCode = kExitOk;
    AddConvertCommand(app, exitCode);
    AddShowCommand(app, exitCode);
    AddLocationsCommand(app, exitCode);
    AddLogCommand(app, exitCode);
    AddDataSystemCommand(app, exitCode);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // --help and --version end parsing with a "success" that app.exit prints.
        return app.exit(error) == 0 ? kExitOk : kExitUsage;
    } catch (const std::bad_alloc&) {
        throw;  // said in main, without needing memory
    } catch (const std::exception& error) {
        // The commands report their own failures; this is what is left
        // (running out of memory, say).
        std::cerr << "korr2ld-cli: " << error.what() << '\n';
        return kExitFailure;
    }
    return exitCode;
}

// Says, without needing memory, that memory ran out.
void SayOutOfMemory() {
    std::fputs(
        "korr2ld-cli: out of memory, so the command stopped before its end (a Sample "
        "List being written is not created). Free memory or raise the process's "
        "memory limit (ulimit -v), and run it again.\n",
        stderr);
}

// With so little memory that not even an exception can be made, the
// runtime ends the program through std::terminate without one: that, like
// a std::bad_alloc nobody caught, is said as running out of memory, with
// the usual failure status. Anything else aborts as it would.
[[noreturn]] void OnTerminate() {
    // The type alone: rethrowing to look could itself need memory.
    const std::type_info* current = abi::__cxa_current_exception_type();
    if (current == nullptr || *current == typeid(std::bad_alloc)) {
        SayOutOfMemory();
        std::_Exit(kExitFailure);
    }
    std::abort();
}

// Installed before the program's static objects are made, so that one
// that cannot be made for want of memory ends the same way.
[[gnu::constructor(101)]] void InstallTerminateHandler() {
    std::set_terminate(OnTerminate);
}

}  // namespace

int main(int argc, char** argv) {
    IgnoreFileSizeSignal();
    RemoveFilesOnInterrupt();
    try {
        PrepareStandardStreams();
        std::ios::sync_with_stdio(false);
        CStandardOutput output;
        // UTF-8 whatever the system gives (on Windows its UTF-16 arguments).
        std::vector<std::string> arguments = ProgramArguments(argc, argv);
        std::vector<char*> pointers;
        for (std::string& argument : arguments) {
            pointers.push_back(argument.data());
        }
        pointers.push_back(nullptr);
        const int exitCode = Run(static_cast<int>(arguments.size()), pointers.data());
        return output.Finish(exitCode, std::cerr);
    } catch (const std::bad_alloc&) {
        // Anywhere, the command line's parser included.
        SayOutOfMemory();
        return kExitFailure;
    }
}

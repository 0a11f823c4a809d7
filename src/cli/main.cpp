// zentrix-cli: the command-line front end to the prediction engine.
#include "Commands.h"

#include <CLI/CLI.hpp>
#include <csignal>
#include <iostream>

int main(int argc, char** argv)
{
#ifdef SIGXFSZ
    // Beyond a file-size limit a write must fail with an error that is reported, not end the
    // program with a temporary copy left behind.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    using namespace zentrix::cli;
    CliContext context{std::cout, std::cerr};
    const std::unique_ptr<CLI::App> app = MakeApp();
    AddAllCommands(*app, context);
    return RunApp(*app, context, argc, argv);
}

// zentrix-cli: the command-line front end to the prediction engine.
#include "Commands.h"

#include <CLI/CLI.hpp>
#include <iostream>

int main(int argc, char** argv)
{
    using namespace zentrix::cli;
    CliContext context{std::cout, std::cerr};
    const std::unique_ptr<CLI::App> app = MakeApp();
    AddAllCommands(*app, context);
    return RunApp(*app, context, argc, argv);
}

#pragma once
#include "cli/Command.h"

#include <memory>
#include <vector>

// Every command of brimvale-cli, in the order the help lists them.
std::vector<std::unique_ptr<Command>> AllCommands();

// The commands, one factory per command file.
std::unique_ptr<Command> MakeShowCommand();
std::unique_ptr<Command> MakeSetCommand();
std::unique_ptr<Command> MakeApplyCommand();
std::unique_ptr<Command> MakeDiffCommand();
std::unique_ptr<Command> MakeCheckCommand();
std::unique_ptr<Command> MakeExportCommand();
std::unique_ptr<Command> MakeImportCommand();
std::unique_ptr<Command> MakeListCommand();
std::unique_ptr<Command> MakeProposeCommand();
std::unique_ptr<Command> MakeMapCommand();

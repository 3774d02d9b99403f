#include "cli/CommandRegistry.h"

std::unique_ptr<Command> MakeSurveyCommand();
std::unique_ptr<Command> MakeCompareSecCommand();
std::unique_ptr<Command> MakeMergeSecCommand();
std::unique_ptr<Command> MakeTextconvCommand();

std::vector<std::unique_ptr<Command>> AllCommands()
{
    std::vector<std::unique_ptr<Command>> commands;
    commands.push_back(MakeShowCommand());
    commands.push_back(MakeSetCommand());
    commands.push_back(MakeApplyCommand());
    commands.push_back(MakeDiffCommand());
    commands.push_back(MakeCheckCommand());
    commands.push_back(MakeExportCommand());
    commands.push_back(MakeImportCommand());
    commands.push_back(MakeListCommand());
    commands.push_back(MakeProposeCommand());
    commands.push_back(MakeMapCommand());
    commands.push_back(MakeSurveyCommand());
    commands.push_back(MakeCompareSecCommand());
    commands.push_back(MakeMergeSecCommand());
    commands.push_back(MakeTextconvCommand());
    return commands;
}

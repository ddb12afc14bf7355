// Placeholder until the command is built.
#include "cli/cli_command.h"

int cliRunRoots(std::string_view command, const std::vector<std::string>&) {
    return cliUsageError(command, "not available yet");
}

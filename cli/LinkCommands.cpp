#include "cli/LinkCommands.h"

namespace tevra::cli {

void addLinkCommands(CLI::App&, int&) {}

} // namespace tevra::cli

#include "cli/FileCommands.h"

namespace tevra::cli {

void addFileCommands(CLI::App&, int&) {}

} // namespace tevra::cli

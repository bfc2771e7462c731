#include "app/CommandRegistry.h"

#include <stdexcept>
#include <utility>

namespace corvano {

void CommandRegistry::add(Command command) {
    if (has(command.name)) throw std::logic_error("command registered twice: " + command.name);
    std::string name = command.name;
    commands_.emplace(std::move(name), std::move(command));
}

const CommandRegistry::Command* CommandRegistry::find(std::string_view name) const {
    auto it = commands_.find(name);
    return it == commands_.end() ? nullptr : &it->second;
}

CommandResult CommandRegistry::run(std::string_view name, CommandCall call) const {
    const Command* command = find(name);
    if (!command) return CommandResult::UnknownCommand;
    if (command->arg == CommandArg::Address && call.address.empty()) return CommandResult::BadArgument;
    if (command->target == CommandTarget::Window) {
        if (call.window == 0 && currentWindow) call.window = currentWindow();
        if (call.window <= 0 || !windowOpen || !windowOpen(call.window)) return CommandResult::NoWindow;
    }
    if (command->run) command->run(call);
    return CommandResult::Done;
}

}  // namespace corvano

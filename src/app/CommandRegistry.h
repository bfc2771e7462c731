#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace corvano {

// What a command acts on.
enum class CommandTarget {
    Wall,    // the application as a whole: the main window's commands
    Window,  // one browser window, named by number
};

// What a command takes besides its target.
enum class CommandArg { None, Address, Number };

// One run of a command: its target and its argument.
struct CommandCall {
    // A browser window's number; 0 for the window activated last.
    int window = 0;
    std::string address;
    int number = 0;
};

// A call on one window, with no argument.
inline CommandCall onWindow(int number) {
    CommandCall call;
    call.window = number;
    return call;
}

enum class CommandResult {
    Done,
    UnknownCommand,
    NoWindow,     // no such window open (or none activated yet)
    BadArgument,  // the address or number it takes is missing
};

// Every command of the wall, by name: the bars, the keys and any caller from
// outside run a command through run(), with an explicit target.
class CommandRegistry {
public:
    // For a window command, call.window is the window's number, resolved.
    using Handler = std::function<void(const CommandCall& call)>;
    struct Command {
        std::string name;  // the key of the entry that runs it, where it has one
        CommandTarget target = CommandTarget::Wall;
        CommandArg arg = CommandArg::None;
        // The bar control whose clicks run it (0 to 2 a browser window's own,
        // 3 and 4 the main window's, 5 the drop-down host); -1 none.
        int bar = -1;
        Handler run;
    };

    // Throws std::logic_error for a name that is there already.
    void add(Command command);
    bool has(std::string_view name) const { return find(name) != nullptr; }
    const Command* find(std::string_view name) const;
    CommandResult run(std::string_view name, CommandCall call = {}) const;

    // Set by whoever holds the windows: the number of the window activated
    // last (0 none), and whether a number is an open window.
    std::function<int()> currentWindow;
    std::function<bool(int)> windowOpen;

private:
    std::map<std::string, Command, std::less<>> commands_;
};

}  // namespace corvano

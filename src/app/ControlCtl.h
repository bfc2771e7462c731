#pragma once

#include <string>
#include <vector>

namespace corvano {

// `corvano ctl ARGS`: what to ask the running Corvano, read from the
// command line. `problem` is set (and nothing asked) for arguments that do
// not make a request.
struct CtlCall {
    std::string method;  // GET or POST; empty for "url", which asks nothing
    std::string path;
    std::string body;
    std::string outFile;  // shot: where the PNG goes
    bool json = false;    // --json: the answer as it came
    std::string problem;
};
CtlCall readCtlArgs(const std::vector<std::string>& args);

// The usage lines for `corvano ctl help` and for a wrong call.
std::string ctlUsage();

// What to print for an answer that succeeded: the list as a table, one
// window as lines of name and value, the version as lines, "ok" otherwise.
std::string ctlText(const CtlCall& call, const std::string& answerBody);
// The one line for an answer that did not: the server's message, or the status.
std::string ctlRefusalLine(int status, const std::string& answerBody);

// The address `corvano ctl` calls for a listen address: a wildcard listen
// is reached on the loopback address.
std::string ctlHost(const std::string& listenHost);

}  // namespace corvano

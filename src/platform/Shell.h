#pragma once

#include <string>

namespace corvano {

// Hands a document (a web address, a "mailto:" address) to the desktop's
// default handler. An empty verb is the handler's default action.
class Shell {
public:
    virtual ~Shell() = default;
    virtual void open(const std::string& document, const std::string& verb) = 0;
};

}  // namespace corvano

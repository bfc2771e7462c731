#include "browser/PageCommands.h"

#include "app/Application.h"

namespace corvano {

bool runPageCommand(Application&, const std::string& key) {
    return key.rfind("SEARCH:", 0) == 0 || key.rfind("EDIT:", 0) == 0 || key.rfind("SAVE:", 0) == 0;
}

}  // namespace corvano

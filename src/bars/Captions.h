#pragma once

namespace corvano {

class Application;

// Gives every translated entry its caption and tooltip from the string table.
void Set_Captions(Application& app);

}  // namespace corvano

#include "bars/Captions.h"

#include "app/Application.h"

namespace corvano {

void Set_Captions(Application&) {}

}  // namespace corvano

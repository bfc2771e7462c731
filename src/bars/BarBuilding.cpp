#include "bars/BarBuilding.h"

#include "platform/CommandBars.h"

namespace corvano {

void appendKeys(CommandBars& bars, Bar& bar, std::initializer_list<const char*> keys) {
    for (const char* key : keys)
        if (Entry* e = bars.entry(key)) bar.append(*e);
}

void attachMenu(CommandBars& bars, const std::string& key, Bar& menu) {
    if (Entry* e = bars.entry(key)) e->setBar(&menu);
}

}  // namespace corvano

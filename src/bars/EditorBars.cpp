#include "bars/EditorBars.h"

#include <stdexcept>

#include "app/Application.h"
#include "bars/BarBuilding.h"
#include "platform/CommandBars.h"

namespace corvano {

void Build_EditorButtons(Application& app) {
    CommandBars& bars = app.bars;
    if (bars.entry("EXIT3")) throw std::logic_error("the language editor's entries exist already");
    BarsBatch batch(bars);
    bars.addEntry("EXIT3", 0, entrystyle::Plain).setCaptionOnBar(true);
    bars.addEntry("SAVE3", 1, entrystyle::Plain).setCaptionOnBar(true);
}

void Build_EditorBar(Application& app) {
    CommandBars& bars = app.bars;
    if (bars.bar("STANDARD5")) throw std::logic_error("the language editor's bar exists already");
    BarsBatch batch(bars);
    appendKeys(bars, bars.addBar("STANDARD5"), {"SEP1", "EXIT3", "SEP013", "SAVE3", "SEP2"});
    bars.changed();
}

}  // namespace corvano

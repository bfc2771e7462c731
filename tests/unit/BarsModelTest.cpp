#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/CommandBars.h"

namespace corvano {
namespace {

TEST(BarsModel, KeysAreUniqueAndLookupsAreSafe) {
    CommandBars bars;
    Entry& e = bars.addEntry("NEW", 0, entrystyle::Plain, "tip");
    EXPECT_EQ(&e, bars.entry("NEW"));
    EXPECT_EQ("tip", e.toolTip());
    EXPECT_THROW(bars.addEntry("NEW", 1, entrystyle::Plain), std::logic_error);
    EXPECT_EQ(0, bars.entry("NEW")->icon());  // the first entry stays as it was
    EXPECT_EQ(nullptr, bars.entry("new"));    // keys compare exactly
    EXPECT_THROW(bars.at("MISSING"), std::logic_error);
    bars.addBar("B");
    EXPECT_THROW(bars.addBar("B"), std::logic_error);
    EXPECT_EQ(nullptr, bars.bar("C"));
}

TEST(BarsModel, CheckingAnOptionUnchecksTheOtherOptionsOfItsBars) {
    CommandBars bars;
    Entry& a = bars.addEntry("S:A", -1, entrystyle::Option);
    Entry& b = bars.addEntry("S:B", -1, entrystyle::Option);
    Entry& plain = bars.addEntry("S:P", -1, entrystyle::Plain);
    Entry& elsewhere = bars.addEntry("T:A", -1, entrystyle::Option);
    Bar& s = bars.addBar("S");
    s.append(a);
    s.append(b);
    s.append(plain);
    bars.addBar("T").append(elsewhere);
    plain.setChecked(true);
    elsewhere.setChecked(true);
    a.setChecked(true);
    b.setChecked(true);
    EXPECT_FALSE(a.checked());
    EXPECT_TRUE(b.checked());
    EXPECT_TRUE(plain.checked()) << "only option entries take part";
    EXPECT_TRUE(elsewhere.checked()) << "other bars keep their choice";
    b.setChecked(false);
    EXPECT_FALSE(b.checked());
    EXPECT_FALSE(a.checked());
}

TEST(BarsModel, ListenersHearChangesAndBatchesCollapseThem) {
    CommandBars bars;
    Entry& e = bars.addEntry("X", -1, entrystyle::Plain);
    int heard = 0;
    const int token = bars.subscribe([&] { ++heard; });
    e.setCaption("a");
    e.setToolTip("b");
    e.setChecked(true);
    EXPECT_EQ(3, heard);
    {
        BarsBatch outer(bars);
        e.setCaption("c");
        {
            BarsBatch inner(bars);
            e.setCaption("d");
        }
        EXPECT_EQ(3, heard);
    }
    EXPECT_EQ(4, heard);
    {
        BarsBatch quiet(bars);  // nothing changed: nothing to repaint
    }
    EXPECT_EQ(4, heard);
    bars.unsubscribe(token);
    e.setCaption("e");
    EXPECT_EQ(4, heard);
}

TEST(BarsModel, HostIsRequestedUntilOneIsLent) {
    CommandBars bars;
    EXPECT_EQ(nullptr, bars.host());
    int requests = 0;
    bars.newInstanceRequest = [&]() -> CommandBarControl* {
        ++requests;
        return nullptr;  // a window that lends no host
    };
    EXPECT_EQ(nullptr, bars.host());
    EXPECT_EQ(nullptr, bars.host());
    EXPECT_EQ(2, requests);
}

}  // namespace
}  // namespace corvano

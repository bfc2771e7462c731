#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "browser/AddressHistory.h"
#include "platform/ComboBox.h"
#include "platform/WebView.h"

namespace corvano {

// A browser window's address box and its history: what the user types,
// sends and is offered again.
class AddressBox {
public:
    // `address` is the window's current address: sending changes it.
    AddressBox(ComboBox& box, WebView& web, std::string& address);
    ~AddressBox();
    AddressBox(const AddressBox&) = delete;
    AddressBox& operator=(const AddressBox&) = delete;

    // Completes the box's text, navigates to it and, with flag 1, records a
    // qualifying address in the history. An empty box goes to `emptyGoesTo`.
    void CommandGo(int flag, const std::string& emptyGoesTo);
    void Hyst_Add();
    AddressHistory& history() { return history_; }
    const AddressHistory& history() const { return history_; }

    // The user edits the text: completions from the history.
    void edited(const std::string& text);
    // The page's address changed: the box shows it, unless the user is
    // typing there (a page whose title keeps changing must not overwrite it).
    void pageAddressChanged();
    // A command sent the window to this address: the box shows it.
    void show(const std::string& address);
    // The user takes the box (Ctrl+L): its text selected, and kept from the
    // page's changes until the user leaves the box or sends the address.
    void take();

private:
    void showHistory();
    ComboBox& box_;
    WebView& web_;
    std::string& address_;
    AddressHistory history_;
    // The history's change count the box's list shows.
    uint64_t listShows_ = ~uint64_t{0};
    // The user has typed since the box was last set or sent.
    bool typing_ = false;
    std::string lastTyped_;
};

}  // namespace corvano

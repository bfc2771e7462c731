#include "browser/AddressBox.h"

#include <algorithm>

#include "app/TextFile.h"
#include "browser/AddressCompletion.h"
#include "browser/BrowserSettings.h"

namespace corvano {

namespace tf = textfile;

namespace {

size_t utf8Length(const std::string& s) {
    return static_cast<size_t>(std::count_if(s.begin(), s.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

bool startsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

}  // namespace

AddressBox::AddressBox(ComboBox& box, WebView& web, std::string& address) : box_(box), web_(web), address_(address) {
    history_.onChanged = [this] { showHistory(); };
}

AddressBox::~AddressBox() { history_.onChanged = nullptr; }

void AddressBox::CommandGo(int flag, const std::string& emptyGoesTo) {
    typing_ = false;
    const std::string typed = box_.text();
    if (typed.empty()) {
        web_.Navigate(emptyGoesTo);
        return;
    }
    const std::string lower = tf::toLower(typed);
    if (!startsWith(lower, "https://") && !startsWith(lower, "ftp://") && !startsWith(lower, "http://"))
        box_.setText("http://" + typed);
    web_.Navigate2(box_.text());
    address_ = box_.text();
    if (flag == 1 && startsWith(tf::toLower(tf::trimBlanks(address_)), "http") && utf8Length(address_) > 8)
        Hyst_Add();
}

void AddressBox::Hyst_Add() { history_.add(withoutLineBreaks(address_)); }

void AddressBox::showHistory() {
    // The list follows the history; what the user types in the box stays.
    if (listShows_ == history_.changes()) return;
    listShows_ = history_.changes();
    box_.clearItems();
    for (const std::string& entry : history_.entries()) box_.addItem(entry);
}

void AddressBox::edited(const std::string& text) {
    typing_ = true;
    // Inline completion only while typing on, never after a deletion.
    const bool onward = text.size() > lastTyped_.size() && text.compare(0, lastTyped_.size(), lastTyped_) == 0;
    lastTyped_ = text;
    const std::vector<std::string> items = history_.entries();
    box_.offerCompletions(addressCompletions(items, text), onward ? inlineCompletion(items, text) : "");
}

void AddressBox::pageAddressChanged() {
    if (typing_ && box_.hasFocus()) return;
    show(address_);
}

void AddressBox::take() {
    typing_ = true;
    box_.setFocus();
    box_.selectAll();
}

void AddressBox::show(const std::string& address) {
    typing_ = false;
    box_.setText(address);
}

}  // namespace corvano

#include "browser/History.h"

#include "app/TextFile.h"
#include "browser/BrowserSettings.h"

namespace corvano {

namespace tf = textfile;

std::vector<std::string> readHistoryFile(const std::string& path) {
    auto data = tf::readAll(path, 4u << 20);
    if (!data) return {};
    return tf::splitLines(tf::toUtf8(*data));
}

std::vector<std::string> historyToSave(const std::vector<std::string>& entries) {
    const size_t first = entries.size() > kHistoryKept ? entries.size() - kHistoryKept : 0;
    std::vector<std::string> lines;
    for (size_t i = first; i < entries.size(); ++i) {
        std::string line = withoutLineBreaks(entries[i]);
        // A byte order mark at the start of the file would be taken for one
        // when the file is read again: it is no part of an address.
        while (line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
        if (!line.empty()) lines.push_back(std::move(line));
    }
    return lines;
}

std::string historyFileText(const std::vector<std::string>& entries) { return tf::joinCrlf(historyToSave(entries)); }

bool saveHistoryFile(const std::string& path, const std::vector<std::string>& entries) {
    return tf::writeAtomic(path, historyFileText(entries));
}

}  // namespace corvano

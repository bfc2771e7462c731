#include "app/TextFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>

namespace corvano::textfile {

std::vector<std::string> splitLines(const std::string& data) {
    std::vector<std::string> lines;
    std::string current;
    size_t i = 0;
    bool pending = false;
    while (i < data.size()) {
        char c = data[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(std::move(current));
            current.clear();
            pending = false;
            if (c == '\r' && i + 1 < data.size() && data[i + 1] == '\n') ++i;
        } else {
            current.push_back(c);
            pending = true;
        }
        ++i;
    }
    if (pending) lines.push_back(std::move(current));
    return lines;
}

std::optional<std::string> readAll(const std::string& path, size_t maxBytes) {
    // Only a regular file is read: a folder, a pipe or a device in its place
    // counts as unreadable, and opening never waits for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || static_cast<unsigned long long>(st.st_size) > maxBytes) {
        ::close(fd);
        return std::nullopt;
    }
    std::string data;
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            return std::nullopt;
        }
        data.append(buf, static_cast<size_t>(n));
        if (data.size() > maxBytes) {
            ::close(fd);
            return std::nullopt;
        }
    }
    ::close(fd);
    return data;
}

bool writeAtomic(const std::string& path, const std::string& data, bool durable, unsigned mode) {
    std::string tmp = path + ".tmp" + std::to_string(::getpid());
    int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, mode);
    if (fd < 0) return false;
    size_t done = 0;
    // A leftover temporary file keeps its old rights: private ones are set anew.
    bool ok = (mode & 077) != 0 || ::fchmod(fd, mode) == 0;
    while (done < data.size()) {
        ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        done += static_cast<size_t>(n);
    }
    if (ok && durable && ::fsync(fd) != 0) ok = false;
    if (::close(fd) != 0) ok = false;
    if (ok && std::rename(tmp.c_str(), path.c_str()) != 0) ok = false;
    if (!ok) std::remove(tmp.c_str());
    return ok;
}

std::string joinCrlf(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) {
        out += l;
        out += "\r\n";
    }
    return out;
}

std::string trimBlanks(const std::string& s) {
    size_t b = s.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    size_t e = s.find_last_not_of(' ');
    return s.substr(b, e - b + 1);
}

double leadingNumber(const std::string& s) {
    size_t i = 0, n = s.size();
    while (i < n && s[i] == ' ') ++i;
    std::string num;
    if (i < n && (s[i] == '+' || s[i] == '-')) num.push_back(s[i++]);
    size_t digitsStart = num.size();
    while (i < n && std::isdigit(static_cast<unsigned char>(s[i]))) num.push_back(s[i++]);
    if (i < n && s[i] == '.') {
        num.push_back(s[i++]);
        while (i < n && std::isdigit(static_cast<unsigned char>(s[i]))) num.push_back(s[i++]);
    }
    bool haveDigits = std::any_of(num.begin() + static_cast<long>(digitsStart), num.end(),
                                  [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
    if (!haveDigits) return 0;
    // An exponent only counts when digits follow it.
    if (i < n && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        size_t j = i + 1;
        std::string exp = "e";
        if (j < n && (s[j] == '+' || s[j] == '-')) exp.push_back(s[j++]);
        size_t expDigits = 0;
        while (j < n && std::isdigit(static_cast<unsigned char>(s[j])) && expDigits < 6) {
            exp.push_back(s[j++]);
            ++expDigits;
        }
        if (expDigits > 0) num += exp;
    }
    double value = 0;
    const char* first = num.data();
    if (*first == '+') ++first;
    auto res = std::from_chars(first, num.data() + num.size(), value);
    if (res.ec == std::errc::result_out_of_range) return num[0] == '-' ? -HUGE_VAL : HUGE_VAL;
    return value;
}

std::optional<int16_t> toInt16(double value) {
    if (std::isnan(value)) return std::nullopt;
    double r = std::nearbyint(value);  // default rounding mode: half to even
    if (r < -32768.0 || r > 32767.0) return std::nullopt;
    return static_cast<int16_t>(r);
}

std::string printNumber(long long value) {
    if (value < 0) return std::to_string(value) + " ";
    return " " + std::to_string(value) + " ";
}

std::string printNumber(double value) {
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value);
    std::string text(buf, res.ptr);
    if (value < 0) return text + " ";
    return " " + text + " ";
}

bool isValidUtf8(const std::string& s) {
    size_t i = 0, n = s.size();
    while (i < n) {
        auto c = static_cast<unsigned char>(s[i]);
        int extra;
        unsigned cp;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + static_cast<size_t>(extra) >= n) return false;
        for (int k = 1; k <= extra; ++k) {
            auto cc = static_cast<unsigned char>(s[i + k]);
            if ((cc & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        // Overlong forms, surrogates and values past Unicode are not UTF-8.
        if ((extra == 1 && cp < 0x80) || (extra == 2 && cp < 0x800) || (extra == 3 && cp < 0x10000) ||
            (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF)
            return false;
        i += static_cast<size_t>(extra) + 1;
    }
    return true;
}

namespace {

void appendUtf8(std::string& out, unsigned cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Windows-1252 0x80..0x9F; the five undefined bytes map to their C1 controls.
constexpr unsigned short kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

std::string toUtf8(const std::string& bytes) {
    if (isValidUtf8(bytes)) {
        if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) return bytes.substr(3);
        return bytes;
    }
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (char ch : bytes) {
        auto c = static_cast<unsigned char>(ch);
        if (c < 0x80)
            out.push_back(ch);
        else if (c < 0xA0)
            appendUtf8(out, kCp1252High[c - 0x80]);
        else
            appendUtf8(out, c);
    }
    return out;
}

std::string toLower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

std::string toUpper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

}  // namespace corvano::textfile

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace corvano::textfile {

// Splits on CR LF, a bare CR or a bare LF. A final line without an end counts;
// an empty file has no lines.
std::vector<std::string> splitLines(const std::string& data);

// The whole file, or nothing when it cannot be read or exceeds maxBytes.
std::optional<std::string> readAll(const std::string& path, size_t maxBytes = 64u << 20);

// Writes to a temporary file beside the target, flushes it to disk and renames
// it over the target, so the old file survives any failure. False on failure.
// Without durable the data is not forced to the disk before the rename: the
// file still changes in one step for every reader, and a killed or crashed
// process loses nothing, for a fraction of the time (no wait for the disk).
// `mode`: the new file's rights (0600: the user's alone, whatever the umask).
bool writeAtomic(const std::string& path, const std::string& data, bool durable = true, unsigned mode = 0644);

// The lines, each ended by CR LF.
std::string joinCrlf(const std::vector<std::string>& lines);

// Removes leading and trailing blanks (spaces only, not tabs).
std::string trimBlanks(const std::string& s);

// The leading decimal number of a text: blanks before it skipped, optional
// sign, digits, fraction and exponent; reading stops at the first character
// that cannot continue it; 0 when there is none.
double leadingNumber(const std::string& s);

// Rounds half to even and checks the 16-bit range; nothing on overflow.
std::optional<int16_t> toInt16(double value);

// A number as a print statement writes it: blank or minus, digits, blank.
std::string printNumber(long long value);
std::string printNumber(double value);

// Turns 8-bit text into UTF-8: valid UTF-8 stays as it is (a leading byte
// order mark is dropped), anything else is read as Windows-1252.
std::string toUtf8(const std::string& bytes);
bool isValidUtf8(const std::string& s);

std::string toLower(std::string s);
std::string toUpper(std::string s);

}  // namespace corvano::textfile

// What the engine would print: errors it raises itself (a misused interface,
// a wrong hash, a freed object) and messages the extension prints through
// print_error and friends. Tests assert on both.
#pragma once

#include <string>
#include <vector>

namespace stand_in {

struct LogEntry {
    enum class Source { engine, extension };
    enum class Level { error, warning };
    Source source;
    Level level;
    std::string text;
};

class Log {
public:
    void engine_error(std::string text);
    void extension(LogEntry::Level level, std::string text);

    const std::vector<LogEntry>& entries() const { return entries_; }
    size_t engine_errors() const;
    size_t extension_messages() const;
    bool contains(const std::string& fragment) const;
    std::string dump() const;
    void clear() { entries_.clear(); }
    // Engine errors also go to stderr, as the engine prints them.
    void set_echo(bool echo) { echo_ = echo; }

private:
    std::vector<LogEntry> entries_;
    bool echo_ = true;
};

Log& log();

}  // namespace stand_in

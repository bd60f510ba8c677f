#include "stand_in/log.h"

#include <cstdio>

namespace stand_in {

Log& log() {
    static Log l;
    return l;
}

void Log::engine_error(std::string text) {
    if (echo_) {
        std::fprintf(stderr, "[host] ERROR: %s\n", text.c_str());
    }
    entries_.push_back({LogEntry::Source::engine, LogEntry::Level::error, std::move(text)});
}

void Log::extension(LogEntry::Level level, std::string text) {
    entries_.push_back({LogEntry::Source::extension, level, std::move(text)});
}

size_t Log::engine_errors() const {
    size_t n = 0;
    for (const LogEntry& e : entries_) {
        n += e.source == LogEntry::Source::engine ? 1 : 0;
    }
    return n;
}

size_t Log::extension_messages() const { return entries_.size() - engine_errors(); }

bool Log::contains(const std::string& fragment) const {
    for (const LogEntry& e : entries_) {
        if (e.text.find(fragment) != std::string::npos) {
            return true;
        }
    }
    return false;
}

std::string Log::dump() const {
    std::string out;
    for (const LogEntry& e : entries_) {
        out += e.source == LogEntry::Source::engine ? "engine: " : "extension: ";
        out += e.text;
        out += '\n';
    }
    return out;
}

}  // namespace stand_in

#include "tools/trace_script.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace drumhold::trace {

namespace {

struct KeyName {
    std::string_view name;
    unsigned bit;
    int virtualKey;
};

constexpr KeyName kKeys[] = {
    {"up", KEY_UP, vk::up},          {"down", KEY_DOWN, vk::down},   {"left", KEY_LEFT, vk::left},
    {"right", KEY_RIGHT, vk::right}, {"fire", KEY_FIRE, vk::shift}, {"space", KEY_SPACE, vk::space},
};

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

// Splits a line (comment already removed) into blank-separated words.
std::vector<std::string_view> words(std::string_view line) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && isBlank(line[i])) ++i;
        std::size_t start = i;
        while (i < line.size() && !isBlank(line[i])) ++i;
        if (i > start) out.push_back(line.substr(start, i - start));
    }
    return out;
}

bool parseCount(std::string_view word, std::uint32_t& count, std::string& why) {
    std::uint64_t value = 0;
    for (char c : word) {
        if (c < '0' || c > '9') {
            why = "frame count '" + std::string(word) + "' is not a positive decimal number";
            return false;
        }
        value = value * 10 + static_cast<unsigned>(c - '0');
        if (value > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
            why = "frame count '" + std::string(word) + "' is too large (at most 2147483647)";
            return false;
        }
    }
    if (value == 0) {
        why = "frame count must be at least 1";
        return false;
    }
    count = static_cast<std::uint32_t>(value);
    return true;
}

bool parseKeys(std::string_view word, unsigned& keys, std::string& why) {
    keys = 0;
    if (word == "-") return true;
    std::size_t start = 0;
    while (true) {
        std::size_t comma = word.find(',', start);
        std::string_view name = word.substr(start, comma == std::string_view::npos ? word.npos : comma - start);
        const auto* key = std::find_if(std::begin(kKeys), std::end(kKeys),
                                       [&](const KeyName& k) { return k.name == name; });
        if (key == std::end(kKeys)) {
            why = name.empty() ? "empty key name in '" + std::string(word) + "'"
                               : "unknown key '" + std::string(name) + "'";
            why += " (keys: up, down, left, right, fire, space, or - for none)";
            return false;
        }
        keys |= key->bit;
        if (comma == std::string_view::npos) return true;
        start = comma + 1;
    }
}

}  // namespace

bool parseScript(std::string_view text, std::vector<ScriptStep>& steps, ScriptError& error) {
    steps.clear();
    int lineNumber = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t eol = text.find('\n', pos);
        if (eol == std::string_view::npos) eol = text.size();
        std::string_view line = text.substr(pos, eol - pos);
        pos = eol + 1;
        ++lineNumber;

        if (std::size_t hash = line.find('#'); hash != std::string_view::npos) line = line.substr(0, hash);
        const auto w = words(line);
        if (w.empty()) continue;

        auto fail = [&](std::string message) {
            error.line = lineNumber;
            error.message = std::move(message);
            return false;
        };
        if (w.size() == 1) return fail("expected 'COUNT KEYS', found only '" + std::string(w[0]) + "'");
        if (w.size() > 2) return fail("unexpected '" + std::string(w[2]) + "' after the keys");

        ScriptStep step{};
        std::string why;
        if (!parseCount(w[0], step.count, why) || !parseKeys(w[1], step.keys, why)) return fail(why);
        steps.push_back(step);
    }
    return true;
}

std::string formatScript(const std::vector<ScriptStep>& steps) {
    std::string text;
    for (const ScriptStep& step : steps) {
        text += std::to_string(step.count);
        text += ' ';
        const std::size_t start = text.size();
        for (const KeyName& key : kKeys) {
            if (!(step.keys & key.bit)) continue;
            if (text.size() > start) text += ',';
            text += key.name;
        }
        if (text.size() == start) text += '-';
        text += '\n';
    }
    return text;
}

void setKeyTable(KeyTable& keys, unsigned held) {
    keys.fill(0);
    for (const KeyName& key : kKeys)
        if (held & key.bit) keys[key.virtualKey] = 1;
}

std::uint64_t totalFrames(const std::vector<ScriptStep>& steps) {
    std::uint64_t total = 0;
    for (const ScriptStep& step : steps) total += step.count;
    return total;
}

}  // namespace drumhold::trace

// Reading a desktop entry as a launcher does, for the tests of the files the program writes.
#pragma once

#include <string>
#include <vector>

namespace quorlet::test {

// The Exec value as a launcher reads it: string escapes first, then the quoting rule.
inline std::vector<std::string> ParseExec(const std::string& value) {
    std::string unescaped;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) {
            const char n = value[++i];
            unescaped += n == 'n' ? '\n' : n == 't' ? '\t' : n == 'r' ? '\r' : n;
        } else {
            unescaped += value[i];
        }
    }
    std::vector<std::string> args;
    std::string arg;
    bool quoted = false, any = false;
    for (std::size_t i = 0; i < unescaped.size(); ++i) {
        const char c = unescaped[i];
        if (quoted) {
            if (c == '\\' && i + 1 < unescaped.size()) arg += unescaped[++i];
            else if (c == '"') quoted = false;
            else arg += c;
        } else if (c == '"') {
            quoted = any = true;
        } else if (c == ' ') {
            if (any) args.push_back(arg);
            arg.clear();
            any = false;
        } else if (c == '%' && i + 1 < unescaped.size() && unescaped[i + 1] == '%') {
            arg += '%';
            ++i;
            any = true;
        } else {
            arg += c;
            any = true;
        }
    }
    if (any) args.push_back(arg);
    return args;
}

// The value of `key` in a desktop entry's text, "<missing>" when it has none.
inline std::string KeyValue(const std::string& text, const std::string& key) {
    const std::size_t at = text.find("\n" + key + "=");
    if (at == std::string::npos) return "<missing>";
    const std::size_t begin = at + key.size() + 2;
    return text.substr(begin, text.find('\n', begin) - begin);
}

} // namespace quorlet::test

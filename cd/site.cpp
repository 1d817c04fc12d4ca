#include "cd/site.h"

#include <string>
#include <vector>

#include "cd/decimal_number.h"
#include "platform/text/ascii_case.h"

namespace rv {
namespace {

bool IsSpace(char c) {
    return c != '\0' && static_cast<unsigned char>(c) <= ' ';
}

// A comma-separated list read by the rules of the settings' list texts: blanks and control
// characters around a word are skipped, a word that starts with a double quote runs to the
// closing quote (two quotes inside stand for one), two commas in a row hold an empty word, and
// so does a comma at the very end. A NUL ends the text.
std::vector<std::string> SplitCommaText(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    std::vector<std::string> words;
    std::size_t p = 0;
    const auto skipSpace = [&] {
        while (p < text.size() && IsSpace(text[p])) ++p;
    };
    skipSpace();
    while (p < text.size()) {
        std::string word;
        if (text[p] == '"') {
            for (++p; p < text.size(); ++p) {
                if (text[p] != '"') {
                    word += text[p];
                } else if (p + 1 < text.size() && text[p + 1] == '"') {
                    word += '"';
                    ++p;
                } else {
                    ++p;
                    break;
                }
            }
        } else {
            const std::size_t start = p;
            while (p < text.size() && !IsSpace(text[p]) && text[p] != ',') ++p;
            word = text.substr(start, p - start);
        }
        words.push_back(std::move(word));
        skipSpace();
        if (p < text.size() && text[p] == ',') {
            if (p + 1 == text.size()) words.emplace_back();
            ++p;
            skipSpace();
        }
    }
    return words;
}

TServerType TypeOf(std::string_view protocol) {
    return SameText(protocol, "http") ? TServerType::HTTP : TServerType::CDDBP;
}

}  // namespace

std::string SiteToStr(const TServer& server) {
    // Joined rather than formatted, so that no character of a field (not even a NUL from a
    // server's list) cuts the text short.
    const char* type = server.ServerType == TServerType::HTTP ? "http" : "cddbp";
    return server.Address + ' ' + type + ' ' + std::to_string(server.Port) + ' ' + server.CGIPath +
           ' ' + server.Location.Latitude + ' ' + server.Location.Longitude + ' ' +
           server.Location.Description;
}

TServer StrToSite(std::string_view text) {
    std::string commas(text);
    for (char& c : commas) {
        if (c == ' ') c = ',';
    }
    const std::vector<std::string> words = SplitCommaText(commas);
    TServer server;
    const auto has = [&](std::size_t i) { return i < words.size(); };
    if (!has(0)) return server;
    server.Address = words[0];
    if (!has(1)) return server;
    server.ServerType = TypeOf(words[1]);
    if (!has(2)) return server;
    const auto port = DecimalNumber(words[2]);
    if (!port) return server;
    server.Port = *port;
    if (!has(3)) return server;
    server.CGIPath = words[3];
    if (!has(4)) return server;
    server.Location.Latitude = words[4];
    if (!has(5)) return server;
    server.Location.Longitude = words[5];
    if (!has(6)) return server;
    server.Location.Description = words[6];
    return server;
}

std::optional<TServer> SiteFromServerLine(std::string_view line) {
    std::string_view fields[6];
    for (std::size_t i = 0; i < 6; ++i) {
        const std::size_t blank = line.find(' ');
        if (blank == std::string_view::npos && i < 5) return {};
        fields[i] = line.substr(0, blank);
        line = blank == std::string_view::npos ? std::string_view() : line.substr(blank + 1);
    }
    const auto port = DecimalNumber(fields[2]);
    if (fields[0].empty() || !port || *port < 1 || *port > 65535) return {};
    TServer server;
    server.Address = fields[0];
    server.ServerType = TypeOf(fields[1]);
    server.Port = *port;
    server.CGIPath = fields[3];
    server.Location = {std::string(fields[4]), std::string(fields[5]), std::string(line)};
    return server;
}

}  // namespace rv

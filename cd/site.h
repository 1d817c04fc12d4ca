#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// A CDDB site: a server of the site list, as the settings keep it and as the server lists it.
namespace rv {

enum class TServerType : std::uint8_t { CDDBP = 0, HTTP = 1 };

struct TLocation {
    std::string Latitude{};
    std::string Longitude{};
    std::string Description{};

    bool operator==(const TLocation&) const = default;
};

struct TServer {
    std::string Address{};  // host name; a site list slot with an empty address is free
    std::string CGIPath{};
    TServerType ServerType = TServerType::CDDBP;
    std::int32_t Port = 0;
    TLocation Location{};

    bool operator==(const TServer&) const = default;
};

using TServerArray = std::array<TServer, 100>;

// "address http|cddbp port cgi-path latitude longitude description".
std::string SiteToStr(const TServer& server);

// Reads the site text back, word by word: blanks and commas separate words, double quotes
// group. The words are address, protocol ("http" in any letter case gives HTTP, anything else
// CDDBP), port, CGI path, latitude, longitude and description; of a description of several
// words only the first remains. A missing word, or a port that is no number, ends the reading
// without an error: the fields before it are filled, the rest stay empty or 0.
TServer StrToSite(std::string_view text);

// A line of a server's site list: address, protocol, port, CGI path, latitude and longitude
// separated by single blanks, the rest of the line the description. Nothing for a line that
// is not one (fewer fields, no address, a port that is no number from 1 to 65535).
std::optional<TServer> SiteFromServerLine(std::string_view line);

}  // namespace rv

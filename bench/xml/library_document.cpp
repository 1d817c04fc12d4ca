#include "library_document.h"

#include <random>

namespace {

const char* const kWords[] = {"Dvo\xF8\xE1k",
                              "Symfonie",
                              "Nov\xE9ho",
                              "sv\xECta",
                              "Smetana",
                              "M\xE1",
                              "vlast",
                              "\x8Aumava",
                              "Live",
                              "Opera",
                              "Rock & Roll",
                              "\"Best\"",
                              "Jan\xE1\xE8"
                              "ek",
                              "Suk",
                              "Blues",
                              "P\xF8\xED"
                              "b\xEC"
                              "h",
                              "Night",
                              "Arrival",
                              "Zlat\xE1",
                              "Praha"};

std::string Words(std::mt19937& random, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        if (i) text += ' ';
        text += kWords[random() % std::size(kWords)];
    }
    return text;
}

std::string Escape(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '&')
            out += "&amp;";
        else if (c == '"')
            out += "&quot;";
        else
            out += c;
    }
    return out;
}

void Value(std::string& out, int depth, const char* name, const std::string& text) {
    out += "\r\n";
    out.append(static_cast<size_t>(depth), '\t');
    out += '<';
    out += name;
    if (text.empty()) {
        out += "/>";
        return;
    }
    out += '>';
    out += Escape(text);
    out += "</";
    out += name;
    out += '>';
}

}  // namespace

std::string MakeLibraryDocument(size_t targetBytes) {
    std::mt19937 random(1250);
    std::string out =
        "<?xml version=\"1.0\" encoding=\"windows-1250\"?>\r\n<Lorvix_Media_Library "
        "version=\"1.0\">";
    Value(out, 1, "LIBRARY_NAME", "Sb\xEDrka");
    Value(out, 1, "ARTIST_COUNT", "0");
    Value(out, 1, "ALBUM_COUNT", "0");
    Value(out, 1, "TRACK_COUNT", "0");
    while (out.size() < targetBytes) {
        out += "\r\n\t<ARTIST>";
        Value(out, 2, "Name", Words(random, 2));
        for (int album = 0, albums = 1 + static_cast<int>(random() % 4); album < albums; ++album) {
            out += "\r\n\t\t<ALBUM>";
            Value(out, 3, "TITLE", Words(random, 3));
            Value(out, 3, "RELEASE", std::to_string(1950 + random() % 70));
            Value(out, 3, "GENRE", random() % 5 ? Words(random, 1) : "");
            Value(out, 3, "MEDIA_TYPE", std::to_string(random() % 2));
            Value(out, 3, "TIME", std::to_string(1800 + random() % 2400) + ".5");
            for (int track = 1, tracks = 6 + static_cast<int>(random() % 10); track <= tracks;
                 ++track) {
                out += "\r\n\t\t\t<TRACK>";
                Value(out, 4, "ID", std::to_string(track));
                Value(out, 4, "TITLE", Words(random, 1 + static_cast<int>(random() % 4)));
                Value(out, 4, "DURATION", std::to_string(120 + random() % 400) + ".25");
                Value(out, 4, "BITRATE", std::to_string(128 + 32 * (random() % 6)));
                Value(out, 4, "CHANNEL_MODE", random() % 3 ? "Joint Stereo" : "Stereo");
                Value(out, 4, "FORMAT", "MPEG 1 Layer III");
                out += "\r\n\t\t\t</TRACK>";
            }
            out += "\r\n\t\t</ALBUM>";
        }
        out += "\r\n\t</ARTIST>";
    }
    out += "\r\n</Lorvix_Media_Library>";
    return out;
}

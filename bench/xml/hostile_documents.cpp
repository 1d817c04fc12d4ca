#include "hostile_documents.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

namespace {

std::vector<std::string>& Made() {
    static std::vector<std::string> files;
    return files;
}

std::string PathOf(const std::string& tag) {
    const char* tmp = std::getenv("TMPDIR");
    return std::string(tmp && *tmp ? tmp : "/tmp") + "/rv_bench_" + tag + "_" +
           std::to_string(::getpid()) + ".xml";
}

bool AlreadyMade(const std::string& path) {
    return std::find(Made().begin(), Made().end(), path) != Made().end();
}

// The file of `tag`, made from `content` the first time it is asked for.
template <class Content>
std::string TemporaryFile(const std::string& tag, Content content) {
    const std::string path = PathOf(tag);
    if (AlreadyMade(path)) return path;
    std::ofstream(path, std::ios::binary) << content();
    if (Made().empty())
        std::atexit([] {
            for (const std::string& file : Made()) std::remove(file.c_str());
        });
    Made().push_back(path);
    return path;
}

std::string Library(const std::string& inside) {
    return "<?xml version=\"1.0\" encoding=\"windows-1250\"?><Lorvix_Media_Library version=\"1.0\">"
           "<LIBRARY_NAME>Names</LIBRARY_NAME>" +
           inside +
           "<ARTIST><Name>A</Name><ALBUM><TITLE>T</TITLE><RELEASE>1</RELEASE><GENRE/>"
           "</ALBUM></ARTIST></Lorvix_Media_Library>";
}

}  // namespace

std::string ManyAttributesFile(int count) {
    return TemporaryFile("attributes" + std::to_string(count), [count] {
        std::string text = "<?xml version=\"1.0\"?>\r\n<R";
        for (int i = 0; i < count; ++i)
            text += " a" + std::to_string(i) + "=\"" + std::to_string(i) + "\"";
        return text + "/>";
    });
}

std::string ManyNamesLibraryFile(int count) {
    return TemporaryFile("names" + std::to_string(count), [count] {
        std::string names;
        for (int i = 0; i < count; ++i) names += "<x" + std::to_string(i) + "/>";
        return Library(names);
    });
}

std::string CollidingNamesLibraryFile(int bits) {
    return TemporaryFile("colliding" + std::to_string(bits), [bits] {
        // "Az" and "BY" hash alike, and so does every string of them of one length.
        std::string names;
        for (long i = 0; i < (1L << bits); ++i) {
            names += '<';
            for (int bit = 0; bit < bits; ++bit) names += (i >> bit) & 1 ? "BY" : "Az";
            names += "/>";
        }
        return Library(names);
    });
}

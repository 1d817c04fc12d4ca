#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// Text in any encoding the system's converters know (glibc's iconv), named as a file names it:
// "windows-1251", "KOI8-R", "ISO-8859-2", "US-ASCII", "UTF-16", "Shift_JIS" ...
//
// An object belongs to the thread that made it.
namespace rv {

class SystemCharset {
public:
    // Nothing when no converter knows the name.
    static std::unique_ptr<SystemCharset> Find(std::string_view name);
    ~SystemCharset();
    SystemCharset(const SystemCharset&) = delete;
    SystemCharset& operator=(const SystemCharset&) = delete;

    const std::string& Name() const { return name_; }

    // Whether the encoding can hold `c`.
    bool Has(char32_t c);

    // The bytes as UTF-8. `badOffset` is where the first byte sequence that is no character of
    // the encoding (or one cut off at the end) starts, npos when there is none; `text` then
    // holds what came before it.
    struct Decoded {
        std::string text;
        std::size_t badOffset = std::string_view::npos;
    };
    Decoded ToUtf8(std::string_view bytes);

    // UTF-8 into the encoding, piece by piece: a stateful encoding keeps its shift state from one
    // piece to the next, and one that begins with a byte-order mark writes it once.
    class Encoder {
    public:
        explicit Encoder(const SystemCharset& charset);
        ~Encoder();
        Encoder(const Encoder&) = delete;
        Encoder& operator=(const Encoder&) = delete;

        // Appends the piece, which ends on a character boundary, to `out`. False, with `out`
        // holding what came before it, at the first character the encoding lacks.
        bool Append(std::string& out, std::string_view utf8);
        // Returns a stateful encoding to its initial state, as a text must end.
        void Finish(std::string& out);

    private:
        void* cd_;
    };

private:
    SystemCharset(std::string name, void* toUtf8, void* fromUtf8);

    std::string name_;
    void* toUtf8_;    // iconv_t: name -> UTF-8
    void* fromUtf8_;  // iconv_t: UTF-8 -> name, for the questions of Has
    // Answers of Has, found once: for U+0000..U+FFFF by index (0 unasked, 1 has, 2 lacks).
    std::vector<std::uint8_t> basic_;
    std::unordered_map<char32_t, bool> beyond_;
};

}  // namespace rv

#pragma once

#include <cstdint>
#include <initializer_list>

// How a processor class is to treat a failure: the default way, with an exception stack, or
// with a journal. A set of them is kept by each class and handed down by TCPU to its parts.
namespace rv {

enum class TExceptionMode { emDefault, emExceptionStack, emJournal };

class TExceptionModes {
public:
    constexpr TExceptionModes() = default;
    constexpr TExceptionModes(std::initializer_list<TExceptionMode> modes) {
        for (const TExceptionMode mode : modes) bits_ |= Bit(mode);
    }

    constexpr bool Contains(TExceptionMode mode) const { return (bits_ & Bit(mode)) != 0; }
    constexpr bool operator==(const TExceptionModes&) const = default;

private:
    static constexpr std::uint8_t Bit(TExceptionMode mode) {
        return static_cast<std::uint8_t>(1u << static_cast<unsigned>(mode));
    }

    std::uint8_t bits_ = 0;
};

// What each class starts with.
inline constexpr TExceptionModes kDefaultExceptionModes{TExceptionMode::emExceptionStack};

}  // namespace rv

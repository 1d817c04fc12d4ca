#pragma once

#include <string>
#include <variant>

#include "platform/base/exception.h"

namespace rv {

// A value that converts itself to the kind asked for, or raises this.
class EVariantError : public Exception {
public:
    using Exception::Exception;
};

// A value of one of the kinds the program keeps in its settings: nothing (unassigned), a
// Boolean, an integer or a text.
class TVariant {
public:
    enum class TVarType { varEmpty, varBoolean, varInteger, varString };
    using enum TVarType;

    TVariant() = default;
    TVariant(bool value) : value_(value) {}
    TVariant(int value) : value_(value) {}
    TVariant(std::string value) : value_(std::move(value)) {}
    TVariant(const char* value) : value_(std::string(value)) {}

    TVarType VarType() const { return TVarType(value_.index()); }
    bool IsEmpty() const { return VarType() == varEmpty; }

    // Empty: ""; Booleans "True" and "False"; integers in decimal.
    std::string AsString() const;
    // Empty: 0; Booleans 1 and 0; a text: its decimal number, blanks around it allowed.
    int AsInteger() const;
    // Empty: false; integers: not 0; a text: "True" or "False" (any case) or a decimal number.
    bool AsBoolean() const;

    // Same kind and same value.
    friend bool operator==(const TVariant&, const TVariant&) = default;

private:
    std::variant<std::monostate, bool, int, std::string> value_;
};

}  // namespace rv

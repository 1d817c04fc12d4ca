#include "platform/components/variant.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/text/ascii_case.h"

namespace rv {

namespace {

bool TextToInteger(const std::string& text, int& value) {
    size_t first = text.find_first_not_of(' ');
    size_t last = text.find_last_not_of(' ');
    if (first == std::string::npos) return false;
    std::string digits = text.substr(first, last - first + 1);
    if (digits.find_first_not_of("+-0123456789") != std::string::npos) return false;
    char* end = nullptr;
    errno = 0;
    long number = std::strtol(digits.c_str(), &end, 10);
    if (*end || errno == ERANGE || number < INT_MIN || number > INT_MAX) return false;
    value = int(number);
    return true;
}

EVariantError ConversionError(const char* from, const char* to) {
    return EVariantError(std::string("Could not convert variant of type (") + from +
                         ") into type (" + to + ")");
}

}  // namespace

std::string TVariant::AsString() const {
    switch (VarType()) {
        case varBoolean:
            return std::get<bool>(value_) ? "True" : "False";
        case varInteger:
            return std::to_string(std::get<int>(value_));
        case varString:
            return std::get<std::string>(value_);
        default:
            return {};
    }
}

int TVariant::AsInteger() const {
    switch (VarType()) {
        case varBoolean:
            return std::get<bool>(value_) ? 1 : 0;
        case varInteger:
            return std::get<int>(value_);
        case varString: {
            int number = 0;
            if (!TextToInteger(std::get<std::string>(value_), number))
                throw ConversionError("String", "Integer");
            return number;
        }
        default:
            return 0;
    }
}

bool TVariant::AsBoolean() const {
    switch (VarType()) {
        case varBoolean:
            return std::get<bool>(value_);
        case varInteger:
            return std::get<int>(value_) != 0;
        case varString: {
            const std::string& text = std::get<std::string>(value_);
            if (SameText(text, "True")) return true;
            if (SameText(text, "False")) return false;
            int number = 0;
            if (!TextToInteger(text, number)) throw ConversionError("String", "Boolean");
            return number != 0;
        }
        default:
            return false;
    }
}

}  // namespace rv

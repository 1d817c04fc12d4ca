#include "search/search_criteria.h"

#include "platform/text/ascii_case.h"

namespace rv {

namespace {

struct AttributeBit {
    TFileAttribute Attribute;
    std::uint32_t Bit;
};

constexpr AttributeBit kAttributeBits[] = {{ffArchive, faArchive},
                                           {ffReadonly, faReadOnly},
                                           {ffHidden, faHidden},
                                           {ffSystem, faSysFile},
                                           {ffDirectory, faDirectory}};

}  // namespace

TFileAttributes TAttributeCriteria::Attributes() const {
    TFileAttributes set;
    for (const auto& [attribute, bit] : kAttributeBits)
        if (bits_ & bit) set.Include(attribute);
    return set;
}

void TAttributeCriteria::SetAttributes(TFileAttributes attributes) {
    bits_ = 0;
    for (const auto& [attribute, bit] : kAttributeBits)
        if (attributes.Contains(attribute)) bits_ |= bit;
}

void TContentCriteria::SetPhrase(const std::string& phrase) {
    if (phrase == phrase_) return;
    phrase_ = phrase;
    Update();
}

void TContentCriteria::SetIgnoreCase(bool ignoreCase) {
    if (ignoreCase == ignoreCase_) return;
    ignoreCase_ = ignoreCase;
    Update();
}

void TContentCriteria::Update() {
    searchText_ = ignoreCase_ ? LowerCase(phrase_) : phrase_;
}

}  // namespace rv

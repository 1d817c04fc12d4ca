#include "platform/transfer/data_object.h"

#include <algorithm>

namespace rv {

namespace {

class FormatWalker : public IEnumFORMATETC {
public:
    explicit FormatWalker(std::vector<TFormatEtc> formats, std::size_t index = 0)
        : formats_(std::move(formats)), index_(index) {}
    HRESULT Next(ULONG count, TFormatEtc* out, ULONG* fetched) override {
        ULONG n = 0;
        while (n < count && index_ < formats_.size()) out[n++] = formats_[index_++];
        if (fetched) *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    HRESULT Skip(ULONG count) override {
        index_ = std::min(formats_.size(), index_ + count);
        return index_ < formats_.size() ? S_OK : S_FALSE;
    }
    HRESULT Reset() override {
        index_ = 0;
        return S_OK;
    }
    HRESULT Clone(std::shared_ptr<IEnumFORMATETC>& clone) override {
        clone = std::make_shared<FormatWalker>(formats_, index_);
        return S_OK;
    }

private:
    std::vector<TFormatEtc> formats_;
    std::size_t index_;
};

}  // namespace

std::shared_ptr<IEnumFORMATETC> WalkFormats(std::vector<TFormatEtc> formats) {
    return std::make_shared<FormatWalker>(std::move(formats));
}

}  // namespace rv

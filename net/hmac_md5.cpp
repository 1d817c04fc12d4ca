#include "net/hmac_md5.h"

#include <string>

namespace rv {

TMD5Digest HmacMD5(std::string_view key, std::string_view text) {
    constexpr std::size_t kBlock = 64;
    // A key longer than a block is replaced by its digest; a shorter one is filled with zeros.
    std::string block;
    if (key.size() > kBlock) {
        const TMD5Digest digest = MD5(key);
        block.assign(digest.begin(), digest.end());
    } else {
        block.assign(key);
    }
    block.resize(kBlock, '\0');
    std::string inner(kBlock, '\0'), outer(kBlock, '\0');
    for (std::size_t i = 0; i < kBlock; ++i) {
        inner[i] = static_cast<char>(block[i] ^ 0x36);
        outer[i] = static_cast<char>(block[i] ^ 0x5c);
    }
    TMD5Context context;
    context.Update(inner);
    context.Update(text);
    const TMD5Digest innerDigest = context.Final();
    context.Update(outer);
    context.Update(std::string_view(reinterpret_cast<const char*>(innerDigest.data()), 16));
    return context.Final();
}

}  // namespace rv

// Arbitrary bytes as a tree stream, loaded by LoadFromStream and, without their first 16 bytes,
// as a dropped payload inserted by ProcessOLEData. Each either loads or raises the stream's
// errors; either way the tree is sound afterwards (links, counts, heights, visible rows, the
// selection), and what it holds is written and read back to the same bytes.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tree/string_tree.h"
#include "tree/tests/tree_invariants.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

class FuzzTree : public rv::TVirtualStringTree {
public:
    FuzzTree() : rv::TVirtualStringTree(nullptr) {
        SetNodeDataSize(sizeof(int));
        auto options = TreeOptions().SelectionOptions();
        options.Include(rv::toMultiSelect);
        TreeOptions().SetSelectionOptions(options);
        OnSaveNode = [this](rv::TBaseVirtualTree*, rv::PVirtualNode n, rv::TStream& s) {
            s.WriteBuffer(GetNodeData(n), sizeof(int));
        };
        OnLoadNode = [this](rv::TBaseVirtualTree*, rv::PVirtualNode n, rv::TStream& s) {
            s.ReadBuffer(GetNodeData(n), sizeof(int));
        };
    }
};

// A data object that offers one payload as tree data.
class Payload : public rv::IDataObject {
public:
    explicit Payload(std::string bytes) : bytes_(std::move(bytes)) {}
    rv::HRESULT GetData(const rv::TFormatEtc& f, rv::TStgMedium& m) override {
        if (QueryGetData(f) != rv::S_OK) return rv::DV_E_FORMATETC;
        m.tymed = rv::TYMED_HGLOBAL;
        m.hGlobal = rv::GlobalAlloc(rv::GMEM_MOVEABLE, bytes_.size());
        std::memcpy(rv::GlobalLock(m.hGlobal), bytes_.data(), bytes_.size());
        return rv::S_OK;
    }
    rv::HRESULT GetDataHere(const rv::TFormatEtc&, rv::TStgMedium&) override {
        return rv::E_NOTIMPL;
    }
    rv::HRESULT QueryGetData(const rv::TFormatEtc& f) override {
        return f.cfFormat == rv::CF_VIRTUALTREE() ? rv::S_OK : rv::DV_E_FORMATETC;
    }
    rv::HRESULT GetCanonicalFormatEtc(const rv::TFormatEtc&, rv::TFormatEtc&) override {
        return rv::E_NOTIMPL;
    }
    rv::HRESULT SetData(const rv::TFormatEtc&, rv::TStgMedium&, bool) override {
        return rv::E_NOTIMPL;
    }
    rv::HRESULT EnumFormatEtc(rv::DWORD, std::shared_ptr<rv::IEnumFORMATETC>&) override {
        return rv::E_NOTIMPL;
    }
    rv::HRESULT DAdvise(const rv::TFormatEtc&, rv::DWORD, const std::shared_ptr<rv::IAdviseSink>&,
                        rv::DWORD&) override {
        return rv::E_NOTIMPL;
    }
    rv::HRESULT DUnadvise(rv::DWORD) override { return rv::E_NOTIMPL; }
    rv::HRESULT EnumDAdvise(std::vector<rv::TStatData>&) override { return rv::E_NOTIMPL; }

private:
    std::string bytes_;
};

std::string Saved(rv::TBaseVirtualTree& tree) {
    rv::TMemoryStream s;
    tree.SaveToStream(s);
    return s.Bytes();
}

template <class Load>
void Run(FuzzTree& tree, Load load) {
    try {
        load();
    } catch (const rv::EVirtualTreeError& e) {
        Check(e.HelpContext >= rv::hcTFWrongStreamFormat &&
              e.HelpContext <= rv::hcTFCorruptStreamData);
    } catch (const rv::EReadError&) {
    }
    Check(tree.UpdateCount() == 0);
    Check(rv::test::CheckTreeInvariants(tree).empty());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FuzzTree tree;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    Run(tree, [&] {
        rv::TReadOnlyMemoryStream s(bytes.data(), bytes.size());
        tree.LoadFromStream(s);
    });
    // What loaded is written, and reads back to the same bytes.
    const std::string saved = Saved(tree);
    {
        FuzzTree again;
        rv::TReadOnlyMemoryStream s(saved.data(), saved.size());
        again.LoadFromStream(s);
        Check(Saved(again) == saved);
    }
    // The same bytes after a stream's header and count, as a dropped payload's node chunks.
    tree.Clear();
    const std::string chunks = size > 16 ? bytes.substr(16) : bytes;
    std::string block(4, '\0');
    for (int i = 0; i < 4; ++i) block[std::size_t(i)] = char(chunks.size() >> (8 * i));
    block += chunks;
    Run(tree, [&] {
        tree.ProcessOLEData(nullptr, std::make_shared<Payload>(block), nullptr, rv::amAddChildLast,
                            false);
    });
    return 0;
}
